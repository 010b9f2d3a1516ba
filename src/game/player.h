// The player: an eye walking over the land at a fixed height above the
// ground, turning and looking with the mouse, firing a stream of invisible
// shots with the left button; the weapon drawn before the eye with its
// flickering muzzle flash; the pictures of the heads-up display.
#pragma once

#include "input/record.h"
#include "math/vector.h"
#include "model/model.h"

#include <cstdint>

struct Texture;

struct Shot {
    Vector3 position;
    Vector3 direction; // unit length
    float speed;       // units per second
    float range_left;  // units it may still fly
    Shot* next;
};

constexpr int HEAD_PICTURE_COUNT = 5;

extern float player_x, player_y, player_z;
extern float player_yaw;   // radians; 0 looks along +x, walking goes (cos yaw, sin yaw)
extern float player_pitch; // radians; positive looks down
extern float walk_speed;   // units per second
extern bool firing;        // the fire button was held in the latest update
extern float camera_shake; // shake amplitude in degrees, 0 .. 12
extern Model weapon_model;
extern Texture* head_pictures[HEAD_PICTURE_COUNT];
extern Texture* flash_picture;
extern Shot* shots; // newest first
extern uint32_t next_shot_time;

// Resets the player, the lives, the shots and the level sequence for a new
// game and loads the weapon and the heads-up pictures; false, with the game
// left on the title screen, when something failed to load.
bool new_game_reset();
// Each sheep that landed shakes the camera LANDING_SHAKE degrees more.
void player_shake_for_landings(int landed);
// Stands the player at (x, z) on the ground, looking along +x.
void player_place(float x, float z);
// Creates mouse_sensitivity (radians per mouse count, default 0.01, 0.0001
// .. 1) and mouse_invert (0 or 1: pulling the mouse back looks up), which
// the look reads every frame.
void player_settings_init();
// The look settings: radians the view turns per count of the record's turn,
// and whether pulling back looks up. A demo plays with its own, and the
// gamepad turns its stick into counts with them.
struct LookSettings {
    float per_count;
    bool invert;
};
LookSettings player_look_settings();
void player_set_look_settings(const LookSettings& look);
// Walking, looking, the camera shake and firing for one frame, as the frame's
// input record asks. eye is the position at the start of the frame, where
// shots start.
void player_update(const Vector3& eye, const InputRecord& input);
// A new shot from the eye along the view, at most one every 100 ms.
void shot_fire(const Vector3& eye, float yaw, float pitch);
// Hit tests, then moves every shot; spent shots are removed.
void shots_update();
// Unlinks and frees a shot; returns the one after it.
Shot* shot_unlink(Shot* previous, Shot* shot);
// Frees every shot.
void shots_clear();
// The weapon and, while firing, its muzzle flash; sy and sz are the camera
// shake angles of the frame in degrees.
void weapon_draw(float sy, float sz);
