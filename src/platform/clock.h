// The game clock: the time base of the whole game. The platform layer
// advances it once per frame with the frame's measured milliseconds; every
// other module only reads it.
#pragma once

#include <cstdint>

extern uint32_t game_time_ms; // milliseconds over all frames, wraps at 2^32
extern float game_time;       // game_time_ms as a float
extern float frame_time;      // the latest frame's milliseconds

// Adds one frame's elapsed milliseconds.
void clock_advance(uint32_t elapsed_ms);
// Back to time 0 with no frame run yet, as at start-up: a demo's game
// starts from there whenever it is recorded or played.
void clock_restart();
