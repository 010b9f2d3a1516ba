// Mouse: owns whether the mouse is held in relative mode, and writes the
// motion and left button of each poll into the input module.
#include "app/mouse.h"

#include "input/input.h"

#include <SDL.h>

static bool mouse_held = false;

bool mouse_init() {
    keys_clear();
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
