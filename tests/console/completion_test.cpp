// Tab in the open console: the first word completed against the commands
// and variables, through the real line input.
#include "console/builtins.h"
#include "console/editor.h"
#include "console/output.h"
#include "console/registry.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using Lines = std::vector<std::string>;

static void nothing() {}

class Completion : public testing::Test {
  protected:
    // Commands, newest first: exec varlist cmdlist ? cls toggle_console;
    // then the ones below and two variables.
    void SetUp() override {
        console_init();
        console_add_command("texturequality", nothing);
        console_add_command("textureinfo", nothing);
        static const SettingRow SHOW_FPS[] = {{.variable = nullptr,
                                               .name = "show_fps",
                                               .default_value = 1.0f,
                                               .help = "a test's own"}};
        console_add_settings(SHOW_FPS);
        console_add_command("save_to_log", nothing); // also a variable
        console_toggle();
    }
    // Types the text and presses Tab; returns the lines printed.
    static Lines tab_after(const std::string& text) {
        console_char(27);
        for (char c : text)
            console_char(static_cast<unsigned char>(c));
        int mark = line_count();
        console_char(9);
        return lines_since(mark);
    }
};

TEST_F(Completion, CompletesTheFirstWord) {
    struct Case {
        const char* typed;
        const char* completed;
        Lines printed;
    } cases[] = {
        {"cmd", "cmdlist ", {}},                            // one match
        {"  varl", "varlist ", {}},                         // leading blanks go
        {"sa", "save_to_log ", {}},                         // command and variable: one name
        {"tex", "texture", {"textureinfo texturequality"}}, // common prefix
        {"c", "c", {"cmdlist cls"}},                        // several, registry order
        {"zz", "zz", {}},                                   // no match
        {"cmd x", "cmd x", {}},                             // first word already followed
        {"", "", {}},                                       // nothing typed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tab_after(c.typed), c.printed) << c.typed;
        EXPECT_STREQ(console_input_line(), c.completed) << c.typed;
        if (c.typed[0]) {
            EXPECT_EQ(std::string(output_line(line_count())), std::string(">") + c.completed)
                << "the typed line is shown after Tab: " << c.typed;
        }
    }
    // The completed line runs as typed.
    tab_after("varl");
    int mark = line_count();
    console_char(13);
    EXPECT_EQ(lines_since(mark)[0], ">varlist ");
}

TEST_F(Completion, ListsOnlyWhatFitsOneLine) {
    for (int i = 0; i < 20; i++) {
        std::string name = "many_names_padding_number_" + std::to_string(10 + i);
        console_add_command(name.c_str(), nothing);
    }
    Lines printed = tab_after("many");
    ASSERT_EQ(printed.size(), 1u);
    EXPECT_LE(printed[0].size(), 255u);
    // Eight names of 28 characters and their blanks fit, newest first.
    EXPECT_EQ(printed[0].size(), 8u * 28 + 7);
    EXPECT_EQ(printed[0].substr(0, 28), "many_names_padding_number_29");
    EXPECT_STREQ(console_input_line(), "many_names_padding_number_");
}

TEST_F(Completion, CompletesKeyNamesAfterBindAndActionNamesAfterTheKey) {
    struct Case {
        const char* typed;
        const char* completed;
        Lines printed;
    } cases[] = {
        {"bind up", "bind UPARROW ", {}},                            // any case, one key
        {"unbind  ins", "unbind  INS ", {}},                         // the text before is kept
        {"bind ba", "bind BACK", {"BACKSPACE BACKQUOTE BACKSLASH"}}, // the common part
        {"bind kp_p", "bind kp_p", {"KP_PLUS KP_PERIOD"}},           // nothing longer in common
        {"bind pg", "bind pg", {"PGUP PGDN"}},
        {"bind W f", "bind W f", {"forward fire"}},
        {"bind W Sc", "bind W screenshot ", {}},
        {"bind W \"sh", "bind W \"sh", {}}, // a console line is not an action
        {"unbind W f", "unbind W f", {}},   // unbind takes no action
        {"bind W fire x", "bind W fire x", {}},
        {"bind nosuch", "bind nosuch", {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tab_after(c.typed), c.printed) << c.typed;
        EXPECT_STREQ(console_input_line(), c.completed) << c.typed;
    }
    // Nothing typed yet after "bind ": every key name, over as many lines as
    // they take.
    Lines all = tab_after("bind ");
    ASSERT_GT(all.size(), 1u);
    std::string joined;
    for (const std::string& line : all) {
        EXPECT_LE(line.size(), 255u);
        joined += line + " ";
    }
    for (const char* name : {" A ", " 0 ", " F12 ", " UPARROW ", " MOUSE5 ", " KP_9 ", " OEM_102 "})
        EXPECT_NE((" " + joined).find(name), std::string::npos) << name << " not listed";
    EXPECT_EQ(tab_after("bind W ").front(),
              "forward back left right fire console screenshot pause");
}
