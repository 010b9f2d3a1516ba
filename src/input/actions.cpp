// Actions: owns the action table, the table from keys to actions or console
// lines, whether the console has the typing keys, the gamepad's held actions
// and start, and the turn handed on since the last record (with the fraction
// of a count the next one gets); builds each frame's input record.
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
static float turn_x = 0.0f, turn_y = 0.0f; // counts not yet in a record

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

void input_add_turn(float counts_x, float counts_y) {
    turn_x += counts_x;
    turn_y += counts_y;
}

// The whole counts, toward zero; the fraction stays behind.
static int32_t take_whole(float* counts) {
    auto whole = static_cast<int32_t>(*counts);
    *counts -= static_cast<float>(whole);
    return whole;
}

void input_drop_turn() {
    take_whole(&turn_x);
    take_whole(&turn_y);
}

// A tap is the key that went down after every other key and has since been
// released, as Insert always opened the console; taking the record takes it.
InputRecord input_take_record() {
    make_bindings_ready();
    InputRecord record;
    record.start = key_was_pressed(VK_RETURN) || pad_start; // Enter is never bound
    pad_start = false;
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        int action = bound_action[vk];
        if (action < 0 || !key_acts_for(vk, action)) continue;
        uint32_t bit = action_bit(static_cast<Action>(action));
        if (key_is_down(vk)) record.held |= bit;
        if (key_went_down(vk)) record.went_down |= bit;
        if (key_was_pressed(vk)) record.tapped |= bit;
    }
    for (int a = 0; a < ACTION_COUNT; a++) {
        uint32_t bit = action_bit(static_cast<Action>(a));
        if (pad_held[a]) record.held |= bit;
        if (pad_went_down[a]) {
            record.went_down |= bit;
            record.tapped |= bit;
        }
    }
    record.turn_x = take_whole(&turn_x);
    record.turn_y = take_whole(&turn_y);
    return record;
}

void actions_frame_done() {
    for (int a = 0; a < ACTION_COUNT; a++)
        pad_went_down[a] = false;
}

// The mask of the actions a demo plays.
static uint32_t played_actions() {
    uint32_t mask = 0;
    for (int a = 0; a < ACTION_COUNT; a++)
        if (!action_works_the_program(static_cast<Action>(a)))
            mask |= action_bit(static_cast<Action>(a));
    return mask;
}

InputRecord input_replayed(const InputRecord& live, const InputRecord& recorded) {
    uint32_t played = played_actions();
    InputRecord replayed = live;
    replayed.held = (recorded.held & played) | (live.held & ~played);
    replayed.went_down = (recorded.went_down & played) | (live.went_down & ~played);
    replayed.tapped = (recorded.tapped & played) | (live.tapped & ~played);
    replayed.turn_x = recorded.turn_x;
    replayed.turn_y = recorded.turn_y;
    return replayed;
}
