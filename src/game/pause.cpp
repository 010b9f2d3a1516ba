// Pause: owns whether the game is paused and the pause_on_focus_loss
// variable; pauses and resumes the sound with it.
#include "game/pause.h"

#include "console/output.h"
#include "console/registry.h"
#include "game/game_state.h"
#include "input/actions.h"
#include "platform/sound.h"

static bool paused = false;
static ConsoleVariable* pause_on_focus_loss = nullptr;
static const char* forbidden_because = nullptr; // why no pause is allowed now

static bool can_pause() {
    return game_state() == STATE_PLAY && !forbidden_because;
}

void pause_forbid(const char* reason) {
    forbidden_because = reason;
}

static void change(bool now) {
    if (paused == now) return;
    paused = now;
    sound_pause(now);
}

bool game_paused() {
    return paused;
}

bool pause_set(bool wanted) {
    if (wanted == paused) return true;
    if (wanted && !can_pause()) return false;
    change(wanted);
    console_print(wanted ? "Paused" : "Resumed");
    return true;
}

void pause_end() {
    change(false);
}

void pause_frame_start() {
    if (paused && !can_pause()) pause_end();
    if (action_went_down(ACTION_PAUSE)) pause_set(!paused);
}

void pause_for_focus_loss() {
    if (pause_on_focus_loss && pause_on_focus_loss->value != 0.0f) pause_set(true);
}

static void command_pause() {
    if (pause_set(!paused)) return;
    if (forbidden_because)
        console_print_error(forbidden_because);
    else
        console_print_error("The game pauses only during play");
}

void pause_init() {
    console_add_command("pause", command_pause);
    pause_on_focus_loss = console_get_variable("pause_on_focus_loss", 1.0f);
    console_limit_variable(pause_on_focus_loss, 0.0f, 1.0f, true);
}
