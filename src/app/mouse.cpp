// Mouse: owns whether the mouse is held in relative mode, the motion counted
// since the last poll and the left button, and writes them into the input
// module once per frame.
#include "app/mouse.h"

#include "input/input.h"

#include <SDL.h>

static bool mouse_held = false;
static int motion_x = 0, motion_y = 0; // counts since the last poll
static bool left_held = false;
static bool left_pressed_since_poll = false;

static void forget_motion_and_buttons() {
    motion_x = motion_y = 0;
    left_held = left_pressed_since_poll = false;
}

bool mouse_init() {
    keys_clear();
    forget_motion_and_buttons();
    if (SDL_SetRelativeMouseMode(SDL_TRUE) != 0) return false;
    mouse_held = true;
    return true;
}

void mouse_motion(int dx, int dy) {
    if (!mouse_held) return;
    motion_x += dx;
    motion_y += dy;
}

void mouse_left_button(bool down) {
    if (!mouse_held) return;
    left_held = down;
    if (down) left_pressed_since_poll = true;
}

void mouse_poll() {
    if (!mouse_held) return;
    mouse_dx = motion_x;
    mouse_dy = motion_y;
    mouse_left_down = left_held || left_pressed_since_poll;
    motion_x = motion_y = 0;
    left_pressed_since_poll = false;
}

void mouse_release() {
    if (!mouse_held) return;
    SDL_SetRelativeMouseMode(SDL_FALSE);
    forget_motion_and_buttons();
    mouse_held = false;
}
