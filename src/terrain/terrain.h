// The landscape of the current level: a square grid of heights read from a
// headerless RAW file of bytes, its base and detail pictures and the quadtree
// that draws it, with the two height queries the rest of the game uses.
#pragma once

#include <cstdio>
#include <vector>

struct QuadNode;
struct Texture;

// World units: sample (col, row) stands at x = col, z = row, its value is
// the height y. Heights are the file's bytes divided by 4 (0 .. 63.75).
struct Terrain {
    QuadNode* root = nullptr;          // owned; null while nothing is loaded
    int width = 0;                     // samples along x
    int height = 0;                    // samples along z
    Texture* base_texture = nullptr;   // stretched once over the land; the land's own shaded copy
    Texture* detail_texture = nullptr; // tiled over the land
    std::vector<float> heights;        // row-major: (col, row) at row * width + col
};

// The game's one landscape, reloaded for every level.
extern Terrain terrain;

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

// The stored height of a grid point, or 0.0 outside the grid.
float terrain_sample(int col, int row, const Terrain& land);

// Ground height at a world point, bilinear over the cell that holds it. The
// cell index truncates toward zero while the fraction uses floor, so a point
// just below 0 blends from the cell of 0.
float terrain_height_at(float x, float z, const Terrain& land);
