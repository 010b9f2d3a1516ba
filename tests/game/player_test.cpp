// The player without drawing: walking, looking, the camera shake, the rate
// of fire and the flight of shots.
#include "game/flock.h"
#include "game/player.h"
#include "input/input.h"
#include "input/actions.h"
#include "platform/clock.h"
#include "support/flat_land.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class Player : public testing::Test {
  protected:
    void SetUp() override {
        player_settings_init(); // mouse_sensitivity and mouse_invert, as start-up makes them
        load_flat_land(20.0f);
        player_place(256.0f, 256.0f);
        player_settle();
        input = {};
        sheep_reset();
    }
    void TearDown() override { shots_clear(); }
    // What the frames ask: the held actions and the turn.
    InputRecord input;
    void hold_fire(bool held) { input.held = held ? action_bit(ACTION_FIRE) : 0; }
    static Vector3 eye() { return {player_view().x, player_view().y, player_view().z}; }
    static int shot_count() {
        int count = 0;
        for (const Shot* shot = shots_in_flight(); shot; shot = shot->next)
            count++;
        return count;
    }
    // One frame of the given length: the clock, then the player as the
    // play frame runs it.
    void frame(uint32_t ms) {
        clock_advance(ms);
        player_update(eye(), input);
        shots_update();
    }
};

} // namespace

TEST_F(Player, WalksWithTheArrowsDiagonalsAddingUp) {
    struct Case {
        int keys[2];
        float dx, dz;
    } cases[] = {
        {{VK_UP, 0}, 40.0f, 0.0f},         {{VK_DOWN, 0}, -40.0f, 0.0f},
        {{VK_RIGHT, 0}, 0.0f, 40.0f},      {{VK_LEFT, 0}, 0.0f, -40.0f},
        {{VK_UP, VK_LEFT}, 40.0f, -40.0f}, // sqrt(2) times the speed
    };
    for (const Case& c : cases) {
        player_place(256.0f, 256.0f);
        for (int key : c.keys)
            if (key) key_down(key);
        clock_advance(1000);
        player_update(eye(), input_take_record());
        keys_clear();
        EXPECT_NEAR(player_view().x - 256.0f, c.dx, 1e-3f) << c.keys[0] << "+" << c.keys[1];
        EXPECT_NEAR(player_view().z - 256.0f, c.dz, 1e-3f) << c.keys[0] << "+" << c.keys[1];
        EXPECT_EQ(player_view().y, 30.0f); // ten above the ground
    }
}

TEST_F(Player, LooksWithTheMouseWithinStraightUpAndDown) {
    input.turn_x = 10;
    input.turn_y = -20;
    frame(16);
    EXPECT_NEAR(player_view().yaw, 0.1f, 1e-6f);
    EXPECT_NEAR(player_view().pitch, -0.2f, 1e-6f);
    for (int dy : {500, -1000}) {
        input.turn_x = 0;
        input.turn_y = dy;
        frame(16);
        EXPECT_EQ(std::fabs(player_view().pitch), 1.5707964f) << dy;
    }
}

TEST_F(Player, TheShakeFollowsFiringAndStaysWithinTwelveDegrees) {
    player_shake_for_landings(2);
    EXPECT_EQ(player_view().camera_shake, 14.0f); // seven degrees a landed sheep, clamped later
    player_shake_for_landings(3);
    frame(100);
    EXPECT_EQ(player_view().camera_shake, 12.0f);
    hold_fire(true);
    frame(16);
    EXPECT_EQ(player_view().camera_shake, 1.0f); // set while firing, not added
    EXPECT_TRUE(player_view().firing);
    hold_fire(false);
    frame(50);
    EXPECT_NEAR(player_view().camera_shake, 0.5f, 1e-6f);
    EXPECT_FALSE(player_view().firing);
}

// Ten shots a second of game time at any frame rate; a short pause of the
// trigger is not made up for by a burst.
TEST_F(Player, FiresTenShotsASecondAtEveryFrameRate) {
    for (uint32_t frame_ms : {4u, 16u, 17u, 33u, 40u, 66u, 100u}) {
        player_settle(); // no shots, and the next one goes at once
        hold_fire(true);
        int fired = 0;
        for (uint32_t t = 0; t < 10000; t += frame_ms) {
            int before = shot_count();
            frame(frame_ms);
            fired += shot_count() > before;
        }
        EXPECT_NEAR(fired, 100, 1) << "frames of " << frame_ms << " ms";
        hold_fire(false);
        frame(250);
        hold_fire(true);
        int before = shot_count();
        frame(frame_ms);
        frame(frame_ms);
        EXPECT_EQ(shot_count() - before, frame_ms >= 100 ? 2 : 1)
            << "a burst after the trigger's pause, frames of " << frame_ms << " ms";
    }
}

TEST_F(Player, ShotsFlyAlongTheViewAndEndAtTheGroundPlane) {
    shot_fire({256.0f, 10.0f, 256.0f}, 0.0f, 1.5707964f); // straight down
    ASSERT_EQ(shot_count(), 1);
    EXPECT_NEAR(shots_in_flight()->direction.y, -1.0f, 1e-6f);
    int frames = 0;
    float last_y = 10.0f;
    while (shots_in_flight() && frames < 100) {
        last_y = shots_in_flight()->position.y;
        clock_advance(10);
        shots_update();
        frames++;
    }
    EXPECT_EQ(shots_in_flight(), nullptr);
    EXPECT_EQ(frames, 5); // 3 units a frame: at y -2 it is removed
    EXPECT_LE(last_y, 0.0f);

    player_settle();
    shot_fire({0.0f, 10.0f, 0.0f}, 0.0f, 0.0f); // level along +x
    clock_advance(100);
    shots_update();
    ASSERT_NE(shots_in_flight(), nullptr);
    EXPECT_NEAR(shots_in_flight()->position.x, 30.0f, 1e-4f);
    EXPECT_NEAR(shots_in_flight()->range_left, 10000.0f - 30.0f, 1e-2f);
}

TEST_F(Player, AShotIsSpentOnTheSheepItHits) {
    ASSERT_TRUE(sheep_spawn_at({290.0f, 30.0f, 256.0f}, {0.0f, -1.0f, 0.0f}, 0.0f));
    shot_fire({256.0f, 30.0f, 256.0f}, 0.0f, 0.0f);
    for (int i = 0; i < 10 && shots_in_flight(); i++) {
        clock_advance(16);
        shots_update();
    }
    EXPECT_EQ(shots_in_flight(), nullptr);
    EXPECT_EQ(flock().sheep[0].health, 75.0f);
}

// At 15 frames a second a new shot's first test reached 23 units back.
TEST_F(Player, AShotNeverHitsWhatIsBehindWhereItWasFired) {
    // Its box ends 8 units behind the muzzle.
    ASSERT_TRUE(sheep_spawn_at({238.0f, 30.0f, 256.0f}, {0.0f, -1.0f, 0.0f}, 0.0f));
    shot_fire({256.0f, 30.0f, 256.0f}, 0.0f, 0.0f);
    clock_advance(66);
    shots_update();
    EXPECT_NE(shots_in_flight(), nullptr);
    EXPECT_EQ(flock().sheep[0].health, 100.0f);
}
