// The timedemo over real play: the aiming bot's whole game of level 3 is
// recorded once (support/level3_demo.h: the demo is the same on every
// machine), then played back as fast as this machine draws it, through the
// real main loop, at 1024 x 768 and at 640 x 480 (Mesa's software renderer
// here), and at the display's own 1920 x 1080 (desktop mode on make
// timedemo's virtual screen) with render_scale 1 and automatic. The camera
// turns over the whole land with sheep near and far; the figures are those
// of the game's own timedemo line, with the scale the frames ended at. The
// automatic row plays the demo once untimed first, so its scale has settled
// as in a game already under way; that first playback is reported too.
#include "app/app.h"
#include "app/platform.h"
#include "app/video.h"
#include "console/registry.h"
#include "game/demo.h"
#include "game/game_state.h"
#include "overlay/render_scale.h"
#include "support/level3_demo.h"
#include "support/scratch_game.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

const int MODE_1024x768 = 8, MODE_640x480 = 6;

bool game_with_demo() {
    static int state = 0; // 0 not tried, 1 ready, 2 failed
    if (state == 0)
        state = start_game_in_scratch_folder(MODE_1024x768) && record_bot_level_3("level3") ? 1 : 2;
    return state == 1;
}

// The recorded game played back as fast as frames are drawn.
bool play_demo_through() {
    if (!demo_play("level3", true)) return false;
    while (demo_mode() == DEMO_TIMING && main_loop_step()) {
    }
    return true;
}

// Arguments: video mode row (VIDEO_MODE_DESKTOP: fullscreen at the display's
// size), render_scale in hundredths (0: automatic).
void BM_TimeDemo(benchmark::State& state) {
    if (!game_with_demo()) {
        state.SkipWithError("the game could not start or record (is there a display?)");
        return;
    }
    int mode = static_cast<int>(state.range(0));
    float scale = static_cast<float>(state.range(1)) / 100.0f;
    if (current_video_mode() != mode) {
        video_mode_choose(mode, mode == VIDEO_MODE_DESKTOP);
        video_mode_change();
    }
    console_find_variable("render_scale")->value = scale;
    std::string first_playback;
    if (scale == 0.0f) {
        if (!play_demo_through()) {
            state.SkipWithError(demo_error_line().c_str());
            return;
        }
        first_playback = demo_timing_line();
    }
    for (auto _ : state) {
        if (!play_demo_through()) {
            state.SkipWithError(demo_error_line().c_str());
            return;
        }
    }
    unsigned frames = 0;
    double seconds = 0, fps = 0, median = 0, slowest = 0;
    if (std::sscanf(demo_timing_line().c_str(),
                    "%u frames in %lf s: %lf fps, median %lf ms, slowest 1%% %lf ms", &frames,
                    &seconds, &fps, &median, &slowest) != 5) {
        state.SkipWithError("no timing line");
        return;
    }
    state.counters["frames"] = frames;
    state.counters["fps"] = fps;
    state.counters["median_ms"] = median;
    state.counters["slowest_1%_ms"] = slowest;
    state.counters["scale"] = render_scale_in_use();
    int width = 0, height = 0;
    window_drawable_size(&width, &height);
    char label[512];
    std::snprintf(label, sizeof label, "%s %dx%d render_scale %s: %s; scale at the end %.2f%s%s",
                  video_mode_name(mode), width, height, scale == 0.0f ? "0 automatic" : "1",
                  demo_timing_line().c_str(), render_scale_in_use(),
                  first_playback.empty() ? "" : "; first playback: ", first_playback.c_str());
    state.SetLabel(label);
    std::printf("timedemo %s\n", label);
}

} // namespace

BENCHMARK(BM_TimeDemo)
    ->Args({MODE_1024x768, 100})
    ->Args({MODE_640x480, 100})
    ->Args({VIDEO_MODE_DESKTOP, 100})
    ->Args({VIDEO_MODE_DESKTOP, 0})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_MAIN();
