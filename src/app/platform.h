// The operating-system edge that is not window or input: message boxes and
// the millisecond timer.
#pragma once

#include <cstdint>

struct SDL_Window;

enum MessageIcon { ICON_WARNING, ICON_ERROR, ICON_INFORMATION };

// On Windows, where the game is a windowed program: standard output and
// error go to the console it was started from, if any. Elsewhere nothing.
void console_output_attach();

// The window the boxes belong to while one exists (none: the boxes stand alone).
void message_box_set_parent(SDL_Window* window);

// Shows a message box (when a display can show one) and writes the text to
// stderr as well. While a box waits for its answer, SIGTERM and SIGINT end
// the game at once with exit code 1, and a box SDL shows from a child
// process goes with the game however it ends.
void message_box(const char* caption, const char* text, MessageIcon icon);
// Asks a Yes/No question. Where no box can be shown the answer is Yes, the
// answer that keeps the game running.
bool message_box_yes_no(const char* caption, const char* text);

// Milliseconds since SDL started, wrapping at 2^32. Tests may replace the
// source to play the game with chosen frame times.
using TicksSource = uint32_t (*)();
uint32_t timer_ticks();
void timer_set_source(TicksSource source); // nullptr restores the real timer
// A steady clock in seconds, finer than the millisecond timer, for measuring
// frames; with a replaced tick source it follows that source.
double timer_seconds();
// Waits the milliseconds (SDL_Delay). Tests may replace the wait, so a fake
// clock can follow it.
using DelaySink = void (*)(uint32_t ms);
void timer_delay(uint32_t ms);
void timer_set_delay(DelaySink sink); // nullptr restores the real wait

