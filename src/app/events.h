// The one handler of SDL events, doing what the game's window procedure does:
// keys into the key table and the console, resizing, minimising, closing;
// owns whether the game is active (not minimised).
#pragma once

#include <SDL.h>

// Windows virtual-key code of an SDL scancode, or -1 when it has none. With
// NumLock off the keypad gives the navigation keys.
int virtual_key_of(SDL_Scancode scancode, bool num_lock = true);

// False while the window is minimised.
bool app_is_active();

// Handles one event; returns false when it asks the game to quit.
bool handle_event(const SDL_Event& event);

// Once a frame: the game window's focus lost FOCUS_LOSS_DELAY_MS ago (250)
// and not come back pauses the game (when pause_on_focus_loss is on).
void focus_loss_check();
// The game's own work (a new window, its question box, a level load) moves
// the focus about: losses reported within the next ms do not pause.
void focus_loss_ignore_for(uint32_t ms);

// Latin-1 bytes of a UTF-8 text; characters outside Latin-1 are dropped.
// Returns the number of bytes written (at most capacity).
int utf8_to_latin1(const char* text, unsigned char* out, int capacity);
