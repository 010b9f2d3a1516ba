// Sound on SDL_mixer: owns the audio output, the shot sample with its one
// reserved channel, the current level's music stream, and the volume
// variables with the mixer volumes last set from them.
#include "app/sound.h"

#include "console/output.h"
#include "console/registry.h"
#include "files/file_io.h"

#include <SDL.h>

#include <cmath>
#include <string>

static Mix_Chunk* shot_sample = nullptr;
static bool shot_playing = false;
static Mix_Music* music_stream = nullptr;
static bool audio_open = false;
static ConsoleVariable* volume_music = nullptr;
static ConsoleVariable* volume_sfx = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &volume_music,
     .name = "volume_music",
     .default_value = 1.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .help = "music volume"},
    {.variable = &volume_sfx,
     .name = "volume_sfx",
     .default_value = 1.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .help = "volume of the shots"},
};
static int music_volume_set = -1; // mixer volumes 0 .. 128; -1: not set on this output
static int sfx_volume_set = -1;

static constexpr int OUTPUT_RATE = 44100;
static constexpr int OUTPUT_CHANNELS = 2;
// About 23 ms per buffer: short enough that the shot follows the button.
static constexpr int OUTPUT_BUFFER_FRAMES = 1024;
static const char* const SHOT_FILE = "data/sound/fire.wav";

// Why the mixer could not load the file: the system's reason when the file
// cannot even be opened (SDL only says "Couldn't open"), else the mixer's.
static std::string sound_file_problem(const char* file_name) {
    std::string problem = file_open_problem(file_name);
    return problem.empty() ? std::string(Mix_GetError()) : problem;
}

// Starts SDL's audio with whichever driver it picks (or SDL_AUDIODRIVER
// names) and opens the mixer on it; everything is undone on failure.
static bool open_output() {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(OUTPUT_RATE, MIX_DEFAULT_FORMAT, OUTPUT_CHANNELS, OUTPUT_BUFFER_FRAMES) == 0)
        return true;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return false;
}

// A machine without a sound device still plays the game: SDL's "dummy"
// driver consumes the mixed output in silence. The hint is set at override
// priority because SDL_AUDIODRIVER, which may be what named the failing
// driver, otherwise wins over it; it is reset afterwards so a later start
// tries the real device again.
static bool open_silent_output() {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    bool opened = open_output();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return opened;
}

static void close_output() {
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    audio_open = false;
}

bool sound_init() {
    sound_shutdown(); // a second start begins afresh
    if (!open_output()) {
        if (!open_silent_output()) {
            console_print_error("Error bass init");
            return false;
        }
        console_print("No audio device: sound is off");
    }
    audio_open = true;
    Mix_Init(MIX_INIT_OGG); // a music file it cannot read is reported when it is loaded
    // The shot's channel is kept out of the mixer's own choice of free
    // channels, so stopping the shot can never cut another sound.
    Mix_ReserveChannels(SHOT_CHANNEL + 1);
    shot_sample = Mix_LoadWAV(SHOT_FILE);
    if (!shot_sample) {
        console_print_errorf("Can't load sound %s: %s", SHOT_FILE,
                             sound_file_problem(SHOT_FILE).c_str());
        close_output();
        return false;
    }
    shot_playing = false;
    music_volume_set = sfx_volume_set = -1; // a new output takes them again
    return true;
}

void music_play_file(const char* file_name) {
    if (music_stream) Mix_FreeMusic(music_stream); // stops it first
    music_stream = Mix_LoadMUS(file_name);
    if (!music_stream) {
        console_print_errorf("Error loading music file %s: %s", file_name,
                             sound_file_problem(file_name).c_str());
        return;
    }
    Mix_PlayMusic(music_stream, -1);
}

Mix_Music* current_music() {
    return music_stream;
}

void shot_sound_start() {
    if (shot_playing || !shot_sample) return;
    shot_playing = true;
    Mix_PlayChannel(SHOT_CHANNEL, shot_sample, -1);
}

void shot_sound_stop() {
    if (!shot_playing) return;
    shot_playing = false;
    Mix_HaltChannel(SHOT_CHANNEL);
}

void sound_pause(bool paused) {
    if (!audio_open) return;
    if (paused) {
        Mix_Pause(-1);
        Mix_PauseMusic();
    } else {
        Mix_Resume(-1);
        Mix_ResumeMusic();
    }
}

void sound_shutdown() {
    if (!audio_open) return;
    shot_sound_stop();
    Mix_FreeChunk(shot_sample);
    shot_sample = nullptr;
    if (music_stream) Mix_FreeMusic(music_stream);
    music_stream = nullptr;
    close_output();
}

void sound_volume_init() {
    console_add_settings(SETTINGS);
}

// A volume variable (0 .. 1) as a mixer volume (0 .. 128).
static int mixer_volume(const ConsoleVariable* variable) {
    float value = variable->value;
    if (!(value > 0.0f)) return 0;
    if (value > 1.0f) value = 1.0f;
    return static_cast<int>(std::lround(value * MIX_MAX_VOLUME));
}

void sound_volume_update() {
    if (!audio_open) return;
    int music = mixer_volume(volume_music);
    if (music != music_volume_set) {
        Mix_VolumeMusic(music);
        music_volume_set = music;
    }
    int sfx = mixer_volume(volume_sfx);
    if (sfx != sfx_volume_set) {
        Mix_Volume(SHOT_CHANNEL, sfx);
        sfx_volume_set = sfx;
    }
}
