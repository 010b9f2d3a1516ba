// Settings kept between runs, in the player's folder: config.cfg (the
// variables the player changed and the start mode), autoexec.cfg (the
// player's own script) and history.txt (the console lines of the last run).
#pragma once

#include <cstdio>
#include <string>

constexpr const char* CONFIG_FILE = "config.cfg";
constexpr const char* AUTOEXEC_FILE = "autoexec.cfg";
constexpr const char* HISTORY_FILE = "history.txt";

// The video mode and kind of window a start opens in.
struct StartMode {
    int row;         // of video_modes
    bool fullscreen; // false: a window of its own
};

// What the next start opens in: recorded by "videomode", "togglefullscreen"
// and "startmode", and written to config.cfg.
extern StartMode start_mode;

// Registers the commands and variables that come on top of the console's
// own, after all of them; loads history.txt, then runs config.cfg and
// autoexec.cfg as "exec" would, except that their lines do not enter the
// history. Missing files are passed over in silence.
void settings_start();
// At a normal exit: writes history.txt and config.cfg (or removes config.cfg
// when nothing differs from the defaults).
void settings_save();

// The text of config.cfg: one line per variable whose value differs from its
// default, then the start mode when it is not 1024x768x32 fullscreen.
std::string settings_config_text();

// The start mode named by a config file's "startmode" lines (the last usable
// one), read without running the file. False, with the mode untouched, when
// the file has none.
bool start_mode_scan(const char* path, StartMode* mode);
// The same for a file already open; the caller closes it.
bool start_mode_read(std::FILE* file, StartMode* mode);
// Reads a mode word and an optional "fullscreen" / "windowed" into the mode;
// false when either is not understood.
bool start_mode_parse(const char* mode_word, const char* kind_word, StartMode* mode);
// The window's present mode and kind become the next start's.
void start_mode_record_current();
