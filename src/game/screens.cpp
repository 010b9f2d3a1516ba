// Screens: owns the title model and the dead picture; runs the frame of the
// current screen state (title, play, dead, victory).
#include "game/screens.h"

#include "game/game_state.h"
#include "game/level.h"
#include "game/play.h"
#include "game/player.h"
#include "gl.h"
#include "model/draw.h"
#include "model/load.h"
#include "overlay/font.h"
#include "overlay/screen.h"
#include "platform/clock.h"
#include "textures/texture.h"

static Texture* dead_picture = nullptr;
static Model title_model; // the box of the title screen

bool screens_init() {
    dead_picture = texture_load("data/dead.png", true);
    if (!dead_picture) return false;
    return model_load(&title_model, "data/box.ms3d", "data/box.txt");
}

void screens_release() {
    texture_release(dead_picture);
    dead_picture = nullptr;
    model_release(&title_model);
}

bool start_new_game() {
    level_sequence_restart(0);
    if (!new_game_reset()) return false;
    start_new_game_level();
    return true;
}

// The first level of a new game. When it fails to load, the level code has
// left the game on the title screen, where Enter tries again.
void start_new_game_level() {
    level_advance();
    if (game_state() != STATE_TITLE) game_state_set(STATE_PLAY);
}

// Three turning boxes over the uncleared frame: one plain, then two added on
// top of it. The rotations pile up on the one model-view matrix.
void title_frame(const InputRecord& input) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(150.0, perspective_aspect(), 0.1, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_DEPTH_TEST);
    glTranslatef(0.0f, 0.0f, -10.0f);
    float t = game_time();
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
    if (input.start) start_new_game();
}

void dead_frame(const InputRecord& input) {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    overlay_draw_centred_picture(dead_picture);
    if (input.start) start_new_game();
}

static void victory_frame(const InputRecord& input) {
    glClearColor(1.0f, 1.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT); // the depth buffer is left as it is
    if (input.start) start_new_game();
}

void screen_frame(const InputRecord& input) {
    switch (game_state()) {
    case STATE_TITLE: title_frame(input); break;
    case STATE_PLAY: play_frame(input); break;
    case STATE_DEAD: dead_frame(input); break;
    case STATE_VICTORY: victory_frame(input); break;
    default: break;
    }
}
