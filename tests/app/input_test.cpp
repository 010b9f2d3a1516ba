// The key table and the SDL key and text translation feeding it.
#include "app/events.h"
#include "input/input.h"
#include "input/actions.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"

#include <gtest/gtest.h>

#include <cstdio>

TEST(KeyTable, LastPressedKeyIsReportedOnceAfterRelease) {
    key_down('A');
    key_down('B');
    keys_frame_done();
    key_release('A');
    key_release('B');
    EXPECT_FALSE(key_was_pressed('A'));
    EXPECT_TRUE(key_was_pressed('B'));
    EXPECT_FALSE(key_was_pressed('B'));
}

TEST(KeyTable, HeldKeysAreNotPressedUntilReleased) {
    key_down(VK_RETURN);
    key_down(VK_RETURN); // auto-repeat
    EXPECT_TRUE(key_is_down(VK_RETURN));
    EXPECT_FALSE(key_was_pressed(VK_RETURN));
    keys_frame_done();
    key_release(VK_RETURN);
    EXPECT_FALSE(key_is_down(VK_RETURN));
    EXPECT_TRUE(key_was_pressed(VK_RETURN));
}

TEST(KeyTable, CodesOutsideTheTableAreIgnored) {
    for (int code : {-1, 256, 1000}) {
        key_down(code);
        EXPECT_FALSE(key_is_down(code));
        EXPECT_FALSE(key_was_pressed(code));
        key_release(code);
    }
    key_down(VK_INSERT);
    key_down(-1); // does not replace the last pressed key
    keys_frame_done();
    key_release(VK_INSERT);
    EXPECT_TRUE(key_was_pressed(VK_INSERT));
}

TEST(KeyTable, ATapBetweenTwoFramesIsHeldForTheNextFrame) {
    key_down(VK_ESCAPE);
    key_release(VK_ESCAPE); // both before any frame ran
    EXPECT_TRUE(key_is_down(VK_ESCAPE));
    EXPECT_FALSE(key_was_pressed(VK_ESCAPE));
    keys_frame_done(); // the frame that saw it held
    EXPECT_FALSE(key_is_down(VK_ESCAPE));
    EXPECT_TRUE(key_was_pressed(VK_ESCAPE));

    key_down('A'); // down, up and down again: still held after the frame
    key_release('A');
    key_down('A');
    keys_frame_done();
    EXPECT_TRUE(key_is_down('A'));
    key_release('A'); // a frame has seen it: released at once
    EXPECT_FALSE(key_is_down('A'));
}

TEST(KeyTranslation, MapsScancodesToVirtualKeys) {
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_ESCAPE), 27);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_RETURN), 13);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_KP_ENTER), 13);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_INSERT), 45);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_PAGEUP), 33);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_PAGEDOWN), 34);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_LEFT), 37);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_DOWN), 40);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_A), 65);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_Z), 90);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_0), 48);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_9), 57);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_F1), 112);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_F12), 123);
    EXPECT_EQ(virtual_key_of(SDL_SCANCODE_UNKNOWN), -1);
}

TEST(KeyTranslation, KeypadGivesNavigationKeysWithNumLockOff) {
    struct Case {
        SDL_Scancode scancode;
        int num_lock_on, num_lock_off;
    };
    const Case cases[] = {
        {SDL_SCANCODE_KP_0, 96, VK_INSERT}, {SDL_SCANCODE_KP_1, 97, VK_END},
        {SDL_SCANCODE_KP_2, 98, VK_DOWN},   {SDL_SCANCODE_KP_3, 99, VK_NEXT},
        {SDL_SCANCODE_KP_4, 100, VK_LEFT},  {SDL_SCANCODE_KP_5, 101, VK_CLEAR},
        {SDL_SCANCODE_KP_6, 102, VK_RIGHT}, {SDL_SCANCODE_KP_7, 103, VK_HOME},
        {SDL_SCANCODE_KP_8, 104, VK_UP},    {SDL_SCANCODE_KP_9, 105, VK_PRIOR},
        {SDL_SCANCODE_KP_PERIOD, 110, VK_DELETE}, {SDL_SCANCODE_KP_ENTER, 13, 13},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtual_key_of(c.scancode, true), c.num_lock_on) << c.scancode;
        EXPECT_EQ(virtual_key_of(c.scancode, false), c.num_lock_off) << c.scancode;
    }
}

static SDL_Event key_event(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
    SDL_Event event{};
    event.type = type;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

TEST(KeyTranslation, KeyEventsReachTheTableAndTheConsole) {
    console_init();
    console_toggle();
    SDL_Event text{};
    text.type = SDL_TEXTINPUT;
    std::snprintf(text.text.text, sizeof text.text.text, "%s", "ab\xC3\xA9\xE2\x82\xAC");
    handle_event(text); // é is Latin-1, the euro sign is not
    EXPECT_STREQ(console_input_line(), "ab\xE9");
    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_BACKSPACE));
    EXPECT_STREQ(console_input_line(), "ab");
    EXPECT_TRUE(key_is_down(VK_BACK));
    keys_frame_done();
    handle_event(key_event(SDL_KEYUP, SDL_SCANCODE_BACKSPACE));
    EXPECT_FALSE(key_is_down(VK_BACK));

    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_X, KMOD_LALT));
    EXPECT_FALSE(key_is_down('X')); // Alt combinations are system keys
    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_F10));
    EXPECT_FALSE(key_is_down(121));

    SDL_Event quit{};
    quit.type = SDL_QUIT;
    EXPECT_FALSE(handle_event(quit));
}

TEST(KeyTranslation, LosingTheFocusReleasesKeysWithoutAPress) {
    SDL_Event focus_lost{}, mouse_left{};
    focus_lost.type = mouse_left.type = SDL_WINDOWEVENT;
    focus_lost.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
    mouse_left.window.event = SDL_WINDOWEVENT_LEAVE;
    // SDL releases held keys just before it reports the lost focus.
    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_INSERT, KMOD_NUM));
    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_UP, KMOD_NUM));
    keys_frame_done();
    handle_event(key_event(SDL_KEYUP, SDL_SCANCODE_UP, KMOD_NUM));
    handle_event(key_event(SDL_KEYUP, SDL_SCANCODE_INSERT, KMOD_NUM));
    handle_event(focus_lost);
    EXPECT_FALSE(key_is_down(VK_UP));
    EXPECT_FALSE(key_was_pressed(VK_INSERT));
    EXPECT_FALSE(key_was_pressed(VK_UP));

    // A tap of the player's own, followed by other events, stays a press.
    handle_event(key_event(SDL_KEYDOWN, SDL_SCANCODE_INSERT, KMOD_NUM));
    handle_event(key_event(SDL_KEYUP, SDL_SCANCODE_INSERT, KMOD_NUM));
    handle_event(mouse_left);
    handle_event(focus_lost);
    keys_frame_done();
    EXPECT_TRUE(key_was_pressed(VK_INSERT));
}

// The record takes the whole counts of the turn handed on and keeps the
// fraction for the next one, as a slow stick needs; a paused frame's whole
// counts are dropped, its fraction kept.
TEST(InputRecord, TheTurnKeepsItsFractionOfACountForTheNextRecord) {
    struct Step {
        float add_x, add_y;
        bool paused;
        int turn_x, turn_y;
    } steps[] = {{0.4f, -0.4f, false, 0, 0},  {0.4f, -0.4f, false, 0, 0},
                 {0.4f, -0.4f, false, 1, -1}, {2.5f, 0.0f, true, 0, 0},
                 {0.0f, 0.0f, false, 0, 0},   {0.6f, 3.0f, false, 1, 2}};
    int number = 0;
    for (const Step& s : steps) {
        number++;
        input_add_turn(s.add_x, s.add_y);
        if (s.paused) input_drop_turn();
        InputRecord record = input_take_record();
        EXPECT_EQ(record.turn_x, s.turn_x) << "record " << number;
        EXPECT_EQ(record.turn_y, s.turn_y) << "record " << number;
    }
}

// A demo's record plays the game; the console, the screenshot and the pause
// stay with the player at the machine.
TEST(InputRecord, AReplayedRecordLeavesTheProgramsActionsToThePlayer) {
    InputRecord live, recorded;
    live.held = action_bit(ACTION_FORWARD) | action_bit(ACTION_PAUSE);
    live.went_down = action_bit(ACTION_PAUSE) | action_bit(ACTION_SCREENSHOT);
    live.tapped = action_bit(ACTION_CONSOLE);
    live.start = true;
    live.turn_x = 40;
    recorded.held = action_bit(ACTION_FIRE) | action_bit(ACTION_LEFT) | action_bit(ACTION_CONSOLE);
    recorded.went_down = action_bit(ACTION_FIRE) | action_bit(ACTION_SCREENSHOT);
    recorded.tapped = action_bit(ACTION_CONSOLE) | action_bit(ACTION_FIRE);
    recorded.turn_x = -3;
    recorded.turn_y = 7;
    InputRecord played = input_replayed(live, recorded);
    EXPECT_EQ(played.held,
              action_bit(ACTION_FIRE) | action_bit(ACTION_LEFT) | action_bit(ACTION_PAUSE));
    EXPECT_EQ(played.went_down,
              action_bit(ACTION_FIRE) | action_bit(ACTION_PAUSE) | action_bit(ACTION_SCREENSHOT));
    EXPECT_EQ(played.tapped, action_bit(ACTION_CONSOLE) | action_bit(ACTION_FIRE));
    EXPECT_TRUE(played.start);
    EXPECT_EQ(played.turn_x, -3);
    EXPECT_EQ(played.turn_y, 7);
}
