// Sheep flock: owns the ten slots, the spawn schedule, the sheep model, the
// radar picture, the sheep still to kill, the level's sheep speed and the
// player's lives.
#include "game/flock.h"

#include "gl.h"
#include "math/random.h"
#include "model/draw.h"
#include "model/load.h"
#include "platform/clock.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

static FlockView state = {{}, 0, 0, 0.0f, START_LIVES};
static Model sheep_model;
static Texture* radar_picture = nullptr;

// The explosions' sphere of radius 10 (14 slices, 14 stacks), recorded once
// for each OpenGL context.
static unsigned int sphere_list = 0;
static unsigned int sphere_context = 0;

const FlockView& flock() {
    return state;
}

const Texture* flock_radar_picture() {
    return radar_picture;
}

bool flock_init() {
    sheep_reset();
    if (!model_load(&sheep_model, "data/mouton.ms3d", "data/mouton.txt")) return false;
    radar_picture = texture_load("data/radar.png", false);
    return radar_picture != nullptr;
}

// The next sheep comes a whole number of seconds from now, at least
// min_seconds, one random draw.
static void schedule_next_spawn(int min_seconds) {
    flock_next_spawn_at(game_time_ms() +
                        static_cast<uint32_t>(game_rand() % SPAWN_SPREAD_S + min_seconds) * 1000);
}

void sheep_reset() {
    for (Sheep& s : state.sheep)
        s.state = SHEEP_FREE;
    state.lives = START_LIVES;
    schedule_next_spawn(FIRST_SPAWN_MIN_S);
}

void flock_start_level(int sheep_count, float sheep_speed) {
    state.remaining = sheep_count;
    state.speed = sheep_speed;
}

void flock_next_spawn_at(uint32_t time_ms) {
    state.next_spawn_time = time_ms;
}

static Sheep* first_free_slot() {
    for (Sheep& s : state.sheep)
        if (s.state == SHEEP_FREE) return &s;
    return nullptr;
}

bool sheep_spawn_at(const Vector3& position, const Vector3& direction, float speed) {
    Sheep* s = first_free_slot();
    if (!s) return false;
    s->health = 100.0f;
    s->state = SHEEP_FALLING;
    s->speed = speed;
    s->position = position;
    s->direction = direction;
    s->hit_box = {position, {SHEEP_HALF_EXTENT, SHEEP_HALF_EXTENT, SHEEP_HALF_EXTENT}};
    return true;
}

// The random draws come in a fixed order: speed, start x, start z, target x,
// target z.
void sheep_spawn() {
    if (!first_free_slot()) return;
    float speed = (random_signed_unit() * SPEED_SPREAD + SPEED_MIDDLE) * state.speed;
    float x = static_cast<float>(game_rand() % SPAWN_AREA);
    float z = static_cast<float>(game_rand() % SPAWN_AREA);
    float target_x = static_cast<float>(game_rand() % SPAWN_AREA);
    float target_z = static_cast<float>(game_rand() % SPAWN_AREA);
    Vector3 direction = {target_x - x, -SHEEP_START_HEIGHT, target_z - z};
    vector3_normalize(&direction);
    sheep_spawn_at({x, SHEEP_START_HEIGHT, z}, direction, speed);
}

static void start_explosion(Sheep& s) {
    s.state = SHEEP_EXPLODING;
    s.health = 100.0f;
}

// Landing is tested against the grid value under the sheep, not the
// interpolated ground; outside the land the ground is at height 0.
static bool update_falling(Sheep& s) {
    float ground = terrain_sample(static_cast<int>(s.position.x), static_cast<int>(s.position.z),
                                  game_terrain());
    if (ground > s.position.y) {
        start_explosion(s);
        state.lives -= 1;
        return true;
    }
    float k = frame_time() * s.speed * 0.001f;
    s.position.x += k * s.direction.x;
    s.position.y += k * s.direction.y;
    s.position.z += k * s.direction.z;
    s.hit_box.centre = s.position;
    return false;
}

static void update_exploding(Sheep& s) {
    s.health -= frame_time() * EXPLOSION_FADE_PER_S * 0.001f;
    if (s.health < 0.0f) s.state = SHEEP_FREE;
}

int sheep_update() {
    int landed = 0;
    if (game_time_ms() > state.next_spawn_time) {
        sheep_spawn();
        schedule_next_spawn(SPAWN_MIN_S);
    }
    for (Sheep& s : state.sheep) {
        if (s.state == SHEEP_FALLING)
            landed += update_falling(s);
        else if (s.state == SHEEP_EXPLODING)
            update_exploding(s);
    }
    return landed;
}

bool sheep_hit_by_shot(const Vector3& direction, const Vector3& position, float half_length) {
    for (Sheep& s : state.sheep) {
        if (s.state != SHEEP_FALLING) continue;
        if (!segment_intersects_box(s.hit_box, direction, position, half_length)) continue;
        s.health -= HIT_DAMAGE;
        if (s.health <= 0.0f) {
            start_explosion(s);
            state.remaining -= 1;
        }
        return true;
    }
    return false;
}

// A bright sphere that grows from radius 10 to 60 while it fades, with a
// dark core a quarter of its size.
static unsigned int explosion_sphere() {
    if (sphere_list != 0 && sphere_context == gl_driver().context_serial) return sphere_list;
    sphere_list = glGenLists(1);
    sphere_context = gl_driver().context_serial;
    GLUquadric* quadric = gluNewQuadric();
    glNewList(sphere_list, GL_COMPILE);
    gluSphere(quadric, 10.0, 14, 14);
    glEndList();
    gluDeleteQuadric(quadric); // the list keeps the geometry
    return sphere_list;
}

static void draw_explosion(const Sheep& s) {
    unsigned int sphere = explosion_sphere();
    float alpha = s.health * 0.01f;
    float scale = (100.0f - s.health) * 0.05f + 1.0f;
    glDepthMask(GL_FALSE);
    glEnable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_2D);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glColor4f(1.0f, 1.0f, 1.0f, alpha);
    glPushMatrix();
    glTranslatef(s.position.x, s.position.y, s.position.z);
    glScalef(scale, scale, scale);
    glCallList(sphere);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(0.0f, 0.0f, 0.0f, alpha);
    glScalef(0.25f, 0.25f, 0.25f);
    glCallList(sphere);
    glPopMatrix();
    glDepthMask(GL_TRUE);
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
}

// The sheep tumbles as it falls.
static void draw_falling(const Sheep& s) {
    glColor3f(1.0f, 1.0f, 1.0f);
    glPushMatrix();
    glTranslatef(s.position.x, s.position.y, s.position.z);
    glRotatef(game_time() * 0.2f, 1.0f, 0.5f, 0.7f);
    glScalef(0.2f, 0.2f, 0.2f);
    model_draw(&sheep_model);
    glPopMatrix();
}

void sheep_draw() {
    glColor3f(1.0f, 1.0f, 1.0f);
    glDisable(GL_TEXTURE_2D);
    for (const Sheep& s : state.sheep) {
        if (s.state == SHEEP_EXPLODING)
            draw_explosion(s);
        else if (s.state == SHEEP_FALLING)
            draw_falling(s);
    }
    glEnable(GL_TEXTURE_2D);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    GL_CHECK("sheep_draw");
}
