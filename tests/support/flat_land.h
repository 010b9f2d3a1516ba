// A flat landscape for the game: a RAW file of one height written to disk and
// loaded as the game's land (heights alone, nothing to draw).
#pragma once

#include "terrain/terrain.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

// height: 0 .. 63.75 in steps of 0.25, as a RAW byte stores it.
inline void load_flat_land(float height, int side = 512) {
    std::vector<unsigned char> bytes(static_cast<size_t>(side) * side,
                                     static_cast<unsigned char>(height * 4.0f));
    std::FILE* file = std::fopen("flat_land.raw", "wb");
    ASSERT_NE(file, nullptr) << "can't write flat_land.raw";
    ASSERT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    ASSERT_EQ(std::fclose(file), 0);
    ASSERT_TRUE(game_terrain_load_heights("flat_land.raw", side, side));
}
