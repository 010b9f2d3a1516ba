// Pause through the real main loop: play stands still over many frames while
// the mouse, the fire button and the arrows are pushed, the shot and the
// music pause on the real mixer, "Paused" is drawn, the window's focus, the
// Pause key and the console toggle it, and a demo neither records nor plays
// paused frames.
#include "app/sound.h"
#include "console/registry.h"
#include "game/demo.h"
#include "game/flock.h"
#include "game/game_state.h"
#include "game/pause.h"
#include "game/player.h"
#include "game/screens.h"
#include "math/random.h"
#include "platform/clock.h"
#include "support/aiming_bot.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <cstring>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

// Everything of play that a frame can move.
struct PlayState {
    uint32_t clock, next_spawn, random;
    float x, z, yaw, pitch, shake;
    int lives, sheep_left;
    std::vector<float> sheep; // state, health, position of every slot
    std::vector<float> shot_positions;

    bool operator==(const PlayState&) const = default;
};

PlayState play_state_now() {
    PlayState s{game_time_ms(),
                flock().next_spawn_time,
                game_rand_state(),
                player_view().x,
                player_view().z,
                player_view().yaw,
                player_view().pitch,
                player_view().camera_shake,
                flock().lives,
                flock().remaining,
                {},
                {}};
    for (const Sheep& one : flock().sheep)
        s.sheep.insert(s.sheep.end(), {static_cast<float>(one.state), one.health, one.position.x,
                                       one.position.y, one.position.z});
    for (const Shot* shot = shots_in_flight(); shot; shot = shot->next)
        s.shot_positions.insert(s.shot_positions.end(),
                                {shot->position.x, shot->position.y, shot->position.z});
    return s;
}

std::string describe(const PlayState& s) {
    std::ostringstream out;
    out << "clock " << s.clock << " at " << s.x << "," << s.z << " yaw " << s.yaw << " pitch "
        << s.pitch << " shake " << s.shake << " lives " << s.lives << " sheep left " << s.sheep_left
        << " shots " << s.shot_positions.size() / 3;
    return out.str();
}

bool any_sheep_falling() {
    for (const Sheep& one : flock().sheep)
        if (one.state == SHEEP_FALLING) return true;
    return false;
}

} // namespace

class Pause : public GameFixture {
  protected:
    void SetUp() override {
        // 640 x 400: the same game, cheaper frames.
        video_mode_choose(0, video_fullscreen());
        GameFixture::SetUp();
    }
    // Plays with fire held until a sheep is in the air and shots fly.
    void play_until_sheep_and_shots() {
        AimingBot::push_left_button(true);
        for (int frame = 0; frame < 1000 && !(any_sheep_falling() && shots_in_flight()); frame++)
            ASSERT_TRUE(step(20));
        ASSERT_TRUE(any_sheep_falling() && shots_in_flight())
            << "no sheep came in 20 s: " << describe(play_state_now());
    }
};

TEST_F(Pause, PlayStandsStillAndTheSoundPausesUntilResumed) {
    play_until_sheep_and_shots();
    ASSERT_TRUE(Mix_Playing(SHOT_CHANNEL)) << "fire is held but the shot is silent";
    console_execute("pause");
    EXPECT_EQ(last_line(), "Paused");
    PlayState before = play_state_now();
    push_key(SDL_KEYDOWN, SDL_SCANCODE_UP);
    for (int frame = 1; frame <= 200; frame++) {
        AimingBot::push_mouse_motion(25, 9);
        ASSERT_TRUE(step(frame % 2 ? 20 : 100));
        PlayState now = play_state_now();
        ASSERT_EQ(now, before) << "paused frame " << frame << " moved the game: " << describe(now)
                               << "\n from " << describe(before);
    }
    EXPECT_EQ(Mix_Paused(SHOT_CHANNEL), 1) << "the shot plays on while paused";
    EXPECT_EQ(Mix_PausedMusic(), 1) << "the music plays on while paused";

    console_execute("pause");
    EXPECT_EQ(last_line(), "Resumed");
    ASSERT_TRUE(step(20));
    ASSERT_TRUE(step(20));
    EXPECT_EQ(game_time_ms(), before.clock + 40) << "the clock did not go on after the pause";
    EXPECT_GT(player_view().x, before.x) << "the held arrow does not walk after the pause";
    EXPECT_EQ(Mix_Paused(SHOT_CHANNEL), 0);
    EXPECT_EQ(Mix_PausedMusic(), 0);
    EXPECT_TRUE(Mix_Playing(SHOT_CHANNEL));
}

TEST_F(Pause, PausedIsDrawnInTheMiddleOfThePlayScreen) {
    for (int i = 0; i < 5; i++)
        ASSERT_TRUE(step(20));
    // "Paused" is centred on row 18: x 364 .. 436, y 294 .. 310 of 800 x 600.
    auto text_area = [] { return brightest(362, 294, 438, 310); };
    draw_frame();
    Rgb playing = text_area();
    Rgb band_playing = virtual_pixel(330, 285);
    EXPECT_LT(playing.r + playing.g + playing.b, 600) << "white in the middle before the pause";
    console_execute("pause");
    draw_frame();
    Rgb paused = text_area();
    // Near white (the glyphs' edges are smoothed); the sky is (102, 102, 204).
    EXPECT_GT(paused.r, 170) << "no white text in the middle while paused";
    EXPECT_GT(paused.g, 170);
    EXPECT_GT(paused.b, 170);
    Rgb band = virtual_pixel(330, 285);
    EXPECT_LT(band.r + band.g + band.b, band_playing.r + band_playing.g + band_playing.b)
        << "no dark band behind the text";
}

TEST_F(Pause, LosingTheFocusPausesWhenPauseOnFocusLossIsOn) {
    struct Case {
        const char* setting;
        bool paused;
    } cases[] = {{"pause_on_focus_loss 1", true}, {"pause_on_focus_loss 0", false}};
    // The window system's own focus events of the new window come in first.
    for (int frame = 0; frame < 10; frame++) {
        SDL_Delay(10);
        ASSERT_TRUE(step(20));
    }
    for (const Case& c : cases) {
        console_execute(c.setting);
        push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
        for (int frame = 0; frame < 12; frame++) // a quarter of a second away
            ASSERT_TRUE(step(20));
        EXPECT_FALSE(game_paused()) << c.setting << ": paused before the loss lasted";
        ASSERT_TRUE(step(20));
        ASSERT_TRUE(step(20)); // 260 ms after the loss
        EXPECT_EQ(game_paused(), c.paused) << c.setting;
        push_window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
        ASSERT_TRUE(step(20));
        EXPECT_EQ(game_paused(), c.paused) << c.setting << ": the focus back changed the pause";
        pause_end();
    }
    EXPECT_EQ(console_find_variable("pause_on_focus_loss")->value, 0.0f);
    console_execute("pause_on_focus_loss 1");
    struct Brief {
        const char* what;
        Uint32 window_id;
        bool focus_back;
    } passing[] = {{"a loss given back at once", SDL_GetWindowID(SDL_GL_GetCurrentWindow()), true},
                   {"a loss of a window no longer shown", 9999, false}};
    for (const Brief& b : passing) {
        push_window_event(SDL_WINDOWEVENT_FOCUS_LOST, b.window_id);
        if (b.focus_back) push_window_event(SDL_WINDOWEVENT_FOCUS_GAINED);
        for (int frame = 0; frame < 30; frame++)
            ASSERT_TRUE(step(20));
        EXPECT_FALSE(game_paused()) << b.what << " paused the game";
    }
    // Right after the game's own new window, the window system's focus
    // moves are not the player's.
    console_execute("videomode 640x480x32");
    ASSERT_TRUE(step(20));
    push_window_event(SDL_WINDOWEVENT_FOCUS_LOST);
    for (int frame = 0; frame < 30; frame++)
        ASSERT_TRUE(step(20));
    EXPECT_FALSE(game_paused()) << "the new window's focus loss paused the game";
    EXPECT_EQ(console_find_variable("pause_on_focus_loss")->row->default_value, 1.0f);
}

TEST_F(Pause, ThePauseKeyTogglesItOnlyInPlay) {
    press(SDL_SCANCODE_PAUSE);
    ASSERT_TRUE(step(20));
    EXPECT_TRUE(game_paused()) << "the Pause key did not pause";
    uint32_t clock = game_time_ms();
    press(SDL_SCANCODE_PAUSE);
    ASSERT_TRUE(step(20));
    EXPECT_FALSE(game_paused()) << "the Pause key did not resume";
    EXPECT_EQ(game_time_ms(), clock + 20);

    game_state_set(STATE_TITLE);
    press(SDL_SCANCODE_PAUSE);
    ASSERT_TRUE(step(20));
    EXPECT_FALSE(game_paused()) << "the title screen paused";
    console_execute("pause");
    EXPECT_EQ(last_line(), "!The game pauses only during play!");
    EXPECT_FALSE(game_paused());
}

TEST_F(Pause, ANewGameOrLeavingPlayEndsIt) {
    console_execute("pause");
    ASSERT_TRUE(game_paused());
    start_new_game();
    EXPECT_FALSE(game_paused()) << "a new game started paused";
    EXPECT_EQ(Mix_PausedMusic(), 0) << "the new level's music is paused";

    console_execute("pause");
    game_state_set(STATE_DEAD); // as if the game had been lost
    ASSERT_TRUE(step(20));
    EXPECT_FALSE(game_paused()) << "the dead screen is paused";
    EXPECT_EQ(Mix_PausedMusic(), 0);
}

TEST_F(Pause, ADemoRecordsAndPlaysOnlyTheFramesOutOfThePause) {
    auto play_frames = [](int count) {
        for (int i = 0; i < count; i++) {
            AimingBot::push_mouse_motion(3, 1);
            ASSERT_TRUE(step(20));
        }
    };
    console_execute("record paused");
    ASSERT_EQ(demo_mode(), DEMO_RECORDING) << last_line();
    push_key(SDL_KEYDOWN, SDL_SCANCODE_UP);
    play_frames(30);
    console_execute("pause");
    play_frames(25);
    console_execute("pause");
    play_frames(20);
    push_key(SDL_KEYUP, SDL_SCANCODE_UP);
    console_execute("stop");
    PlayState recorded = play_state_now();

    std::ifstream file(demo_folder() + "/paused.dem", std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Demo demo;
    std::string problem;
    ASSERT_TRUE(
        demo_decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &demo, &problem))
        << problem;
    EXPECT_EQ(demo.frames.size(), 50u) << "paused frames were recorded";
    uint32_t recorded_ms = 0;
    for (const DemoFrame& f : demo.frames)
        recorded_ms += f.elapsed_ms;
    EXPECT_EQ(recorded_ms, 49u * 20u) << "the first frame follows the level load and lasts 0 ms";

    // Played back with a pause of its own: it waits there and goes on to the
    // same end.
    console_execute("playdemo paused");
    ASSERT_EQ(demo_mode(), DEMO_PLAYING) << last_line();
    play_frames(10);
    console_execute("pause");
    uint32_t clock = game_time_ms();
    play_frames(40);
    EXPECT_EQ(demo_mode(), DEMO_PLAYING) << "the playback ran on through the pause";
    EXPECT_EQ(game_time_ms(), clock);
    console_execute("pause");
    for (int i = 0; i < 100 && demo_mode() == DEMO_PLAYING; i++)
        ASSERT_TRUE(step(20));
    EXPECT_EQ(demo_mode(), DEMO_IDLE);
    PlayState played = play_state_now();
    EXPECT_EQ(played.x, recorded.x);
    EXPECT_EQ(played.z, recorded.z);
    EXPECT_EQ(played.yaw, recorded.yaw);
    EXPECT_EQ(played.random, recorded.random)
        << describe(played) << "\n recorded " << describe(recorded);

    console_execute("timedemo paused");
    console_execute("pause");
    EXPECT_EQ(last_line(), "!A timedemo runs without pauses!");
    EXPECT_FALSE(game_paused());
}
