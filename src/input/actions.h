// Game actions: what the player asks the game to do, whichever key, mouse
// button or gamepad asks it. The game reads actions, never keys, so a
// binding, a gamepad and a demo's recording all feed the same inputs.
#pragma once

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

// The action a key of the key table is bound to, -1 when none.
int key_action(int vk);
// Binds a key to an action, or to nothing with -1.
void key_bind_action(int vk, int action);
// Back to today's controls: the arrows walk, the left button fires, Insert
// opens the console, F12 takes a screenshot, Pause pauses.
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
// in the console. The arrows and the mouse buttons still act.
void actions_console_open(bool open);
// Whether a key acts in the game now (it is not typing into the console).
bool key_acts(int vk);

// Held this frame: by a key bound to it, by the gamepad, or by a demo.
bool action_is_down(Action action);
// Went down from released during this frame (a held key's repeats do not).
bool action_went_down(Action action);
// The console's toggle: a bound key that went down after every other key and
// has since been released, as Insert always worked; or the pad's button.
bool action_was_pressed(Action action);

// The gamepad's part of an action (buttons, triggers, the walking stick).
void action_pad_hold(Action action, bool held);
// A demo being played holds its recorded actions, whatever the keys say,
// until actions_stop_forcing.
void action_force(Action action, bool held);
void actions_stop_forcing();
// Ends a frame for the actions (after keys_frame_done).
void actions_frame_done();
