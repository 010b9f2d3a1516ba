// Settings kept between runs, in the player's folder: config.cfg (the
// variables and key bindings the player changed and the start mode),
// autoexec.cfg (the player's own script) and history.txt (the console lines
// of the last run).
#pragma once

#include "app/video.h" // StartMode

#include <cstdio>
#include <string>

constexpr const char* CONFIG_FILE = "config.cfg";
constexpr const char* AUTOEXEC_FILE = "autoexec.cfg";
constexpr const char* HISTORY_FILE = "history.txt";

// Registers the commands and variables that come on top of the console's
// own, after all of them; loads history.txt, then runs config.cfg and
// autoexec.cfg as "exec" would, except that their lines do not enter the
// history. Missing files are passed over in silence.
void settings_start();
// At a normal exit: writes history.txt and config.cfg (or removes config.cfg
// when nothing differs from the defaults).
void settings_save();

// The text of config.cfg: one line per variable whose value differs from its
// default, the key bindings that differ from the defaults ("bind"/"unbind"
// lines), then the start mode when it is not 1024x768x32 fullscreen.
std::string settings_config_text();

// The start mode named by a config file's "startmode" lines (the last usable
// one), read without running the file. False, with the mode untouched, when
// the file has none.
bool start_mode_scan(const char* path, StartMode* mode);
// The same for a file already open; the caller closes it.
bool start_mode_read(std::FILE* file, StartMode* mode);
