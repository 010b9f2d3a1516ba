// The landscape's height grid: the Terrain record the game keeps for the
// current level and the two height queries, with no knowledge of how the
// land is loaded, culled or drawn.
#pragma once

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
    // Whether the detail picture is drawn on the second texture unit: the
    // context it was loaded in offered multitexturing. Drawing also checks
    // the current context, so a later one without it draws the base alone.
    bool detail_on_second_unit = false;
};

// The stored height of a grid point, or 0.0 outside the grid.
float terrain_sample(int col, int row, const Terrain& land);

// Ground height at a world point, bilinear over the cell that holds it. The
// cell index truncates toward zero while the fraction uses floor, so a point
// just below 0 blends from the cell of 0.
float terrain_height_at(float x, float z, const Terrain& land);
