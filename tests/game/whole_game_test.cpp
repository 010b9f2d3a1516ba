// The whole game played through the real main loop with pushed mouse
// events and chosen frame times: a player who aims at every falling sheep
// and fires wins the three levels; one who never fires loses; a minute of
// play gives the same game at every frame rate. Every game is the same on
// every run.
#include "game/flock.h"
#include "game/level.h"
#include "game/player.h"
#include "math/random.h"
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
        // 640 x 400: the game is the same, the frames cheaper.
        video_mode_choose(0, video_fullscreen());
        GameFixture::SetUp();
    }

    AimingBot bot;

    // Plays until the game is won or lost, or the frames run out.
    void play(bool fire, int max_frames) {
        for (int frame = 0; frame < max_frames; frame++) {
            if (game_state() == STATE_VICTORY || game_state() == STATE_DEAD) return;
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
    ASSERT_EQ(game_state(), STATE_VICTORY);
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
    ASSERT_EQ(game_state(), STATE_DEAD);
    EXPECT_EQ(flock().lives, 0);
    draw_frame();
    // The dead picture fills the middle square; around it the screen is black.
    Rgb outside = virtual_pixel(60, 300);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    Rgb inside = brightest(300, 250, 500, 350);
    EXPECT_GT(inside.r + inside.g + inside.b, 100);
}

// A minute of play at 15, 30, 60 and 250 frames a second, the trigger held
// throughout and the view turned toward the most urgent sheep: the same
// sheep fall and die, the same lives are lost, the same shots are fired.
TEST_F(WholeGame, AMinuteOfPlayIsTheSameAtEveryFrameRate) {
    struct Outcome {
        uint32_t frame_ms;
        int level, sheep_left, lives, shots_fired;
    };
    std::vector<Outcome> outcomes;
    glViewport(0, 0, 8, 8); // the game is the same; the frames are cheaper
    bot.spared = &flock().sheep[1]; // some sheep land, so lives are lost too
    for (uint32_t frame_ms : {17u, 67u, 33u, 4u}) {
        game_rand_restart();
        bot.forget_motion();
        ASSERT_TRUE(start_new_game());
        main_loop_start();
        AimingBot::push_left_button(true);
        int fired = 0;
        for (uint32_t t = 0; t < 60000; t += frame_ms) {
            bot.turn_toward_the_most_urgent_sheep();
            ASSERT_TRUE(step(frame_ms));
            for (const Shot* shot = shots_in_flight(); shot; shot = shot->next)
                fired += shot->range_left == 10000.0f; // fired in this frame
        }
        AimingBot::push_left_button(false);
        ASSERT_TRUE(step(frame_ms));
        outcomes.push_back({frame_ms, current_level(), flock().remaining, flock().lives, fired});
    }
    const Outcome& first = outcomes[0];
    EXPECT_LT(first.lives, 5) << "no sheep landed: the minute tests too little";
    EXPECT_GT(first.shots_fired, 500) << "the trigger was not held";
    for (const Outcome& o : outcomes) {
        SCOPED_TRACE("frames of " + std::to_string(o.frame_ms) + " ms against " +
                     std::to_string(first.frame_ms));
        EXPECT_EQ(o.level, first.level);
        EXPECT_EQ(o.sheep_left, first.sheep_left);
        EXPECT_EQ(o.lives, first.lives);
        EXPECT_NEAR(o.shots_fired, first.shots_fired, 1);
    }
}
