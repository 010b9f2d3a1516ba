// The one handler of SDL events, doing what the game's window procedure does:
// keys into the key table and the console, resizing, minimising, closing;
// owns app_active.
#pragma once

#include <SDL.h>

// Windows virtual-key code of an SDL scancode, or -1 when it has none. With
// NumLock off the keypad gives the navigation keys.
int virtual_key_of(SDL_Scancode scancode, bool num_lock = true);

extern bool app_active; // false while the window is minimised

// Handles one event; returns false when it asks the game to quit.
bool handle_event(const SDL_Event& event);

// Latin-1 bytes of a UTF-8 text; characters outside Latin-1 are dropped.
// Returns the number of bytes written (at most capacity).
int utf8_to_latin1(const char* text, unsigned char* out, int capacity);
