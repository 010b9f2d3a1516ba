// The landscapes: heightmaps (terrainN.raw), base pictures coloured by
// height and slope (terrainN.png) and detail pictures of fine grain
// (detailN.png), each made from a level's land recipe. The kit holds three
// lands: rolling meadows, steep ridges around a valley, and a basin with a
// dry lake bed.
#pragma once

#include "raster.h"

#include <cstdint>
#include <filesystem>
#include <vector>

constexpr int kLandscapeSize = 512; // samples along each side

// What every land shares at one point of its base picture.
struct Ground {
    float x, z;    // world position
    float height;  // world units
    float slope;   // rise per unit
    float hollow;  // positive in hollows
    float patches; // broad noise -1 .. 1
    float grain;   // pixel noise 0 .. 1
    float feature; // the land's own feature, 0 .. 1
};

// How a level's land is made: its shape, its colours and its grain.
struct LandRecipe {
    // Height in world units (0 .. 63.75) at a world point; the player starts
    // at (256, 256) looking along +x.
    float (*height)(float x, float z);
    // How much of the land's own feature (a track, a stream, a lake bed) lies
    // at a world point, 0 .. 1.
    float (*feature)(float x, float z);
    // The base picture's colour at a point, before the sky light.
    Colour (*colour)(const Ground& ground);
    // The detail picture's grain at a pixel of its repeating tile, -1 .. 1.
    float (*grain)(int x, int y, uint32_t seed);
    float detail_amplitude; // how far the detail strays from mid-grey, 0 .. 255
    uint32_t seed;          // picks the noise of every picture of the level
};

// The kit's land shapes and their features.
float meadow_height(float x, float z); // broad hills, a dirt track past the start
float meadow_track(float x, float z);
float ridge_height(float x, float z); // ridges on both sides of a valley
float ridge_stream(float x, float z);
float basin_height(float x, float z); // a rim of peaks round a dry lake
float basin_lake_bed(float x, float z);

// The kit's ground colours and detail grains.
Colour meadow_colour(const Ground& g);
Colour ridge_colour(const Ground& g);
Colour basin_colour(const Ground& g);
float grass_grain(int x, int y, uint32_t seed);
float rock_grain(int x, int y, uint32_t seed);
float sand_grain(int x, int y, uint32_t seed);

// The heights as the RAW file holds them: 512 x 512 bytes, row z after row
// z, each from x = 0 upward; a byte is 4 times the height in world units.
std::vector<uint8_t> landscape_heights(const LandRecipe& land);

// The base picture, size x size pixels of RGB, top row first (the far end of
// z): its colours by height, slope and feature, without sunlight. The
// terrain pictures are this at 1024; other pictures show the land too.
std::vector<uint8_t> landscape_base_picture(const LandRecipe& land, int size);

// The makers of one level's land files; each throws std::runtime_error on failure.
void make_terrain_raw(const LandRecipe& land, const std::filesystem::path& file);
void make_terrain_png(const LandRecipe& land, const std::filesystem::path& file);
void make_detail_png(const LandRecipe& land, const std::filesystem::path& file);
