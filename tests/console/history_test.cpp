// Line editing and history recall in the open console.
#include "input/input.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

class LineInput : public testing::Test {
  protected:
    void SetUp() override {
        console_init();
        console_toggle();
    }
    static void type(const std::string& text) {
        for (char c : text)
            console_char(static_cast<unsigned char>(c));
    }
    static void enter(const std::string& text) {
        type(text);
        console_char(13);
    }
    static std::string up() {
        console_key_down(VK_UP);
        return console_input_line();
    }
    static std::string down() {
        console_key_down(VK_DOWN);
        return console_input_line();
    }
};

TEST_F(LineInput, RecallsOlderAndNewerLines) {
    EXPECT_EQ(up(), ""); // empty history
    enter("a");
    enter("b");
    enter("c");
    EXPECT_EQ(up(), "c");
    EXPECT_EQ(up(), "b");
    EXPECT_EQ(up(), "a");
    EXPECT_EQ(up(), "a");
    EXPECT_EQ(down(), "b");
    EXPECT_EQ(down(), "c");
    EXPECT_EQ(down(), "");
    EXPECT_EQ(down(), "");
    EXPECT_STREQ(output_line(line_count()), ">"); // the recalled line is shown
}

TEST_F(LineInput, ExecutingResetsTheRecall) {
    enter("a");
    enter("b");
    up();
    up();
    console_char(13); // runs the recalled "a"
    EXPECT_EQ(up(), "a");
    EXPECT_EQ(up(), "b");
}

TEST_F(LineInput, KeepsTheLast32Lines) {
    for (int i = 0; i < 33; i++)
        enter("line" + std::to_string(i));
    std::string oldest;
    for (int i = 0; i < 40; i++)
        oldest = up();
    EXPECT_EQ(oldest, "line1");
}

TEST_F(LineInput, ScriptLinesEnterTheHistoryWithTheirLineBreak) {
    std::ofstream("s.cfg") << "varlist\n";
    enter("exec s.cfg");
    EXPECT_EQ(up(), "varlist\n"); // the final empty read is not recorded
    EXPECT_EQ(up(), "exec s.cfg");
}

TEST_F(LineInput, EditsTheTypedLine) {
    console_char(8); // backspace on an empty line
    EXPECT_STREQ(console_input_line(), "");
    type("abc");
    console_char(8);
    EXPECT_STREQ(console_input_line(), "ab");
    EXPECT_STREQ(output_line(line_count()), ">ab");
    console_char(9);
    console_char(10);
    EXPECT_STREQ(console_input_line(), "ab");
    console_char(27); // escape clears the line but leaves the screen
    EXPECT_STREQ(console_input_line(), "");
    EXPECT_STREQ(output_line(line_count()), ">ab");
    console_char(0xE9); // Latin-1 characters are kept as typed
    EXPECT_EQ(static_cast<unsigned char>(console_input_line()[0]), 0xE9);
}

TEST_F(LineInput, IgnoresCharactersBeyond255) {
    type(std::string(300, 'z'));
    EXPECT_EQ(std::string(console_input_line()), std::string(255, 'z'));
    EXPECT_EQ(std::string(output_line(line_count())), ">" + std::string(255, 'z')); // shown whole
    int mark = line_count();
    console_char(13);
    // The echo is 256 characters: shown over two slots, and the line runs.
    EXPECT_EQ(lines_since(mark),
              (std::vector<std::string>{">" + std::string(254, 'z'), "z", "!Command not found!"}));
}

TEST_F(LineInput, HiddenConsoleTakesNoInput) {
    console_toggle();
    type("abc");
    console_char(13);
    console_key_down(VK_UP);
    EXPECT_STREQ(console_input_line(), "");
    EXPECT_EQ(line_count(), 0);
}

TEST_F(LineInput, ScrollsBackToTheOldestLineAndReturnsOnPrint) {
    for (int i = 0; i < 5; i++)
        console_print("x");
    for (int i = 0; i < 10; i++)
        console_scroll_up();
    EXPECT_EQ(scroll_offset(), 5);
    console_scroll_down();
    EXPECT_EQ(scroll_offset(), 4);
    console_char(27);
    EXPECT_EQ(scroll_offset(), 4); // escape changes nothing shown
    type("q");
    EXPECT_EQ(scroll_offset(), 0);
    console_scroll_up();
    console_print("y");
    EXPECT_EQ(scroll_offset(), 0);
}
