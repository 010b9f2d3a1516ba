// The one window, its OpenGL context, the table of video modes and the
// console commands that switch between them at run time.
#pragma once

#include "platform/display.h" // present_frame lives here

#include <SDL_video.h>

constexpr int VIDEO_MODE_NAME_SIZE = 256;

struct VideoMode {
    char name[VIDEO_MODE_NAME_SIZE]; // "WIDTHxHEIGHTxBITS"
    int width;
    int height;
    int bits;
};

constexpr int VIDEO_MODE_COUNT = 10;
constexpr int DEFAULT_VIDEO_MODE = 8; // 1024x768x32, fullscreen
// "desktop": not a row of the table but the display's own size, fullscreen
// without switching the display's mode (windowed: a window that large).
constexpr int VIDEO_MODE_DESKTOP = VIDEO_MODE_COUNT;
extern const VideoMode video_modes[VIDEO_MODE_COUNT];
int current_video_mode(); // row of video_modes in use, or VIDEO_MODE_DESKTOP
bool video_fullscreen();  // the kind of window to create
// The mode and kind of the window video_init or the next video_mode_change
// makes.
void video_mode_choose(int row, bool fullscreen_window);

// The name a mode is shown and matched by: its row's, or "desktop".
const char* video_mode_name(int mode);
// Creates keep_aspect (0: the picture stretches with the window; 1: it keeps
// its shape), kept in config.cfg.
void video_settings_init();

bool video_init();
bool window_create(const char* title, int width, int height, int bits, bool fullscreen_window);
void window_destroy();
// The last teardown: the window, then the OpenGL library loaded for it.
void video_shutdown();
void gl_init_state();
// Makes the window of current_video_mode() and video_fullscreen() anew; a mode whose
// window cannot be made gives way to the last one that worked.
void video_mode_change();
// True when neither the new mode nor the one before could be made: the
// main loop then ends, the settings are saved and the exit code is 1.
bool video_window_lost();
void window_resize(int width, int height);
// Sets the viewport to the window's drawable size (after a size change).
void window_resize_to_drawable();
// Swaps the buffers without the flush of present_frame.
void swap_buffers();

// Of a display's modes, the one a fullscreen request switches to: the
// smallest at least as large as the request; among those of that size one of
// the requested depth (16, or 24 and 32 for 32) first, then the highest
// refresh rate. -1 when no mode is large enough.
int closest_mode_index(const SDL_DisplayMode* modes, int count, int width, int height, int bits);

// The first row whose name equals the start of the text (case-insensitive
// over the name's length), else VIDEO_MODE_DESKTOP for a text that begins
// with "desktop" the same way, or -1.
int video_mode_find(const char* text);

// The video mode and kind of window a start opens in.
struct StartMode {
    int row;         // of video_modes, or VIDEO_MODE_DESKTOP
    bool fullscreen; // false: a window of its own
};

// What the next start opens in: recorded by "videomode", "togglefullscreen"
// and "startmode", read from and written to config.cfg.
const StartMode& start_mode();
void start_mode_set(const StartMode& mode);

// Reads a mode word and an optional "fullscreen" / "windowed" into the mode;
// false when either is not understood.
bool start_mode_parse(const char* mode_word, const char* kind_word, StartMode* mode);
// The window's present mode and kind become the next start's.
void start_mode_record_current();
// "fullscreen" or "windowed", as config.cfg and "startmode" write it.
const char* start_mode_kind_name(bool fullscreen);
// "startmode": shows or sets the mode the next start opens in; the window
// of this run stays as it is.
void start_mode_command();
