// The whole game played through the real main loop with pushed mouse
// events and chosen frame times: a player who aims at every falling sheep
// and fires wins the three levels; one who never fires loses. Both games
// are the same on every run.
#include "game/flock.h"
#include "input/input.h"
#include "game/level.h"
#include "game/player.h"
#include "math/random.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"
#include "terrain/terrain.h"

#include <algorithm>
#include <cmath>

using Lines = std::vector<std::string>;

namespace {

const uint32_t FRAME_MS = 25;
const float RADIANS_PER_COUNT = 0.01f;
const float SHOT_SPEED = 300.0f;

void push_mouse_motion(int dx, int dy) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.xrel = dx;
    event.motion.yrel = dy;
    SDL_PushEvent(&event);
}

void push_left_button(bool down) {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.button = SDL_BUTTON_LEFT;
    SDL_PushEvent(&event);
}

float wrapped(float angle) {
    while (angle > 3.14159265f)
        angle -= 6.2831853f;
    while (angle < -3.14159265f)
        angle += 6.2831853f;
    return angle;
}

// Where a shot from the eye meets the sheep: the first time t at which the
// sheep's place is 300 t from the eye.
bool intercept(const Sheep& s, const Vector3& eye, Vector3* point) {
    Vector3 v = {s.direction.x * s.speed, s.direction.y * s.speed, s.direction.z * s.speed};
    Vector3 d = {s.position.x - eye.x, s.position.y - eye.y, s.position.z - eye.z};
    float a = v.x * v.x + v.y * v.y + v.z * v.z - SHOT_SPEED * SHOT_SPEED;
    float b = 2.0f * (v.x * d.x + v.y * d.y + v.z * d.z);
    float c = d.x * d.x + d.y * d.y + d.z * d.z;
    float disc = b * b - 4.0f * a * c;
    if (disc < 0.0f) return false;
    float t = (-b - std::sqrt(disc)) / (2.0f * a);
    if (t < 0.0f) t = (-b + std::sqrt(disc)) / (2.0f * a);
    if (t < 0.0f) return false;
    *point = {s.position.x + v.x * t, s.position.y + v.y * t, s.position.z + v.z * t};
    return point->y > 0.0f;
}

// The falling sheep that lands first, leaving out the slot to spare.
const Sheep* most_urgent_sheep(const Sheep* spared) {
    const Sheep* best = nullptr;
    float best_time = 1e30f;
    for (const Sheep& s : sheep) {
        if (s.state != SHEEP_FALLING || s.speed <= 0.0f || &s == spared) continue;
        float time = s.position.y / (-s.direction.y * s.speed);
        if (time < best_time) {
            best_time = time;
            best = &s;
        }
    }
    return best;
}

} // namespace

class WholeGame : public GameFixture {
  protected:
    void SetUp() override {
        current_video_mode = 0; // 640 x 400: the game is the same, the frames cheaper
        GameFixture::SetUp();
    }

    // The motion pushed before the last frame: the frame polled it at its end
    // and the next one turns the view by it.
    int pending_turn = 0, pending_tilt = 0;
    const Sheep* spared = nullptr; // a slot whose sheep the player lets land

    // Turns toward where the most urgent sheep will be; false when there is
    // none to aim at or the view is not on it yet.
    bool turn_toward_the_most_urgent_sheep() {
        Vector3 eye = {player_x, player_y, player_z};
        const Sheep* target = most_urgent_sheep(spared);
        Vector3 point{};
        if (!target || !intercept(*target, eye, &point)) {
            pending_turn = pending_tilt = 0;
            return false;
        }
        float dx = point.x - eye.x, dy = point.y - eye.y, dz = point.z - eye.z;
        float yaw = std::atan2(dz, dx);
        float pitch = -std::atan2(dy, std::sqrt(dx * dx + dz * dz));
        float yaw_after = player_yaw + pending_turn * RADIANS_PER_COUNT;
        float pitch_after = player_pitch + pending_tilt * RADIANS_PER_COUNT;
        int turn = static_cast<int>(std::lround(wrapped(yaw - yaw_after) / RADIANS_PER_COUNT));
        int tilt = static_cast<int>(std::lround((pitch - pitch_after) / RADIANS_PER_COUNT));
        push_mouse_motion(turn, tilt);
        pending_turn = turn;
        pending_tilt = tilt;
        return std::abs(turn) <= 1 && std::abs(tilt) <= 1;
    }

    // Turns toward the most urgent sheep and fires while on it.
    void aim_and_fire() { push_left_button(turn_toward_the_most_urgent_sheep()); }

    // Plays until the game is won or lost, or the frames run out.
    void play(bool fire, int max_frames) {
        for (int frame = 0; frame < max_frames; frame++) {
            if (game_state == STATE_VICTORY || game_state == STATE_DEAD) return;
            if (fire) aim_and_fire();
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
    spared = &sheep[1];     // some sheep land, so lives are lost too
    for (uint32_t frame_ms : {17u, 67u, 33u, 4u}) {
        game_rand_restart();
        pending_turn = pending_tilt = 0;
        ASSERT_TRUE(start_new_game());
        main_loop_start();
        push_left_button(true);
        int fired = 0;
        for (uint32_t t = 0; t < 60000; t += frame_ms) {
            turn_toward_the_most_urgent_sheep();
            ASSERT_TRUE(step(frame_ms));
            for (Shot* shot = shots; shot; shot = shot->next)
                fired += shot->range_left == 10000.0f; // fired in this frame
        }
        push_left_button(false);
        ASSERT_TRUE(step(frame_ms));
        outcomes.push_back({frame_ms, current_level, sheep_remaining, lives, fired});
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
