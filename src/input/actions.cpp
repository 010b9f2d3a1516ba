// Actions: owns the table from keys to actions or console lines, whether
// the console has the typing keys, the gamepad's held actions and the
// actions a playing demo forces.
#include "input/actions.h"

#include "input/input.h"
#include "input/key_names.h"

#include <cstring>
#include <string>

static const int KEY_COUNT = 256;

static int bound_action[KEY_COUNT];       // ACTION_* or -1
static std::string bound_line[KEY_COUNT]; // "" when the key runs no line
static bool console_open = false;
static bool pad_held[ACTION_COUNT];
static bool pad_went_down[ACTION_COUNT];
static bool pad_pressed[ACTION_COUNT]; // not yet taken by action_was_pressed
static bool forced[ACTION_COUNT];
static bool forced_held[ACTION_COUNT];
static bool bindings_ready = false;

static const char* const NAMES[ACTION_COUNT] = {
    "forward", "back", "left", "right", "fire", "console", "screenshot", "pause",
};

const char* action_name(Action action) {
    return action >= 0 && action < ACTION_COUNT ? NAMES[action] : "";
}

int action_of_name(const char* name) {
    for (int a = 0; a < ACTION_COUNT; a++)
        if (std::strcmp(NAMES[a], name) == 0) return a;
    return -1;
}

struct DefaultBinding {
    int vk;
    Action action;
};

static const DefaultBinding DEFAULTS[] = {
    {VK_UP, ACTION_FORWARD},     {VK_DOWN, ACTION_BACK},    {VK_LEFT, ACTION_LEFT},
    {VK_RIGHT, ACTION_RIGHT},    {VK_LBUTTON, ACTION_FIRE}, {VK_INSERT, ACTION_CONSOLE},
    {VK_F12, ACTION_SCREENSHOT}, {VK_PAUSE, ACTION_PAUSE},
};

int key_default_action(int vk) {
    for (const DefaultBinding& d : DEFAULTS)
        if (d.vk == vk) return d.action;
    return -1;
}

void actions_bind_defaults() {
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        bound_action[vk] = key_default_action(vk);
        bound_line[vk].clear();
    }
    bindings_ready = true;
}

static void make_bindings_ready() {
    if (!bindings_ready) actions_bind_defaults();
}

int key_action(int vk) {
    make_bindings_ready();
    return vk >= 0 && vk < KEY_COUNT ? bound_action[vk] : -1;
}

void key_bind_action(int vk, int action) {
    make_bindings_ready();
    if (vk < 0 || vk >= KEY_COUNT) return;
    bound_action[vk] = action >= 0 && action < ACTION_COUNT ? action : -1;
    bound_line[vk].clear();
}

void key_bind_line(int vk, const char* line) {
    make_bindings_ready();
    if (vk < 0 || vk >= KEY_COUNT) return;
    bound_line[vk] = line;
    if (!bound_line[vk].empty()) bound_action[vk] = -1;
}

const char* key_bound_line(int vk) {
    make_bindings_ready();
    return vk >= 0 && vk < KEY_COUNT ? bound_line[vk].c_str() : "";
}

void actions_console_open(bool open) {
    console_open = open;
}

bool key_acts(int vk) {
    return !(console_open && key_types_in_console(vk));
}

template <typename KeyTest>
static bool any_bound_key(Action action, KeyTest test) {
    make_bindings_ready();
    for (int vk = 0; vk < KEY_COUNT; vk++)
        if (bound_action[vk] == action && key_acts(vk) && test(vk)) return true;
    return false;
}

bool action_is_down(Action action) {
    if (forced[action]) return forced_held[action];
    return pad_held[action] || any_bound_key(action, key_is_down);
}

bool action_went_down(Action action) {
    if (forced[action]) return false;
    return pad_went_down[action] || any_bound_key(action, key_went_down);
}

bool action_was_pressed(Action action) {
    if (pad_pressed[action]) {
        pad_pressed[action] = false;
        return true;
    }
    return any_bound_key(action, key_was_pressed);
}

void action_pad_hold(Action action, bool held) {
    if (held && !pad_held[action]) pad_went_down[action] = pad_pressed[action] = true;
    pad_held[action] = held;
}

void action_force(Action action, bool held) {
    forced[action] = true;
    forced_held[action] = held;
}

void actions_stop_forcing() {
    for (bool& f : forced)
        f = false;
}

void actions_frame_done() {
    for (int a = 0; a < ACTION_COUNT; a++)
        pad_went_down[a] = false;
}
