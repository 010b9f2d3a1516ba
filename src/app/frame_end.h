// The end-of-frame work every screen shares: the clock advances, the mouse
// is polled, the console runs and draws, and the frame rate is counted and
// shown.
#pragma once

#include "platform/clock.h"

#include <cstdint>

struct ConsoleVariable;

extern int fps_value;         // frames of the last finished second
extern ConsoleVariable* show_fps;

// Zeroes the clock, the frame counter and the stored remainder.
void clock_reset();

void frame_overlay(uint32_t elapsed_ms);
