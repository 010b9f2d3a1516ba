// Gamepads: owns the open controllers with the axes and buttons each last
// reported, the actions the pads hold, and the variables joy_sensitivity,
// joy_invert and joy_deadzone.
#include "app/gamepad.h"

#include "console/output.h"
#include "console/registry.h"
#include "game/player.h"
#include "game/tuning.h"
#include "input/actions.h"
#include "math/angles.h"

#include <cmath>
#include <vector>

struct Pad {
    SDL_JoystickID id;
    SDL_GameController* controller;
    char name[64];
    Sint16 axes[SDL_CONTROLLER_AXIS_MAX];
    bool buttons[SDL_CONTROLLER_BUTTON_MAX];
};

static std::vector<Pad> pads;
static bool started = false;
// The pads' share of each action as the action layer last heard it; an
// action that went down after the last frame ended and came up again waits
// for the frame's end to be released.
static bool held[ACTION_COUNT];
static bool down_since_frame[ACTION_COUNT];
static bool release_waiting[ACTION_COUNT];

static ConsoleVariable* joy_sensitivity = nullptr; // degrees a second at full tilt
static ConsoleVariable* joy_invert = nullptr;      // 1: pushing the stick up looks down
static ConsoleVariable* joy_deadzone = nullptr;    // of the stick's travel, 0 .. 0.9

static const SettingRow SETTINGS[] = {
    {.variable = &joy_sensitivity,
     .name = "joy_sensitivity",
     .default_value = PAD_TURN_DEGREES_PER_S,
     .min_value = 10.0f,
     .max_value = 1000.0f,
     .help = "how fast the right stick turns the view at full tilt, in degrees a second"},
    {.variable = &joy_invert,
     .name = "joy_invert",
     .default_value = 0.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .whole_numbers = true,
     .help = "1: pushing the right stick up looks down"},
    {.variable = &joy_deadzone,
     .name = "joy_deadzone",
     .default_value = PAD_DEAD_ZONE,
     .min_value = 0.0f,
     .max_value = 0.9f,
     .help = "how far a stick may lean before it counts, as a share of its travel"},
};

static const float DIAGONAL_SHARE = 0.3827f; // sin 22.5 degrees: eight walking directions

void gamepad_settings_init() {
    console_add_settings(SETTINGS);
}

// An axis as -1 .. 1 (SDL's -32768 is a touch past full tilt).
static float axis_unit(Sint16 value) {
    float unit = static_cast<float>(value) / 32767.0f;
    return unit < -1.0f ? -1.0f : unit;
}

void stick_response(float x, float y, float dead_zone, float* out_x, float* out_y) {
    *out_x = *out_y = 0.0f;
    float distance = std::sqrt(x * x + y * y);
    if (distance <= dead_zone || dead_zone >= 1.0f) return;
    float past = ((distance < 1.0f ? distance : 1.0f) - dead_zone) / (1.0f - dead_zone);
    float scale = past * past / distance;
    *out_x = x * scale;
    *out_y = y * scale;
}

StickWalk stick_walk(float x, float y, float dead_zone) {
    float distance = std::sqrt(x * x + y * y);
    if (distance <= dead_zone || distance == 0.0f) return {false, false, false, false};
    float share = DIAGONAL_SHARE * distance;
    return {-y > share, y > share, -x > share, x > share};
}

// ---- the actions the pads hold

static void hold(Action action, bool wanted, bool at_once) {
    if (wanted == held[action]) {
        if (wanted) release_waiting[action] = false; // pressed again before the frame
        return;
    }
    if (wanted) {
        action_pad_hold(action, true);
        held[action] = true;
        down_since_frame[action] = true;
        release_waiting[action] = false;
    } else if (down_since_frame[action] && !at_once) {
        release_waiting[action] = true;
    } else {
        action_pad_hold(action, false);
        held[action] = false;
        release_waiting[action] = false;
    }
}

static void add_pad_actions(const Pad& pad, float dead_zone, bool wanted[ACTION_COUNT]) {
    StickWalk walk = stick_walk(axis_unit(pad.axes[SDL_CONTROLLER_AXIS_LEFTX]),
                                axis_unit(pad.axes[SDL_CONTROLLER_AXIS_LEFTY]), dead_zone);
    wanted[ACTION_FORWARD] |= walk.forward || pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_UP];
    wanted[ACTION_BACK] |= walk.back || pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_DOWN];
    wanted[ACTION_LEFT] |= walk.left || pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_LEFT];
    wanted[ACTION_RIGHT] |= walk.right || pad.buttons[SDL_CONTROLLER_BUTTON_DPAD_RIGHT];
    wanted[ACTION_FIRE] |=
        axis_unit(pad.axes[SDL_CONTROLLER_AXIS_TRIGGERRIGHT]) >= PAD_TRIGGER_PULLED;
    wanted[ACTION_PAUSE] |= pad.buttons[SDL_CONTROLLER_BUTTON_START];
    wanted[ACTION_CONSOLE] |= pad.buttons[SDL_CONTROLLER_BUTTON_BACK];
}

// at_once: a pad went away, and what it held is released now, not at the
// frame's end.
static void update_actions(bool at_once) {
    bool wanted[ACTION_COUNT] = {};
    for (const Pad& pad : pads)
        add_pad_actions(pad, joy_deadzone->value, wanted);
    for (int a = 0; a < ACTION_COUNT; a++)
        hold(static_cast<Action>(a), wanted[a], at_once);
}

void gamepad_frame_done() {
    for (int a = 0; a < ACTION_COUNT; a++) {
        down_since_frame[a] = false;
        if (release_waiting[a]) hold(static_cast<Action>(a), false, true);
    }
}

// ---- plugging in and out

static Pad* pad_of(SDL_JoystickID id) {
    for (Pad& pad : pads)
        if (pad.id == id) return &pad;
    return nullptr;
}

// The pad's state as it is now: a trigger already pulled when it is plugged
// in fires at once.
static void read_pad_state(Pad& pad) {
    for (int a = 0; a < SDL_CONTROLLER_AXIS_MAX; a++)
        pad.axes[a] =
            SDL_GameControllerGetAxis(pad.controller, static_cast<SDL_GameControllerAxis>(a));
    for (int b = 0; b < SDL_CONTROLLER_BUTTON_MAX; b++)
        pad.buttons[b] =
            SDL_GameControllerGetButton(pad.controller, static_cast<SDL_GameControllerButton>(b));
}

static void open_pad(int device_index) {
    SDL_GameController* controller = SDL_GameControllerOpen(device_index);
    if (!controller) {
        console_print_errorf("Gamepad %d could not be used: %s", device_index, SDL_GetError());
        return;
    }
    SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pad_of(id)) { // announced twice (at start-up and as an event): one is enough
        SDL_GameControllerClose(controller);
        return;
    }
    Pad pad{};
    pad.id = id;
    pad.controller = controller;
    const char* name = SDL_GameControllerName(controller);
    SDL_strlcpy(pad.name, name ? name : "gamepad", sizeof pad.name);
    read_pad_state(pad);
    pads.push_back(pad);
    console_printf("Gamepad connected: %s", pad.name);
    update_actions(false);
}

static void close_pad(SDL_JoystickID id) {
    for (size_t i = 0; i < pads.size(); i++) {
        if (pads[i].id != id) continue;
        console_printf("Gamepad disconnected: %s", pads[i].name);
        SDL_GameControllerClose(pads[i].controller);
        pads.erase(pads.begin() + static_cast<long>(i));
        break;
    }
    update_actions(true);
}

void gamepad_init() {
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        console_print_errorf("Gamepads are not available (%s): play with keyboard and mouse",
                             SDL_GetError());
        return;
    }
    started = true;
}

void gamepad_shutdown() {
    for (Pad& pad : pads)
        SDL_GameControllerClose(pad.controller);
    pads.clear();
    update_actions(true);
    if (started) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    started = false;
}

int gamepad_count() {
    return static_cast<int>(pads.size());
}

// Start or A going down asks the screens for a new game, as Enter does.
static void press_button(Pad& pad, int button, bool down) {
    bool starts = button == SDL_CONTROLLER_BUTTON_START || button == SDL_CONTROLLER_BUTTON_A;
    if (down && !pad.buttons[button] && starts) action_pad_start();
    pad.buttons[button] = down;
}

void gamepad_event(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: open_pad(event.cdevice.which); return;
    case SDL_CONTROLLERDEVICEREMOVED: close_pad(event.cdevice.which); return;
    case SDL_CONTROLLERAXISMOTION:
        if (Pad* pad = pad_of(event.caxis.which); pad && event.caxis.axis < SDL_CONTROLLER_AXIS_MAX)
            pad->axes[event.caxis.axis] = event.caxis.value;
        break;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
        if (Pad* pad = pad_of(event.cbutton.which);
            pad && event.cbutton.button < SDL_CONTROLLER_BUTTON_MAX)
            press_button(*pad, event.cbutton.button, event.cbutton.state == SDL_PRESSED);
        break;
    default: return;
    }
    update_actions(false);
}

// ---- looking

// Counts of a turn in degrees at the look's radians per count; the record
// carries the fraction of a count to the next frame. The look's invert
// turns the counts' tilt round again, so the pad's tilt is turned first:
// joy_invert alone decides the pad's.
static void hand_on_turn(float yaw_degrees, float pitch_degrees) {
    LookSettings look = player_look_settings();
    float degrees_per_count = look.per_count * DEGREES_PER_RADIAN;
    if (!(degrees_per_count > 0.0f)) return;
    if (look.invert) pitch_degrees = -pitch_degrees;
    input_add_turn(yaw_degrees / degrees_per_count, pitch_degrees / degrees_per_count);
}

void gamepad_look(float frame_ms) {
    if (pads.empty() || !(frame_ms > 0.0f)) return;
    float x = 0.0f, y = 0.0f;
    for (const Pad& pad : pads) {
        x += axis_unit(pad.axes[SDL_CONTROLLER_AXIS_RIGHTX]);
        y += axis_unit(pad.axes[SDL_CONTROLLER_AXIS_RIGHTY]);
    }
    float turn_x = 0.0f, turn_y = 0.0f;
    stick_response(x, y, joy_deadzone->value, &turn_x, &turn_y);
    if (turn_x == 0.0f && turn_y == 0.0f) return;
    float degrees = joy_sensitivity->value * frame_ms * 0.001f;
    // Stick up (negative y) looks up, as pushing the mouse away does.
    float tilt = joy_invert->value != 0.0f ? -turn_y : turn_y;
    hand_on_turn(turn_x * degrees, tilt * degrees);
}
