// The sheep that drop out of the sky: ten slots, their spawning, flight,
// landing and explosions, the hit test for shots, and drawing them. Also the
// sheep still to kill in the level and the player's lives, which the sheep
// take.
#pragma once

#include "game/tuning.h"
#include "math/vector.h"
#include "model/model.h"

#include <cstdint>

struct Texture;

enum SheepState {
    SHEEP_FREE = 0,      // empty slot
    SHEEP_FALLING = 1,   // in flight; can be hit
    SHEEP_EXPLODING = 4, // the fading explosion of a killed or landed sheep
};

struct Sheep {
    float health; // 100 when spawned, -25 a hit; while exploding the fade from 100 down
    float speed;  // units per second along direction
    Vector3 position;
    Vector3 direction; // unit length
    int state;         // a SheepState
    HitBox hit_box;    // centre = position, half extents 10
};

// The flock as the rest of the game sees it; only this module's functions
// change it.
struct FlockView {
    Sheep sheep[SHEEP_SLOTS];
    uint32_t next_spawn_time; // game_time_ms after which the next sheep comes
    int remaining;            // sheep still to kill in this level
    float speed;              // the level's base falling speed, units per second
    int lives;                // the player's lives, START_LIVES at the start of every level
};

const FlockView& flock();
// The picture of a sheep's blip on the radar.
const Texture* flock_radar_picture();

// Empties the slots, loads the sheep model and the radar picture; false when
// either cannot be loaded.
bool flock_init();
// Every slot free and the lives full; the first sheep of a level comes 2 to
// 6 seconds from now.
void sheep_reset();
// The level's sheep to kill and their base falling speed.
void flock_start_level(int sheep_count, float sheep_speed);
// The next sheep comes once the game time has passed this.
void flock_next_spawn_at(uint32_t time_ms);
// Puts a sheep in the first free slot, if there is one, at a random place
// over the land, heading for another.
void sheep_spawn();
// Puts a sheep with full health in the first free slot, flying from the
// position along the unit direction; false when every slot is taken.
bool sheep_spawn_at(const Vector3& position, const Vector3& direction, float speed);
// Spawning on schedule, then flight, landing and explosion fade for a frame;
// returns how many sheep landed (each has cost a life).
int sheep_update();
void sheep_draw();
// The first falling sheep the shot's segment (position +- half_length along
// direction) meets takes a hit; true when one did.
bool sheep_hit_by_shot(const Vector3& direction, const Vector3& position, float half_length);
