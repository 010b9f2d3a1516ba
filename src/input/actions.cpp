// Actions: owns the action table, the table from keys to actions or console
// lines, whether the console has the typing keys, and the gamepad's held
// actions and start.
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
static bool pad_start = false; // not yet taken into a record
static bool bindings_ready = false;

struct ActionRow {
    const char* name;
    int default_key;
    bool works_the_program; // not replayed by a demo
};

static const ActionRow ACTIONS[ACTION_COUNT] = {
    {"forward", VK_UP, false},    {"back", VK_DOWN, false},    {"left", VK_LEFT, false},
    {"right", VK_RIGHT, false},   {"fire", VK_LBUTTON, false}, {"console", VK_INSERT, true},
    {"screenshot", VK_F12, true}, {"pause", VK_PAUSE, true},
};

const char* action_name(Action action) {
    return action >= 0 && action < ACTION_COUNT ? ACTIONS[action].name : "";
}

int action_of_name(const char* name) {
    for (int a = 0; a < ACTION_COUNT; a++)
        if (std::strcmp(ACTIONS[a].name, name) == 0) return a;
    return -1;
}

bool action_works_the_program(Action action) {
    return action >= 0 && action < ACTION_COUNT && ACTIONS[action].works_the_program;
}

int key_default_action(int vk) {
    for (int a = 0; a < ACTION_COUNT; a++)
        if (ACTIONS[a].default_key == vk) return a;
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

// A typing key bound to the console still closes it: the console's key is
// never typed (the event handler keeps its character out of the line).
static bool key_acts_for(int vk, int action) {
    return action == ACTION_CONSOLE || key_acts(vk);
}

void action_pad_hold(Action action, bool held) {
    if (held && !pad_held[action]) pad_went_down[action] = true;
    pad_held[action] = held;
}

void action_pad_start() {
    pad_start = true;
}

// A tap is the key that went down after every other key and has since been
// released, as Insert always opened the console; asking takes it.
ActionButtons actions_take_buttons() {
    make_bindings_ready();
    ActionButtons buttons;
    buttons.start = key_was_pressed(VK_RETURN) || pad_start; // Enter is never bound
    pad_start = false;
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        int action = bound_action[vk];
        if (action < 0 || !key_acts_for(vk, action)) continue;
        uint32_t bit = 1u << action;
        if (key_is_down(vk)) buttons.held |= bit;
        if (key_went_down(vk)) buttons.went_down |= bit;
        if (key_was_pressed(vk)) buttons.tapped |= bit;
    }
    for (int a = 0; a < ACTION_COUNT; a++) {
        uint32_t bit = 1u << a;
        if (pad_held[a]) buttons.held |= bit;
        if (pad_went_down[a]) {
            buttons.went_down |= bit;
            buttons.tapped |= bit;
        }
    }
    return buttons;
}

void actions_frame_done() {
    for (int a = 0; a < ACTION_COUNT; a++)
        pad_went_down[a] = false;
}
