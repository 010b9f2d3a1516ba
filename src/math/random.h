// The game's own random generator: the same sequence on every run and every
// platform, so a game can be replayed and a test can play it.
#pragma once

#include <cstdint>

// 0 .. 32767: seed = seed * 214013 + 2531011 (mod 2^32), bits 16 to 30 of
// the new seed. The seed starts at 1; play never sets it (a demo puts back
// the state it was recorded from).
int game_rand();

// (game_rand() mod 2000 - 1000) * 0.001: a float in -1.0 .. 0.999.
float random_signed_unit();

// Back to the start of the sequence (seed 1), for tests and tools that need
// a game from its first draw.
void game_rand_restart();

// The generator's whole state, and setting it back: a demo starts from the
// state it was recorded with.
uint32_t game_rand_state();
void game_rand_set_state(uint32_t state);
