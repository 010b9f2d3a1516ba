// Console overlay: visibility and fade, the typed line and its editing, the
// history of executed lines, scrolling, and drawing the panel with its lines.
#pragma once

constexpr int HISTORY_SIZE = 32;

extern bool console_visible;
extern float console_fade; // opacity 0 .. 1

// Hides the overlay and clears its fade (part of console_output_init).
void console_overlay_reset();
// Zeroes all history slots; the counters are left as they are.
void console_history_clear();

void console_history_add(const char* line);
const char* console_history_older();
const char* console_history_newer();

void console_key_down(int key);
void console_char(int code);
void console_toggle();
bool console_is_visible();
void console_scroll_up();
void console_scroll_down();

// Per-frame update (Insert, scrolling, fade) and drawing.
void console_frame();
void console_draw();

// The line being typed, for tests and the overlay.
const char* console_input_line();
