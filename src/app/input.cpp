// Input: owns the key table over Windows virtual-key codes, the last pressed
// key, and the mouse motion and button of the latest poll.
#include "app/input.h"

#include "console/overlay.h"

#include <SDL.h>

static const int KEY_COUNT = 256;

static bool key_state[KEY_COUNT];
static int last_pressed_key = -1;
static bool mouse_held = false;

int mouse_dx = 0;
int mouse_dy = 0;
bool mouse_left_down = false;

static bool key_in_range(int vk) {
    return vk >= 0 && vk < KEY_COUNT;
}

bool key_is_down(int vk) {
    return key_in_range(vk) && key_state[vk];
}

// True once for the key that went down after every other key and has since
// been released.
bool key_was_pressed(int vk) {
    if (!key_in_range(vk) || key_state[vk] || vk != last_pressed_key) return false;
    last_pressed_key = -1;
    return true;
}

void key_release(int vk) {
    if (key_in_range(vk)) key_state[vk] = false;
}

void key_down(int vk) {
    if (!key_in_range(vk)) return;
    key_state[vk] = true;
    last_pressed_key = vk;
    console_key_down(vk); // the table is updated whether or not the console is open
}

// Relative mode hides and holds the pointer while the window has the focus.
bool mouse_init() {
    for (bool& held : key_state)
        held = false;
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) return false;
    SDL_GetRelativeMouseState(nullptr, nullptr); // forget motion from before
    mouse_held = true;
    return true;
}

void mouse_poll() {
    if (!mouse_held) return;
    int dx = 0, dy = 0;
    Uint32 buttons = SDL_GetRelativeMouseState(&dx, &dy);
    mouse_dx = dx;
    mouse_dy = dy;
    mouse_left_down = (buttons & SDL_BUTTON_LMASK) != 0;
}

void mouse_release() {
    if (!mouse_held) return;
    SDL_SetRelativeMouseMode(SDL_FALSE);
    mouse_held = false;
}
