// Input: owns the key table over Windows virtual-key codes, the last pressed
// key and the releases held back for one frame.
#include "input/input.h"

static const int KEY_COUNT = 256;

static bool key_state[KEY_COUNT];
// Went down since the last frame ended: no frame has seen it held yet.
static bool unseen_down[KEY_COUNT];
// Released before any frame saw it held: released when the next frame ends.
static bool release_after_frame[KEY_COUNT];
// Went down from released since the last frame ended (repeats do not count).
static bool pressed_this_frame[KEY_COUNT];
static int last_pressed_key = -1;

static bool key_in_range(int vk) {
    return vk >= 0 && vk < KEY_COUNT;
}

bool key_is_down(int vk) {
    return key_in_range(vk) && key_state[vk];
}

bool key_went_down(int vk) {
    return key_in_range(vk) && pressed_this_frame[vk];
}

bool key_was_pressed(int vk) {
    if (!key_in_range(vk) || key_state[vk] || vk != last_pressed_key) return false;
    last_pressed_key = -1;
    return true;
}

// A tap that starts and ends between two frames still reaches the next
// frame as a held key, so no frame can miss it.
void key_release(int vk) {
    if (!key_in_range(vk)) return;
    if (unseen_down[vk])
        release_after_frame[vk] = true;
    else
        key_state[vk] = false;
}

void key_down(int vk) {
    if (!key_in_range(vk)) return;
    if (!key_state[vk]) pressed_this_frame[vk] = true;
    key_state[vk] = true;
    unseen_down[vk] = true;
    release_after_frame[vk] = false;
    last_pressed_key = vk;
}

void keys_frame_done() {
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        unseen_down[vk] = false;
        pressed_this_frame[vk] = false;
        if (release_after_frame[vk]) key_state[vk] = false;
        release_after_frame[vk] = false;
    }
}

void keys_clear() {
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        key_state[vk] = false;
        unseen_down[vk] = false;
        release_after_frame[vk] = false;
        pressed_this_frame[vk] = false;
    }
}

void key_unpress(int vk) {
    if (!key_in_range(vk)) return;
    key_state[vk] = false;
    unseen_down[vk] = false;
    release_after_frame[vk] = false;
    pressed_this_frame[vk] = false;
    if (last_pressed_key == vk) last_pressed_key = -1;
}
