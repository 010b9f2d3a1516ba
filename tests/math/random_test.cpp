// The game's generator gives the documented sequence from seed 1.
#include "math/random.h"

#include <gtest/gtest.h>

TEST(Random, GivesTheSequenceOfSeedOne) {
    game_rand_restart();
    // seed 1 -> 2745024 -> bits 16..30 = 41; the next values follow the same rule.
    const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int value : expected)
        EXPECT_EQ(game_rand(), value);
    game_rand_restart();
    EXPECT_EQ(game_rand(), 41);
    EXPECT_NEAR(random_signed_unit(), (18467 % 2000 - 1000) * 0.001f, 1e-6f);
}
