// Gamepads through SDL's game controller interface: the left stick or the
// d-pad walks, the right stick looks, the right trigger fires, Start pauses
// and Back opens the console; on the title, dead and victory screens Start or
// A starts a new game. The game sees only the input record's actions and
// turn, so a demo records a gamepad game like any other. Pads may be plugged in
// and out during play; several pads act together.
#pragma once

#include <SDL.h>

// Starts SDL's game controller support (pads already plugged in arrive as
// events). A machine without it plays on with keyboard and mouse after one
// error line.
void gamepad_init();
// Closes every pad and releases whatever they held.
void gamepad_shutdown();
// Creates joy_sensitivity (degrees a second at full tilt), joy_invert and
// joy_deadzone, kept in config.cfg.
void gamepad_settings_init();

// A controller event (added, removed, axis, button); other events are ignored.
void gamepad_event(const SDL_Event& event);
// The right stick's turn over a frame of frame_ms milliseconds, handed on to
// the next input record as mouse counts.
void gamepad_look(float frame_ms);
// Ends a frame: a button or trigger that went down and up before any frame
// saw it has been held for this one frame and is released now.
void gamepad_frame_done();

// Pads open now.
int gamepad_count();

// What a stick's position gives after the dead zone: 0 inside it, then
// growing from 0 to 1 at full tilt with the square of the distance past it,
// for fine aim near the centre. Axes are -1 .. 1; the direction is kept.
void stick_response(float x, float y, float dead_zone, float* out_x, float* out_y);

// The walking actions a stick's position asks for: eight directions, each
// within 67.5 degrees of its axis; nothing inside the dead zone. Stick up
// (negative y) walks forward.
struct StickWalk {
    bool forward, back, left, right;
};
StickWalk stick_walk(float x, float y, float dead_zone);
