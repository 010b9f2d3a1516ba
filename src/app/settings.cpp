// Settings kept between runs: runs the settings files at start and writes
// them at exit, the start mode (app/video's record) among them.
#include "app/settings.h"

#include "app/find_folders.h"
#include "app/frame_cap.h"
#include "app/gamepad.h"
#include "app/screenshot.h"
#include "app/sound.h"
#include "app/video.h"
#include "console/bindings.h"
#include "console/history.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"
#include "files/folders.h"
#include "game/pause.h"
#include "game/player.h"
#include "overlay/render_scale.h"
#include "terrain/draw.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <strings.h>
#include <vector>

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
    bool found = start_mode_read(file, mode);
    std::fclose(file);
    return found;
}

bool start_mode_read(std::FILE* file, StartMode* mode) {
    bool found = false;
    // Read in lines as exec reads the file: a line too long to run is
    // skipped whole (exec reports it), and only a line that begins with the
    // word gives the command its arguments.
    std::string text;
    while (!std::feof(file)) {
        ScriptLine read = console_read_line(file, &text);
        if (read == SCRIPT_LINE_ERROR) break;
        if (read == SCRIPT_LINE_TOO_LONG || text.compare(0, 9, "startmode") != 0) continue;
        char line[CONSOLE_SLOT_SIZE + 1];
        std::snprintf(line, sizeof line, "%s", text.c_str());
        char* words[3] = {};
        int count = split_words(line, words, 3);
        if (count < 2 || std::strcmp(words[0], "startmode") != 0) continue;
        StartMode read_mode = *mode;
        if (start_mode_parse(words[1], count > 2 ? words[2] : "", &read_mode)) {
            *mode = read_mode;
            found = true;
        }
    }
    return found;
}

std::string settings_config_text() {
    std::vector<const ConsoleVariable*> oldest_first;
    for (const ConsoleVariable* v = console_variables(); v; v = v->next)
        oldest_first.insert(oldest_first.begin(), v);
    std::string text;
    for (const ConsoleVariable* v : oldest_first) {
        if (!v->row->saved || std::isnan(v->value) || v->value == v->row->default_value)
            continue;
        char value[CONSOLE_NAME_SIZE];
        console_format_value(v->value, value, sizeof value);
        text += std::string(v->name) + " " + value + "\n";
    }
    text += bindings_config_text();
    if (start_mode().row != DEFAULT_VIDEO_MODE || !start_mode().fullscreen)
        text += std::string("startmode ") + video_mode_name(start_mode().row) + " " +
                start_mode_kind_name(start_mode().fullscreen) + "\n";
    return text;
}

// Everything registered here comes after the console's own commands and
// variables, so cmdlist and varlist still end with those. Each module
// registers its own table of setting rows; the order here is varlist's,
// newest first, and config.cfg's, oldest first.
static void register_settings() {
    screenshot_init();
    console_add_command("startmode", start_mode_command);
    player_settings_init();
    sound_volume_init();
    frame_cap_init();
    render_scale_init();
    terrain_lod_init();
    pause_init();
    bindings_init(); // before config.cfg, which holds the changed bindings
    gamepad_settings_init();
    video_settings_init();
}

// Runs the file as "exec" would when it is there; a missing one is silent.
// Its lines stay out of the history: they are the game's, not the player's.
static void run_settings_file(const char* path) {
    std::error_code error;
    if (std::filesystem::exists(path, error)) console_exec_script_unrecorded(path);
}

void settings_start() {
    player_folder_report_problem();
    register_settings();
    console_history_load(player_file(HISTORY_FILE).c_str());
    run_settings_file(player_file(CONFIG_FILE).c_str());
    run_settings_file(player_file(AUTOEXEC_FILE).c_str());
}

void settings_save() {
    console_history_save(player_file(HISTORY_FILE).c_str());
    std::string text = settings_config_text();
    std::string config = player_file(CONFIG_FILE);
    if (text.empty())
        remove_file_if_present(config.c_str());
    else
        write_file_replacing(config.c_str(), text);
}
