// The console's files in the player's folder: log.txt is written there, and
// exec looks for a script there before the working folder.
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "files/folders.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class PlayerFolder : public testing::Test {
  protected:
    void SetUp() override {
        fs::create_directory("player");
        player_folder_set("player/"); // a final slash is not doubled
        console_init();
    }
    void TearDown() override { player_folder_set(""); }
};

TEST_F(PlayerFolder, TheLogIsWrittenThereAndStartedAnew) {
    EXPECT_EQ(player_file("log.txt"), "player/log.txt");
    console_print("first run");
    console_output_init(); // the next start
    console_print("second run");
    EXPECT_EQ(log_lines("player/log.txt"), (Lines{"second run"}));
    EXPECT_FALSE(fs::exists("log.txt"));
}

TEST_F(PlayerFolder, ExecLooksThereBeforeTheWorkingFolder) {
    static ConsoleVariable* which = nullptr;
    static const SettingRow WHICH[] = {{.variable = &which,
                                        .name = "which",
                                        .default_value = 0.0f,
                                        .help = "the script that ran"}};
    console_add_settings(WHICH);
    std::ofstream("player/both.cfg") << "which 1\n";
    std::ofstream("both.cfg") << "which 2\n";
    std::ofstream("game_only.cfg") << "which 3\n";
    struct Case {
        std::string line;
        float value;
    } cases[] = {
        {"exec both.cfg", 1.0f},                             // the player's own first
        {"exec game_only.cfg", 3.0f},                        // then the game's folder
        {"exec " + fs::absolute("both.cfg").string(), 2.0f}, // a full path as it is
    };
    for (const Case& c : cases) {
        which->value = 0.0f;
        console_execute(c.line.c_str());
        EXPECT_EQ(which->value, c.value) << c.line;
    }
    int mark = line_count();
    console_execute("exec nowhere.cfg");
    EXPECT_EQ(lines_since(mark), (Lines{">exec nowhere.cfg", "!Can't open script!"}));
}
