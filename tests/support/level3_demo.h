// The aiming bot's whole game of level 3 recorded as a demo through the real
// main loop, on a fake clock of 25 ms frames: the demo is the same on every
// machine and at every window size. The timedemo benchmark plays it, and the
// Windows demo session plays it on both builds.
#pragma once

#include "app/app.h"
#include "app/platform.h"
#include "game/demo.h"
#include "game/game_state.h"
#include "support/aiming_bot.h"

#include <cstdint>

namespace level3_demo {

const int LEVEL_3 = 2;
const uint32_t FRAME_MS = 25;
const int MAX_FRAMES = 40000; // 1000 s of play: the bot wins long before
inline uint32_t fake_now = 0;
inline uint32_t fake_ticks() {
    return fake_now;
}

} // namespace level3_demo

// Records demos/NAME.dem in a started game; false when the recording could
// not start or the main loop ended. The real clock is back afterwards.
inline bool record_bot_level_3(const char* name) {
    using namespace level3_demo;
    timer_set_source(fake_ticks);
    main_loop_start();
    if (!demo_record(name, LEVEL_3)) return false;
    AimingBot bot;
    for (int frame = 0; frame < MAX_FRAMES && demo_mode() == DEMO_RECORDING; frame++) {
        if (game_state() == STATE_PLAY) bot.aim_and_fire();
        fake_now += FRAME_MS;
        if (!main_loop_step()) return false;
    }
    demo_stop();
    timer_set_source(nullptr);
    main_loop_start();
    return true;
}
