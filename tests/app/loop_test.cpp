// The real main loop fed with SDL events: console use, Escape, window close,
// minimising, and the elapsed time each frame receives.
#include "app/frame_end.h"
#include "console/editor.h"
#include "game/flock.h"
#include "game/level.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <algorithm>

using Lines = std::vector<std::string>;

static bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class MainLoop : public GameFixture {
  protected:
    // A clock that jumps five seconds whenever a level loads or a new OpenGL
    // context is made, as on a slow machine.
    static uint32_t slow_loading_ticks() {
        return fake_now + 5000u * static_cast<uint32_t>(current_level() + 1) +
               5000u * gl_driver().context_serial;
    }
};

TEST_F(MainLoop, RunsATypedLineAndEndsOnEscape) {
    EXPECT_EQ(game_state(), STATE_PLAY);
    press(SDL_SCANCODE_INSERT);
    ASSERT_TRUE(step()); // the tap is seen as held by this frame
    EXPECT_FALSE(console_is_visible());
    ASSERT_TRUE(step()); // and as pressed by the next
    EXPECT_TRUE(console_is_visible());
    push_text("cmdlist");
    press(SDL_SCANCODE_RETURN);
    ASSERT_TRUE(step());
    press(SDL_SCANCODE_ESCAPE); // a tap within one drain of events still ends the game
    EXPECT_FALSE(step());

    Lines log = log_lines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[0], "[System initialized]");
    EXPECT_EQ(log[1], "type ? for help");
    EXPECT_TRUE(contains(log, ">cmdlist"));
    EXPECT_TRUE(contains(log, "  =[Registred functions]="));
    // The window commands were registered first, so they are listed last.
    EXPECT_EQ(log.back(), "togglefullscreen");
}

TEST_F(MainLoop, WindowCloseEndsTheLoopBeforeAnotherFrame) {
    ASSERT_TRUE(step());
    uint32_t clock_before = game_time_ms();
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    EXPECT_FALSE(step());
    EXPECT_EQ(game_time_ms(), clock_before);
}

TEST_F(MainLoop, FramesReadTheClockOfThePreviousFrame) {
    // The first frame's time spans start-up (here: what the fake clock added).
    ASSERT_TRUE(step(35));
    EXPECT_EQ(frame_time(), 35.0f);
    ASSERT_TRUE(step(16));
    EXPECT_EQ(frame_time(), 16.0f);
    EXPECT_EQ(game_time_ms(), 51u);
}

// Ten seconds minimised with ten sheep in the air: no frame runs, and the
// first frame back does not drop them all at once.
TEST_F(MainLoop, MinimisedTimeIsNotGameTime) {
    ASSERT_TRUE(step(10));
    for (int i = 0; i < SHEEP_SLOTS; i++)
        sheep_spawn();
    push_window_event(SDL_WINDOWEVENT_MINIMIZED);
    uint32_t clock_before = game_time_ms();
    fake_now += 10000;
    ASSERT_TRUE(step(0));
    EXPECT_EQ(game_time_ms(), clock_before);
    push_window_event(SDL_WINDOWEVENT_RESTORED);
    ASSERT_TRUE(step(16));
    ASSERT_TRUE(step(16));
    EXPECT_EQ(frame_time(), 16.0f);
    EXPECT_EQ(flock().lives, 5);
}

TEST_F(MainLoop, NoFrameAdvancesTheGameMoreThan100ms) {
    ASSERT_TRUE(step(5000));
    EXPECT_EQ(frame_time(), 100.0f);
}

TEST_F(MainLoop, LoadsAndNewWindowsAreNotGameTime) {
    struct Stall {
        const char* what;
        void (*cause)();
    } stalls[] = {
        {"a won level loading the next", [] { flock_start_level(0, flock().speed); }},
        {"videomode typed in the console",
         [] {
             console_toggle();
             push_text("videomode 800x600x32");
             press(SDL_SCANCODE_RETURN);
         }},
    };
    for (const Stall& stall : stalls) {
        timer_set_source(slow_loading_ticks);
        main_loop_start();
        ASSERT_TRUE(step(20));
        uint32_t before = game_time_ms();
        stall.cause();
        ASSERT_TRUE(step(20)); // the stall happens in this step
        ASSERT_TRUE(step(20));
        EXPECT_LE(game_time_ms() - before, 40u) << stall.what;
        if (console_is_visible()) console_toggle();
    }
}

TEST_F(MainLoop, EscapeEndsEveryStateEvenWithTheConsoleOpen) {
    for (GameState state : {STATE_TITLE, STATE_DEAD, STATE_VICTORY}) {
        game_state_set(state);
        console_toggle();
        push_key(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
        EXPECT_FALSE(step()) << state;
        push_key(SDL_KEYUP, SDL_SCANCODE_ESCAPE);
        ASSERT_TRUE(step());
    }
}

TEST_F(MainLoop, EnterStartsTheGameFromTheTitleAfterItIsReleased) {
    game_state_set(STATE_TITLE);
    push_key(SDL_KEYDOWN, SDL_SCANCODE_RETURN);
    ASSERT_TRUE(step());
    EXPECT_EQ(game_state(), STATE_TITLE);
    push_key(SDL_KEYUP, SDL_SCANCODE_RETURN);
    ASSERT_TRUE(step());
    EXPECT_EQ(game_state(), STATE_PLAY);
}

// The suite's games share one X display: another window that takes the focus
// while a frame is drawn (as another test's new window does) loses no tap the
// test pushed before the next frame.
TEST_F(MainLoop, AnotherWindowTakingTheFocusLosesNoTap) {
    SDL_Window* game = SDL_GL_GetCurrentWindow();
    SDL_Window* other = SDL_CreateWindow("another game", 0, 0, 64, 64, SDL_WINDOW_SHOWN);
    ASSERT_NE(other, nullptr) << SDL_GetError();
    auto settle = [] {
        for (int i = 0; i < 50; i++) {
            SDL_PumpEvents();
            SDL_Delay(10);
        }
    };
    settle();
    SDL_SetWindowInputFocus(game);
    settle();
    SDL_SetWindowInputFocus(other);
    SDL_Delay(100); // the X server moves the focus, nothing reads it yet
    press(SDL_SCANCODE_INSERT);
    ASSERT_TRUE(step());
    ASSERT_TRUE(step());
    EXPECT_TRUE(console_is_visible()) << "the Insert tap was lost when the focus moved";
    SDL_DestroyWindow(other);
}
