// The play frame as players feel it: the whole run_frame in the play state
// on level 3, with ten sheep in the air in front of the player and the weapon
// firing, in the game's own window at 1024 x 768 and at 640 x 480 (Mesa's
// software renderer here), and at 1280 x 720 stretched and with the true
// aspect (keep_aspect 1: a 121-degree wide view, more land to draw), each
// frame finished with glFinish. Reports the median frame and the slowest 1 %
// besides the mean. Also the time a level takes to load.
#include "app/app.h"
#include "app/mouse.h"
#include "app/video.h"
#include "console/registry.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/player.h"
#include "gl.h"
#include "input/input.h"
#include "support/scratch_game.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// The real start-up in a scratch folder with data/ linked in, once.
bool start_game() {
    static int state = 0; // 0 not tried, 1 running, 2 failed
    if (state != 0) return state == 1;
    state = start_game_in_scratch_folder(current_video_mode) ? 1 : 2;
    return state == 1;
}

// Ten sheep hanging in the air 60 to 160 units ahead, slowly falling, so
// every frame draws them all.
void fill_the_sky() {
    for (int i = 0; i < SHEEP_SLOTS; i++) {
        Sheep& s = sheep[i];
        s.state = SHEEP_FALLING;
        s.health = 1e9f;
        s.speed = 1.0f;
        s.position = {player_x + 60.0f + 10.0f * i, player_y + 10.0f + 6.0f * i,
                      player_z - 50.0f + 10.0f * i};
        s.direction = {0.0f, -1.0f, 0.0f};
        s.hit_box = {s.position, {10.0f, 10.0f, 10.0f}};
    }
    next_spawn_time = 0xFFFFFFFFu;
    lives = 5;
    sheep_remaining = 1000;
}

void BM_PlayFrame(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("the game could not start (is there a display?)");
        return;
    }
    int mode = static_cast<int>(state.range(0));
    bool keep_aspect = state.range(1) != 0;
    if (current_video_mode != mode) {
        current_video_mode = mode;
        video_mode_change();
    }
    if (ConsoleVariable* v = console_find_variable("keep_aspect")) v->value = keep_aspect;
    current_level = 1;
    level_advance(); // level 3
    game_state = STATE_PLAY;
    mouse_button(VK_LBUTTON, true);
    std::vector<double> frames;
    for (auto _ : state) {
        fill_the_sky();
        auto start = std::chrono::steady_clock::now();
        run_frame(16);
        glFinish();
        auto end = std::chrono::steady_clock::now();
        frames.push_back(std::chrono::duration<double, std::milli>(end - start).count());
    }
    mouse_button(VK_LBUTTON, false);
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["slowest_1%_ms"] = frames[frames.size() * 99 / 100];
    state.SetLabel(std::string(video_modes[mode].name) + (keep_aspect ? " keep_aspect 1" : ""));
}

// A level load as the player waits for it: from the loading picture to the
// first play frame (picture, music, landscape, sun and shadows, the frame),
// for the largest level; all levels are the same size, the third is the
// last one loaded.
void BM_LevelLoad(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("the game could not start (is there a display?)");
        return;
    }
    for (auto _ : state) {
        current_level = 1;
        level_advance();
        run_frame(16);
        glFinish();
    }
}

} // namespace

BENCHMARK(BM_LevelLoad)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayFrame)
    ->Args({8, 0})
    ->Args({6, 0})
    ->Args({9, 0})
    ->Args({9, 1})
    ->Iterations(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
