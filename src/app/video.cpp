// Video: owns the window, its OpenGL context, the display mode, the video-mode
// table, the window's drawable size and keep_aspect. Fullscreen goes to the
// display mode closest to the requested one; leaving it restores the
// desktop's mode. The desktop mode covers the display at its own size and
// never switches its mode.
#include "app/video.h"

#include "app/extensions.h"
#include "app/mouse.h"
#include "app/platform.h"
#include "console/output.h"
#include "console/registry.h"
#include "gl.h"
#include "platform/clock.h"
#include "textures/texture.h"

#include <SDL.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>
#include <vector>

const VideoMode video_modes[VIDEO_MODE_COUNT] = {
    {"640x400x16", 640, 400, 16},   {"640x480x16", 640, 480, 16},   {"800x600x16", 800, 600, 16},
    {"1024x768x16", 1024, 768, 16}, {"1280x720x16", 1280, 720, 16}, {"640x400x32", 640, 400, 32},
    {"640x480x32", 640, 480, 32},   {"800x600x32", 800, 600, 32},   {"1024x768x32", 1024, 768, 32},
    {"1280x720x32", 1280, 720, 32},
};

static int mode_in_use = DEFAULT_VIDEO_MODE; // row of video_modes, or VIDEO_MODE_DESKTOP
static bool fullscreen = true;               // the kind of window to create

static const char* const WINDOW_TITLE = "OpenGL Console";
static SDL_Window* window = nullptr;
static SDL_GLContext context = nullptr;
static bool gl_library_loaded = false;
// The last mode whose window was made: where a failed mode change goes back.
static int working_mode = DEFAULT_VIDEO_MODE;
static bool working_fullscreen = true;
static bool window_lost = false; // no mode at all could be made
// A mode change in progress: a refused mode gives way to the one before it,
// so answering No does not close the game.
static bool mode_to_go_back_to = false;
static int drawable_width = 0, drawable_height = 0;
static ConsoleVariable* keep_aspect = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &keep_aspect,
     .name = "keep_aspect",
     .default_value = 0.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .whole_numbers = true,
     .help = "1: the picture keeps its shape in a window that is not 4:3; 0: it stretches"},
};
static const char* const DESKTOP_NAME = "desktop";

static void error_box(const char* text) {
    message_box("ERROR", text, ICON_WARNING);
}
// A failed step of window creation: SDL's own reason on stderr, whatever is
// held released, then the step's box. Always false.
static bool creation_failed(const char* text) {
    std::fprintf(stderr, "SDL: %s\n", SDL_GetError());
    window_destroy();
    error_box(text);
    return false;
}
static void shutdown_box(const char* text) {
    message_box("SHUTDOWN ERROR", text, ICON_INFORMATION);
}

static bool set_pixel_format(int bits) {
    int red = bits == 16 ? 5 : 8, green = bits == 16 ? 6 : 8, blue = bits == 16 ? 5 : 8;
    return SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_RED_SIZE, red) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, green) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, blue) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_ALPHA_SIZE, 0) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0) == 0 &&
           SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY) ==
               0;
}

// The game draws every frame into the back buffer and swaps: a context
// without one would show each frame while it is being drawn.
static bool has_double_buffer() {
    int double_buffer = 0;
    return SDL_GL_GetAttribute(SDL_GL_DOUBLEBUFFER, &double_buffer) == 0 && double_buffer == 1;
}

int closest_mode_index(const SDL_DisplayMode* modes, int count, int width, int height, int bits) {
    auto depth_matches = [bits](const SDL_DisplayMode& mode) {
        int depth = SDL_BITSPERPIXEL(mode.format);
        return bits == 16 ? depth <= 16 : depth > 16;
    };
    int best = -1;
    for (int i = 0; i < count; i++) {
        const SDL_DisplayMode& mode = modes[i];
        if (mode.w < width || mode.h < height) continue;
        if (best < 0) {
            best = i;
            continue;
        }
        const SDL_DisplayMode& chosen = modes[best];
        long area = static_cast<long>(mode.w) * mode.h;
        long chosen_area = static_cast<long>(chosen.w) * chosen.h;
        if (area != chosen_area) {
            if (area < chosen_area) best = i;
            continue;
        }
        if (depth_matches(mode) != depth_matches(chosen)) {
            if (depth_matches(mode)) best = i;
            continue;
        }
        if (mode.refresh_rate > chosen.refresh_rate) best = i;
    }
    return best;
}

// The display mode of the first display to switch to, or false when the
// display has none large enough.
static bool closest_display_mode(int width, int height, int bits, SDL_DisplayMode* mode) {
    int count = SDL_GetNumDisplayModes(0);
    if (count <= 0) return false;
    std::vector<SDL_DisplayMode> modes(static_cast<size_t>(count));
    for (int i = 0; i < count; i++)
        if (SDL_GetDisplayMode(0, i, &modes[i]) != 0) modes[i] = SDL_DisplayMode{};
    int best = closest_mode_index(modes.data(), count, width, height, bits);
    if (best < 0) return false;
    *mode = modes[best];
    return true;
}

static bool ask_for_window_instead() {
    if (message_box_yes_no("OpenGL Console", "The Requested Fullscreen Mode Is Not Supported By\n"
                                             "Your Video Card. Use Windowed Mode Instead?"))
        return true;
    if (!mode_to_go_back_to) message_box("ERROR", "Program Will Now Close.", ICON_ERROR);
    return false;
}

// Switches the display to the mode and makes the shown window, already of
// the mode's size, cover it; then checks that this took. False when the
// display refused: the window is then a window of the requested size.
static bool enter_fullscreen(const SDL_DisplayMode& mode, int width, int height) {
    if (SDL_SetWindowDisplayMode(window, &mode) == 0 &&
        SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN) == 0) {
        SDL_DisplayMode now{};
        bool in_mode = SDL_GetCurrentDisplayMode(0, &now) == 0 && now.w == mode.w && now.h == mode.h;
        if (in_mode && (SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN)) return true;
    }
    std::fprintf(stderr, "SDL: fullscreen %dx%d refused: %s\n", mode.w, mode.h, SDL_GetError());
    SDL_SetWindowFullscreen(window, 0);
    SDL_SetWindowSize(window, width, height);
    return false;
}

// SDL falls back to its offscreen driver when it cannot reach the display
// (no X server, or a server that dropped the connection while it reset):
// the window would be invisible, so that only counts when asked for.
static bool driver_shows_windows() {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (!driver) return false;
    if (SDL_strcmp(driver, "offscreen") != 0 && SDL_strcmp(driver, "dummy") != 0) return true;
    const char* wanted = SDL_getenv("SDL_VIDEODRIVER");
    if (wanted && SDL_strcasecmp(wanted, driver) == 0) return true;
    SDL_SetError("no display could be opened (video driver \"%s\"); is DISPLAY set?", driver);
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
}

// The GL library is loaded with the first window and stays loaded through
// every video mode change; video_shutdown unloads it.
static bool load_gl_library() {
    if (!gl_library_loaded) gl_library_loaded = SDL_GL_LoadLibrary(nullptr) == 0;
    return gl_library_loaded;
}

// Covers the display at its own size, without switching its mode. False
// when SDL refused: the window is then a window of the display's size.
static bool enter_desktop_fullscreen() {
    if (SDL_SetWindowFullscreen(window, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0) return true;
    std::fprintf(stderr, "SDL: desktop fullscreen refused: %s\n", SDL_GetError());
    return false;
}

static bool start_video() {
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    return driver_shows_windows();
}

// desktop: width and height are the display's own and fullscreen covers it
// without a mode switch.
static bool create_window(const char* title, int width, int height, int bits,
                          bool fullscreen_window, bool desktop) {
    // Fullscreen takes the display's closest mode at least as large as the
    // request, and the window is made that large from the start, so it covers
    // the screen even where no window manager resizes it.
    SDL_DisplayMode mode{};
    bool switch_mode = false;
    if (fullscreen_window && !desktop) {
        switch_mode = closest_display_mode(width, height, bits, &mode);
        if (!switch_mode) {
            if (!ask_for_window_instead()) return false;
            fullscreen = false;
        }
    }
    if (!load_gl_library()) return creation_failed("Can't Create A GL Device Context.");
    if (!set_pixel_format(bits)) return creation_failed("Can't Find A Suitable PixelFormat.");
    int window_width = switch_mode ? mode.w : width, window_height = switch_mode ? mode.h : height;
    window = SDL_CreateWindow(title, 0, 0, window_width, window_height,
                              SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window) return creation_failed("Window Creation Error.");
    message_box_set_parent(window);
    context = SDL_GL_CreateContext(window);
    if (!context) return creation_failed("Can't Create A GL Rendering Context.");
    if (SDL_GL_MakeCurrent(window, context) != 0)
        return creation_failed("Can't Activate The GL Rendering Context.");
    SDL_GL_SetSwapInterval(1); // wait for the display's refresh where the driver offers it
    if (!has_double_buffer()) return creation_failed("Can't Set The PixelFormat.");
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
    SDL_SetWindowInputFocus(window); // the keyboard follows the new window
    // The mode switch only takes on a shown window.
    bool covered = true;
    if (switch_mode) covered = enter_fullscreen(mode, width, height);
    if (fullscreen_window && desktop) covered = enter_desktop_fullscreen();
    if (!covered) {
        if (!ask_for_window_instead()) {
            window_destroy();
            return false;
        }
        fullscreen = false;
    }
    // The picture fills whatever size the window really got.
    window_resize_to_drawable();
    gl_init_state();
    return true;
}

bool window_create(const char* title, int width, int height, int bits, bool fullscreen_window) {
    if (!start_video()) return creation_failed("Failed To Register The Window Class.");
    return create_window(title, width, height, bits, fullscreen_window, false);
}

// The desktop mode: a window as large as the display, at 32 bits.
static bool window_create_desktop(const char* title, bool fullscreen_window) {
    if (!start_video()) return creation_failed("Failed To Register The Window Class.");
    SDL_DisplayMode desktop{};
    if (SDL_GetDesktopDisplayMode(0, &desktop) != 0)
        return creation_failed("Window Creation Error.");
    return create_window(title, desktop.w, desktop.h, 32, fullscreen_window, true);
}

void window_destroy() {
    if (context) {
        if (SDL_GL_MakeCurrent(window, nullptr) != 0) shutdown_box("Release Of DC And RC Failed.");
        SDL_GL_DeleteContext(context);
        context = nullptr;
    }
    if (window) {
        // Destroying a fullscreen window gives the desktop its own mode back.
        SDL_DestroyWindow(window);
        window = nullptr;
    }
    message_box_set_parent(nullptr);
}

void video_shutdown() {
    window_destroy();
    if (gl_library_loaded) SDL_GL_UnloadLibrary();
    gl_library_loaded = false;
}

void gl_init_state() {
    gl_driver_new_context(); // display lists of earlier contexts are not ours now
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClearDepth(1.0);
    glDisable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    GL_CHECK("gl_init_state");
}

// Probe, multitexture warning and sphere-map generation for a new context.
static void configure_context() {
    extensions_start_context();
    if (!gl_driver().multitexture) console_print_error("multitexturing not supported");
    GL_CHECK("configure_context");
}

static bool create_current_mode() {
    if (mode_in_use == VIDEO_MODE_DESKTOP) {
        if (!window_create_desktop(WINDOW_TITLE, fullscreen)) return false;
    } else {
        const VideoMode& mode = video_modes[mode_in_use];
        if (!window_create(WINDOW_TITLE, mode.width, mode.height, mode.bits, fullscreen))
            return false;
    }
    working_mode = mode_in_use;
    working_fullscreen = fullscreen;
    return true;
}

// A mode whose window cannot be made gives way to the mode that worked
// before. Only when that fails too is the window lost, and the game ends.
static bool create_mode_or_go_back() {
    mode_to_go_back_to = true;
    bool created = create_current_mode();
    mode_to_go_back_to = false;
    if (created) return true;
    console_printf("Can't set video mode %s: going back to %s", video_mode_name(mode_in_use),
                   video_mode_name(working_mode));
    mode_in_use = working_mode;
    fullscreen = working_fullscreen;
    if (create_current_mode()) return true;
    window_lost = true;
    return false;
}

bool video_window_lost() {
    return window_lost;
}

void video_mode_change() {
    console_print("Changing video mode...");
    texture_delete_all();
    window_destroy();
    mouse_release();
    if (!create_mode_or_go_back()) return;
    texture_reload_all();
    mouse_init();
    configure_context();
    clock_mark_stall(); // the new window's time is not game time
}

static bool begins_with_name(const char* text, const char* name) {
    size_t length = std::strlen(name);
    return std::strlen(text) >= length && strncasecmp(text, name, length) == 0;
}

int video_mode_find(const char* text) {
    for (int i = 0; i < VIDEO_MODE_COUNT; i++)
        if (begins_with_name(text, video_modes[i].name)) return i;
    return begins_with_name(text, DESKTOP_NAME) ? VIDEO_MODE_DESKTOP : -1;
}

const char* video_mode_name(int mode) {
    if (mode >= 0 && mode < VIDEO_MODE_COUNT) return video_modes[mode].name;
    return DESKTOP_NAME;
}

static StartMode next_start = {DEFAULT_VIDEO_MODE, true};

int current_video_mode() {
    return mode_in_use;
}

bool video_fullscreen() {
    return fullscreen;
}

void video_mode_choose(int row, bool fullscreen_window) {
    mode_in_use = row;
    fullscreen = fullscreen_window;
}

const StartMode& start_mode() {
    return next_start;
}

void start_mode_set(const StartMode& mode) {
    next_start = mode;
}

const char* start_mode_kind_name(bool fullscreen) {
    return fullscreen ? "fullscreen" : "windowed";
}

bool start_mode_parse(const char* mode_word, const char* kind_word, StartMode* mode) {
    int row = video_mode_find(mode_word);
    if (row < 0) return false;
    bool kind = row == VIDEO_MODE_DESKTOP || mode->fullscreen;
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
    next_start = {mode_in_use, fullscreen};
}

// "startmode": shows or sets the mode the next start opens in; the window
// of this run stays as it is.
void start_mode_command() {
    if (console_arg_count() < 1) {
        console_printf("start mode : %s %s", video_mode_name(next_start.row),
                       start_mode_kind_name(next_start.fullscreen));
        return;
    }
    if (!start_mode_parse(console_arg(0), console_arg(1), &next_start))
        console_print_error("usage: startmode [WIDTHxHEIGHTxBPP] [fullscreen|windowed]");
}

// Both commands leave the mode they set as the next start's too.
static void command_togglefullscreen() {
    fullscreen = !fullscreen;
    video_mode_change();
    start_mode_record_current();
}

static void command_videomode() {
    if (console_arg_count() < 1) {
        console_print_error("usage: setmode [WIDTHxHEIGHTxBPP]");
        console_printf("video mode : %s", video_mode_name(mode_in_use));
        return;
    }
    int row = video_mode_find(console_arg(0));
    if (row < 0) {
        console_print_error("video mode not found ");
        console_print_error("usage: setmode [WIDTHxHEIGHTxBPP]");
        return;
    }
    mode_in_use = row;
    if (row == VIDEO_MODE_DESKTOP) fullscreen = true; // the point of the mode
    console_printf("setting video mode %s...", video_mode_name(row));
    video_mode_change();
    start_mode_record_current();
}

bool video_init() {
    if (!create_current_mode()) return false;
    configure_context();
    console_add_command("togglefullscreen", command_togglefullscreen);
    console_add_command("videomode", command_videomode);
    return true;
}

void window_resize(int width, int height) {
    glViewport(0, 0, width, height);
    drawable_width = width;
    drawable_height = height;
}

float window_aspect() {
    if (drawable_width <= 0 || drawable_height <= 0) return 1.0f;
    return static_cast<float>(drawable_width) / static_cast<float>(drawable_height);
}

void window_drawable_size(int* width, int* height) {
    *width = drawable_width;
    *height = drawable_height;
}

bool picture_keeps_aspect() {
    return keep_aspect->value != 0.0f;
}

void video_settings_init() {
    console_add_settings(SETTINGS);
}

void window_resize_to_drawable() {
    if (!window) return;
    int width = 0, height = 0;
    SDL_GL_GetDrawableSize(window, &width, &height);
    window_resize(width, height);
}

void present_frame() {
    glFlush();
    swap_buffers();
}

void swap_buffers() {
    if (window) SDL_GL_SwapWindow(window);
}
