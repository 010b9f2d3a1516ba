// Game clock: owns the game time, the latest frame's time and the stall
// mark.
#include "platform/clock.h"

static uint32_t time_ms = 0;
static float time_float = 0.0f;
static float last_frame_ms = 0.0f;
static bool stalled = false;

uint32_t game_time_ms() {
    return time_ms;
}

float game_time() {
    return time_float;
}

float frame_time() {
    return last_frame_ms;
}

void clock_advance(uint32_t elapsed_ms) {
    time_ms += elapsed_ms;
    time_float = static_cast<float>(time_ms);
    last_frame_ms = static_cast<float>(elapsed_ms);
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
    time_ms = 0;
    time_float = 0.0f;
    last_frame_ms = 0.0f;
}
