// The input record: what the player asks of one frame, whoever asks it: the
// keys through their bindings, the mouse, every gamepad, or a demo being
// played. The platform takes one record a frame (input_take_record); a
// recording demo stores it whole and a playing one supplies its own; the
// player and the screens read it, and nothing else reads keys or the mouse
// for the game.
#pragma once

#include "input/actions.h"

#include <cstdint>

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
