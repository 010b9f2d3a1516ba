// Settings kept between runs, in the started game: what a fresh folder
// shows, the README's tables against what is registered, the start mode, the
// added variables' limits, and broken files that do not stop the start.
// (tests/e2e/settings_session.sh plays the round trip over three starts of
// the real executable.)
#include "app/command_line.h"
#include "app/settings.h"
#include "app/video.h"
#include "console/history.h"
#include "console/registry.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

static Lines run(const char* line) {
    int mark = line_count();
    console_execute(line);
    return lines_since(mark);
}

// With every variable at its default, as a fresh player folder has them.
class Settings : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        undo_fixture_settings();
    }
};

TEST_F(Settings, AFreshFolderStartsAsBefore) {
    Lines start_up{"[System initialized]",
                   "type ? for help",
                   "texture found",
                   "data/model_shade.png",
                   "texture found",
                   "data/model_shade.png",
                   "texture found",
                   "data/model_shade.png",
                   "texture found",
                   "data/arme_grip.png",
                   "Loading level 0/3: data/level1.txt",
                   "NB_SHEEP 10",
                   "SHEEP_SPEED 20",
                   "data/music1.ogg",
                   "Reloading textures..."};
    EXPECT_EQ(log_lines(), start_up);
    settings_save(); // nothing changed, nothing typed: nothing to keep
    EXPECT_FALSE(fs::exists(CONFIG_FILE));
    EXPECT_FALSE(fs::exists(HISTORY_FILE));
}

// A table of README.md, found by its header line's first cell: each row's
// first cell without its backquotes, up to its first blank, and its second.
static std::vector<std::pair<std::string, std::string>> readme_table(const std::string& header) {
    std::ifstream readme(SHEEPFALL_README);
    std::vector<std::pair<std::string, std::string>> rows;
    bool inside = false;
    for (std::string line; std::getline(readme, line);) {
        if (line.rfind("| " + header + " |", 0) == 0) {
            inside = true;
            continue;
        }
        if (!inside || line.rfind("| ---", 0) == 0) continue;
        if (line.rfind("| `", 0) != 0) break; // the table ended
        size_t name_end = line.find_first_of("` ", 3);
        size_t second = line.find(" | ", name_end) + 3;
        rows.emplace_back(line.substr(3, name_end - 3),
                          line.substr(second, line.find(" |", second) - second));
    }
    return rows;
}

// Every registered setting is in the README's variable table with its
// default and has a help line; every variable there is registered. Every
// command is in the command table, and every command there is registered.
TEST_F(Settings, TheReadmeTablesHoldEveryVariableAndCommand) {
    auto variables = readme_table("Variable");
    ASSERT_GE(variables.size(), 10u) << "no variable table found in " << SHEEPFALL_README;
    std::map<std::string, std::string> readme_defaults(variables.begin(), variables.end());
    std::set<std::string> registered;
    for (const ConsoleVariable* v = console_variables(); v; v = v->next) {
        registered.insert(v->name);
        char default_value[CONSOLE_NAME_SIZE];
        console_format_value(v->row->default_value, default_value, sizeof default_value);
        auto row = readme_defaults.find(v->name);
        if (row == readme_defaults.end())
            ADD_FAILURE() << v->name << " is missing from README.md's variable table";
        else
            EXPECT_EQ(row->second, default_value) << v->name << "'s default in README.md";
        EXPECT_STRNE(v->row->help, "") << v->name << " has no help line";
    }
    for (const auto& [name, _] : variables)
        EXPECT_TRUE(registered.count(name))
            << "README.md lists " << name << ", the game has no such variable";

    auto commands = readme_table("Command");
    ASSERT_GE(commands.size(), 10u) << "no command table found in " << SHEEPFALL_README;
    std::set<std::string> readme_commands;
    for (const auto& [name, _] : commands)
        readme_commands.insert(name);
    registered.clear();
    for (const ConsoleCommand* c = console_commands(); c; c = c->next) {
        registered.insert(c->name);
        EXPECT_TRUE(readme_commands.count(c->name))
            << c->name << " is missing from README.md's command table";
    }
    for (const std::string& name : readme_commands)
        EXPECT_TRUE(registered.count(name))
            << "README.md lists " << name << ", the game has no such command";
}

TEST_F(Settings, StartModeIsRecordedForTheNextStartOnly) {
    console_execute("startmode 800x600x32 windowed");
    EXPECT_EQ(run("startmode").back(), "start mode : 800x600x32 windowed");
    int width = 0, height = 0;
    drawable_size(&width, &height);
    EXPECT_EQ(width, 1024) << "this run's window changed";
    EXPECT_EQ(run("startmode 999x1x1"),
              (Lines{">startmode 999x1x1",
                     "!usage: startmode [WIDTHxHEIGHTxBPP] [fullscreen|windowed]!"}));
    console_execute("videomode 640x480x16");
    console_execute("togglefullscreen"); // the fixture's window: now fullscreen
    EXPECT_EQ(run("startmode").back(), "start mode : 640x480x16 fullscreen");
    EXPECT_EQ(settings_config_text(), "startmode 640x480x16 fullscreen\n");
    // The desktop mode is fullscreen unless it says otherwise.
    console_execute("startmode 800x600x32 windowed");
    console_execute("startmode desktop");
    EXPECT_EQ(run("startmode").back(), "start mode : desktop fullscreen");
    console_execute("startmode DESKTOP windowed");
    EXPECT_EQ(settings_config_text(), "startmode desktop windowed\n");
}

TEST_F(Settings, AddedVariablesAreClampedToTheirRange) {
    struct Case {
        const char* line;
        const char* said; // "": only the echo
    } cases[] = {{"mouse_sensitivity 5", "mouse_sensitivity clamped to 1"},
                 {"mouse_sensitivity 0", "mouse_sensitivity clamped to 0.0001"},
                 {"mouse_invert 0.7", "mouse_invert clamped to 1"},
                 {"mouse_invert -3", "mouse_invert clamped to 0"},
                 {"volume_music 1.5", "volume_music clamped to 1"},
                 {"volume_sfx -1", "volume_sfx clamped to 0"},
                 {"volume_sfx 0.5", ""},
                 {"max_fps -5", "max_fps clamped to 0"},
                 {"max_fps 5000", "max_fps clamped to 1000"},
                 {"pause_on_focus_loss 3", "pause_on_focus_loss clamped to 1"},
                 {"pause_on_focus_loss 0.4", "pause_on_focus_loss clamped to 0"},
                 {"joy_sensitivity 5", "joy_sensitivity clamped to 10"},
                 {"joy_sensitivity 2000", "joy_sensitivity clamped to 1000"},
                 {"joy_invert 2", "joy_invert clamped to 1"},
                 {"joy_deadzone 1", "joy_deadzone clamped to 0.9"},
                 {"keep_aspect 0.5", "keep_aspect clamped to 1"},
                 {"keep_aspect 1", ""}};
    for (const Case& c : cases) {
        Lines expected{std::string(">") + c.line};
        if (c.said[0]) expected.push_back(c.said);
        EXPECT_EQ(run(c.line), expected);
    }
}

class BrokenSettings : public GameFixture {
  protected:
    void SetUp() override {
        std::ofstream config(CONFIG_FILE, std::ios::binary);
        config << std::string("\x00\x01\xff\xfe\x1b[2J", 8) << "\n"
               << std::string(100000, 'x') << "\nshow_fps 0\n";
        config.close();
        std::ofstream(AUTOEXEC_FILE) << "show_fps 1\nmax_fps 30\n";
        GameFixture::SetUp();
    }
};

TEST_F(BrokenSettings, StillStartAndRunConfigThenAutoexec) {
    EXPECT_EQ(game_state(), STATE_PLAY);
    Lines log = log_lines();
    ASSERT_GE(log.size(), 4u);
    EXPECT_EQ(log[2], "Executing script") << "the config runs right after the system start";
    EXPECT_EQ(std::count(log.begin(), log.end(), "Executing script"), 2);
    // The 100,000-character line is refused whole, once.
    auto too_long = [](const std::string& line) {
        return line.ends_with("config.cfg:2: line longer than 255 characters, not run!");
    };
    EXPECT_EQ(std::count_if(log.begin(), log.end(), too_long), 1);
    EXPECT_EQ(std::count(log.begin(), log.end(), "!Command not found!"), 0);
    EXPECT_EQ(console_find_variable("show_fps")->value, 1.0f); // autoexec.cfg ran last
    EXPECT_EQ(console_find_variable("max_fps")->value, 30.0f);
}

// The settings files are the game's own: Up recalls what the player typed in
// the last run, not the last line of config.cfg, and history.txt does not
// gather the settings lines again at every start. Lines given with +command
// and scripts the player runs with exec are his, and are kept.
class SettingsAndHistory : public GameFixture {
  protected:
    void SetUp() override {
        std::ofstream(HISTORY_FILE) << "typed last run\n";
        std::ofstream(CONFIG_FILE) << "show_fps 0\nexec extra.cfg\n";
        std::ofstream("extra.cfg") << "volume_sfx 0.5\n";
        std::ofstream(AUTOEXEC_FILE) << "max_fps 30\n";
        GameFixture::SetUp();
    }
    void TearDown() override {
        GameFixture::TearDown();
        for (const char* file : {HISTORY_FILE, CONFIG_FILE, AUTOEXEC_FILE, "extra.cfg", "mine.cfg"})
            fs::remove(file);
    }
    static Lines history() {
        Lines lines;
        for (int i = 0; i < console_history_count(); i++)
            lines.push_back(console_history_line(i));
        return lines;
    }
};

TEST_F(SettingsAndHistory, SettingsFileLinesStayOutOfTheHistory) {
    EXPECT_EQ(console_find_variable("volume_sfx")->value, 0.5f) << "config.cfg's exec did not run";
    EXPECT_EQ(console_find_variable("max_fps")->value, 30.0f) << "autoexec.cfg did not run";
    EXPECT_EQ(history(), Lines{"typed last run"});
    EXPECT_STREQ(console_history_older(), "typed last run");
}

TEST_F(SettingsAndHistory, CommandLineAndPlayerScriptsStillEnterIt) {
    CommandLine options;
    options.console_lines = {"show_fps 1"};
    command_line_run(options);
    std::ofstream("mine.cfg") << "varlist\n";
    console_execute("exec mine.cfg");
    EXPECT_EQ(history(), (Lines{"typed last run", "show_fps 1", "exec mine.cfg", "varlist\n"}));
    settings_save();
    std::ifstream saved(HISTORY_FILE);
    std::string text((std::istreambuf_iterator<char>(saved)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "typed last run\nshow_fps 1\nexec mine.cfg\nvarlist\n");
}
