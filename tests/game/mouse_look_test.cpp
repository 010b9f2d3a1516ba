// Looking with the mouse through pushed motion events and the real main
// loop: the sensitivity and the inverted vertical axis.
#include "console/registry.h"
#include "game/player.h"
#include "support/game_fixture.h"

class MouseLook : public GameFixture {};

TEST_F(MouseLook, FollowsSensitivityAndInvert) {
    struct Case {
        const char* sensitivity;
        const char* invert;
        float yaw, pitch; // turned by a motion of 10 right and 20 back
    } cases[] = {{"mouse_sensitivity 0.01", "mouse_invert 0", 0.1f, 0.2f},
                 {"mouse_sensitivity 0.002", "mouse_invert 0", 0.02f, 0.04f},
                 {"mouse_sensitivity 0.01", "mouse_invert 1", 0.1f, -0.2f}};
    for (const Case& c : cases) {
        console_execute(c.sensitivity);
        console_execute(c.invert);
        float yaw = player_view().yaw, pitch = player_view().pitch;
        SDL_Event motion{};
        motion.type = SDL_MOUSEMOTION;
        motion.motion.xrel = 10;
        motion.motion.yrel = 20;
        SDL_PushEvent(&motion);
        ASSERT_TRUE(step()); // polled at the end of this frame
        ASSERT_TRUE(step()); // turns the view in this one
        EXPECT_NEAR(player_view().yaw - yaw, c.yaw, 1e-5f) << c.sensitivity << ", " << c.invert;
        EXPECT_NEAR(player_view().pitch - pitch, c.pitch, 1e-5f)
            << c.sensitivity << ", " << c.invert;
    }
}
