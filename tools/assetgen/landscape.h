// The three landscapes: heightmaps (terrainN.raw), base pictures coloured by
// height and slope (terrainN.png) and detail pictures of fine grain
// (detailN.png). Level 1 is rolling meadows, level 2 steep ridges around a
// valley, level 3 a basin with a dry lake bed.
#pragma once

#include <cstdint>
#include <filesystem>
#include <vector>

constexpr int kLandscapeSize = 512; // samples along each side
constexpr int kLandscapeLevels = 3;

// Heights of level 1 .. 3 as the RAW file holds them: 512 x 512 bytes, row
// z after row z, each from x = 0 upward; a byte is 4 times the height in
// world units. The player starts at (256, 256) looking along +x.
std::vector<uint8_t> landscape_heights(int level);

// How much of the level's own feature lies at a world point, 0 .. 1, for its
// base picture: level 1's dirt track, level 2's stream bed, level 3's lake bed.
float landscape_feature(int level, float x, float z);

// The level's base picture, size x size pixels of RGB, top row first (the
// far end of z): its colours by height, slope and feature, without sunlight.
// The terrain pictures are this at 1024; other pictures show the land too.
std::vector<uint8_t> landscape_base_picture(int level, int size);

// The makers of the data tool; each throws std::runtime_error on failure.
void make_terrain1_raw(const std::filesystem::path& file);
void make_terrain2_raw(const std::filesystem::path& file);
void make_terrain3_raw(const std::filesystem::path& file);
void make_terrain1_png(const std::filesystem::path& file);
void make_terrain2_png(const std::filesystem::path& file);
void make_terrain3_png(const std::filesystem::path& file);
void make_detail1_png(const std::filesystem::path& file);
void make_detail2_png(const std::filesystem::path& file);
void make_detail3_png(const std::filesystem::path& file);
