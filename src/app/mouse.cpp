// Mouse: owns whether the mouse is held in relative mode and the motion
// counted since the last poll, handed on to the input record once per frame;
// the buttons go straight into the key table.
#include "app/mouse.h"

#include "input/input.h"
#include "input/actions.h"

#include <SDL.h>

static bool mouse_held = false;
static int motion_x = 0, motion_y = 0; // counts since the last poll

static void forget_motion() {
    motion_x = motion_y = 0;
}

bool mouse_init() {
    keys_clear();
    forget_motion();
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) return false;
    mouse_held = true;
    return true;
}

void mouse_motion(int dx, int dy) {
    if (!mouse_held) return;
    motion_x += dx;
    motion_y += dy;
}

// A click that begins and ends between two frames still shows as held for
// one frame: the key table keeps it.
void mouse_button(int vk, bool down) {
    if (!mouse_held) return;
    if (down)
        key_down(vk);
    else
        key_release(vk);
}

void mouse_poll() {
    if (!mouse_held) return;
    input_add_turn(static_cast<float>(motion_x), static_cast<float>(motion_y));
    motion_x = motion_y = 0;
}

void mouse_release() {
    if (!mouse_held) return;
    SDL_SetRelativeMouseMode(SDL_FALSE);
    forget_motion();
    mouse_held = false;
}
