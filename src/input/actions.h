// Game actions and the input record: what the player asks the game to do,
// whichever key, mouse button or gamepad asks it. The platform takes one
// record a frame (input_take_record): every action of the table as a bit and
// the view's turn. A recording demo stores it whole and a playing one
// supplies its own; the player and the screens read it, and nothing else
// reads keys or the mouse for the game.
#pragma once

#include <cstdint>

// The action table: a new action is a name here, a row of actions.cpp's
// table (its name and default key) and what the player does with it.
enum Action {
    ACTION_FORWARD,
    ACTION_BACK,
    ACTION_LEFT,
    ACTION_RIGHT,
    ACTION_FIRE,
    ACTION_CONSOLE,
    ACTION_SCREENSHOT,
    ACTION_PAUSE,
    ACTION_COUNT
};

// The action's name as a player writes it ("forward", "fire", ...), and the
// action of a name (-1 when none has it).
const char* action_name(Action action);
int action_of_name(const char* name);
// Whether the action works the program (the console, screenshots, the
// pause) rather than being part of the game played: a demo's playback
// leaves those to the player at the machine.
bool action_works_the_program(Action action);

// The action a key of the key table is bound to, -1 when none.
int key_action(int vk);
// Binds a key to an action, or to nothing with -1.
void key_bind_action(int vk, int action);
// Back to today's controls: every action's default key (the arrows walk, the
// left button fires, Insert opens the console, F12 takes a screenshot,
// Pause pauses).
void actions_bind_defaults();
// The action a key has in today's controls, -1 when none.
int key_default_action(int vk);

// A console line the key runs when it goes down, instead of an action;
// binding one replaces the key's action, and binding an action (or nothing)
// replaces its line. "" when the key has none.
void key_bind_line(int vk, const char* line);
const char* key_bound_line(int vk);

// While the console is open, keys that type into it (key_types_in_console)
// neither hold nor start actions, nor run their lines: what is typed stays
// in the console. The arrows and the mouse buttons still act, and so does a
// key bound to the console itself, which closes it.
void actions_console_open(bool open);
// Whether a key acts in the game now (it is not typing into the console).
bool key_acts(int vk);

// The gamepad's part of an action (buttons, triggers, the walking stick).
void action_pad_hold(Action action, bool held);
// The pad's Start or A went down: the next record asks the screens for a new
// game.
void action_pad_start();
// Ends a frame for the actions (after keys_frame_done).
void actions_frame_done();

struct InputRecord {
    uint32_t held = 0;      // bit (1 << action) for every action held this frame
    uint32_t went_down = 0; // ...for every action that went down from released during it
    // ...for every action whose key went down after every other key and has
    // since been released, or whose pad button went down (the console's toggle)
    uint32_t tapped = 0;
    bool start = false; // Enter, or the pad's Start or A: a new game from the screens
    int32_t turn_x = 0; // the view's turn in mouse counts (positive x right,
    int32_t turn_y = 0; // positive y towards the player)

    bool operator==(const InputRecord&) const = default;
};

static_assert(ACTION_COUNT <= 32, "an action is one bit of the record's masks");

constexpr uint32_t action_bit(Action action) {
    return 1u << action;
}
// Every bit the action table has.
constexpr uint32_t ALL_ACTION_BITS = (1u << ACTION_COUNT) - 1;

inline bool input_held(const InputRecord& input, Action action) {
    return (input.held & action_bit(action)) != 0;
}
inline bool input_went_down(const InputRecord& input, Action action) {
    return (input.went_down & action_bit(action)) != 0;
}
inline bool input_tapped(const InputRecord& input, Action action) {
    return (input.tapped & action_bit(action)) != 0;
}

// The frame's record from the keys and their bindings, the pads and the turn
// handed on since the previous one; the whole counts of the turn go into it
// and the fraction of a count waits for the next.
InputRecord input_take_record();

// A turn handed on to the next record, in counts of the mouse; the pad's
// stick gives fractions of one.
void input_add_turn(float counts_x, float counts_y);
// A paused frame's turn is not kept: the view does not turn on after the
// pause (the fraction of a count stays).
void input_drop_turn();

// A demo's record standing in for the live one: what is played (walking,
// firing, the turn) comes from the demo; the actions that work the program
// rather than the game (the console, screenshots, the pause) and the screens'
// start stay the live player's, so he can stop or pause a playback.
InputRecord input_replayed(const InputRecord& live, const InputRecord& recorded);
