// Player: owns the eye's position and view, the walking speed, the firing
// flag, the camera shake, the weapon model, the heads-up pictures, the muzzle
// flash picture, the list of shots in flight, and the mouse variables the look
// reads every frame.
#include "game/player.h"

#include "console/output.h"
#include "console/registry.h"
#include "game/flock.h"
#include "game/game_state.h"
#include "game/tuning.h"
#include "gl.h"
#include "math/angles.h"
#include "math/trig.h"
#include "model/draw.h"
#include "model/load.h"
#include "overlay/screen.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

static float player_x = 0.0f, player_y = 0.0f, player_z = 0.0f;
static float player_yaw = 0.0f;
static float player_pitch = 0.0f;
static float walk_speed = WALK_SPEED;
static bool firing = false;
static float camera_shake = 0.0f;
static Model weapon_model;
static Texture* head_pictures[HEAD_PICTURE_COUNT] = {};
static Texture* flash_picture = nullptr;
static Shot* shots = nullptr; // newest first
static uint32_t next_shot_time = 0;

static ConsoleVariable* mouse_sensitivity = nullptr; // radians per mouse count
static ConsoleVariable* mouse_invert = nullptr;      // 1: pulling back looks up

static const SettingRow SETTINGS[] = {
    {.variable = &mouse_sensitivity,
     .name = "mouse_sensitivity",
     .default_value = LOOK_PER_COUNT,
     .min_value = LOOK_PER_COUNT_MIN,
     .max_value = LOOK_PER_COUNT_MAX,
     .help = "how far the view turns per mouse count, in radians"},
    {.variable = &mouse_invert,
     .name = "mouse_invert",
     .default_value = 0.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .whole_numbers = true,
     .help = "1: pulling the mouse back looks up"},
};

static const char* const HEAD_FILES[HEAD_PICTURE_COUNT] = {
    "data/tete1.png", "data/tete2.png", "data/tete3.png", "data/tete4.png", "data/tete5.png",
};

PlayerView player_view() {
    return {player_x,   player_y, player_z,     player_yaw,    player_pitch,
            walk_speed, firing,   camera_shake, next_shot_time};
}

const Shot* shots_in_flight() {
    return shots;
}

const Texture* head_picture(int lives) {
    int index = lives >= 1 && lives <= HEAD_PICTURE_COUNT ? HEAD_PICTURE_COUNT - lives : 0;
    return head_pictures[index];
}

// The weapon model is loaded by the first new game and kept: loading it
// again for every new game would only pile up copies.
static bool load_weapon() {
    if (!weapon_model.groups.empty()) return true;
    return model_load(&weapon_model, "data/arme.ms3d", "data/arme.txt");
}

// The weapon, the five heads and the muzzle flash; false at the first that
// fails (it has printed its own error line).
static bool load_new_game_pictures() {
    if (!load_weapon()) return false;
    for (int i = 0; i < HEAD_PICTURE_COUNT; i++) {
        head_pictures[i] = texture_load(HEAD_FILES[i], false);
        if (!head_pictures[i]) return false;
    }
    flash_picture = texture_load("data/feu.png", false);
    return flash_picture != nullptr;
}

// Everything of the old game is reset first, so a picture or weapon that
// fails to load leaves the title screen with level 1 to try again.
bool new_game_reset() {
    shots_clear();
    player_x = NEW_GAME_X;
    player_z = NEW_GAME_Z;
    player_y = 0.0f;
    player_yaw = 0.0f;
    player_pitch = 0.0f;
    walk_speed = WALK_SPEED;
    if (!load_new_game_pictures()) {
        console_print_error("Can't start a new game: its weapon or pictures are missing");
        game_state_set(STATE_TITLE);
        return false;
    }
    game_state_set(STATE_PLAY);
    return true;
}

void player_settle() {
    shots_clear();
    next_shot_time = 0;
    camera_shake = 0.0f;
    firing = false;
}

void player_release_pictures() {
    model_release(&weapon_model);
    for (Texture*& head : head_pictures) {
        texture_release(head);
        head = nullptr;
    }
    texture_release(flash_picture);
    flash_picture = nullptr;
}

void player_shake_for_landings(int landed) {
    for (int i = 0; i < landed; i++)
        camera_shake += LANDING_SHAKE;
}

void player_place(float x, float z, float yaw, float pitch) {
    player_x = x;
    player_z = z;
    player_y = terrain_height_at(x, z, game_terrain()) + EYE_HEIGHT;
    player_yaw = yaw;
    player_pitch = pitch;
}

// The walking actions add up: forward and left together walk diagonally.
static void walk(float step, const InputRecord& input) {
    if (input_held(input, ACTION_FORWARD)) {
        player_x += game_cos(player_yaw) * step;
        player_z += game_sin(player_yaw) * step;
    }
    if (input_held(input, ACTION_BACK)) {
        player_x -= game_cos(player_yaw) * step;
        player_z -= game_sin(player_yaw) * step;
    }
    if (input_held(input, ACTION_LEFT)) {
        player_x -= game_cos(player_yaw + HALF_PI) * step;
        player_z -= game_sin(player_yaw + HALF_PI) * step;
    }
    if (input_held(input, ACTION_RIGHT)) {
        player_x += game_cos(player_yaw + HALF_PI) * step;
        player_z += game_sin(player_yaw + HALF_PI) * step;
    }
}

void player_settings_init() {
    console_add_settings(SETTINGS);
}

LookSettings player_look_settings() {
    return {mouse_sensitivity->value, mouse_invert->value != 0.0f};
}

void player_set_look_settings(const LookSettings& look) {
    mouse_sensitivity->value = look.per_count;
    mouse_invert->value = look.invert ? 1.0f : 0.0f;
}

static void look(const InputRecord& input) {
    LookSettings settings = player_look_settings();
    float per_count = settings.per_count;
    float tilt_per_count = settings.invert ? -per_count : per_count;
    player_yaw += static_cast<float>(input.turn_x) * per_count;
    player_pitch += static_cast<float>(input.turn_y) * tilt_per_count;
    if (player_pitch > HALF_PI) player_pitch = PITCH_LIMIT;
    if (player_pitch < -HALF_PI) player_pitch = -PITCH_LIMIT;
}

static void settle_shake() {
    camera_shake -= frame_time() * SHAKE_SETTLE_PER_S * 0.001f;
    if (camera_shake > MAX_SHAKE) camera_shake = MAX_SHAKE;
    if (camera_shake < 0.0f) camera_shake = 0.0f;
}

void player_update(const Vector3& eye, const InputRecord& input) {
    walk(walk_speed * frame_time() * 0.001f, input);
    player_y = terrain_height_at(player_x, player_z, game_terrain()) + EYE_HEIGHT;
    look(input);
    settle_shake();
    if (input_held(input, ACTION_FIRE)) {
        camera_shake = FIRE_SHAKE;
        shot_fire(eye, player_yaw, player_pitch);
        firing = true;
        shot_sound_start();
    } else {
        firing = false;
        shot_sound_stop();
    }
}

// One shot per SHOT_INTERVAL_MS of game time while the trigger is held,
// whatever the frame rate: the next shot is due one interval after the last
// was due. After a pause of the trigger the cadence starts again from now
// rather than catching up with a burst.
void shot_fire(const Vector3& eye, float yaw, float pitch) {
    if (static_cast<int32_t>(game_time_ms() - next_shot_time) < 0) return;
    bool on_cadence = game_time_ms() - next_shot_time < SHOT_INTERVAL_MS;
    next_shot_time = (on_cadence ? next_shot_time : game_time_ms()) + SHOT_INTERVAL_MS;
    auto* shot = new Shot{};
    shot->position = eye;
    shot->direction = {game_cos(pitch) * game_cos(yaw), -game_sin(pitch),
                       game_cos(pitch) * game_sin(yaw)};
    vector3_normalize(&shot->direction);
    shot->range_left = SHOT_RANGE;
    shot->speed = SHOT_SPEED;
    shot->next = shots;
    shots = shot;
}

Shot* shot_unlink(Shot* previous, Shot* shot) {
    Shot* following = shot->next;
    if (previous)
        previous->next = following;
    else
        shots = following;
    delete shot;
    return following;
}

// A shot is tested over this frame's move with 3 units to spare either way
// before it moves, but never behind the point it was fired from. Only the
// plane y = 0 and the ceiling stop it: it passes through hills.
static bool shot_spent(Shot& shot, float step) {
    float ahead = step + SHOT_REACH;
    float flown = SHOT_RANGE - shot.range_left;
    float behind = flown < ahead ? flown : ahead;
    float shift = (ahead - behind) * 0.5f;
    Vector3 middle = {shot.position.x + shift * shot.direction.x,
                      shot.position.y + shift * shot.direction.y,
                      shot.position.z + shift * shot.direction.z};
    if (sheep_hit_by_shot(shot.direction, middle, (ahead + behind) * 0.5f)) return true;
    if (shot.position.y <= 0.0f || shot.position.y >= SHOT_CEILING) return true;
    shot.range_left -= step;
    return shot.range_left <= 0.0f;
}

void shots_update() {
    Shot* previous = nullptr;
    for (Shot* shot = shots; shot;) {
        float step = frame_time() * shot->speed * 0.001f;
        if (shot_spent(*shot, step)) {
            shot = shot_unlink(previous, shot);
            continue;
        }
        shot->position.x += step * shot->direction.x;
        shot->position.y += step * shot->direction.y;
        shot->position.z += step * shot->direction.z;
        previous = shot;
        shot = shot->next;
    }
}

void shots_clear() {
    while (shots)
        shot_unlink(nullptr, shots);
}

// On for two 40 ms periods out of three, spinning, pulsing between 10 and 30
// units, added onto the picture at the weapon's muzzle.
static void draw_muzzle_flash() {
    if (!firing || (game_time_ms() / 40) % 3 == 0) return;
    glBindTexture(GL_TEXTURE_2D, flash_picture ? flash_picture->gl_name : 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glColor4f(0.6f, 0.6f, 0.6f, 1.0f);
    glTranslatef(0.0f, 10.0f, -18.0f);
    glRotatef(game_time() / 6.0f, 0.0f, 0.0f, 1.0f);
    float f =
        game_sin(game_cos(static_cast<float>(game_time_ms()) * 0.02f) * 3.1415f) * 10.0f + 20.0f;
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex3f(-f, -f, -18.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex3f(f, -f, -18.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex3f(f, f, -18.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex3f(-f, f, -18.0f);
    glEnd();
    glDisable(GL_BLEND);
}

void weapon_draw(float sy, float sz) {
    float yaw = player_yaw * DEGREES_PER_RADIAN;
    float pitch = player_pitch * DEGREES_PER_RADIAN;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW_DEGREES, perspective_aspect(), NEAR_PLANE, FAR_PLANE);
    glRotatef(-yaw - 90.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(-pitch, 1.0f, 0.0f, 0.0f);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(sy, 1.0f, 0.0f, 0.0f);
    glRotatef(-sz, 0.0f, 1.0f, 0.0f);
    glRotatef(sz, 0.0f, 0.0f, 1.0f);
    glRotatef(pitch, 1.0f, 0.0f, 0.0f);
    glRotatef(yaw + 90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-1.5f, -2.0f, -2.0f);
    glScalef(0.1f, 0.1f, 0.1f);
    model_draw(&weapon_model);
    draw_muzzle_flash();
    GL_CHECK("weapon_draw");
}
