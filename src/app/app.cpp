// Entry and main loop: owns the loop's previous-frame timestamp; runs
// start-up in its fixed order, then one frame after another until Escape
// or the window's close.
#include "app/app.h"

#include "app/frame_end.h"
#include "app/command_line.h"
#include "app/events.h"
#include "app/find_folders.h"
#include "app/frame_cap.h"
#include "app/gamepad.h"
#include "app/hangup.h"
#include "app/mouse.h"
#include "app/platform.h"
#include "app/screenshot.h"
#include "app/settings.h"
#include "app/sound.h"
#include "app/video.h"
#include "console/bindings.h"
#include "console/builtins.h"
#include "console/editor.h"
#include "console/output.h"
#include "console/registry.h"
#include "game/demo.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/player.h"
#include "gl.h"
#include "input/actions.h"
#include "input/input.h"
#include "model/draw.h"
#include "model/model.h"
#include "overlay/font.h"
#include "overlay/render_scale.h"
#include "platform/sound.h"
#include "textures/texture.h"

#include <SDL.h>

#include <cstdio>
#include <string>

static uint32_t previous_ticks = 0;
// After the game's own long work, how long the window system may still move
// the focus about without pausing the game.
static const uint32_t FOCUS_SETTLE_MS = 1000;

bool system_init() {
    clock_reset();
    if (!console_init()) return false;
    if (!texture_manager_init()) return false;
    if (!font_init()) return false;
    if (!mouse_init()) return false;
    show_fps_init();
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
    gamepad_init(); // without one the game plays on with keyboard and mouse
    demo_init();
    settings_start(); // the added commands and variables, history, config.cfg, autoexec.cfg
    if (!flock_init()) return false;
    clock_restart();
    if (!screens_init()) return false;
    // A weapon or picture that fails has said so; the title screen then
    // waits for Enter to try again.
    start_new_game();
    return true;
}

// The mouse's motion and the pad's turn over the frame go to the next
// frame's record; a paused frame's do not (the view does not turn on after
// the pause).
static void hand_on_turn(bool paused) {
    gamepad_look(frame_time());
    mouse_poll();
    if (paused) input_drop_turn();
}

bool run_frame(uint32_t elapsed_ms, const InputRecord& input) {
    bool paused = game_paused();
    screen_frame(input);
    if (input_tapped(input, ACTION_CONSOLE)) console_toggle();
    glDisable(GL_DEPTH_TEST);
    frame_overlay(elapsed_ms, paused);
    glEnable(GL_DEPTH_TEST);
    hand_on_turn(paused);
    return !key_is_down(VK_ESCAPE);
}

void app_shutdown() {
    sound_shutdown();
    mouse_release();
    gamepad_shutdown();
}

void main_loop_start() {
    previous_ticks = timer_ticks();
    clock_take_stall(); // start-up's own loads are behind us
    hangup_watch_start();
}

// The game milliseconds of a frame that begins at now: the real time since
// the previous frame, at most MAX_FRAME_MS.
static uint32_t game_elapsed(uint32_t now) {
    uint32_t real = now - previous_ticks;
    return real < MAX_FRAME_MS ? real : MAX_FRAME_MS;
}

// The frame rate the automatic render scale holds: max_fps, at most 60.
static double scene_target_fps() {
    float cap = max_fps_setting();
    return cap > 0.0f && cap < 60.0f ? cap : 60.0;
}

// Shows the frame and gives the automatic render scale the frame's time
// from its start. Where the swap waits for the display's refresh, that wait
// is idle time, not the frame's: the time is taken once the drawing has
// finished, before the swap. A set render_scale needs no measure.
static void swap_and_measure(double frame_began) {
    if (!render_scale_automatic()) {
        swap_buffers();
        return;
    }
    bool waits_for_refresh = SDL_GL_GetSwapInterval() != 0;
    double drawn = 0.0;
    if (waits_for_refresh) {
        glFinish();
        drawn = timer_seconds();
    }
    swap_buffers();
    if (!waits_for_refresh) drawn = timer_seconds();
    render_scale_frame_measured((drawn - frame_began) * 1000.0, scene_target_fps());
}

// Game time starts again from `from`; the focus the game's own work moved
// about settles meanwhile.
static void after_stall(uint32_t from) {
    previous_ticks = from;
    focus_loss_ignore_for(FOCUS_SETTLE_MS);
}

bool main_loop_step() {
    SDL_Event event;
    while (SDL_PollEvent(&event))
        if (!handle_event(event)) return false;
    if (hangup_received()) return false; // the terminal closed: quit, as SIGTERM does
    if (!app_is_active()) {
        // Minimised: no frame runs and no game time passes. Wait for the
        // next event rather than spin.
        SDL_WaitEventTimeout(nullptr, 100);
        previous_ticks = timer_ticks();
        return true;
    }
    uint32_t now = timer_ticks();
    double frame_began = timer_seconds();
    // Before the frame's input is taken: bound console lines run; then the
    // frame's one input record, from the keys, the mouse and the pads. A
    // lasting loss of focus or the pause action pause before a demo sees the
    // record, so a paused frame is paused from its start.
    bindings_run_lines();
    if (clock_take_stall()) after_stall(now); // a console line stalled (a new window, say)
    InputRecord input = input_take_record();
    focus_loss_check();
    pause_frame_start(input);
    // A demo being recorded writes down the frame's time and record; one being
    // played replaces them by its own.
    uint32_t elapsed = demo_frame_input(game_elapsed(now), timer_seconds(), &input);
    bool go_on = run_frame(elapsed, input) && !video_window_lost();
    if (input_went_down(input, ACTION_SCREENSHOT)) screenshot_request(); // held: one picture
    screenshot_frame_done(); // the finished frame, before the swap
    sound_volume_update();
    keys_frame_done();
    actions_frame_done();
    gamepad_frame_done();
    bool stalled = clock_take_stall();
    if (stalled)
        swap_buffers(); // a level load or a new window is no measure of drawing
    else
        swap_and_measure(frame_began);
    if (!go_on) return false;
    // A frame that loaded a level or made a new window: the next frame is
    // measured from the end of this one, so the stall is not game time.
    if (stalled)
        after_stall(timer_ticks());
    else
        previous_ticks = now;
    if (!demo_paces_frames())
        frame_cap_wait(now);
    else if (uint32_t wait = demo_pace_wait_ms(timer_seconds()))
        timer_delay(wait);
    return true;
}

// The one way out of a failure the game cannot go on from: the window goes,
// the box shows the text (stderr has it too; none when the failed step has
// shown its own), and the exit code is 1, so a launcher or script can tell
// it from a quit.
static int fatal_error(const char* text) {
    window_destroy();
    if (text) message_box("ERROR", text, ICON_WARNING);
    video_shutdown();
    return 1;
}

// The failure's own text, then the first error lines start-up printed, so
// the box says which file failed and why, not only that start-up did.
static std::string with_startup_errors(const char* text) {
    std::string whole = text;
    const char* separator = "\n\n";
    for (const std::string& error : console_first_errors()) {
        whole += separator + error;
        separator = "\n";
    }
    return whole;
}

static int run_main_loop() {
    while (main_loop_step()) {
    }
    return 0;
}

// --timedemo: plays the demo as fast as the machine draws and prints its
// timing line, the state its game ended in and the hash of all its frames
// on stdout, and writes every frame's hash to the file when one is named;
// 1 when it cannot be played, is cut off or the hashes cannot be written.
static int run_timedemo(const std::string& name, const std::string& frame_hashes) {
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
    std::printf("%s\n%s\n%s\n", demo_timing_line().c_str(), demo_end_state_line().c_str(),
                demo_hash_line().c_str());
    // A file that cannot be written has said so on stderr, as errors do.
    if (!frame_hashes.empty() && !demo_write_frame_hashes(frame_hashes.c_str())) return 1;
    return 0;
}

int app_main(int argc, char** argv) {
    CommandLine options;
    int exit_code = 0;
    if (!command_line_parse(argc, argv, &options, &exit_code)) return exit_code;
    if (!folders_choose(options.data_folder)) return 2; // the reason is on stderr
    command_line_choose_start_mode(options);
    if (!video_init()) return fatal_error(nullptr);
    if (!game_init()) return fatal_error(with_startup_errors("Initialization Failed.").c_str());
    command_line_run(options);
    SDL_DisableScreenSaver();
    main_loop_start();
    exit_code = options.timedemo.empty() ? run_main_loop()
                                         : run_timedemo(options.timedemo, options.frame_hashes);
    demo_stop(); // a recording is written; a playback gives back the look settings
    settings_save();
    app_shutdown();
    if (video_window_lost()) return fatal_error("No window could be made for any video mode.");
    video_shutdown();
    return exit_code;
}
