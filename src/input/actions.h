// Game actions: what the player asks the game to do, whichever key, mouse
// button or gamepad asks it. The game reads actions, never keys: the frame's
// input record (input/record.h) holds every action of the table as a bit, so
// a binding, a gamepad and a demo's recording all feed the same inputs.
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
// The buttons of the frame's input record, a bit (1 << action) per action:
// held, gone down or tapped by a bound key or a pad; and the screens' start
// (Enter, or the pad's).
struct ActionButtons {
    uint32_t held = 0, went_down = 0, tapped = 0;
    bool start = false;
};
ActionButtons actions_take_buttons();
// Ends a frame for the actions (after keys_frame_done).
void actions_frame_done();
