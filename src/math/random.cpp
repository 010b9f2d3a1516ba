// Random generator: owns the one seed of the whole game.
#include "math/random.h"

#include <cstdint>

static uint32_t seed = 1;

int game_rand() {
    seed = seed * 214013u + 2531011u;
    return static_cast<int>((seed >> 16) & 0x7FFF);
}

float random_signed_unit() {
    return static_cast<float>(game_rand() % 2000 - 1000) * 0.001f;
}

void game_rand_restart() {
    seed = 1;
}

uint32_t game_rand_state() {
    return seed;
}

void game_rand_set_state(uint32_t state) {
    seed = state;
}
