// Files kept between runs: replaced whole through a temporary file, and the
// history written at the end of one run and read at the start of the next.
#include "console/builtins.h"
#include "console/editor.h"
#include "console/history.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"
#include "input/input.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

static std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class SettingsFiles : public testing::Test {
  protected:
    void SetUp() override {
        console_init();
    }
};

TEST_F(SettingsFiles, ReplacesAFileWholeOrNotAtAll) {
    std::ofstream("config.cfg") << "old\n";
    EXPECT_TRUE(write_file_replacing("config.cfg", "show_fps 0\n"));
    EXPECT_EQ(read_file("config.cfg"), "show_fps 0\n");
    EXPECT_FALSE(fs::exists("config.cfg.tmp"));

    // A file that cannot be replaced stays as it was; the reason is given.
    fs::create_directory("folder.cfg");
    int mark = line_count();
    EXPECT_FALSE(write_file_replacing("folder.cfg", "x\n"));
    EXPECT_EQ(lines_since(mark), (Lines{"!Can't write folder.cfg: Is a directory!"}));
    EXPECT_TRUE(fs::is_directory("folder.cfg"));
    EXPECT_FALSE(fs::exists("folder.cfg.tmp"));
    EXPECT_FALSE(write_file_replacing("no/such/config.cfg", "x\n"));
    EXPECT_EQ(last_line(), "!Can't write no/such/config.cfg: No such file or directory!");

    EXPECT_TRUE(remove_file_if_present("config.cfg"));
    EXPECT_TRUE(remove_file_if_present("config.cfg")); // already gone
    EXPECT_FALSE(fs::exists("config.cfg"));
}

TEST_F(SettingsFiles, HistoryIsReadBackForUp) {
    std::ofstream file("history.txt", std::ios::binary);
    for (int i = 0; i < 40; i++)
        file << "line" << i << "\n";
    file << "\n"
         << std::string(100000, 'x') << "\n"
         << "last\xff\x01 bytes\n";
    file.close();
    console_history_load("history.txt");
    console_history_load("missing.txt"); // nothing, and no message
    ASSERT_EQ(console_history_count(), HISTORY_SIZE);
    EXPECT_STREQ(console_history_line(HISTORY_SIZE - 1), "last\xff\x01 bytes");
    EXPECT_EQ(std::string(console_history_line(HISTORY_SIZE - 2)), std::string(255, 'x'));
    EXPECT_STREQ(console_history_line(HISTORY_SIZE - 3), "line39");
    EXPECT_STREQ(console_history_line(0), "line10"); // the last 32 stay
    console_toggle();
    console_key_down(VK_UP);
    EXPECT_STREQ(console_input_line(), "last\xff\x01 bytes");
    EXPECT_EQ(line_count(), 0) << "loading prints nothing";
}
