// The timedemo over real play: the aiming bot's whole game of level 3 is
// recorded once (25 ms frames of game time, so the demo is the same on every
// machine), then played back as fast as this machine draws it, through the
// real main loop, at 1024 x 768 and at 640 x 480 (Mesa's software renderer
// here). The camera turns over the whole land with sheep near and far; the
// figures are those of the game's own timedemo line.
#include "app/app.h"
#include "app/platform.h"
#include "app/video.h"
#include "game/demo.h"
#include "game/game_state.h"
#include "support/aiming_bot.h"
#include "support/scratch_game.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <unistd.h>

namespace {

const int LEVEL_3 = 2;
const uint32_t RECORDED_FRAME_MS = 25;
const int MAX_RECORDED_FRAMES = 40000; // 1000 s of play: the bot wins long before
const int MODE_1024x768 = 8, MODE_640x480 = 6;

uint32_t fake_now = 0;
uint32_t fake_ticks() {
    return fake_now;
}

// The bot plays level 3 to its end on a fake clock while it is recorded.
bool record_level_3() {
    timer_set_source(fake_ticks);
    main_loop_start();
    demo_record("level3", LEVEL_3);
    AimingBot bot;
    for (int frame = 0; frame < MAX_RECORDED_FRAMES && demo_mode() == DEMO_RECORDING; frame++) {
        if (game_state == STATE_PLAY) bot.aim_and_fire();
        fake_now += RECORDED_FRAME_MS;
        if (!main_loop_step()) return false;
    }
    demo_stop();
    timer_set_source(nullptr);
    main_loop_start();
    return true;
}

bool game_with_demo() {
    static int state = 0; // 0 not tried, 1 ready, 2 failed
    if (state == 0) state = start_game_in_scratch_folder(MODE_1024x768) && record_level_3() ? 1 : 2;
    return state == 1;
}

void BM_TimeDemo(benchmark::State& state) {
    if (!game_with_demo()) {
        state.SkipWithError("the game could not start or record (is there a display?)");
        return;
    }
    int mode = static_cast<int>(state.range(0));
    if (current_video_mode != mode) {
        current_video_mode = mode;
        video_mode_change();
    }
    for (auto _ : state) {
        if (!demo_play("level3", true)) {
            state.SkipWithError(demo_error_line().c_str());
            return;
        }
        while (demo_mode() == DEMO_TIMING && main_loop_step()) {
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
    state.SetLabel(std::string(video_modes[mode].name) + ": " + demo_timing_line());
}

} // namespace

BENCHMARK(BM_TimeDemo)
    ->Arg(MODE_1024x768)
    ->Arg(MODE_640x480)
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();
BENCHMARK_MAIN();
