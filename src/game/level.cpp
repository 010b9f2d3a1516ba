// Levels: owns the number of levels, the current level and the loading
// picture of the level being played.
#include "game/level.h"

#include "console/output.h"
#include "game/flock.h"
#include "game/game_state.h"
#include "game/level_file.h"
#include "game/pause.h"
#include "game/player.h"
#include "game/tuning.h"
#include "gl.h"
#include "math/angles.h"
#include "math/random.h"
#include "open_file.h"
#include "overlay/font.h"
#include "platform/clock.h"
#include "platform/display.h"
#include "platform/sound.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

// Assumed when not even data/level1.txt is found, so that starting a game
// reports the missing file: the game's own three levels.
static const int DEFAULT_LEVEL_COUNT = 3;

static int levels_in_game = DEFAULT_LEVEL_COUNT;
static int level_now = -1;

int level_count() {
    return levels_in_game;
}

int current_level() {
    return level_now;
}

void level_sequence_restart(int next_level) {
    level_now = next_level - 1;
}

// The file of a zero-based level: "data/level1.txt" for level 0.
static void level_file_name(int level, char* name, size_t size) {
    std::snprintf(name, size, "data/level%d.txt", level + 1);
}

// Whether the folder holds an entry of that name, even one that cannot be
// opened (a symlink to nowhere or in a loop, a file without read rights).
static bool entry_exists(const char* name) {
    std::error_code error;
    return std::filesystem::exists(std::filesystem::symlink_status(name, error));
}

// How many level files follow each other from data/level1.txt on: the
// levels end at the first name with no file. A file that is there but
// cannot be opened still counts, so the game stops at that level rather
// than ending early in a victory; the line says which file and why.
static int level_files_count() {
    int count = 0;
    char name[64];
    for (;; count++) {
        level_file_name(count, name, sizeof name);
        if (OpenFile(name, "r").file()) continue;
        int error = errno;
        if (!entry_exists(name)) return count;
        console_print_errorf("Level %d can't be played: %s: %s", count + 1, name,
                             std::strerror(error));
    }
}

void level_advance() {
    pause_end(); // the new level (or the end of the game) is not paused
    if (level_now < 0) {
        // A new game plays the levels there are now, however many.
        int found = level_files_count();
        levels_in_game = found > 0 ? found : DEFAULT_LEVEL_COUNT;
        level_now = 0;
    } else {
        level_now++;
    }
    shot_sound_stop();
    if (level_now > levels_in_game - 1) {
        console_print("Victory!");
        game_state_set(STATE_VICTORY);
    } else {
        char file_name[64];
        level_file_name(level_now, file_name, sizeof file_name);
        console_printf("Loading level %d/%d: %s", level_now, levels_in_game, file_name);
        if (!level_load(file_name)) {
            console_print_error("Error loading level");
            game_state_set(STATE_TITLE);
        }
    }
    sheep_reset();      // the slots freed and the lives full
    clock_mark_stall(); // the load is not game time: no sheep falls meanwhile
}

// The level's picture in a 400 x 400 square in the middle of a 640 x 480
// screen, shown at once: the load that follows takes a moment.
static void show_loading_picture(const Texture* picture) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    overlay_draw_centred_picture(picture);
    present_frame();
}

// A sun in a random direction, 5 to 85 degrees above the horizon.
static void light_the_land() {
    float azimuth = static_cast<float>(random_signed_unit() * PI);
    float elevation =
        static_cast<float>(-(random_signed_unit() * 40.0 + 45.0) * RADIANS_PER_DEGREE);
    game_terrain_shade(elevation, azimuth);
}

bool level_load(const char* path) {
    OpenFile level(path, "r");
    if (!level.file()) {
        console_print_errorf("Can't open level file %s: %s", path, std::strerror(errno));
        return false;
    }
    LevelInfo info{};
    if (!level_file_read(level.file(), path, &info)) return false;
    console_print(info.nb_sheep_line);
    console_print(info.sheep_speed_line);
    flock_start_level(info.nb_sheep, info.sheep_speed);

    Texture* loading_picture = texture_load(info.logo, true);
    if (!loading_picture) return false;
    show_loading_picture(loading_picture);
    texture_release(loading_picture); // shown once: it need not stay in memory

    console_print(info.music);
    music_play_file(info.music);

    if (!game_terrain_load(info.raw, info.width, info.height, info.base, info.detail)) {
        console_print_error("Error loading landscape");
        return false;
    }
    light_the_land();
    // On the ground in the middle, before the level's first frame is drawn.
    player_place(static_cast<float>(info.width) * 0.5f, static_cast<float>(info.height) * 0.5f);
    return true;
}
