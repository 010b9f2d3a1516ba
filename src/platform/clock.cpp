// Game clock: owns game_time_ms, game_time, frame_time and the stall mark.
#include "platform/clock.h"

uint32_t game_time_ms = 0;
float game_time = 0.0f;
float frame_time = 0.0f;

static bool stalled = false;

void clock_advance(uint32_t elapsed_ms) {
    game_time_ms += elapsed_ms;
    game_time = static_cast<float>(game_time_ms);
    frame_time = static_cast<float>(elapsed_ms);
}

void clock_mark_stall() {
    stalled = true;
}

bool clock_take_stall() {
    bool was = stalled;
    stalled = false;
    return was;
}

void clock_restart() {
    game_time_ms = 0;
    game_time = 0.0f;
    frame_time = 0.0f;
}
