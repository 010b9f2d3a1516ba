// State hash: owns nothing; reads the game state, the level, the flock, the
// player, the shots, the game clock and the random generator.
#include "game/state_hash.h"

#include "game/flock.h"
#include "game/game_state.h"
#include "game/level.h"
#include "game/player.h"
#include "math/random.h"
#include "platform/clock.h"

#include <cstdio>
#include <cstring>

static const uint64_t FNV_PRIME = 1099511628211ull;

uint64_t hash_add(uint64_t hash, uint64_t value, int bytes) {
    for (int i = 0; i < bytes; i++) {
        hash ^= (value >> (8 * i)) & 0xFF;
        hash *= FNV_PRIME;
    }
    return hash;
}

static uint64_t add_int(uint64_t hash, int32_t value) {
    return hash_add(hash, static_cast<uint32_t>(value), 4);
}

static uint64_t add_float(uint64_t hash, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return hash_add(hash, bits, 4);
}

static uint64_t add_vector(uint64_t hash, const Vector3& v) {
    return add_float(add_float(add_float(hash, v.x), v.y), v.z);
}

static uint64_t add_flock(uint64_t hash) {
    const FlockView& f = flock();
    for (const Sheep& s : f.sheep) {
        hash = add_int(hash, s.state);
        if (s.state == SHEEP_FREE) continue; // what a free slot held no longer counts
        hash = add_float(hash, s.health);
        hash = add_float(hash, s.speed);
        hash = add_vector(hash, s.position);
        hash = add_vector(hash, s.direction);
    }
    hash = hash_add(hash, f.next_spawn_time, 4);
    hash = add_int(hash, f.remaining);
    hash = add_float(hash, f.speed);
    return add_int(hash, f.lives);
}

static uint64_t add_player(uint64_t hash) {
    const PlayerView p = player_view();
    const float values[] = {p.x, p.y, p.z, p.yaw, p.pitch, p.walk_speed, p.camera_shake};
    for (float v : values)
        hash = add_float(hash, v);
    hash = hash_add(hash, p.firing ? 1 : 0, 1);
    hash = hash_add(hash, p.next_shot_time, 4);
    for (const Shot* s = shots_in_flight(); s; s = s->next) {
        hash = add_vector(hash, s->position);
        hash = add_vector(hash, s->direction);
        hash = add_float(add_float(hash, s->speed), s->range_left);
    }
    return hash;
}

uint64_t game_state_hash() {
    uint64_t hash = FNV_OFFSET;
    hash = add_int(hash, game_state());
    hash = add_int(hash, current_level());
    hash = add_flock(hash);
    hash = add_player(hash);
    hash = hash_add(hash, game_time_ms(), 4);
    return hash_add(hash, game_rand_state(), 4);
}

static const char* state_name(GameState state) {
    switch (state) {
    case STATE_TITLE: return "title";
    case STATE_PLAY: return "play";
    case STATE_DEAD: return "dead";
    case STATE_VICTORY: return "victory";
    default: return "none";
    }
}

// %.9g gives back a float's exact value.
static double exact(float value) {
    return static_cast<double>(value);
}

std::string game_state_line() {
    const FlockView& f = flock();
    const PlayerView p = player_view();
    int falling = 0, exploding = 0, shots = 0;
    for (const Sheep& s : f.sheep) {
        falling += s.state == SHEEP_FALLING;
        exploding += s.state == SHEEP_EXPLODING;
    }
    for (const Shot* s = shots_in_flight(); s; s = s->next)
        shots++;
    // After the last level the level number has gone one past it.
    bool won = game_state() == STATE_VICTORY;
    char line[256];
    std::snprintf(line, sizeof line,
                  "%s, %s %d, lives %d, sheep left %d (%d falling, %d exploding), time %u ms, "
                  "random %u, player at %.9g %.9g %.9g yaw %.9g pitch %.9g, %d shots",
                  state_name(game_state()), won ? "after level" : "level",
                  won ? current_level() : current_level() + 1, f.lives, f.remaining, falling,
                  exploding, game_time_ms(), game_rand_state(), exact(p.x), exact(p.y), exact(p.z),
                  exact(p.yaw), exact(p.pitch), shots);
    return line;
}
