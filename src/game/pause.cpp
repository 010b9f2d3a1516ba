// Pause: owns whether the game is paused and the pause_on_focus_loss
// variable; pauses and resumes the sound with it.
#include "game/pause.h"

#include "console/output.h"
#include "console/registry.h"
#include "game/game_state.h"
#include "platform/sound.h"

static bool paused = false;
static ConsoleVariable* pause_on_focus_loss = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &pause_on_focus_loss,
     .name = "pause_on_focus_loss",
     .default_value = 1.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .whole_numbers = true,
     .help = "pause the game when its window loses the keyboard focus (0: play on)"},
};
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

void pause_frame_start(const InputRecord& input) {
    if (paused && !can_pause()) pause_end();
    if (input_went_down(input, ACTION_PAUSE)) pause_set(!paused);
}

void pause_for_focus_loss() {
    if (pause_on_focus_loss->value != 0.0f) pause_set(true);
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
    console_add_settings(SETTINGS);
}
