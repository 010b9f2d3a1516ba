// Console line input: whether the console is shown and its fade, the typed
// line and its editing, recalling the history and scrolling back.
// The overlay (overlay/console_overlay) draws what this holds.
#pragma once

extern bool console_visible;
extern float console_fade; // opacity 0 .. 1, moved by the overlay each frame

// Hides the console and clears its fade (part of console_init).
void console_overlay_reset();
// Key-down and typed characters while the console is shown.
void console_key_down(int key);
void console_char(int code);
void console_toggle();
bool console_is_visible();
void console_scroll_up();
void console_scroll_down();

// The line being typed.
const char* console_input_line();
