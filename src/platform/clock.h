// The game clock: the time base of the whole game. The platform layer
// advances it once per frame with the frame's game milliseconds; every other
// module only reads it. Work that stalls the loop (a level load, a new
// window, pictures uploaded again) says so, and the loop leaves that time
// out of the game.
#pragma once

#include <cstdint>

// No frame advances the game by more than this: a slower machine plays in
// slow motion rather than letting sheep skip through the air.
constexpr uint32_t MAX_FRAME_MS = 100;

uint32_t game_time_ms(); // milliseconds over all frames, wraps at 2^32
float game_time();       // game_time_ms as a float
float frame_time();      // the latest frame's milliseconds

// Adds one frame's elapsed milliseconds.
void clock_advance(uint32_t elapsed_ms);

// Marks the current frame as stalled: the time it took is not game time.
void clock_mark_stall();
// True once after clock_mark_stall: the main loop then measures the next
// frame from the end of this one.
bool clock_take_stall();
// Back to time 0 with no frame run yet, as at start-up: a demo's game
// starts from there whenever it is recorded or played.
void clock_restart();
