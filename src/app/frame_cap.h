// The frame cap: the variable max_fps and the wait at the end of a frame
// that ran faster than its share of a second.
#pragma once

#include <cstdint>

// Creates max_fps (default 250, 0 .. 1000).
void frame_cap_init();
// Frames a second at most; 0: no cap.
float max_fps_setting();
// After a frame has been shown: waits until 1000 / max_fps milliseconds have
// passed since frame_start, the timer reading the frame began with.
void frame_cap_wait(uint32_t frame_start);
