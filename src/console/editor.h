// Console line input: whether the console is shown and its fade, the typed
// line and its editing, the history of executed lines and scrolling back.
// The overlay (overlay/console_overlay) draws what this holds.
#pragma once

constexpr int HISTORY_SIZE = 32;

extern bool console_visible;
extern float console_fade; // opacity 0 .. 1, moved by the overlay each frame

// Hides the console and clears its fade (part of console_output_init).
void console_overlay_reset();
// Zeroes all history slots; the counters are left as they are.
void console_history_clear();

void console_history_add(const char* line);
const char* console_history_older();
const char* console_history_newer();
// The executed lines held, oldest first: index 0 .. console_history_count() - 1.
int console_history_count();
const char* console_history_line(int index);

// Key-down and typed characters while the console is shown.
void console_key_down(int key);
void console_char(int code);
void console_toggle();
bool console_is_visible();
void console_scroll_up();
void console_scroll_down();

// The line being typed.
const char* console_input_line();
