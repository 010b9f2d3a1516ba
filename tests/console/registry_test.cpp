// The interpreter: argument splitting, variable formats, lookups, built-ins
// and scripts.
#include "console/builtins.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using Lines = std::vector<std::string>;

static std::vector<std::string> captured;

// Settings of a made-up module, declared as the game's modules declare theirs.
static ConsoleVariable* gravity = nullptr;
static ConsoleVariable* lives = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &gravity,
     .name = "gravity",
     .default_value = 9.5f,
     .min_value = 0.5f,
     .help = "how fast things fall, in units a second squared"},
    {.variable = &lives,
     .name = "lives",
     .default_value = 3.0f,
     .min_value = 1.0f,
     .max_value = 9.0f,
     .whole_numbers = true,
     .help = "lives at the start"},
};

static void capture_args() {
    captured.clear();
    for (int i = 0; i < console_arg_count(); i++)
        captured.emplace_back(console_arg(i));
}

class Registry : public testing::Test {
  protected:
    void SetUp() override {
        console_init();
        console_add_command("grab", capture_args);
    }
    Lines run(const char* line) {
        int mark = line_count();
        console_execute(line);
        return lines_since(mark);
    }
    static void write_file(const char* name, const std::string& text) {
        std::ofstream(name, std::ios::binary) << text;
    }
};

TEST_F(Registry, SplitsArgumentsCountingOneCharacterPerSeparator) {
    run("grab a b");
    EXPECT_EQ(captured, (Lines{"a", "b"}));
    run("grab a  b");
    EXPECT_EQ(captured, (Lines{"a", "b"}));
    run("grab a   b");
    EXPECT_EQ(captured, (Lines{"a", "b", "b"}));
    run("grab a  ");
    EXPECT_EQ(captured, (Lines{"a", ""}));
    run("grab");
    EXPECT_TRUE(captured.empty());
    run("grab 1 2 3 4 5 6 7 8 9 10 11 12");
    EXPECT_EQ(captured, (Lines{"1", "2", "3", "4", "5", "6", "7", "8", "9", "10"}));
    EXPECT_STREQ(console_arg(10), "");
    EXPECT_STREQ(console_arg(-1), "");
    EXPECT_STREQ(console_arg(9), "10");
}

TEST_F(Registry, LeadingBlanksShiftTheArgumentText) {
    // The argument text starts at the name's length + 1 from the line's start.
    run("  grab xy");
    EXPECT_EQ(captured, (Lines{"b", "xy"}));
}

TEST_F(Registry, ShowsVariablesInTheirFormats) {
    EXPECT_EQ(run("save_to_log"), (Lines{">save_to_log", "save_to_log = 1 (true)"}));
    run("save_to_log 0");
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = 0 (false)");
    run("save_to_log 2.5");
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = 2.500000");
    run("save_to_log -3");
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = -3");
    run("save_to_log -2147483648");
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = -2147483648");
    run("save_to_log 2147483648");
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = 2147483648.000000");
    run("save_to_log 1e30");
    EXPECT_EQ(run("save_to_log").back().rfind("save_to_log = 1000000015047466219876688855040.0", 0),
              0u);
}

TEST_F(Registry, UnknownNamesAndEmptyLines) {
    EXPECT_EQ(run("foo 1"), (Lines{">foo 1", "!Command not found!"}));
    EXPECT_EQ(console_find_variable("foo"), nullptr);
    EXPECT_EQ(run(""), (Lines{"type ? for help"}));
    EXPECT_EQ(run(" \n"), (Lines{"> \n", "!Command not found!"}));
    std::string long_name(40, 'x');
    EXPECT_EQ(run(long_name.c_str()).back(), "!Command not found!");
}

static int hidden_calls = 0;
static void hidden_command() {
    hidden_calls++;
}

TEST_F(Registry, VariablesHideCommandsAndNamesAreUnique) {
    console_add_command("save_to_log", hidden_command);
    EXPECT_EQ(run("save_to_log").back(), "save_to_log = 1 (true)");
    EXPECT_EQ(hidden_calls, 0);

    int mark = line_count();
    console_add_command("exec", hidden_command);
    EXPECT_EQ(lines_since(mark), (Lines{"!Function already defined!"}));
    EXPECT_EQ(run("exec").back(), "!usage: exec [scriptname]!"); // the first handler stays

    // A second start-up keeps the records and what the player set.
    console_add_settings(SETTINGS);
    ConsoleVariable* first = gravity;
    run("gravity 2");
    console_add_settings(SETTINGS);
    EXPECT_EQ(gravity, first);
    EXPECT_EQ(console_find_variable("gravity"), first);
    EXPECT_EQ(gravity->value, 2.0f);
}

TEST_F(Registry, RowsKeepValuesWithinTheirLimits) {
    console_add_settings(SETTINGS);
    lives->value = 3.0f;
    struct Case {
        const char* line;
        const char* said; // "": only the echo
        float gravity, lives;
    } cases[] = {
        {"gravity 0.1", "gravity clamped to 0.5", 0.5f, 3.0f},
        {"gravity 1e39", "", INFINITY, 3.0f}, // no upper limit
        {"lives 2.6", "lives clamped to 3", INFINITY, 3.0f},
        {"lives 12", "lives clamped to 9", INFINITY, 9.0f},
        {"lives -1", "lives clamped to 1", INFINITY, 1.0f},
        {"lives 4", "", INFINITY, 4.0f},
        {"save_to_log -7.5", "", INFINITY, 4.0f}, // no limits at all
    };
    for (const Case& c : cases) {
        Lines expected{std::string(">") + c.line};
        if (c.said[0]) expected.push_back(c.said);
        EXPECT_EQ(run(c.line), expected);
        EXPECT_EQ(gravity->value, c.gravity) << c.line;
        EXPECT_EQ(lives->value, c.lives) << c.line;
    }
}

TEST_F(Registry, HelpShowsARowOrSaysWhatTheNameIs) {
    console_add_settings(SETTINGS);
    run("gravity 2");
    run("lives 3");
    run("save_to_log 0");
    struct Case {
        const char* line;
        Lines said;
    } cases[] = {
        {"help gravity",
         {"gravity: how fast things fall, in units a second squared",
          "  default 9.5, limits at least 0.5, now 2"}},
        {"help lives",
         {"lives: lives at the start", "  default 3, limits 1 to 9, whole numbers, now 3"}},
        {"help save_to_log",
         {"save_to_log: append every console line to log.txt (started anew each run)",
          "  default 1, limits none, now 0, not kept in config.cfg"}},
        {"help exec", {"exec is a command (cmdlist lists them)"}},
        {"help nothing", {"!help: no variable or command named nothing!"}},
        {"help", {"!usage: help [name]!"}},
    };
    for (const Case& c : cases) {
        Lines expected{std::string(">") + c.line};
        expected.insert(expected.end(), c.said.begin(), c.said.end());
        EXPECT_EQ(run(c.line), expected);
    }
}

TEST_F(Registry, ListsNewestFirstAndPrintsHelp) {
    Lines cmds = run("cmdlist");
    Lines expected{">cmdlist", "  =[Registred functions]=",
                   "grab",     "help",
                   "exec",     "varlist",
                   "cmdlist",  "?",
                   "cls",      "toggle_console"};
    EXPECT_EQ(cmds, expected);
    console_add_settings(SETTINGS);
    EXPECT_EQ(run("varlist"),
              (Lines{">varlist", "  =[Registred variables]=", "lives", "gravity", "save_to_log"}));
    EXPECT_EQ(run("?"),
              (Lines{">?", "Press PgUp / PgDown to move", "Press Up / Down to getback input",
                     "type cmdlist to list all commands", "type varlist to list all variables",
                     "type exec [scriptname] to execute a script",
                     "type help [name] to learn about a variable"}));
}

TEST_F(Registry, RunsScriptsLineByLine) {
    write_file("setup.cfg", "save_to_log 0\ngrab LOW\n");
    Lines out = run("exec setup.cfg");
    EXPECT_EQ(out, (Lines{">exec setup.cfg", "Executing script", ">save_to_log 0\n", ">grab LOW\n",
                          "type ? for help"}));
    EXPECT_EQ(console_find_variable("save_to_log")->value, 0.0f);
    EXPECT_EQ(captured, (Lines{"LOW"}));

    write_file("noeol.cfg", "grab x");
    EXPECT_EQ(run("exec noeol.cfg").back(), ">grab x"); // no empty line after the last one

    EXPECT_EQ(run("exec missing.cfg").back(), "!Can't open script!");
    EXPECT_EQ(run("exec").back(), "!usage: exec [scriptname]!");
}

TEST_F(Registry, BoundsScriptNesting) {
    write_file("self.cfg", "exec self.cfg\ngrab after\n");
    Lines out = run("exec self.cfg");
    int executing = 0, too_deep = 0, after = 0;
    for (const std::string& line : out) {
        executing += line == "Executing script";
        too_deep += line == "!Script nesting too deep!";
        after += line == ">grab after\n";
    }
    EXPECT_EQ(executing, SCRIPT_MAX_NESTING);
    EXPECT_EQ(too_deep, 1);
    EXPECT_EQ(after, SCRIPT_MAX_NESTING); // each level finishes its own lines
    // The bound is per nesting, not per run: the next script runs normally.
    write_file("plain.cfg", "grab ok\n");
    EXPECT_EQ(run("exec plain.cfg")[1], "Executing script");
}

TEST_F(Registry, OnlyFilesRunAsScripts) {
    // A folder would read nothing, a device without end would never finish.
    std::filesystem::create_directory("folder.cfg");
    for (const char* name : {"folder.cfg", "/dev/zero"}) {
        std::string line = std::string("exec ") + name;
        EXPECT_EQ(run(line.c_str()), (Lines{">" + line, "!Can't open script!"}));
    }
}

TEST_F(Registry, FormatsValuesShortestThatReadBackExactly) {
    struct Case {
        float value;
        const char* text;
    } cases[] = {{0.01f, "0.01"},
                 {250.0f, "250"},
                 {1e-05f, "1e-05"},
                 {-2.5f, "-2.5"},
                 {0.1f, "0.1"},
                 {1.0f / 3.0f, "0.33333334"},
                 {123456789.0f, "123456792"},
                 {3.4e38f, "3.4e+38"},
                 {INFINITY, "1e39"},
                 {-INFINITY, "-1e39"}};
    for (const Case& c : cases) {
        char text[CONSOLE_NAME_SIZE];
        console_format_value(c.value, text, sizeof text);
        EXPECT_STREQ(text, c.text);
        EXPECT_EQ(console_parse_number(text), c.value) << text;
    }
}
