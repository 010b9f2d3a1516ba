// Entry and screen states: owns app_active, the dead picture, the title model
// and the loop's previous-frame timestamp; runs start-up in its fixed order
// and dispatches every frame on the screen state.
#include "app/app.h"

#include "app/clock.h"
#include "app/command_line.h"
#include "app/events.h"
#include "app/frame_cap.h"
#include "app/mouse.h"
#include "app/platform.h"
#include "app/screenshot.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/video.h"
#include "console/output.h"
#include "console/registry.h"
#include "game/demo.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/play.h"
#include "game/player.h"
#include "gl.h"
#include "input/input.h"
#include "model/draw.h"
#include "model/model.h"
#include "overlay/font.h"
#include "platform/sound.h"
#include "textures/texture.h"

#include <SDL.h>

#include <cstdio>
#include <string>

bool app_active = true;
Texture* dead_picture = nullptr;
Model title_model;

static uint32_t previous_ticks = 0;

bool system_init() {
    clock_reset();
    if (!console_output_init()) return false;
    if (!console_registry_init()) return false;
    if (!texture_manager_init()) return false;
    if (!font_init()) return false;
    if (!mouse_init()) return false;
    show_fps = console_get_variable("show_fps", 1.0f);
    console_print("[System initialized]");
    console_print("type ? for help");
    return true;
}

bool game_init() {
    if (!system_init()) {
        console_print_error("Error System init");
        return false;
    }
    if (!sound_init()) return false;
    demo_init();
    settings_start(); // the added commands and variables, history, config.cfg, autoexec.cfg
    if (!flock_init()) return false;
    game_time_ms = 0;
    dead_picture = texture_load("data/dead.png", true);
    if (!dead_picture) return false;
    if (!model_load(&title_model, "data/box.ms3d", "data/box.txt")) return false;
    new_game_reset(); // a weapon or picture that fails has printed its error
    start_new_game_level();
    return true;
}

// The first level of a new game. When it fails to load, the level code has
// left the game on the title screen, where Enter tries again.
void start_new_game_level() {
    level_advance();
    if (game_state != STATE_TITLE) game_state = STATE_PLAY;
}

// Three turning boxes over the uncleared frame: one plain, then two added on
// top of it. The rotations pile up on the one model-view matrix.
void title_frame() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(150.0, 1.0, 0.1, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -10.0f);
    float t = game_time;
    glRotatef(t * 0.125f, 1.0f, 0.7f, 0.5f);
    model_draw(&title_model);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glRotatef(-t * 0.125f, 1.0f, 0.7f, 0.5f);
    glRotatef(-t * 0.14285714285714285f, 0.8f, 0.5f, 0.9f);
    model_draw(&title_model);
    glRotatef(-t * 0.14285714285714285f, 0.8f, 0.5f, 0.9f);
    glRotatef(t * 0.1f, 0.2f, 1.0f, 0.5f);
    model_draw(&title_model);
    glDisable(GL_BLEND);
    GL_CHECK("title_frame");
    if (key_was_pressed(VK_RETURN)) {
        new_game_reset();
        start_new_game_level();
    }
}

void dead_frame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    overlay_draw_centred_picture(dead_picture);
}

static void victory_frame() {
    glClearColor(1.0f, 1.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT); // the depth buffer is left as it is
}

bool run_frame(uint32_t elapsed_ms) {
    switch (game_state) {
    case STATE_TITLE: title_frame(); break;
    case STATE_PLAY: play_frame(); break;
    case STATE_DEAD: dead_frame(); break;
    case STATE_VICTORY: victory_frame(); break;
    default: break;
    }
    glDisable(GL_DEPTH_TEST);
    frame_overlay(elapsed_ms);
    glEnable(GL_DEPTH_TEST);
    return !key_is_down(VK_ESCAPE);
}

void app_shutdown() {
    sound_shutdown();
    mouse_release();
}

void main_loop_start() {
    previous_ticks = timer_ticks();
}

bool main_loop_step() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (!handle_event(event)) return false;
    if (!app_active) {
        // Minimised: no frame runs. Wait for the next event rather than spin;
        // the first frame afterwards still gets the whole minimised time.
        SDL_WaitEventTimeout(nullptr, 100);
        return true;
    }
    uint32_t now = timer_ticks();
    // A demo being recorded writes down the frame's time and input; one being
    // played replaces them by its own.
    uint32_t elapsed = demo_frame_input(now - previous_ticks, timer_seconds());
    bool go_on = run_frame(elapsed);
    screenshot_frame_done(); // the finished frame, before the swap
    sound_volume_update();
    keys_frame_done();
    swap_buffers();
    if (!go_on) return false;
    previous_ticks = now;
    if (!demo_paces_frames())
        frame_cap_wait(now);
    else if (uint32_t wait = demo_pace_wait_ms(timer_seconds()))
        timer_delay(wait);
    return true;
}

static int run_main_loop() {
    while (main_loop_step()) {
    }
    return 0;
}

// --timedemo: plays the demo as fast as the machine draws and prints its
// timing line on stdout; 1 when it cannot be played or is cut off.
static int run_timedemo(const std::string& name) {
    if (!demo_play(name.c_str(), true)) {
        std::fprintf(stderr, "sheepfall: %s\n", demo_error_line().c_str());
        return 1;
    }
    while (main_loop_step() && demo_mode() == DEMO_TIMING) {
    }
    if (demo_timing_line().empty()) {
        std::fprintf(stderr, "sheepfall: the timedemo was cut off\n");
        return 1;
    }
    std::printf("%s\n", demo_timing_line().c_str());
    return 0;
}

int app_main(int argc, char** argv) {
    CommandLine options;
    int exit_code = 0;
    if (!command_line_parse(argc, argv, &options, &exit_code)) return exit_code;
    change_to_data_folder();
    command_line_choose_start_mode(options);
    main_loop_start();
    if (!video_init()) {
        video_shutdown();
        return 0;
    }
    if (!game_init()) {
        window_destroy();
        message_box("ERROR", "Initialization Failed.", ICON_WARNING);
        video_shutdown();
        return 0;
    }
    command_line_run(options);
    SDL_DisableScreenSaver();
    exit_code = options.timedemo.empty() ? run_main_loop() : run_timedemo(options.timedemo);
    demo_stop(); // a recording is written; a playback gives back the look settings
    settings_save();
    app_shutdown();
    video_shutdown();
    return exit_code;
}
