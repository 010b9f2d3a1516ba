// Key bindings in the started game: keys pushed as SDL events through the
// real main loop walk the player as they are bound, typing into the open
// console acts nowhere else, a key bound to a console line runs it, and the
// bindings come back from config.cfg at the next start.
#include "app/settings.h"
#include "console/editor.h"
#include "console/registry.h"
#include "game/pause.h"
#include "game/player.h"
#include "input/actions.h"
#include "input/input.h"
#include "platform/clock.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Walk {
    float dx, dz;
};

// Holds the key for ten frames of 20 ms and tells how far the player went.
Walk walk_holding(SDL_Scancode key, bool (*step)(uint32_t)) {
    float x = player_view().x, z = player_view().z;
    SDL_Event down{}, up{};
    down.type = SDL_KEYDOWN;
    up.type = SDL_KEYUP;
    down.key.keysym.scancode = up.key.keysym.scancode = key;
    SDL_PushEvent(&down);
    for (int i = 0; i < 10; i++)
        step(20);
    SDL_PushEvent(&up);
    step(20);
    return {player_view().x - x, player_view().z - z};
}

} // namespace

class BoundKeys : public GameFixture {
  protected:
    void SetUp() override {
        // 640 x 400: the same game, cheaper frames.
        video_mode_choose(0, video_fullscreen());
        GameFixture::SetUp();
        // Walking forward goes along +x, right along +z.
        player_place(player_view().x, player_view().z);
    }
    static bool step20(uint32_t ms) { return step(ms); }
};

TEST_F(BoundKeys, WasdWalksTheWayItIsBound) {
    for (const char* line : {"bind W forward", "bind a LEFT", "bind s back", "bind D right"})
        console_execute(line);
    struct Case {
        SDL_Scancode key;
        const char* name;
        int x_sign, z_sign;
    } cases[] = {{SDL_SCANCODE_W, "W", 1, 0},
                 {SDL_SCANCODE_S, "S", -1, 0},
                 {SDL_SCANCODE_A, "A", 0, -1},
                 {SDL_SCANCODE_D, "D", 0, 1},
                 {SDL_SCANCODE_UP, "UPARROW", 1, 0}}; // the arrows still walk
    for (const Case& c : cases) {
        Walk w = walk_holding(c.key, step20);
        // Ten frames at 40 units a second: about 8 units along the axis.
        EXPECT_NEAR(w.dx, 8.0f * c.x_sign, 1.0f) << c.name;
        EXPECT_NEAR(w.dz, 8.0f * c.z_sign, 1.0f) << c.name;
    }
    console_execute("unbind W");
    Walk w = walk_holding(SDL_SCANCODE_W, step20);
    EXPECT_EQ(w.dx, 0.0f) << "an unbound W still walks";
}

TEST_F(BoundKeys, WasdTypedIntoTheOpenConsoleWalksNowhere) {
    for (const char* line : {"bind W forward", "bind A left", "bind S back", "bind D right"})
        console_execute(line);
    press(SDL_SCANCODE_INSERT); // held for one frame, pressed in the next
    ASSERT_TRUE(step(20));
    ASSERT_TRUE(step(20));
    ASSERT_TRUE(console_is_visible()) << "Insert did not open the console";
    float x = player_view().x, z = player_view().z;
    const SDL_Scancode keys[] = {SDL_SCANCODE_W, SDL_SCANCODE_A, SDL_SCANCODE_S, SDL_SCANCODE_D};
    const char* typed[] = {"w", "a", "s", "d"};
    for (int i = 0; i < 4; i++) {
        push_key(SDL_KEYDOWN, keys[i]); // held over frames while typed
        push_text(typed[i]);
        for (int frame = 0; frame < 5; frame++)
            ASSERT_TRUE(step(20));
        push_key(SDL_KEYUP, keys[i]);
        ASSERT_TRUE(step(20));
    }
    EXPECT_EQ(player_view().x, x) << "typing walked";
    EXPECT_EQ(player_view().z, z) << "typing walked";
    EXPECT_STREQ(console_input_line(), "wasd");

    // The arrows act as ever with the console open.
    Walk w = walk_holding(SDL_SCANCODE_RIGHT, step20);
    EXPECT_NEAR(w.dz, 8.0f, 1.0f) << "the right arrow does not walk with the console open";
}

TEST_F(BoundKeys, AKeyBoundToAQuotedConsoleLineRunsIt) {
    console_execute("bind F5 \"show_fps 0\"");
    console_execute("bind F6 \"pause\"");
    press(SDL_SCANCODE_F5);
    ASSERT_TRUE(step(20));
    EXPECT_EQ(console_find_variable("show_fps")->value, 0.0f) << "F5's line did not run";
    press(SDL_SCANCODE_F6);
    ASSERT_TRUE(step(20));
    EXPECT_TRUE(game_paused()) << "F6's pause did not pause";
    uint32_t clock = game_time_ms();
    ASSERT_TRUE(step(20));
    EXPECT_EQ(game_time_ms(), clock) << "the frame after the bound pause moved on";
}

// Bindings as the previous run left them in config.cfg.
class SavedBindings : public BoundKeys {
  protected:
    static constexpr const char* SAVED = "unbind UPARROW\n"
                                         "bind W forward\n"
                                         "bind F5 \"show_fps 0\"\n";
    void SetUp() override {
        std::ofstream(CONFIG_FILE) << SAVED;
        BoundKeys::SetUp();
    }
    void TearDown() override {
        BoundKeys::TearDown();
        std::filesystem::remove(CONFIG_FILE);
    }
};

TEST_F(SavedBindings, ComeBackAtTheNextStartAndAreSavedAgain) {
    EXPECT_EQ(walk_holding(SDL_SCANCODE_UP, step20).dx, 0.0f) << "the saved unbind was lost";
    EXPECT_NEAR(walk_holding(SDL_SCANCODE_W, step20).dx, 8.0f, 1.0f) << "W does not walk";
    EXPECT_STREQ(key_bound_line(VK_F1 + 4), "show_fps 0");
    undo_fixture_settings();
    settings_save();
    std::ifstream saved(CONFIG_FILE);
    std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, SAVED);
}

// A typing key bound to the console, as many players have it: it opens the
// console, types nothing into the line, and closes it again; the other
// keys still type.
TEST_F(BoundKeys, ATypingKeyBoundToTheConsoleOpensAndClosesIt) {
    console_execute("bind BACKQUOTE console");
    // The console's key acts once let go, as Insert always has.
    auto tap_backquote = [] {
        push_key(SDL_KEYDOWN, SDL_SCANCODE_GRAVE);
        push_text("`");
        ASSERT_TRUE(step());
        push_key(SDL_KEYUP, SDL_SCANCODE_GRAVE);
        ASSERT_TRUE(step());
    };
    tap_backquote();
    ASSERT_TRUE(console_is_visible()) << "BACKQUOTE did not open the console";
    push_key(SDL_KEYDOWN, SDL_SCANCODE_E);
    push_text("e");
    push_key(SDL_KEYUP, SDL_SCANCODE_E);
    ASSERT_TRUE(step());
    tap_backquote();
    EXPECT_FALSE(console_is_visible()) << "BACKQUOTE did not close the console";
    EXPECT_STREQ(console_input_line(), "e") << "the console's key was typed into the line";
    tap_backquote();
    EXPECT_TRUE(console_is_visible()) << "BACKQUOTE did not open the console again";
    EXPECT_STREQ(console_input_line(), "e");
}
