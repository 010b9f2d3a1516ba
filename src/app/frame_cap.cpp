// Frame cap: owns max_fps. Waiting away the rest of a short frame saves the
// CPU, and frames never measure 0 ms on a fast machine. The next frame still
// gets the time measured from this frame's start, waiting included.
#include "app/frame_cap.h"

#include "app/platform.h"
#include "console/registry.h"

#include <cmath>

static ConsoleVariable* max_fps = nullptr;
// Beyond 1000 a frame's share is below the timer's millisecond.
static const SettingRow SETTINGS[] = {
    {.variable = &max_fps,
     .name = "max_fps",
     .default_value = 250.0f,
     .min_value = 0.0f,
     .max_value = 1000.0f,
     .help = "frames a second at most (0: no limit)"},
};

void frame_cap_init() {
    console_add_settings(SETTINGS);
}

float max_fps_setting() {
    return max_fps->value;
}

void frame_cap_wait(uint32_t frame_start) {
    if (!(max_fps->value > 0.0f)) return;
    float share = 1000.0f / max_fps->value;
    uint32_t spent = timer_ticks() - frame_start;
    if (static_cast<float>(spent) >= share) return;
    timer_delay(static_cast<uint32_t>(std::ceil(share - static_cast<float>(spent))));
}
