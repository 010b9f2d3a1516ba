// The command line read into options, and the start mode a config file names.
#include "app/command_line.h"
#include "app/settings.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using Words = std::vector<std::string>;

TEST(CommandLineOptions, AreReadInOrder) {
    struct Case {
        Words words;
        bool go_on;
        int exit_code;
        int mode_row;
        bool windowed;
        Words lines;
    } cases[] = {
        {{}, true, 0, -1, false, {}},
        {{"--windowed", "--mode", "800X600X32"}, true, 0, 7, true, {}},
        {{"+videomode", "800x600x32", "+exec", "demo.cfg"},
         true,
         0,
         -1,
         false,
         {"videomode 800x600x32", "exec demo.cfg"}},
        {{"+save_to_log", "-3", "--windowed", "+cls"},
         true,
         0,
         -1,
         true,
         {"save_to_log -3", "cls"}},
        {{"--help", "--bogus"}, false, 0, -1, false, {}},
        {{"--version"}, false, 0, -1, false, {}},
        {{"--bogus"}, false, 2, -1, false, {}},
        {{"cmdlist"}, false, 2, -1, false, {}},
        {{"--mode", "800x600"}, false, 2, -1, false, {}},
        {{"--mode"}, false, 2, -1, false, {}},
        {{"+", "cls"}, false, 2, -1, false, {}},
        {{"+exec", std::string(260, 'a')}, false, 2, -1, false, {}},
    };
    for (const Case& c : cases) {
        std::vector<char*> argv{const_cast<char*>("sheepfall")};
        for (const std::string& word : c.words)
            argv.push_back(const_cast<char*>(word.c_str()));
        CommandLine options;
        int exit_code = -1;
        std::string what = c.words.empty() ? "(none)" : c.words[0];
        EXPECT_EQ(
            command_line_parse(static_cast<int>(argv.size()), argv.data(), &options, &exit_code),
            c.go_on)
            << what;
        EXPECT_EQ(exit_code, c.exit_code) << what;
        if (!c.go_on) continue;
        EXPECT_EQ(options.mode_row, c.mode_row) << what;
        EXPECT_EQ(options.windowed, c.windowed) << what;
        EXPECT_EQ(Words(options.console_lines.begin(), options.console_lines.end()), c.lines)
            << what;
    }
}

TEST(StartModeScan, TakesTheLastUsableStartmodeLine) {
    struct Case {
        std::string text;
        bool found;
        StartMode mode;
    } cases[] = {
        {"startmode 800x600x32 windowed\n", true, {7, false}},
        {"startmode 640x480x16\n", true, {1, true}}, // the kind stays
        {"startmode 800x600x32 windowed\nshow_fps 0\nstartmode 1280x720x32\n", true, {9, false}},
        {"startmode 999x1x1 windowed\nstartmode 640x400x16 sideways\n", false, {8, true}},
        {"  startmode 800x600x32\n", false, {8, true}}, // exec would not give it arguments
        {std::string("\x00\xff\n", 3) + std::string(100000, 'x') + "startmode 800x600x32\n",
         false,
         {8, true}},
    };
    for (const Case& c : cases) {
        std::ofstream("config.cfg", std::ios::binary) << c.text;
        StartMode mode{8, true};
        EXPECT_EQ(start_mode_scan("config.cfg", &mode), c.found) << c.text.substr(0, 40);
        EXPECT_EQ(mode.row, c.mode.row) << c.text.substr(0, 40);
        EXPECT_EQ(mode.fullscreen, c.mode.fullscreen) << c.text.substr(0, 40);
    }
    StartMode mode{8, true};
    EXPECT_FALSE(start_mode_scan("missing.cfg", &mode));
}
