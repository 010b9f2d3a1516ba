// The end-of-frame work every screen shares: the clock advances, the console
// runs and draws, and the frame rate is counted and shown.
#pragma once

#include "platform/clock.h"

#include <cstdint>

int fps_value(); // frames of the last finished second

// Creates show_fps (default 1: the frame rate shows in the top right corner).
void show_fps_init();

// Zeroes the clock, the frame counter and the stored remainder.
void clock_reset();

// The end of a frame that took elapsed_ms. While the game is paused no game
// time passes (game_time_ms and frame_time stand still), but the console
// still fades in real time.
void frame_overlay(uint32_t elapsed_ms, bool game_paused = false);
