// Command line: owns nothing between calls; reads the options into a
// CommandLine, prints the usage and the version, and hands the start mode
// and the +command lines to the rest of the start-up.
#include "app/command_line.h"

#include "app/settings.h"
#include "app/video.h"
#include "console/output.h"
#include "console/registry.h"
#include "files/folders.h"

#include <cstdio>
#include <cstring>
#include <filesystem>

static const char* const USAGE =
    "Usage: sheepfall [OPTION]... [+COMMAND [ARGUMENT]...]...\n"
    "Shoot the sheep before they land.\n"
    "\n"
    "  --windowed        start in a window instead of fullscreen\n"
    "  --mode WxHxBITS   start in this video mode: 640x400, 640x480, 800x600,\n"
    "                    1024x768 or 1280x720, at 16 or 32 bits (e.g. 800x600x32),\n"
    "                    or desktop: the display's own size\n"
    "  --data DIR        read the game's data from the folder DIR (named data)\n"
    "  --timedemo NAME   play demos/NAME.dem as fast as possible, print its\n"
    "                    timing line, the state its game ended in and the hash\n"
    "                    of all its frames, and exit (1 when it cannot be played)\n"
    "  --frame-hashes FILE  with --timedemo: write each frame's state hash to\n"
    "                    FILE, one line per frame (number and hash)\n"
    "  --help            show this help and exit\n"
    "  --version         show the version and exit\n"
    "  +COMMAND ARGS     run this console line after start-up, after config.cfg\n"
    "                    and autoexec.cfg; its words run up to the next word that\n"
    "                    starts with + or --\n"
    "\n"
    "Example: sheepfall +videomode 800x600x32 +exec demo.cfg\n";

// The problem and the usage on stderr; always false, with exit code 2.
static bool refuse(int* exit_code, const char* problem, const char* word) {
    std::fprintf(stderr, "sheepfall: %s: %s\n%s", problem, word, USAGE);
    *exit_code = 2;
    return false;
}

static bool starts_option(const char* word) {
    return word[0] == '+' || std::strncmp(word, "--", 2) == 0;
}

// Joins "+name" and the words after it, up to the next + or -- word, into
// one console line. Returns the index of the first word not taken.
static int read_console_line(int argc, char** argv, int at, std::string* line) {
    *line = argv[at] + 1;
    for (at++; at < argc && !starts_option(argv[at]); at++)
        *line += std::string(" ") + argv[at];
    return at;
}

bool command_line_parse(int argc, char** argv, CommandLine* options, int* exit_code) {
    *exit_code = 0;
    for (int i = 1; i < argc;) {
        const char* word = argv[i];
        if (word[0] == '+') {
            if (word[1] == '\0') return refuse(exit_code, "a + needs a command after it", word);
            std::string line;
            i = read_console_line(argc, argv, i, &line);
            if (line.size() >= CONSOLE_LINE_SIZE)
                return refuse(exit_code, "console line longer than 255 characters", word);
            options->console_lines.push_back(line);
            continue;
        }
        if (std::strcmp(word, "--help") == 0) {
            std::fputs(USAGE, stdout);
            return false;
        }
        if (std::strcmp(word, "--version") == 0) {
            std::printf("%s\n", GAME_VERSION);
            return false;
        }
        if (std::strcmp(word, "--windowed") == 0) {
            options->windowed = true;
        } else if (std::strcmp(word, "--mode") == 0) {
            if (i + 1 >= argc) return refuse(exit_code, "--mode needs a video mode", word);
            options->mode_row = video_mode_find(argv[i + 1]);
            if (options->mode_row < 0) return refuse(exit_code, "no such video mode", argv[i + 1]);
            i++;
        } else if (std::strcmp(word, "--data") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return refuse(exit_code, "--data needs a folder", word);
            options->data_folder = argv[i + 1];
            i++;
        } else if (std::strcmp(word, "--timedemo") == 0) {
            if (i + 1 >= argc) return refuse(exit_code, "--timedemo needs a demo name", word);
            options->timedemo = argv[++i];
        } else if (std::strcmp(word, "--frame-hashes") == 0) {
            if (i + 1 >= argc || argv[i + 1][0] == '\0')
                return refuse(exit_code, "--frame-hashes needs a file name", word);
            // Named from the folder the game was started in, which the game
            // may leave for its own.
            std::error_code error;
            options->frame_hashes = std::filesystem::absolute(argv[++i], error).string();
            if (error) return refuse(exit_code, error.message().c_str(), argv[i]);
        } else {
            return refuse(exit_code, "unknown option", word);
        }
        i++;
    }
    if (!options->frame_hashes.empty() && options->timedemo.empty())
        return refuse(exit_code, "--frame-hashes goes with --timedemo", "--frame-hashes");
    return true;
}

void command_line_choose_start_mode(const CommandLine& options) {
    StartMode saved = start_mode();
    start_mode_scan(player_file(CONFIG_FILE).c_str(), &saved);
    start_mode_set(saved);
    StartMode mode = saved; // the command line's choice is for this run only
    if (options.mode_row >= 0) mode.row = options.mode_row;
    if (options.mode_row == VIDEO_MODE_DESKTOP) mode.fullscreen = true; // unless --windowed
    if (options.windowed) mode.fullscreen = false;
    video_mode_choose(mode.row, mode.fullscreen);
}

void command_line_run(const CommandLine& options) {
    for (const std::string& line : options.console_lines)
        console_execute(line.c_str());
}
