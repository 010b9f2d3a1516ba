// The output buffer and log.txt: line limits, the full buffer, the typed
// line's slot, cls, and logging switched by save_to_log.
#include "console/builtins.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>

using Lines = std::vector<std::string>;

class Output : public testing::Test {
  protected:
    void SetUp() override {
        std::ofstream("log.txt") << "left from an earlier run\n";
        console_init();
    }
    // Types a line into the open console and presses Enter.
    static void type_line(const std::string& text) {
        if (!console_is_visible()) console_toggle();
        for (char c : text)
            console_char(static_cast<unsigned char>(c));
        console_char(13);
    }
};

TEST_F(Output, StartsANewLogEachRun) {
    EXPECT_FALSE(std::filesystem::exists("log.txt"));
    console_print("first");
    EXPECT_EQ(log_lines(), (Lines{"first"}));
}

TEST_F(Output, ALineLongerThanASlotFillsTheNextSlotsAlike) {
    std::string longest(255, 'x');
    console_print(longest.c_str());
    EXPECT_EQ(printed_lines(), (Lines{longest}));
    console_clear();
    // An error of 254 characters framed by "!" is 256 long: two slots, both
    // coloured as an error.
    console_print_error(std::string(254, 'e').c_str());
    EXPECT_EQ(printed_lines(), (Lines{"!" + std::string(254, 'e'), "!"}));
    EXPECT_EQ(output_line_mark(0), '!');
    EXPECT_EQ(output_line_mark(1), '!');
    EXPECT_EQ(log_lines().back(), "!" + std::string(254, 'e') + "!");
}

TEST_F(Output, The257thLineDropsTheOldest) {
    for (int i = 0; i < 257; i++)
        console_print(("line " + std::to_string(i)).c_str());
    EXPECT_EQ(line_count(), CONSOLE_MAX_LINES);
    EXPECT_STREQ(output_line(0), "line 1");
    EXPECT_STREQ(output_line(255), "line 256");
    EXPECT_EQ(log_lines().size(), 257u); // the log keeps everything
}

TEST_F(Output, TheTypedLineHasASlotEvenWhenTheBufferIsFull) {
    for (int i = 0; i < 256; i++)
        console_print("filler");
    console_toggle();
    console_char('a');
    console_char('b');
    EXPECT_STREQ(output_line(CONSOLE_MAX_LINES), ">ab");
    EXPECT_STREQ(output_line(255), "filler"); // no printed line lost for it
    console_char(13);
    EXPECT_STREQ(output_line(254), ">ab");
    EXPECT_STREQ(output_line(255), "!Command not found!");
    EXPECT_STREQ(output_line(CONSOLE_MAX_LINES), "");
}

TEST_F(Output, ClsEmptiesTheScreenButNotTheLog) {
    console_print("kept in the log");
    console_execute("cls");
    EXPECT_EQ(line_count(), 0);
    EXPECT_EQ(log_lines(), (Lines{"kept in the log", ">cls"}));
}

TEST_F(Output, SaveToLogSwitchesAfterItsOwnEcho) {
    type_line("save_to_log 0");
    console_print("not logged");
    type_line("save_to_log 1");
    console_print("logged again");
    EXPECT_EQ(log_lines(), (Lines{">save_to_log 0", "logged again"}));
}

TEST_F(Output, AnUnwritableLogSwitchesLoggingOffOnceSayingWhy) {
    struct Case {
        const char* what;
        void (*make_log)();
        const char* error;
    };
    const Case cases[] = {
        {"a folder in its place", [] { std::filesystem::create_directory("log.txt"); },
         "!Can't open log file log.txt: Is a directory!"},
#ifndef _WIN32 // Windows has no file that is always full
        {"a full disk", [] { std::filesystem::create_symlink("/dev/full", "log.txt"); },
         "!Can't write log file log.txt: No space left on device!"},
#endif
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        console_output_init(); // removes the old log
        c.make_log();
        console_find_variable("save_to_log")->value = 1.0f;
        testing::internal::CaptureStderr();
        console_print("one");
        console_print("two");
        std::string error = c.error;
        EXPECT_EQ(printed_lines(), (Lines{"one", error, "two"}));
        EXPECT_EQ(testing::internal::GetCapturedStderr(),
                  "sheepfall: " + error.substr(1, error.size() - 2) + "\n");
        EXPECT_EQ(console_find_variable("save_to_log")->value, 0.0f);
        std::filesystem::remove("log.txt");
    }
}
