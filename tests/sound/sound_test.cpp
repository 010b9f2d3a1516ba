// The game's sound on the real SDL_mixer: the shot on its reserved channel,
// the level music, what reaches the output (SDL's disk driver), the silent
// output of a machine without a sound device, and start-up and shutdown.
#include "app/sound.h"
#include "support/console_lines.h"
#include "support/disk_audio.h"
#include "support/game_fixture.h"
#include "support/environment.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::atomic<int> shot_channel_halts{0};

void count_halt(int channel) {
    if (channel == SHOT_CHANNEL) ++shot_channel_halts;
}

// Waits (up to ten seconds) until the condition holds.
template <class Condition> bool wait_for(Condition condition) {
    for (int waited = 0; waited < 10000; waited += 5) {
        if (condition()) return true;
        SDL_Delay(5);
    }
    return condition();
}

bool contains(const std::vector<std::string>& lines, const std::string& line) {
    for (const std::string& l : lines)
        if (l == line) return true;
    return false;
}

class Sound : public testing::Test {
  protected:
    void SetUp() override { ASSERT_TRUE(sound_init()); }
    void TearDown() override { sound_shutdown(); }
};

} // namespace

TEST_F(Sound, ShotStartsAndStopsOnceHoweverOftenItIsAskedTo) {
    Mix_ChannelFinished(count_halt);
    shot_sound_stop(); // nothing is playing yet
    for (int frame = 0; frame < 3; ++frame)
        shot_sound_start(); // the button held for three frames
    EXPECT_TRUE(Mix_Playing(SHOT_CHANNEL));
    // A second play on a playing channel would first halt the one before.
    EXPECT_EQ(shot_channel_halts, 0);
    for (int frame = 0; frame < 3; ++frame)
        shot_sound_stop();
    EXPECT_FALSE(Mix_Playing(SHOT_CHANNEL));
    EXPECT_EQ(shot_channel_halts, 1);
    shot_sound_start();
    EXPECT_TRUE(Mix_Playing(SHOT_CHANNEL));
    Mix_ChannelFinished(nullptr);
}

TEST_F(Sound, ShotChannelIsKeptForTheShot) {
    Mix_Chunk* other = Mix_LoadWAV("data/sound/fire.wav");
    ASSERT_NE(other, nullptr) << Mix_GetError();
    const int channel = Mix_PlayChannel(-1, other, -1);
    ASSERT_GE(channel, 0) << Mix_GetError();
    EXPECT_NE(channel, SHOT_CHANNEL);
    shot_sound_start();
    shot_sound_stop();
    EXPECT_TRUE(Mix_Playing(channel)) << "stopping the shot cut another sound";
    Mix_HaltChannel(channel);
    Mix_FreeChunk(other);
}

TEST_F(Sound, MusicIsReplacedByTheNextLevels) {
    music_play_file("data/music1.ogg");
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_STREQ(Mix_GetMusicTitle(nullptr), "Rolling Meadows");
    music_play_file("data/music2.ogg");
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_STREQ(Mix_GetMusicTitle(nullptr), "Steep Ridges");
}

TEST_F(Sound, TheSameMusicNamedAgainStartsFromItsBeginning) {
    music_play_file("data/music1.ogg");
    ASSERT_TRUE(wait_for([] { return Mix_GetMusicPosition(current_music()) > 0.3; }))
        << "the music does not advance";
    music_play_file("data/music1.ogg");
    EXPECT_TRUE(Mix_PlayingMusic());
    EXPECT_LT(Mix_GetMusicPosition(current_music()), 0.2);
}

TEST_F(Sound, MissingMusicIsReportedAndLeavesSilence) {
    music_play_file("data/music1.ogg");
    music_play_file("data/no_such_music.ogg");
    EXPECT_EQ(last_line(),
              "!Error loading music file data/no_such_music.ogg: No such file or directory!");
    EXPECT_FALSE(Mix_PlayingMusic()) << "the previous level's music plays on";
    EXPECT_EQ(current_music(), nullptr);
}

TEST_F(Sound, ShutdownReleasesTheOutputAndAStartOpensItAgain) {
    shot_sound_start();
    music_play_file("data/music1.ogg");
    sound_shutdown();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0) << "the mixer is still open";
    EXPECT_EQ(current_music(), nullptr);
    ASSERT_TRUE(sound_init());
    shot_sound_start(); // the earlier start was forgotten with the output
    EXPECT_TRUE(Mix_Playing(SHOT_CHANNEL));
}

TEST(SoundOutput, TheShotIsHeardWhileFiringAndSilentAfter) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "output.raw", 1);
    ASSERT_TRUE(sound_init());
    ASSERT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
    int rate = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_NE(Mix_QuerySpec(&rate, &format, &channels), 0);
    ASSERT_EQ(format, AUDIO_S16SYS);
    ASSERT_EQ(channels, 2);
    ASSERT_EQ(rate, 44100);

    // Positions are frames already in the file; what is mixed but not yet
    // written (the mixer's buffer, the file's buffer) lies within kMargin.
    constexpr size_t kMargin = 4096, kSpan = 22050;
    ASSERT_TRUE(wait_for_frames(2 * kMargin));
    const size_t started = written_frames();
    shot_sound_start();
    ASSERT_TRUE(wait_for_frames(started + kSpan));
    const size_t stopped = written_frames();
    shot_sound_stop();
    ASSERT_TRUE(wait_for_frames(stopped + kSpan));
    sound_shutdown();

    const std::vector<int16_t> samples = read_samples("output.raw");
    const size_t frames = samples.size() / 2;
    ASSERT_GE(frames, stopped + kSpan);
    auto loudest = [&](size_t from, size_t to) { return loudest_sample(samples, from, to); };
    EXPECT_EQ(loudest(0, started - kMargin), 0) << "sound before the first shot";
    EXPECT_EQ(loudest(stopped + kMargin, frames), 0) << "the shot goes on after the stop";
    // Every 100 ms while firing holds a shot.
    for (size_t at = started + kMargin; at + 4410 <= stopped - kMargin; at += 4410)
        EXPECT_GT(loudest(at, at + 4410), 8000) << "silence while firing at frame " << at;
}

// A machine whose sound device cannot be opened: SDL names a driver that
// does not exist, or one whose output cannot be opened.
struct MissingDevice {
    const char* name;
    const char* driver;
    const char* disk_file;
};

// Named by the driver in test listings (not by the record's bytes).
void PrintTo(const MissingDevice& device, std::ostream* out) {
    *out << device.driver;
}

class NoAudioDevice : public testing::TestWithParam<MissingDevice> {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", GetParam().driver, 1);
        setenv("SDL_DISKAUDIOFILE", GetParam().disk_file, 1);
    }
    void TearDown() override { sound_shutdown(); }
};

INSTANTIATE_TEST_SUITE_P(
    Sound, NoAudioDevice,
    testing::Values(MissingDevice{"UnknownDriver", "no_such_driver", "output.raw"},
                    MissingDevice{"OutputCannotOpen", "disk", "no/such/folder/output.raw"}),
    [](const testing::TestParamInfo<MissingDevice>& info) { return info.param.name; });

TEST_P(NoAudioDevice, TheGameGoesOnInSilence) {
    const int mark = line_count();
    ASSERT_TRUE(sound_init());
    EXPECT_EQ(lines_since(mark), std::vector<std::string>{"No audio device: sound is off"});
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "dummy");
    shot_sound_start();
    EXPECT_TRUE(Mix_Playing(SHOT_CHANNEL));
    music_play_file("data/music3.ogg");
    EXPECT_TRUE(Mix_PlayingMusic());
}

TEST_P(NoAudioDevice, ALaterStartTriesTheDeviceAgain) {
    ASSERT_TRUE(sound_init());
    sound_shutdown();
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "output.raw", 1);
    ASSERT_TRUE(sound_init());
    EXPECT_STREQ(SDL_GetCurrentAudioDriver(), "disk");
}

TEST(SoundStart, MissingShotSoundFailsNamingItAndReleasesTheOutput) {
    // This test's own data folder, holding everything but the shot sound.
    fs::remove_all("data");
    fs::create_directories("data/sound");
    const int mark = line_count();
    EXPECT_FALSE(sound_init());
    ASSERT_EQ(line_count(), mark + 1);
    EXPECT_EQ(last_line(), "!Can't load sound data/sound/fire.wav: No such file or directory!");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_EQ(Mix_QuerySpec(nullptr, nullptr, nullptr), 0);
}

class SoundInTheGame : public GameFixture {};

TEST_F(SoundInTheGame, StartUpOpensTheOutputAndShutdownClosesIt) {
    int rate = 0;
    ASSERT_NE(Mix_QuerySpec(&rate, nullptr, nullptr), 0);
    EXPECT_EQ(rate, 44100);
    app_shutdown();
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
}

class GameWithoutSoundDevice : public GameFixture {
  protected:
    void SetUp() override {
        setenv("SDL_AUDIODRIVER", "no_such_driver", 1);
        GameFixture::SetUp();
    }
};

TEST_F(GameWithoutSoundDevice, StartsSaysSoAndPlays) {
    EXPECT_EQ(game_state(), STATE_PLAY);
    ASSERT_TRUE(step());
    ASSERT_TRUE(step());
    const std::vector<std::string> log = log_lines();
    ASSERT_GE(log.size(), 3u);
    EXPECT_EQ(log[2], "No audio device: sound is off") << "printed after the system start";
    EXPECT_FALSE(contains(log, "!Error bass init!"));
}
