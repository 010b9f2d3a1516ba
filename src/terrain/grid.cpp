// Height grid: the two queries every part of the game asks of the land.
#include "terrain/grid.h"

#include <cmath>
#include <cstddef>

float terrain_sample(int col, int row, const Terrain& land) {
    if (col < 0 || row < 0 || col >= land.width || row >= land.height) return 0.0f;
    return land.heights[static_cast<size_t>(row) * land.width + col];
}

// Truncation toward zero; values beyond the range of int (and NaN) land far
// outside every grid instead of in an undefined conversion.
static int truncate_to_index(float value) {
    if (!(value > -1.0e9f && value < 1.0e9f)) return -2;
    return static_cast<int>(value);
}

float terrain_height_at(float x, float z, const Terrain& land) {
    int col = truncate_to_index(x);
    int row = truncate_to_index(z);
    float h00 = terrain_sample(col, row, land);
    float h10 = terrain_sample(col + 1, row, land);
    float h01 = terrain_sample(col, row + 1, land);
    float h11 = terrain_sample(col + 1, row + 1, land);
    float fx = x - std::floor(x);
    float fz = z - std::floor(z);
    float top = h00 + (h10 - h00) * fx;
    float bottom = h01 + (h11 - h01) * fx;
    return top + (bottom - top) * fz;
}
