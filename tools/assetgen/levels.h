// The game's levels, one row each: what the level is called, how its land,
// loading picture and music are made, and how many sheep fall how fast.
// Adding a level is adding a row; main.cpp writes every file of every row.
#pragma once

#include "landscape.h"
#include "logo.h"
#include "songs.h"

#include <filesystem>
#include <span>

struct LevelRecipe {
    const char* name;  // the land's name, on the loading picture
    int sheep;         // sheep to shoot before the next level loads
    float sheep_speed; // their base falling speed, units per second
    LandRecipe land;
    CardStyle card; // the loading picture
    SongRecipe music;
};

// Level 1 first; row N makes the files levelN.txt, terrainN.raw and so on.
std::span<const LevelRecipe> level_table();

// The level file data/levelN.txt of level `number`: its sheep count and speed,
// then the names of its other files, all in data/.
void make_level_txt(const LevelRecipe& level, int number, const std::filesystem::path& file);
