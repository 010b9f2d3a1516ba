// Console line input: whether the console is shown and its fade, the typed
// line and its editing, recalling the history and scrolling back.
// The overlay (overlay/console_overlay) draws what this holds.
#pragma once

// Hides the console and clears its fade (part of console_init).
void console_overlay_reset();
// Key-down and typed characters while the console is shown.
void console_key_down(int key);
void console_char(int code);
void console_toggle();
bool console_is_visible();
// The panel's opacity, 0 .. 1.
float console_fade();
// Moves the opacity toward shown or hidden, a whole fade taking a second;
// the overlay calls it once a frame.
void console_fade_step(float elapsed_ms);
void console_scroll_up();
void console_scroll_down();

// The line being typed.
const char* console_input_line();
