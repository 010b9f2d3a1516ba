// Input record: owns the turn handed on since the last record (with the
// fraction of a count the next one gets); builds each frame's record.
#include "input/record.h"

static float turn_x = 0.0f, turn_y = 0.0f; // counts not yet in a record

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

InputRecord input_take_record() {
    ActionButtons buttons = actions_take_buttons();
    InputRecord record;
    record.held = buttons.held;
    record.went_down = buttons.went_down;
    record.tapped = buttons.tapped;
    record.start = buttons.start;
    record.turn_x = take_whole(&turn_x);
    record.turn_y = take_whole(&turn_y);
    return record;
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
