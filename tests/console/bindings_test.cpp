// Key bindings without a window: the key names, the bind, unbind and bindlist
// commands with every kind of bad line, the config.cfg lines and their round
// trip, the bound console lines, and the keys the open console keeps.
#include "console/bindings.h"
#include "console/builtins.h"
#include "console/editor.h"
#include "console/history.h"
#include "console/registry.h"
#include "input/actions.h"
#include "input/input.h"
#include "input/key_names.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

TEST(KeyNames, NamesPlayersWriteFindTheirKeysInAnyCase) {
    struct Case {
        const char* name;
        int vk;
    } cases[] = {
        {"UPARROW", VK_UP},
        {"downarrow", VK_DOWN},
        {"LeftArrow", VK_LEFT},
        {"RIGHTARROW", VK_RIGHT},
        {"a", 'A'},
        {"Z", 'Z'},
        {"0", '0'},
        {"9", '9'},
        {"f1", VK_F1},
        {"F12", VK_F12},
        {"F5", VK_F1 + 4},
        {"space", VK_SPACE},
        {"ENTER", VK_RETURN},
        {"TAB", VK_TAB},
        {"BACKSPACE", VK_BACK},
        {"INS", VK_INSERT},
        {"insert", VK_INSERT},
        {"DEL", VK_DELETE},
        {"HOME", VK_HOME},
        {"END", VK_END},
        {"PGUP", VK_PRIOR},
        {"pgdn", VK_NEXT},
        {"PAUSE", VK_PAUSE},
        {"SHIFT", VK_SHIFT},
        {"CTRL", VK_CONTROL},
        {"MOUSE1", VK_LBUTTON},
        {"mouse2", VK_RBUTTON},
        {"MOUSE3", VK_MBUTTON},
        {"MOUSE4", VK_XBUTTON1},
        {"MOUSE5", VK_XBUTTON2},
        {"KP_7", VK_NUMPAD7},
        {"kp_plus", VK_ADD},
        {"SEMICOLON", VK_OEM_1},
        {";", VK_OEM_1},
        {"`", VK_OEM_3},
        {"ESCAPE", VK_ESCAPE},
    };
    for (const Case& c : cases)
        EXPECT_EQ(key_of_name(c.name), c.vk) << c.name;
    for (const char* unknown : {"", "UP", "F13", "MOUSE6", "KP_", "AA", "forward"})
        EXPECT_EQ(key_of_name(unknown), -1) << "\"" << unknown << "\"";
}

TEST(KeyNames, EveryShownNameIsTheNameOfItsKey) {
    ASSERT_GT(key_name_count(), 90);
    for (int i = 0; i < key_name_count(); i++) {
        const char* name = key_name_at(i);
        int vk = key_of_name(name);
        ASSERT_GE(vk, 0) << name;
        EXPECT_STREQ(key_name(vk), name) << "two shown names for one key";
    }
    EXPECT_STREQ(key_name(VK_INSERT), "INS") << "a key is shown by its first name";
    EXPECT_EQ(key_name(200), nullptr);
}

class Bindings : public testing::Test {
  protected:
    void SetUp() override {
        console_init();
        bindings_init();
        actions_bind_defaults();
        static const SettingRow SHOW_FPS[] = {{.variable = nullptr,
                                               .name = "show_fps",
                                               .default_value = 1.0f,
                                               .help = "a test's own"}};
        show_fps = console_add_setting(SHOW_FPS[0]);
    }
    static Lines run(const std::string& line) {
        int mark = line_count();
        console_execute(line.c_str());
        return lines_since(mark);
    }
    ConsoleVariable* show_fps = nullptr;
};

TEST_F(Bindings, BindShowsAndChangesWhatAKeyDoes) {
    struct Case {
        const char* line;
        Lines said; // after the echo
    } cases[] = {
        {"bind w forward", {}},
        {"bind W", {"W : forward"}},
        {"bind mouse2 FIRE", {}},
        {"bind MOUSE2", {"MOUSE2 : fire"}},
        {"bind F5 \"videomode 640x480x32\"", {}},
        {"bind f5", {"F5 : \"videomode 640x480x32\""}},
        {"bind F5 pause", {}}, // an action replaces the line
        {"bind F5", {"F5 : pause"}},
        {"unbind uparrow", {}},
        {"bind UPARROW", {"UPARROW : not bound"}},
        {"bind INS \"  cls  \"  ", {}}, // blanks inside the quotes are the line's
        {"bind ins", {"INS : \"  cls  \""}},
    };
    for (const Case& c : cases) {
        Lines expected{std::string(">") + c.line};
        expected.insert(expected.end(), c.said.begin(), c.said.end());
        EXPECT_EQ(run(c.line), expected);
    }
    EXPECT_EQ(key_action('W'), ACTION_FORWARD);
    EXPECT_EQ(key_action(VK_RBUTTON), ACTION_FIRE);
    EXPECT_EQ(key_action(VK_F1 + 4), ACTION_PAUSE);
    EXPECT_STREQ(key_bound_line(VK_F1 + 4), "");
    EXPECT_EQ(key_action(VK_UP), -1);
    EXPECT_EQ(key_action(VK_INSERT), -1);
    EXPECT_STREQ(key_bound_line(VK_INSERT), "  cls  ");
}

TEST_F(Bindings, BadLinesSayWhatWasWrongAndChangeNothing) {
    struct Case {
        const char* line;
        const char* error;
    } cases[] = {
        {"bind", "!usage: bind KEY [ACTION | \"console line\"]!"},
        {"unbind", "!usage: unbind KEY!"},
        {"bind NOSUCHKEY forward", "!Unknown key NOSUCHKEY (after bind, Tab lists the key names)!"},
        {"unbind F13", "!Unknown key F13 (after bind, Tab lists the key names)!"},
        {"bind UPARROW jump",
         "!Unknown action jump: bind a key to forward, back, left, right, fire, console, "
         "screenshot, pause, or to a console line in double quotes!"},
        {"bind UPARROW videomode 640x480x32",
         "!Unknown action videomode: put a console line in double quotes!"},
        {"bind UPARROW \"cls", "!The console line for UPARROW has no closing \"!"},
        {"bind UPARROW \"  \"", "!The console line for UPARROW is empty!"},
        {"bind UPARROW \"cls\" back", "!usage: bind KEY [ACTION | \"console line\"]!"},
        {"bind ESCAPE forward", "!ESCAPE quits the game and cannot be bound!"},
        {"unbind esc", "!ESCAPE quits the game and cannot be bound!"},
        {"bind enter fire",
         "!ENTER runs the typed console line and starts a new game, and cannot be bound!"},
        {"bind F10 fire", "!F10 is kept by the system and cannot be bound!"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(run(c.line), (Lines{std::string(">") + c.line, c.error}));
    }
    // Typed with "-" it fits a console line; kept as "bind MINUS ..." it would not.
    std::string long_line = "bind - \"" + std::string(245, 'x') + "\"";
    EXPECT_EQ(run(long_line).back(), "!The console line for MINUS is too long to keep!");
    EXPECT_EQ(bindings_config_text(), "") << "a refused line changed a binding";
    EXPECT_EQ(key_action(VK_UP), ACTION_FORWARD);
}

TEST_F(Bindings, BindlistShowsEveryBoundKeyInKeyOrder) {
    Lines defaults{">bindlist",          "  =[Bound keys]=", "MOUSE1 : fire",
                   "PAUSE : pause",      "LEFTARROW : left", "UPARROW : forward",
                   "RIGHTARROW : right", "DOWNARROW : back", "INS : console",
                   "F12 : screenshot"};
    EXPECT_EQ(run("bindlist"), defaults);
    run("unbind MOUSE1");
    run("bind BACKQUOTE \"show_fps 0\"");
    Lines after = run("bindlist");
    EXPECT_EQ(std::count(after.begin(), after.end(), "MOUSE1 : fire"), 0);
    EXPECT_EQ(after.back(), "BACKQUOTE : \"show_fps 0\"");
}

TEST_F(Bindings, ConfigKeepsWhatDiffersFromTheDefaults) {
    EXPECT_EQ(bindings_config_text(), "");
    run("bind W forward");
    run("unbind INS");
    run("bind F5 \"videomode 640x480x32\"");
    run("bind UPARROW back");
    run("bind F12 screenshot"); // as it was: nothing to keep
    const std::string config = "bind UPARROW back\n"
                               "unbind INS\n"
                               "bind W forward\n"
                               "bind F5 \"videomode 640x480x32\"\n";
    EXPECT_EQ(bindings_config_text(), config); // game.SavedBindings reads it back at a start
}

TEST_F(Bindings, ABoundLineRunsOnceWhenItsKeyGoesDownAndStaysOutOfTheHistory) {
    run("bind F5 \"show_fps 0\"");
    int history_before = console_history_count();
    key_down(VK_F1 + 4);
    bindings_run_lines();
    EXPECT_EQ(show_fps->value, 0.0f) << "the bound line did not run";
    EXPECT_EQ(last_line(), ">show_fps 0");
    EXPECT_EQ(console_history_count(), history_before);

    show_fps->value = 1.0f;
    keys_frame_done();   // still held in the next frame: it does not run again
    key_down(VK_F1 + 4); // an auto-repeat
    bindings_run_lines();
    EXPECT_EQ(show_fps->value, 1.0f);
}

TEST_F(Bindings, TheOpenConsoleKeepsTheKeysThatTypeIntoIt) {
    run("bind W forward");
    run("bind P \"show_fps 0\"");
    run("bind KP_8 fire");
    run("bind TAB fire");
    for (int vk : {int('W'), int('P'), int(VK_NUMPAD8), int(VK_TAB), int(VK_UP), int(VK_LBUTTON)})
        key_down(vk);
    console_toggle(); // open
    bindings_run_lines();
    EXPECT_EQ(show_fps->value, 1.0f) << "a typing key ran its line in the open console";
    struct Case {
        int vk;
        bool acts;
    } cases[] = {{'W', false},      {'P', false},      {VK_NUMPAD8, false}, {VK_TAB, false},
                 {VK_SPACE, false}, {VK_OEM_2, false}, {VK_UP, true},       {VK_LBUTTON, true},
                 {VK_F1, true},     {VK_PAUSE, true},  {VK_INSERT, true},   {VK_SHIFT, true}};
    for (const Case& c : cases)
        EXPECT_EQ(key_acts(c.vk), c.acts) << key_name(c.vk);
    EXPECT_TRUE(input_held(input_take_record(), ACTION_FORWARD)) << "UPARROW still walks";
    EXPECT_TRUE(input_held(input_take_record(), ACTION_FIRE)) << "MOUSE1 still fires";
    key_release(VK_UP);
    key_release(VK_LBUTTON);
    keys_frame_done();
    EXPECT_FALSE(input_held(input_take_record(), ACTION_FORWARD)) << "W walked while typing";
    EXPECT_FALSE(input_held(input_take_record(), ACTION_FIRE)) << "KP_8 or TAB fired while typing";

    console_toggle(); // closed: the held keys act again
    EXPECT_TRUE(input_held(input_take_record(), ACTION_FORWARD));
    EXPECT_TRUE(input_held(input_take_record(), ACTION_FIRE));
}
