// Land level of detail: the simpler shapes a leaf can be drawn with, the
// height error of each, and the choice of a shape from the leaf's distance.
// A leaf's side is drawn with the coarser of its own level and its
// neighbour's, so the two share exactly the same points along it: no cracks.
#pragma once

#include "math/vector.h"
#include "terrain/quadtree.h"

#include <cstdint>
#include <vector>

// Level 0 is the full 4 x 4 cells (32 triangles), level 1 every other
// point (2 x 2 cells, 8 triangles), level 2 the four corners (2 triangles):
// LOD_LEVELS, from terrain/quadtree.h, where each leaf keeps its errors.

// The screen-space error allowed by default, in pixels.
constexpr float LOD_DEFAULT_PIXELS = 1.0f;

// A leaf's triangles at one level with given side levels: the leaf samples
// it uses (indices 0 .. 24, row-major) and its triangles as indices into
// that list, counter-clockwise seen from above like the full drawing's.
struct LeafShape {
    std::vector<uint8_t> points;
    std::vector<uint8_t> triangles;
};

// Sides in order: 0 along z0 (row 0), 1 along x0 + 4 (column 4), 2 along
// z0 + 4 (row 4), 3 along x0 (column 0). A side's level below the leaf's
// own is taken as the leaf's.
const LeafShape& lod_leaf_shape(int level, const int side_levels[4]);

// The largest vertical distance between the leaf's 25 heights and its
// surface at the given level (0 at level 0).
float lod_leaf_error(const float samples[LEAF_SAMPLES], int level);

// The coarsest level whose error, seen from the eye at the distance of the
// leaf's nearest point, stays within max_pixels on screen; pixels_at_unit
// is how many pixels one unit spans one unit in front of the eye. Reads the
// height range and errors the leaf keeps (quad_node_build fills them).
int lod_choose_level(const QuadNode& leaf, Vector3 eye, float pixels_at_unit, float max_pixels);
