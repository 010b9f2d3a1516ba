// Frame cap: owns max_fps. Waiting away the rest of a short frame saves the
// CPU, and frames never measure 0 ms on a fast machine. The next frame still
// gets the time measured from this frame's start, waiting included.
#include "app/frame_cap.h"

#include "app/platform.h"
#include "console/registry.h"

#include <cmath>

ConsoleVariable* max_fps = nullptr;

static constexpr float DEFAULT_MAX_FPS = 250.0f;
// Beyond 1000 a frame's share is below the timer's millisecond.
static constexpr float HIGHEST_MAX_FPS = 1000.0f;

void frame_cap_init() {
    max_fps = console_get_variable("max_fps", DEFAULT_MAX_FPS);
    console_limit_variable(max_fps, 0.0f, HIGHEST_MAX_FPS, false);
}

void frame_cap_wait(uint32_t frame_start) {
    if (!max_fps || !(max_fps->value > 0.0f)) return;
    float share = 1000.0f / max_fps->value;
    uint32_t spent = timer_ticks() - frame_start;
    if (static_cast<float>(spent) >= share) return;
    timer_delay(static_cast<uint32_t>(std::ceil(share - static_cast<float>(spent))));
}
