// The whole game played through the real main loop with pushed mouse
// events and chosen frame times: a player who aims at every falling sheep
// and fires wins the three levels; one who never fires loses. Both games
// are the same on every run.
#include "game/flock.h"
#include "game/level.h"
#include "support/aiming_bot.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <algorithm>

using Lines = std::vector<std::string>;

namespace {
const uint32_t FRAME_MS = 25;
} // namespace

class WholeGame : public GameFixture {
  protected:
    void SetUp() override {
        current_video_mode = 0; // 640 x 400: the game is the same, the frames cheaper
        GameFixture::SetUp();
    }

    AimingBot bot;

    // Plays until the game is won or lost, or the frames run out.
    void play(bool fire, int max_frames) {
        for (int frame = 0; frame < max_frames; frame++) {
            if (game_state == STATE_VICTORY || game_state == STATE_DEAD) return;
            if (fire) bot.aim_and_fire();
            ASSERT_TRUE(step(FRAME_MS));
        }
    }
};

TEST_F(WholeGame, AnAimingPlayerWinsTheThreeLevels) {
    play(true, 60000);
    Lines log = log_lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Ya win"), 3);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Ya loose"), 0);
    ASSERT_EQ(game_state, STATE_VICTORY);
    EXPECT_EQ(log.back(), "Victory!");
    draw_frame();
    Rgb p = virtual_pixel(400, 300);
    EXPECT_EQ(p.r + p.g, 510);
    EXPECT_EQ(p.b, 0);
}

TEST_F(WholeGame, APlayerWhoNeverFiresLoses) {
    play(false, 20000);
    Lines log = log_lines();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Ya loose"), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "Ya win"), 0);
    ASSERT_EQ(game_state, STATE_DEAD);
    EXPECT_EQ(lives, 0);
    draw_frame();
    // The dead picture fills the middle square; around it the screen is black.
    Rgb outside = virtual_pixel(60, 300);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    Rgb inside = brightest(300, 250, 500, 350);
    EXPECT_GT(inside.r + inside.g + inside.b, 100);
}
