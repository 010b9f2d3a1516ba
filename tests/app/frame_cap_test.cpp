// The frame cap with a fake clock: what is waited after a frame, and the
// time the next frame sees.
#include "app/app.h"
#include "app/frame_end.h"
#include "app/frame_cap.h"
#include "console/registry.h"
#include "support/game_fixture.h"

class FrameCap : public GameFixture {
  protected:
    // A wait that the fake clock follows, as the real one would.
    static void clock_following_delay(uint32_t ms) {
        waited_ms += ms;
        fake_now += ms;
    }
};

TEST_F(FrameCap, WaitsAwayTheRestOfAShortFrame) {
    EXPECT_EQ(console_find_variable("max_fps")->row->default_value, 250.0f);
    struct Case {
        const char* line;
        uint32_t spent, waited;
    } cases[] = {{"max_fps 250", 0, 4}, {"max_fps 250", 3, 1},   {"max_fps 250", 4, 0},
                 {"max_fps 250", 9, 0}, {"max_fps 60", 10, 7},   {"max_fps 1000", 0, 1},
                 {"max_fps 0", 0, 0},   {"max_fps 0.5", 0, 2000}};
    for (const Case& c : cases) {
        console_execute(c.line);
        uint32_t start = fake_now;
        fake_now += c.spent;
        waited_ms = 0;
        frame_cap_wait(start);
        EXPECT_EQ(waited_ms, c.waited) << c.line << " after " << c.spent << " ms";
    }
}

TEST_F(FrameCap, TheNextFrameSeesTheTimeMeasuredWithTheWait) {
    timer_set_delay(clock_following_delay);
    ASSERT_TRUE(step(1));
    ASSERT_TRUE(step(1));
    EXPECT_EQ(frame_time(), 5.0f); // 4 ms waited after the frame before, 1 ms of its own
    push_window_event(SDL_WINDOWEVENT_MINIMIZED); // no frame, no wait
    waited_ms = 0;
    ASSERT_TRUE(step(0));
    EXPECT_EQ(waited_ms, 0u);
}
