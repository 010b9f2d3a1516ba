// Settings kept between runs: owns the start mode record and the command
// "startmode"; runs the settings files at start and writes them at exit.
#include "app/settings.h"

#include "app/frame_cap.h"
#include "app/screenshot.h"
#include "app/sound.h"
#include "app/video.h"
#include "console/editor.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"
#include "game/player.h"
#include "terrain/draw.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>
#include <vector>

static constexpr StartMode DEFAULT_START_MODE = {8, true}; // 1024x768x32 fullscreen
StartMode start_mode = DEFAULT_START_MODE;

// save_to_log is about this run's log, which every run starts anew from its
// first line: a 0 carried over would silently stop the next run's log.
static const char* const NOT_SAVED[] = {"save_to_log"};

static const char* kind_name(bool fullscreen) {
    return fullscreen ? "fullscreen" : "windowed";
}

bool start_mode_parse(const char* mode_word, const char* kind_word, StartMode* mode) {
    int row = video_mode_find(mode_word);
    if (row < 0) return false;
    bool kind = mode->fullscreen;
    if (strcasecmp(kind_word, "fullscreen") == 0)
        kind = true;
    else if (strcasecmp(kind_word, "windowed") == 0)
        kind = false;
    else if (kind_word[0] != '\0')
        return false;
    *mode = {row, kind};
    return true;
}

void start_mode_record_current() {
    start_mode = {current_video_mode, fullscreen};
}

// "startmode": shows or sets the mode the next start opens in; the window
// of this run stays as it is.
static void command_startmode() {
    if (console_arg_count() < 1) {
        console_printf("start mode : %s %s", video_modes[start_mode.row].name,
                       kind_name(start_mode.fullscreen));
        return;
    }
    if (!start_mode_parse(console_arg(0), console_arg(1), &start_mode))
        console_print_error("usage: startmode [WIDTHxHEIGHTxBPP] [fullscreen|windowed]");
}

// The words of a line, split at blanks (at most `count`).
static int split_words(char* line, char** words, int count) {
    int found = 0;
    for (char* word = std::strtok(line, " \t\r\n\v\f"); word && found < count;
         word = std::strtok(nullptr, " \t\r\n\v\f"))
        words[found++] = word;
    return found;
}

bool start_mode_scan(const char* path, StartMode* mode) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return false;
    std::FILE* file = std::fopen(path, "r");
    if (!file) return false;
    bool found = false;
    // Read in lines of at most 255 characters, as exec reads the file; only
    // a line that begins with the word gives the command its arguments.
    char line[CONSOLE_LINE_SIZE];
    while (std::fgets(line, sizeof line, file)) {
        if (std::strncmp(line, "startmode", 9) != 0) continue;
        char* words[3] = {};
        int count = split_words(line, words, 3);
        if (count < 2 || std::strcmp(words[0], "startmode") != 0) continue;
        StartMode read = *mode;
        if (start_mode_parse(words[1], count > 2 ? words[2] : "", &read)) {
            *mode = read;
            found = true;
        }
    }
    std::fclose(file);
    return found;
}

static bool saved_between_runs(const ConsoleVariable* variable) {
    for (const char* name : NOT_SAVED)
        if (std::strcmp(variable->name, name) == 0) return false;
    return true;
}

std::string settings_config_text() {
    std::vector<const ConsoleVariable*> oldest_first;
    for (const ConsoleVariable* v = console_variables(); v; v = v->next)
        oldest_first.insert(oldest_first.begin(), v);
    std::string text;
    for (const ConsoleVariable* v : oldest_first) {
        if (!saved_between_runs(v) || std::isnan(v->value) || v->value == v->default_value)
            continue;
        char value[CONSOLE_NAME_SIZE];
        console_format_value(v->value, value, sizeof value);
        text += std::string(v->name) + " " + value + "\n";
    }
    if (start_mode.row != DEFAULT_START_MODE.row ||
        start_mode.fullscreen != DEFAULT_START_MODE.fullscreen)
        text += std::string("startmode ") + video_modes[start_mode.row].name + " " +
                kind_name(start_mode.fullscreen) + "\n";
    return text;
}

// Everything registered here comes after the console's own commands and
// variables, so cmdlist and varlist still end with those.
static void register_settings() {
    screenshot_init();
    console_add_command("startmode", command_startmode);
    player_settings_init();
    sound_volume_init();
    frame_cap_init();
    terrain_lod_init();
}

// Runs the file as "exec" would when it is there; a missing one is silent.
static void run_settings_file(const char* path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) console_exec_script(path);
}

void settings_start() {
    register_settings();
    console_history_load(HISTORY_FILE);
    run_settings_file(CONFIG_FILE);
    run_settings_file(AUTOEXEC_FILE);
}

void settings_save() {
    console_history_save(HISTORY_FILE);
    std::string text = settings_config_text();
    if (text.empty())
        remove_file_if_present(CONFIG_FILE);
    else
        write_file_replacing(CONFIG_FILE, text);
}
