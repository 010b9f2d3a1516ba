// The end of every frame, whatever the screen: advances the game clock, runs
// and draws the console, and owns the frame-rate count and its text.
#include "app/frame_end.h"

#include "console/registry.h"
#include "overlay/console_overlay.h"
#include "overlay/font.h"
#include "overlay/render_scale.h"

#include <cstdio>

static int frames_last_second = 0;

static ConsoleVariable* show_fps = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &show_fps,
     .name = "show_fps",
     .default_value = 1.0f,
     .help = "show the frame rate in the top right corner"},
};

static uint32_t frame_counter = 0;
static uint32_t stored_remainder = 0; // game_time_ms % 1000 at the previous frame

void show_fps_init() {
    console_add_settings(SETTINGS);
}

int fps_value() {
    return frames_last_second;
}

void clock_reset() {
    clock_restart();
    frame_counter = 0;
    stored_remainder = 0;
}

// A second has passed when the clock's remainder went down; the frame that
// ends a second is counted in it.
static void count_frame() {
    frame_counter++;
    uint32_t remainder = game_time_ms() % 1000;
    if (stored_remainder > remainder) {
        frames_last_second = static_cast<int>(frame_counter);
        frame_counter = 0;
    }
    stored_remainder = remainder;
}

static void draw_fps() {
    if (show_fps->value == 0.0f || frame_time() <= 0.0f) return;
    char text[256];
    float scale = render_scale_in_use();
    int width = 10; // cells kept free at the right for the text
    if (scale < 1.0f) {
        std::snprintf(text, sizeof text, "fps: %d scale %.2f", frames_last_second, scale);
        width = 17;
    } else {
        std::snprintf(text, sizeof text, "fps: %d", frames_last_second);
    }
    text_set_alpha(1.0f);
    text_set_color(1.0f, 1.0f, 1.0f);
    text_draw(text, text_screen_columns() - width, 0); // the top right corner
}

void frame_overlay(uint32_t elapsed_ms, bool game_paused) {
    // Paused, the clock stands still and keeps the last played frame's time,
    // so the frame after the pause runs as it would have without one (a demo
    // paused anywhere in its playback stays the recorded game).
    if (!game_paused) clock_advance(elapsed_ms);
    console_frame(static_cast<float>(elapsed_ms));
    count_frame();
    draw_fps();
}
