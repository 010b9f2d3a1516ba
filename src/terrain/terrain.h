// The landscape of the current level: a square grid of heights read from a
// headerless RAW file of bytes, its base and detail pictures and the quadtree
// that draws it. The record and its height queries are in terrain/grid.h.
#pragma once

#include "terrain/grid.h"

#include <cstdio>

// The game's one landscape, reloaded for every level; read-only here, changed
// only by the game_terrain functions below.
const Terrain& game_terrain();
// Frees the game's landscape and loads a level's (see terrain_load).
bool game_terrain_load(const char* raw_path, int width, int height, const char* base_path,
                       const char* detail_path);
// Frees the game's landscape and reads only the heights of a RAW file: no
// pictures and no quadtree, a land to walk on and land on but not to draw.
bool game_terrain_load_heights(const char* raw_path, int width, int height);
// Lights the game's landscape with a sun (see terrain_shade).
void game_terrain_shade(float elevation, float azimuth);

// Largest side a landscape may have: 4096 x 4096 samples already take 64 MB
// of heights, and the sizes the levels use are far smaller.
constexpr int TERRAIN_MAX_SIDE = 4096;

// Whether the grid has the shape the quadtree and the shadow pass need:
// square, with a side of 4 * 2^k samples (4, 8, 16, ...) up to the maximum.
bool terrain_size_valid(int width, int height);

// Frees what the record holds, then loads the two pictures, the heights and
// builds the quadtree. False on any failure, with a console error line for
// the grid size and the RAW file (the texture cache reports the pictures).
// What was stored before a failure stays until the next terrain_free.
bool terrain_load(const char* raw_path, Terrain& land, int width, int height, const char* base_path,
                  const char* detail_path);

// Reads width * height bytes from an open stream into the heights and
// stores the size; bytes after them are not read. False with an error line
// naming the file when the size is not a valid grid or the stream is short.
bool terrain_read_heights(std::FILE* file, const char* name, int width, int height, Terrain& land);

// Releases the heights, the quadtree and both pictures and empties the
// record; a record that holds nothing is left as it is.
void terrain_free(Terrain& land);
