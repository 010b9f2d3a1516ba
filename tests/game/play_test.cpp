// The play-state frame in a started game: the end of a level, the radar and
// the head picture, read back from a real context.
#include "console/editor.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/play.h"
#include "game/player.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"
#include "textures/texture.h"

#include <algorithm>

using Lines = std::vector<std::string>;

namespace {

int count_of(const Lines& lines, const std::string& line) {
    return static_cast<int>(std::count(lines.begin(), lines.end(), line));
}

} // namespace

class Play : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        flock_next_spawn_at(0xFFFFFFFFu); // no sheep unless a test makes one
    }
};

TEST_F(Play, TheLastLifeEndsTheGameOnce) {
    int mark = line_count();
    land_sheep(START_LIVES);
    draw_frame();
    draw_frame();
    Lines out = lines_since(mark);
    EXPECT_EQ(count_of(out, "Ya loose"), 1);
    EXPECT_EQ(game_state(), STATE_DEAD);
}

TEST_F(Play, ALostGameAndAWonLevelInOneFrameBothCount) {
    int mark = line_count();
    land_sheep(START_LIVES);
    flock_start_level(0, flock().speed);
    draw_frame();
    Lines out = lines_since(mark);
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[0], "Ya loose");
    EXPECT_EQ(out[1], "Ya win");
    EXPECT_EQ(out[2], "Loading level 1/3: data/level2.txt");
    EXPECT_EQ(game_state(), STATE_DEAD); // the next level loads behind the dead screen
}

TEST_F(Play, TheLastKillOfTheLastLevelIsTheVictory) {
    level_sequence_restart(level_count()); // playing the last level
    flock_start_level(0, flock().speed);
    draw_frame();
    EXPECT_EQ(game_state(), STATE_VICTORY);
    draw_frame();
    Rgb p = virtual_pixel(400, 300);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 255);
    EXPECT_EQ(p.b, 0);
}

TEST_F(Play, TheRadarShowsFallingSheepAroundTheCentreHeadingUp) {
    auto radar_only = [] {
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        radar_draw();
        glDisable(GL_BLEND);
    };
    // A sheep 200 units straight ahead (yaw 0 looks along +x), high up: a
    // dark blip 200 radar units (600 / 1440 of them) above the centre.
    float blip_y = 300.0f + 200.0f * 600.0f / 1440.0f;
    radar_only();
    EXPECT_EQ(virtual_pixel(400, blip_y).g, 255); // no sheep in the air, no blip
    Vector3 ahead = {player_view().x + 200.0f, 300.0f, player_view().z};
    sheep_spawn_at(ahead, {0.0f, -1.0f, 0.0f}, 0.0f);
    radar_only();
    EXPECT_LT(virtual_pixel(400, blip_y).r, 100);
    EXPECT_GT(virtual_pixel(400, 300).r, 200); // the centre stays clear
    // Low, about to land: red.
    sheep_reset();
    sheep_spawn_at({ahead.x, 100.0f, ahead.z}, {0.0f, -1.0f, 0.0f}, 0.0f);
    radar_only();
    Rgb low = virtual_pixel(400, blip_y);
    EXPECT_GT(low.r, 200);
    EXPECT_LT(low.g, 100);
    // Turned a quarter to the right, the same sheep is on the left.
    player_place(player_view().x, player_view().z, 1.5707964f);
    radar_only();
    EXPECT_LT(virtual_pixel(400 - 200.0f * 800.0f / 1920.0f, 300).g, 100);
}

TEST_F(Play, TheHeadPictureWorsensWithEachLifeLost) {
    // The middle of the head in the top-left corner (100 x 100 of 640 x 480).
    auto head_colour = [this] {
        draw_frame();
        return virtual_pixel(50.0f * 800.0f / 640.0f, 600.0f - 50.0f * 600.0f / 480.0f);
    };
    Rgb previous = head_colour();
    for (int left = 4; left >= 1; left--) {
        land_sheep(1);
        ASSERT_EQ(flock().lives, left);
        Rgb now = head_colour();
        EXPECT_NE(now.r * 65536 + now.g * 256 + now.b,
                  previous.r * 65536 + previous.g * 256 + previous.b)
            << left << " lives";
        previous = now;
    }
}

TEST_F(Play, TheConsolePanelShowsOverThePlayScreen) {
    // The land leaves face culling on; the panel must not be culled by it.
    console_toggle();
    for (int i = 0; i < 60; i++)
        draw_frame(20);
    ASSERT_TRUE(glIsEnabled(GL_CULL_FACE));
    Rgb panel = virtual_pixel(780, 400);
    EXPECT_LT(panel.r, 40); // sky or land seen through dark blue at 0.7
    EXPECT_GT(panel.b, panel.r);
}
