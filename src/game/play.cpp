// Play-state frame: owns no state of its own; it draws and runs one frame of
// play from the flock, the player, the land and the clock.
#include "game/play.h"

#include "console/output.h"
#include "game/flock.h"
#include "game/game_state.h"
#include "game/level.h"
#include "game/pause.h"
#include "game/player.h"
#include "game/tuning.h"
#include "gl.h"
#include "math/angles.h"
#include "math/trig.h"
#include "overlay/font.h"
#include "overlay/render_scale.h"
#include "overlay/screen.h"
#include "platform/clock.h"
#include "platform/sound.h"
#include "terrain/draw.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

static const float SKY[3] = {0.4f, 0.4f, 0.8f};
// The "Paused" band: text cells of the 800 x 600 overlay screen, centred
// across it.
static const int PAUSED_ROW = 18;
static const int PAUSED_BAND_COLUMNS = 10;

static void set_up_fog() {
    const GLfloat colour[4] = {SKY[0], SKY[1], SKY[2], 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, FOG_START);
    glFogf(GL_FOG_END, FOG_END);
    glFogfv(GL_FOG_COLOR, colour);
}

// The camera at the eye, turned by the view and shaken by camera_shake
// (degrees) on three slow waves. With yaw 0 the view looks along +x.
static void set_up_camera(float* sy, float* sz) {
    const PlayerView player = player_view();
    float camera_shake = player.camera_shake;
    double t = static_cast<double>(game_time_ms());
    float sx = camera_shake * static_cast<float>(game_cos(t * 0.016666666666666666));
    *sy = camera_shake * static_cast<float>(game_cos(t * 0.03333333333333333));
    *sz = camera_shake * static_cast<float>(game_sin(t * 0.025));
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(FIELD_OF_VIEW_DEGREES, perspective_aspect(), NEAR_PLANE, FAR_PLANE);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(sx, 1.0f, 0.0f, 0.0f);
    glRotatef(*sy, 0.0f, 1.0f, 0.0f);
    glRotatef(*sz, 0.0f, 0.0f, 1.0f);
    glRotatef(player.pitch * DEGREES_PER_RADIAN, 1.0f, 0.0f, 0.0f);
    glRotatef(player.yaw * DEGREES_PER_RADIAN + 90.0f, 0.0f, 1.0f, 0.0f);
    glTranslatef(-player.x, -player.y, -player.z);
}

// The heads-up display's screen, in the middle of the window: the crosshair
// and the radar stay round and centred, the head keeps to the corner.
static ScreenArea hud_area() {
    return screen_area(HUD_WIDTH, HUD_HEIGHT, SCREEN_CENTRED);
}

static void draw_crosshair() {
    screen_begin(hud_area());
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_DEPTH_TEST);
    glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
    glBegin(GL_LINES);
    glVertex2f(240.0f, 240.0f);
    glVertex2f(400.0f, 240.0f);
    glVertex2f(320.0f, 180.0f);
    glVertex2f(320.0f, 300.0f);
    glEnd();
    glEnable(GL_TEXTURE_2D);
}

// The head, 100 x 100 units in the top-left corner of the window; blending
// is still on from the radar, so the picture's alpha applies.
static void draw_head() {
    ScreenArea area = hud_area();
    screen_begin(area);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    const Texture* head = head_picture(flock().lives);
    glBindTexture(GL_TEXTURE_2D, head ? head->gl_name : 0);
    float left = static_cast<float>(area.left), top = static_cast<float>(area.top);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(left, top - 100.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(left + 100.0f, top - 100.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(left + 100.0f, top);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(left, top);
    glEnd();
    glDisable(GL_BLEND);
}

// The radar's horizontal axis is world z and its vertical axis world x, so
// after turning by the yaw the walking direction points straight up.
void radar_draw() {
    const PlayerView player = player_view();
    screen_begin(screen_area(RADAR_WIDTH, RADAR_HEIGHT, SCREEN_CENTRED));
    glColor3f(0.0f, 0.0f, 0.0f);
    glDisable(GL_DEPTH_TEST);
    glTranslatef(960.0f, 720.0f, 0.0f);
    glRotatef(player.yaw * DEGREES_PER_RADIAN, 0.0f, 0.0f, 1.0f);
    glTranslatef(-player.z, -player.x, 0.0f);
    const Texture* blip = flock_radar_picture();
    glBindTexture(GL_TEXTURE_2D, blip ? blip->gl_name : 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    for (const Sheep& s : flock().sheep) {
        if (s.position.y < SHEEP_LANDING_HEIGHT)
            glColor4f(1.0f, 0.0f, 0.0f, 1.0f);
        else
            glColor4f(0.0f, 0.0f, 0.0f, 1.0f);
        if (s.state != SHEEP_FALLING) continue;
        float x = s.position.z, y = s.position.x;
        glBegin(GL_QUADS);
        glTexCoord2f(0.0f, 0.0f);
        glVertex2f(x - 75.0f, y - 75.0f);
        glTexCoord2f(1.0f, 0.0f);
        glVertex2f(x + 75.0f, y - 75.0f);
        glTexCoord2f(1.0f, 1.0f);
        glVertex2f(x + 75.0f, y + 75.0f);
        glTexCoord2f(0.0f, 1.0f);
        glVertex2f(x - 75.0f, y + 75.0f);
        glEnd();
    }
    GL_CHECK("radar_draw");
}

// "Paused" in white on a dark band in the middle of the screen.
static void draw_paused() {
    text_set_alpha(0.6f);
    text_set_color(0.0f, 0.0f, 0.0f);
    overlay_fill_centred(PAUSED_BAND_COLUMNS, PAUSED_ROW - 1, PAUSED_ROW + 2);
    text_set_alpha(1.0f);
    text_set_color(1.0f, 1.0f, 1.0f);
    text_draw_centred("Paused", PAUSED_ROW);
}

static void check_the_end_of_the_level() {
    if (flock().lives <= 0) {
        shot_sound_stop();
        console_print("Ya loose");
        game_state_set(STATE_DEAD);
    }
    if (flock().remaining <= 0) {
        console_print("Ya win");
        level_advance();
    }
}

// The 3-D scene (land, sheep, weapon) is drawn at render_scale; the crosshair,
// radar, head and pause band at the window's own size over it.
void play_frame(const InputRecord& input) {
    scene_begin();
    glClearColor(SKY[0], SKY[1], SKY[2], 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    set_up_fog();
    float sy = 0.0f, sz = 0.0f;
    set_up_camera(&sy, &sz);
    const PlayerView player = player_view();
    Vector3 eye = {player.x, player.y, player.z};
    // The land is culled to the view's width, wider than 90 degrees in a wide
    // window with the true aspect.
    terrain_draw(eye, player.yaw, player.pitch, horizontal_field_of_view(FIELD_OF_VIEW),
                 game_terrain());
    // Paused, the frame is drawn as it stands and nothing moves.
    bool running = !game_paused();
    if (running) {
        shots_update();
        player_shake_for_landings(sheep_update());
    }
    glDisable(GL_FOG);
    sheep_draw();
    weapon_draw(sy, sz);
    scene_end();
    draw_crosshair();
    radar_draw();
    draw_head();
    if (!running) draw_paused();
    GL_CHECK("play_frame");
    if (!running) return;
    player_update(eye, input);
    check_the_end_of_the_level();
}
