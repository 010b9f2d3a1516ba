// The play frame as players feel it: the whole run_frame in the play state
// on level 3, with ten sheep in the air in front of the player and the weapon
// firing, in the game's own window at 1024 x 768 and at 640 x 480 (Mesa's
// software renderer here), and at 1280 x 720 stretched and with the true
// aspect (keep_aspect 1: a 121-degree wide view, more land to draw), and at
// the display's own 1920 x 1080 (desktop mode, make bench's virtual screen)
// with render_scale 1 and automatic; each frame finished with glFinish.
// Reports the median frame and the slowest 1 % besides the mean, and the
// scale drawn at. Also the time a level takes to load, and what the
// stretch of a smaller scene over the window costs on its own.
#include "app/app.h"
#include "app/mouse.h"
#include "app/video.h"
#include "console/registry.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/player.h"
#include "gl.h"
#include "input/input.h"
#include "overlay/render_scale.h"
#include "support/scratch_game.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

// The real start-up in a scratch folder with data/ linked in, once.
bool start_game() {
    static int state = 0; // 0 not tried, 1 running, 2 failed
    if (state != 0) return state == 1;
    state = start_game_in_scratch_folder(current_video_mode()) ? 1 : 2;
    return state == 1;
}

// Ten sheep hanging in the air 60 to 160 units ahead, slowly falling, so
// every frame draws them all.
// Set anew before every frame, so none is shot down or lands meanwhile.
void fill_the_sky() {
    sheep_reset(); // every slot free, the lives full
    const PlayerView player = player_view();
    for (int i = 0; i < SHEEP_SLOTS; i++)
        sheep_spawn_at({player.x + 60.0f + 10.0f * i, player.y + 10.0f + 6.0f * i,
                        player.z - 50.0f + 10.0f * i},
                       {0.0f, -1.0f, 0.0f}, 1.0f);
    flock_next_spawn_at(0xFFFFFFFFu);
    flock_start_level(1000, flock().speed);
}

// One play frame, finished, in milliseconds; the automatic render scale
// hears of it as it would of a frame of the main loop.
double timed_play_frame() {
    fill_the_sky();
    auto start = std::chrono::steady_clock::now();
    run_frame(16);
    glFinish();
    auto end = std::chrono::steady_clock::now();
    double ms = std::chrono::duration<double, std::milli>(end - start).count();
    render_scale_frame_measured(ms, 60.0);
    return ms;
}

// Arguments: video mode row (VIDEO_MODE_DESKTOP: fullscreen at the display's
// size), keep_aspect, render_scale in hundredths (0: automatic).
void BM_PlayFrame(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("the game could not start (is there a display?)");
        return;
    }
    int mode = static_cast<int>(state.range(0));
    bool keep_aspect = state.range(1) != 0;
    float scale = static_cast<float>(state.range(2)) / 100.0f;
    if (current_video_mode() != mode) {
        video_mode_choose(mode, mode == VIDEO_MODE_DESKTOP);
        video_mode_change();
    }
    if (ConsoleVariable* v = console_find_variable("keep_aspect")) v->value = keep_aspect;
    console_find_variable("render_scale")->value = scale;
    level_sequence_restart(2);
    level_advance(); // level 3
    game_state_set(STATE_PLAY);
    mouse_button(VK_LBUTTON, true);
    // The automatic scale settles first, as in the first seconds of play.
    if (scale == 0.0f)
        for (int frame = 0; frame < 300; frame++)
            timed_play_frame();
    std::vector<double> frames;
    for (auto _ : state)
        frames.push_back(timed_play_frame());
    mouse_button(VK_LBUTTON, false);
    std::sort(frames.begin(), frames.end());
    state.counters["median_ms"] = frames[frames.size() / 2];
    state.counters["slowest_1%_ms"] = frames[frames.size() * 99 / 100];
    state.counters["scale"] = render_scale_in_use();
    int width = 0, height = 0;
    window_drawable_size(&width, &height);
    char label[128];
    std::snprintf(label, sizeof label, "%s %dx%d%s render_scale %s (%.2f)", video_mode_name(mode),
                  width, height, keep_aspect ? " keep_aspect 1" : "",
                  scale == 0.0f ? "0 automatic" : (scale == 1.0f ? "1" : "set"),
                  render_scale_in_use());
    state.SetLabel(label);
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
        level_sequence_restart(2);
        level_advance();
        run_frame(16);
        glFinish();
    }
}

// What drawing the scene smaller costs however little it holds: an empty
// scene (the sky's clear alone) at the given render_scale, stretched over
// the display's own 1920 x 1080, finished with glFinish; beside it the same
// empty scene at full size, where there is no stretch. A play frame below 1
// costs this on top of its smaller scene.
void BM_SceneStretch(benchmark::State& state) {
    if (!start_game()) {
        state.SkipWithError("the game could not start (is there a display?)");
        return;
    }
    if (current_video_mode() != VIDEO_MODE_DESKTOP) {
        video_mode_choose(VIDEO_MODE_DESKTOP, true);
        video_mode_change();
    }
    float scale = static_cast<float>(state.range(0)) / 100.0f;
    console_find_variable("render_scale")->value = scale;
    for (auto _ : state) {
        scene_begin();
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        scene_end();
        glFinish();
    }
    int width = 0, height = 0;
    window_drawable_size(&width, &height);
    char label[64];
    std::snprintf(label, sizeof label, "%dx%d render_scale %.2f", width, height, scale);
    state.SetLabel(label);
}

} // namespace

BENCHMARK(BM_SceneStretch)
    ->Arg(100)
    ->Arg(50)
    ->Iterations(100)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_LevelLoad)->Iterations(20)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_PlayFrame)
    ->Args({8, 0, 100})
    ->Args({6, 0, 100})
    ->Args({9, 0, 100})
    ->Args({9, 1, 100})
    ->Args({VIDEO_MODE_DESKTOP, 0, 100})
    ->Args({VIDEO_MODE_DESKTOP, 0, 0})
    ->Iterations(400)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
