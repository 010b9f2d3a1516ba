// The command line: --help, --version, the data folder (--data DIR), the
// start mode (--windowed, --mode WxHxB) and console lines to run after
// start-up (+command args).
#pragma once

#include "game/version.h"

#include <string>
#include <vector>

struct CommandLine {
    bool windowed = false;
    int mode_row = -1;                      // of video_modes; -1: not given
    std::string data_folder;                // --data; empty: not given
    std::vector<std::string> console_lines; // in the order given
    std::string timedemo;                   // demo to time, then exit; empty: none
    std::string frame_hashes;               // the timedemo's frame hashes go here; empty: none
};

// Reads the arguments. False when the process is to end at once with
// *exit_code: 0 after --help or --version (printed on stdout), 2 after an
// unknown option, a bad --mode or --frame-hashes without --timedemo (the
// problem and the usage on stderr). --frame-hashes' file becomes an absolute
// path.
bool command_line_parse(int argc, char** argv, CommandLine* options, int* exit_code);

// The mode the window opens in: config.cfg's start mode, overridden by the
// command line's choices; sets the video module's mode and kind.
void command_line_choose_start_mode(const CommandLine& options);

// Runs the +command lines, in order, as typed console lines.
void command_line_run(const CommandLine& options);
