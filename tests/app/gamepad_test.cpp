// Gamepads: a virtual controller plugged into SDL walks, looks, fires,
// pauses and opens the console through the real event handler and main loop;
// unplugging it mid-game leaves nothing held; a demo replays a pad game.
#include "app/events.h"
#include "app/gamepad.h"
#include "console/editor.h"
#include "console/registry.h"
#include "game/demo.h"
#include "game/flock.h"
#include "game/game_state.h"
#include "game/level.h"
#include "game/pause.h"
#include "game/player.h"
#include "game/tuning.h"
#include "input/actions.h"
#include "input/input.h"
#include "math/angles.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <cmath>

TEST(StickWalk, EightDirectionsOutsideTheDeadZone) {
    struct Case {
        float x, y;
        StickWalk expected;
        const char* what;
    } cases[] = {
        {0.0f, 0.0f, {false, false, false, false}, "centred"},
        {0.1f, -0.15f, {false, false, false, false}, "inside the dead zone"},
        {0.0f, -1.0f, {true, false, false, false}, "up walks forward"},
        {0.0f, 1.0f, {false, true, false, false}, "down walks back"},
        {-1.0f, 0.0f, {false, false, true, false}, "left"},
        {1.0f, 0.0f, {false, false, false, true}, "right"},
        {0.7f, -0.7f, {true, false, false, true}, "up and right: diagonal"},
        {-0.4f, 0.4f, {false, true, true, false}, "half way down and left: diagonal"},
        {0.3f, -0.95f, {true, false, false, false}, "17 degrees off up: forward only"},
        {0.45f, -0.9f, {true, false, false, true}, "27 degrees off up: diagonal"},
    };
    for (const Case& c : cases) {
        StickWalk walk = stick_walk(c.x, c.y, 0.2f);
        EXPECT_EQ(walk.forward, c.expected.forward) << c.what;
        EXPECT_EQ(walk.back, c.expected.back) << c.what;
        EXPECT_EQ(walk.left, c.expected.left) << c.what;
        EXPECT_EQ(walk.right, c.expected.right) << c.what;
    }
}

TEST(StickResponse, NothingInTheDeadZoneThenTheSquareOfTheWayPastIt) {
    struct Case {
        float x, y, dead_zone, expected_x, expected_y;
        const char* what;
    } cases[] = {
        {0.15f, 0.0f, 0.2f, 0.0f, 0.0f, "inside the dead zone"},
        {1.0f, 0.0f, 0.2f, 1.0f, 0.0f, "full tilt"},
        {0.0f, -0.6f, 0.2f, 0.0f, -0.25f, "half way past the dead zone: a quarter"},
        {1.0f, 1.0f, 0.2f, 0.70710678f, 0.70710678f, "past the rim counts as full tilt"},
        {0.5f, 0.0f, 0.0f, 0.25f, 0.0f, "no dead zone"},
    };
    for (const Case& c : cases) {
        float x = -9.0f, y = -9.0f;
        stick_response(c.x, c.y, c.dead_zone, &x, &y);
        EXPECT_NEAR(x, c.expected_x, 1e-5f) << c.what;
        EXPECT_NEAR(y, c.expected_y, 1e-5f) << c.what;
    }
}

class Gamepads : public GameFixture {
  protected:
    // A trigger is a whole joystick axis to SDL: -32768 is let go, 32767
    // pulled all the way.
    static const Sint16 TRIGGER_RELEASED = -32768, TRIGGER_QUARTER = -16384;
    SDL_Joystick* pad = nullptr;

    void SetUp() override {
        // The suite's games share one X display and another test's window
        // may have the focus: SDL would then drop the pad's events.
        SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
        GameFixture::SetUp();
        flock_next_spawn_at(0xFFFFFFFFu); // no sheep unless a test makes one
    }
    void TearDown() override {
        if (pad) unplug();
        GameFixture::TearDown();
    }

    // A controller with every standard axis and button, button n of the
    // joystick being the controller's button n.
    void plug_in() {
        SDL_VirtualJoystickDesc desc{};
        desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
        desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
        desc.naxes = SDL_CONTROLLER_AXIS_MAX;
        desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
        desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
        desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
        desc.name = "Test Pad";
        int device = SDL_JoystickAttachVirtualEx(&desc);
        ASSERT_GE(device, 0) << "attaching the virtual pad: " << SDL_GetError();
        ASSERT_TRUE(SDL_IsGameController(device)) << "SDL has no controller mapping for it";
        pad = SDL_JoystickOpen(device);
        ASSERT_NE(pad, nullptr) << "opening the virtual pad: " << SDL_GetError();
        int mark = line_count();
        ASSERT_TRUE(step());
        ASSERT_EQ(gamepad_count(), 1) << "the game did not take the pad; console: "
                                      << ::testing::PrintToString(lines_since(mark));
        EXPECT_EQ(lines_since(mark), (std::vector<std::string>{"Gamepad connected: Test Pad"}));
    }
    void unplug() {
        SDL_JoystickID id = SDL_JoystickInstanceID(pad);
        for (int i = 0; i < SDL_NumJoysticks(); i++)
            if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
        SDL_JoystickClose(pad);
        pad = nullptr;
    }
    void axis(SDL_GameControllerAxis which, Sint16 value) {
        ASSERT_EQ(SDL_JoystickSetVirtualAxis(pad, which, value), 0) << SDL_GetError();
    }
    void button(SDL_GameControllerButton which, bool down) {
        ASSERT_EQ(SDL_JoystickSetVirtualButton(pad, which, down ? 1 : 0), 0) << SDL_GetError();
    }
    // The waiting events through the game's handler, without a frame.
    static void drain_events() {
        SDL_Event event;
        while (SDL_PollEvent(&event))
            handle_event(event);
    }
    static std::string held_actions() {
        std::string held;
        InputRecord input = input_take_record();
        for (int a = 0; a < ACTION_COUNT; a++)
            if (input_held(input, static_cast<Action>(a)))
                held += std::string(action_name(static_cast<Action>(a))) + " ";
        return held;
    }
};

TEST_F(Gamepads, TheLeftStickWalksAtTheWalkingSpeed) {
    plug_in();
    const int FRAMES = 10;
    const uint32_t FRAME_MS = 20;
    struct Case {
        Sint16 x, y;
        float forward, right; // walking steps of the frames
        const char* what;
    } cases[] = {
        {0, -32768, 1.0f, 0.0f, "up: forward"},
        {32767, 0, 0.0f, 1.0f, "right: to the right"},
        {4000, -3000, 0.0f, 0.0f, "a touch inside the dead zone: still"},
    };
    for (const Case& c : cases) {
        player_place(player_view().x, player_view().z); // forward is +x, right is +z
        axis(SDL_CONTROLLER_AXIS_LEFTX, c.x);
        axis(SDL_CONTROLLER_AXIS_LEFTY, c.y);
        ASSERT_TRUE(step(FRAME_MS)); // the stick's events arrive
        float x0 = player_view().x, z0 = player_view().z;
        for (int i = 0; i < FRAMES; i++)
            ASSERT_TRUE(step(FRAME_MS));
        float step_units = player_view().walk_speed * FRAME_MS * 0.001f * FRAMES;
        EXPECT_NEAR(player_view().x - x0, c.forward * step_units, 0.01f) << c.what;
        EXPECT_NEAR(player_view().z - z0, c.right * step_units, 0.01f) << c.what;
    }
}

// Full tilt turns joy_sensitivity degrees a second, whatever the frame rate.
TEST_F(Gamepads, TheRightStickTurnsAtJoySensitivityDegreesASecond) {
    plug_in();
    struct Case {
        float degrees_per_s;
        uint32_t frame_ms;
        int frames;
    } cases[] = {{180.0f, 20, 50}, {90.0f, 20, 50}, {180.0f, 10, 100}, {45.0f, 40, 25}};
    for (const Case& c : cases) {
        console_find_variable("joy_sensitivity")->value = c.degrees_per_s;
        axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
        ASSERT_TRUE(step(c.frame_ms)); // this frame's turn is the next frame's look
        float yaw0 = player_view().yaw;
        for (int i = 0; i < c.frames; i++)
            ASSERT_TRUE(step(c.frame_ms));
        float expected = c.degrees_per_s * c.frame_ms * c.frames * 0.001f / DEGREES_PER_RADIAN;
        // Whole mouse counts of 0.01 radians go on, the rest is carried.
        EXPECT_NEAR(player_view().yaw - yaw0, expected, 0.011f)
            << c.degrees_per_s << " degrees a second in frames of " << c.frame_ms << " ms";
        axis(SDL_CONTROLLER_AXIS_RIGHTX, 0);
        ASSERT_TRUE(step(c.frame_ms));
        ASSERT_TRUE(step(c.frame_ms));
    }
}

// Pushing the stick up looks up unless joy_invert is 1; the mouse's own
// mouse_invert has no say in it.
TEST_F(Gamepads, JoyInvertAloneDecidesWhichWayTheStickTilts) {
    plug_in();
    struct Case {
        float joy_invert, mouse_invert;
        bool looks_up;
    } cases[] = {{0, 0, true}, {1, 0, false}, {0, 1, true}, {1, 1, false}};
    for (const Case& c : cases) {
        console_find_variable("joy_invert")->value = c.joy_invert;
        console_find_variable("mouse_invert")->value = c.mouse_invert;
        player_place(player_view().x, player_view().z, player_view().yaw);
        axis(SDL_CONTROLLER_AXIS_RIGHTY, -32768);
        for (int i = 0; i < 10; i++)
            ASSERT_TRUE(step(20));
        axis(SDL_CONTROLLER_AXIS_RIGHTY, 0);
        ASSERT_TRUE(step(20));
        ASSERT_TRUE(step(20));
        // Positive pitch looks down.
        EXPECT_EQ(player_view().pitch < -0.2f, c.looks_up)
            << "joy_invert " << c.joy_invert << ", mouse_invert " << c.mouse_invert << ": pitch "
            << player_view().pitch;
        EXPECT_EQ(player_view().pitch > 0.2f, !c.looks_up)
            << "joy_invert " << c.joy_invert << ", mouse_invert " << c.mouse_invert;
    }
}

// Past half way the trigger fires for as long as it is held; a pull that
// begins and ends between two frames still fires once.
TEST_F(Gamepads, TheRightTriggerFires) {
    plug_in();
    auto shots_flying = [] {
        int flying = 0;
        for (const Shot* s = shots_in_flight(); s; s = s->next)
            flying++;
        return flying;
    };
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(step(100));
    EXPECT_TRUE(player_view().firing);
    EXPECT_EQ(shots_flying(), 3) << "one shot every 100 ms";
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TRIGGER_QUARTER);
    ASSERT_TRUE(step(50));
    EXPECT_FALSE(player_view().firing) << "a quarter pull still fires";
    EXPECT_EQ(held_actions(), "");

    shots_clear();
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    SDL_PumpEvents(); // the pull is in the queue...
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, TRIGGER_RELEASED);
    ASSERT_TRUE(step(50)); // ...and let go before the frame ran
    EXPECT_EQ(shots_flying(), 1);
    ASSERT_TRUE(step(50));
    EXPECT_FALSE(player_view().firing) << "the trigger stays pulled after the frame that saw it";
}

TEST_F(Gamepads, StartIsThePauseActionAndBackOpensTheConsole) {
    plug_in();
    button(SDL_CONTROLLER_BUTTON_START, true);
    drain_events();
    InputRecord input = input_take_record();
    EXPECT_TRUE(input_went_down(input, ACTION_PAUSE));
    EXPECT_TRUE(input_held(input, ACTION_PAUSE));
    ASSERT_TRUE(step());
    button(SDL_CONTROLLER_BUTTON_START, false);
    ASSERT_TRUE(step());
    EXPECT_FALSE(input_held(input_take_record(), ACTION_PAUSE));

    ASSERT_FALSE(console_is_visible());
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    ASSERT_TRUE(step());
    EXPECT_TRUE(console_is_visible());
    button(SDL_CONTROLLER_BUTTON_BACK, false);
    ASSERT_TRUE(step());
    EXPECT_TRUE(console_is_visible()) << "letting go of Back closed the console again";
    button(SDL_CONTROLLER_BUTTON_BACK, true);
    ASSERT_TRUE(step());
    EXPECT_FALSE(console_is_visible());
}

// On the title, dead and victory screens Enter, Start or A starts a new game
// at the first level; in play Start pauses and A does nothing.
TEST_F(Gamepads, EnterStartOrAStartsANewGameFromEveryScreen) {
    plug_in();
    auto hold = [this](SDL_GameControllerButton pad_button, bool down) {
        if (pad_button == SDL_CONTROLLER_BUTTON_INVALID)
            push_key(down ? SDL_KEYDOWN : SDL_KEYUP, SDL_SCANCODE_RETURN);
        else
            button(pad_button, down);
    };
    struct Case {
        const char* what;
        SDL_GameControllerButton pad_button; // SDL_CONTROLLER_BUTTON_INVALID: Enter
    } cases[] = {{"Enter", SDL_CONTROLLER_BUTTON_INVALID},
                 {"Start", SDL_CONTROLLER_BUTTON_START},
                 {"A", SDL_CONTROLLER_BUTTON_A}};
    for (const Case& c : cases) {
        for (int screen : {STATE_TITLE, STATE_DEAD, STATE_VICTORY}) {
            SCOPED_TRACE(std::string(c.what) + " on screen " + std::to_string(screen));
            game_state_set(static_cast<GameState>(screen));
            level_sequence_restart(3); // as if the third level were on
            land_sheep(2);
            ASSERT_TRUE(step());
            ASSERT_EQ(game_state(), screen) << "the screen did not wait for the player";
            // Down in one frame, up in the next: Enter counts once let go.
            hold(c.pad_button, true);
            ASSERT_TRUE(step());
            hold(c.pad_button, false);
            ASSERT_TRUE(step());
            EXPECT_EQ(game_state(), STATE_PLAY);
            EXPECT_EQ(current_level(), 0);
            EXPECT_EQ(flock().lives, START_LIVES);
            ASSERT_TRUE(step());
            EXPECT_FALSE(game_paused()) << "the button that started the game paused it";
        }
    }
    button(SDL_CONTROLLER_BUTTON_A, true);
    ASSERT_TRUE(step());
    EXPECT_FALSE(game_paused()) << "A paused the game in play";
    button(SDL_CONTROLLER_BUTTON_START, true);
    ASSERT_TRUE(step());
    EXPECT_TRUE(game_paused()) << "Start did not pause the game in play";
    EXPECT_EQ(current_level(), 0);
}

TEST_F(Gamepads, NoButtonQuits) {
    plug_in();
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++) {
        const char* name =
            SDL_GameControllerGetStringForButton(static_cast<SDL_GameControllerButton>(b));
        button(static_cast<SDL_GameControllerButton>(b), true);
        ASSERT_TRUE(step()) << "the loop ended on button " << name;
        button(static_cast<SDL_GameControllerButton>(b), false);
        ASSERT_TRUE(step()) << "the loop ended after button " << name;
    }
    EXPECT_EQ(game_state(), STATE_PLAY);
}

TEST_F(Gamepads, UnpluggingMidGameReleasesEverythingAndKeyboardAndMousePlayOn) {
    plug_in();
    axis(SDL_CONTROLLER_AXIS_LEFTY, -32768);
    axis(SDL_CONTROLLER_AXIS_RIGHTX, 32767);
    axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, 32767);
    button(SDL_CONTROLLER_BUTTON_A, true);
    for (int i = 0; i < 5; i++)
        ASSERT_TRUE(step());
    ASSERT_TRUE(player_view().firing);

    int mark = line_count();
    unplug();
    ASSERT_TRUE(step());
    EXPECT_EQ(lines_since(mark), (std::vector<std::string>{"Gamepad disconnected: Test Pad"}));
    EXPECT_EQ(gamepad_count(), 0);
    ASSERT_TRUE(step());
    EXPECT_EQ(held_actions(), "") << "still held after the pad went";
    EXPECT_FALSE(player_view().firing);
    float x = player_view().x, z = player_view().z, yaw = player_view().yaw;
    for (int i = 0; i < 5; i++)
        ASSERT_TRUE(step());
    EXPECT_EQ(player_view().x, x);
    EXPECT_EQ(player_view().z, z);
    EXPECT_EQ(player_view().yaw, yaw);

    push_key(SDL_KEYDOWN, SDL_SCANCODE_UP);
    SDL_Event motion{};
    motion.type = SDL_MOUSEMOTION;
    motion.motion.xrel = 30;
    SDL_PushEvent(&motion);
    for (int i = 0; i < 3; i++)
        ASSERT_TRUE(step());
    push_key(SDL_KEYUP, SDL_SCANCODE_UP);
    ASSERT_TRUE(step());
    EXPECT_GT(std::hypot(player_view().x - x, player_view().z - z), 1.0f)
        << "the arrow key did not walk";
    EXPECT_NEAR(player_view().yaw - yaw, 30 * 0.01f, 1e-4f) << "the mouse did not turn the view";
}

// The pad's look reaches the game as mouse counts and its walking and firing
// as actions: all of it is in the demo, which plays back the same game.
TEST_F(Gamepads, ADemoReplaysAPadGameExactly) {
    plug_in();
    struct Pose {
        float x, z, yaw, pitch;
        bool firing;
        bool operator==(const Pose&) const = default;
    };
    auto pose = [] {
        const PlayerView p = player_view();
        return Pose{p.x, p.z, p.yaw, p.pitch, p.firing};
    };
    console_execute("record padgame");
    ASSERT_EQ(demo_mode(), DEMO_RECORDING);
    std::vector<Pose> recorded;
    for (int i = 0; i < 60; i++) {
        axis(SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(i * 500));
        axis(SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(-30000 + i * 700));
        axis(SDL_CONTROLLER_AXIS_RIGHTX, static_cast<Sint16>(20000 - i * 400));
        axis(SDL_CONTROLLER_AXIS_RIGHTY, static_cast<Sint16>(i % 20 < 10 ? 15000 : -15000));
        axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT, i % 7 < 3 ? 32767 : TRIGGER_RELEASED);
        ASSERT_TRUE(step(17 + i % 5));
        recorded.push_back(pose());
    }
    console_execute("stop");
    ASSERT_EQ(demo_mode(), DEMO_IDLE);
    unplug();
    ASSERT_TRUE(step());

    console_execute("playdemo padgame");
    ASSERT_EQ(demo_mode(), DEMO_PLAYING) << last_line();
    std::vector<Pose> played;
    while (true) {
        ASSERT_TRUE(step(20));
        if (demo_mode() != DEMO_PLAYING) break;
        played.push_back(pose());
    }
    ASSERT_EQ(played.size(), recorded.size());
    for (size_t i = 0; i < recorded.size(); i++)
        ASSERT_TRUE(played[i] == recorded[i])
            << "frame " << i + 1 << ": played back at x " << played[i].x << " z " << played[i].z
            << " yaw " << played[i].yaw << " pitch " << played[i].pitch << ", recorded at x "
            << recorded[i].x << " z " << recorded[i].z << " yaw " << recorded[i].yaw << " pitch "
            << recorded[i].pitch;
    EXPECT_NE(recorded.front().yaw, recorded.back().yaw) << "the pad never turned the view";
}
