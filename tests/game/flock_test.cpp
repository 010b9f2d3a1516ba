// The sheep without drawing: the spawn schedule and its random draws, flight
// and landing on the grid, hits, kills and explosions.
#include "game/flock.h"
#include "game/player.h"
#include "math/random.h"
#include "platform/clock.h"
#include "support/flat_land.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

// A flat land of the given height over the whole spawn area.
void flat_land(float ground) {
    load_flat_land(ground);
}

const Sheep& first_slot() {
    return flock().sheep[0];
}

const Vector3 DOWN = {0.0f, -1.0f, 0.0f};

// Frames of the given length until the clock reaches the time.
void run_until(uint32_t time_ms, uint32_t frame_ms) {
    while (game_time_ms() < time_ms) {
        clock_advance(frame_ms);
        sheep_update();
    }
}

int falling_count() {
    int count = 0;
    for (const Sheep& s : flock().sheep)
        count += s.state == SHEEP_FALLING;
    return count;
}

class Flock : public testing::Test {
  protected:
    void SetUp() override {
        game_rand_restart();
        flat_land(0.0f);
        flock_start_level(10, 20.0f); // and START_LIVES, as at start-up
    }
};

} // namespace

TEST_F(Flock, SpawnsOnScheduleWithItsDrawsInOrder) {
    sheep_reset(); // game_time_ms 0: first sheep 2 to 6 s from now
    uint32_t first = flock().next_spawn_time;
    EXPECT_TRUE(first >= 2000 && first <= 6000 && first % 1000 == 0) << first;

    run_until(first, 8); // reaching the time is not enough: the clock must pass it
    EXPECT_EQ(falling_count(), 0);
    clock_advance(1);
    sheep_update();
    ASSERT_EQ(falling_count(), 1);
    uint32_t second = flock().next_spawn_time;
    EXPECT_TRUE(second - game_time_ms() >= 1000 && second - game_time_ms() <= 5000);
}

// A hundred sheep in a row, each flown to the ground of a flat land: each
// starts 400 up over the land, falls at 1 to 2 times the level's speed and
// lands on the land, in the time its path and speed allow.
TEST_F(Flock, EverySheepFallsOntoTheLandWithinItsSpeedRange) {
    for (int i = 0; i < 100; i++) {
        sheep_reset();
        flock_next_spawn_at(0xFFFFFFFFu);
        sheep_spawn();
        const Sheep& s = first_slot();
        SCOPED_TRACE("sheep " + std::to_string(i));
        EXPECT_EQ(s.position.y, 400.0f);
        EXPECT_TRUE(s.position.x >= 0.0f && s.position.x < 512.0f && s.position.z >= 0.0f &&
                    s.position.z < 512.0f);
        EXPECT_TRUE(s.speed >= 20.0f && s.speed <= 40.0f) << s.speed;
        Vector3 start = s.position;
        uint32_t flown_ms = 0;
        while (s.state == SHEEP_FALLING && flown_ms < 60000) {
            clock_advance(50);
            sheep_update();
            flown_ms += 50;
        }
        ASSERT_EQ(s.state, SHEEP_EXPLODING) << "still in the air after a minute";
        float step = s.speed * 0.05f; // the last frame may overshoot by one step
        EXPECT_TRUE(s.position.x > -step && s.position.x < 512.0f + step && s.position.z > -step &&
                    s.position.z < 512.0f + step)
            << s.position.x << " " << s.position.z;
        float path = std::sqrt((s.position.x - start.x) * (s.position.x - start.x) +
                               400.0f * 400.0f +
                               (s.position.z - start.z) * (s.position.z - start.z));
        EXPECT_NEAR(flown_ms * 0.001f, path / s.speed, 0.1f);
    }
}

TEST_F(Flock, FullSlotsStillMoveTheScheduleOn) {
    for (int i = 0; i < SHEEP_SLOTS; i++)
        sheep_spawn();
    ASSERT_EQ(falling_count(), SHEEP_SLOTS);
    flock_next_spawn_at(game_time_ms());
    clock_advance(1);
    sheep_update();
    EXPECT_EQ(falling_count(), SHEEP_SLOTS);
    EXPECT_GE(flock().next_spawn_time, game_time_ms() + 1000);
}

TEST_F(Flock, LandsOnTheGridValueUnderIt) {
    struct Case {
        float x, z, ground, y; // the ground under the sheep and its height
        bool lands;
    } cases[] = {
        {100.5f, 100.5f, 30.0f, 29.9f, true},  // below the grid value
        {100.5f, 100.5f, 30.0f, 30.0f, false}, // level with it: still flying
        {-5.0f, 100.0f, 30.0f, -0.1f, true},   // outside the land the ground is 0
        {-5.0f, 100.0f, 30.0f, 0.5f, false},
    };
    for (const Case& c : cases) {
        flat_land(c.ground);
        sheep_reset();
        ASSERT_TRUE(sheep_spawn_at({c.x, c.y, c.z}, DOWN, 0.0f));
        flock_next_spawn_at(0xFFFFFFFFu);
        EXPECT_EQ(sheep_update(), c.lands ? 1 : 0) << c.x << " " << c.y;
        EXPECT_EQ(first_slot().state == SHEEP_EXPLODING, c.lands) << c.x << " " << c.y;
        EXPECT_EQ(flock().lives, c.lands ? 4 : 5);
    }
}

TEST_F(Flock, FourHitsKillAndOnlyTheKillCounts) {
    sheep_spawn();
    Vector3 down = {0.0f, -1.0f, 0.0f};
    const Vector3 at = first_slot().position;
    Vector3 above = {at.x, at.y + 12.0f, at.z};
    for (int hit = 1; hit <= 3; hit++) {
        EXPECT_TRUE(sheep_hit_by_shot(down, above, 5.0f));
        EXPECT_EQ(first_slot().state, SHEEP_FALLING);
        EXPECT_EQ(flock().remaining, 10);
    }
    EXPECT_TRUE(sheep_hit_by_shot(down, above, 5.0f));
    EXPECT_EQ(first_slot().state, SHEEP_EXPLODING);
    EXPECT_EQ(flock().remaining, 9);
    EXPECT_FALSE(sheep_hit_by_shot(down, above, 5.0f)); // an explosion is not a target
    // A shot that stops 1 unit short of the box misses.
    sheep_spawn();
    const Vector3 next = first_slot().position;
    Vector3 far_above = {next.x, next.y + 16.0f, next.z};
    EXPECT_FALSE(sheep_hit_by_shot(down, far_above, 5.0f));
}

TEST_F(Flock, ThreeHitsThenALandingCostALife) {
    // Half a unit over the ground, falling a unit a second.
    ASSERT_TRUE(sheep_spawn_at({100.0f, 0.5f, 100.0f}, DOWN, 1.0f));
    for (int hit = 0; hit < 3; hit++)
        sheep_hit_by_shot(DOWN, first_slot().position, 1.0f);
    flock_next_spawn_at(0xFFFFFFFFu);
    clock_advance(1000);
    EXPECT_EQ(sheep_update(), 0);
    EXPECT_EQ(sheep_update(), 1);
    EXPECT_EQ(flock().lives, 4);
    EXPECT_EQ(flock().remaining, 10);
}

TEST_F(Flock, ExplosionsFadeInAboutThreeAndAThirdSeconds) {
    ASSERT_TRUE(sheep_spawn_at({100.0f, -1.0f, 100.0f}, DOWN, 0.0f));
    flock_next_spawn_at(0xFFFFFFFFu);
    sheep_update(); // lands
    ASSERT_EQ(first_slot().state, SHEEP_EXPLODING);
    int frames = 0;
    while (first_slot().state == SHEEP_EXPLODING && frames < 1000) {
        clock_advance(10);
        sheep_update();
        frames++;
    }
    EXPECT_EQ(first_slot().state, SHEEP_FREE);
    EXPECT_TRUE(frames * 10 > 3300 && frames * 10 < 3400) << frames * 10 << " ms";
}

// A new level's reset is the one place the lives come back: landed sheep
// cost them, the reset frees every slot and gives all of them back.
TEST_F(Flock, AResetFreesTheSlotsAndGivesBackTheLives) {
    flock_next_spawn_at(0xFFFFFFFFu);
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(sheep_spawn_at({100.0f, -1.0f, 100.0f}, DOWN, 0.0f));
    ASSERT_EQ(sheep_update(), 3);
    ASSERT_EQ(flock().lives, START_LIVES - 3);
    sheep_reset();
    EXPECT_EQ(flock().lives, START_LIVES);
    for (const Sheep& s : flock().sheep)
        EXPECT_EQ(s.state, SHEEP_FREE);
    EXPECT_GT(flock().next_spawn_time, game_time_ms()) << "the first sheep of the level is due";
}
