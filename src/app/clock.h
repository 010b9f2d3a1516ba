// Game clock and the common tail of every frame: the clock advances, the
// mouse is polled, the console runs and draws, and the frame rate is counted
// and shown.
#pragma once

#include <cstdint>

struct ConsoleVariable;

extern uint32_t game_time_ms; // milliseconds over all frames, wraps
extern float game_time;       // game_time_ms as a float
extern float frame_time;      // the latest frame's milliseconds
extern int fps_value;         // frames of the last finished second
extern ConsoleVariable* show_fps;

// Zeroes the clock, the frame counter and the stored remainder.
void clock_reset();

void frame_overlay(uint32_t elapsed_ms);
