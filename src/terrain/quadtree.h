// The quadtree of square patches that culls the landscape: built once per
// level over the height grid and tested every frame against the view's
// footprint on the ground (terrain/draw.h draws what it lets through).
#pragma once

#include "math/vector.h"

struct Terrain;

// A point on the ground plane.
struct GroundPoint {
    float x, z;
};

// Leaves are patches of 4 x 4 cells.
constexpr int LEAF_CELLS = 4;
constexpr int LEAF_SIDE = LEAF_CELLS + 1; // grid points along a leaf's side
constexpr int LEAF_SAMPLES = LEAF_SIDE * LEAF_SIDE;
// A leaf can be drawn at three levels of detail (terrain/lod.h).
constexpr int LOD_LEVELS = 3;

struct QuadNode {
    // Inner nodes: quarter 0 at (x0, z0), 1 at (x0 + w/2, z0), 2 at
    // (x0 + w/2, z0 + h/2), 3 at (x0, z0 + h/2). All null in a leaf.
    QuadNode* children[4] = {};
    // (x0, z0), (x0 + w, z0), (x0 + w, z0 + h), (x0, z0 + h).
    GroundPoint corners[4] = {};
    bool is_leaf = false;
    // Leaves only: the patch's 5 x 5 heights, row r (z0 + r) and column i
    // (x0 + i) at 5 * r + i, edges shared with the neighbours.
    float* samples = nullptr;
    // Leaves only, worked out once when the leaf is filled for choosing its
    // level every frame: the lowest and highest of its samples and the
    // height error of each level (lod_leaf_error).
    float lowest = 0.0f, highest = 0.0f;
    float level_errors[LOD_LEVELS] = {};
};

// A line on the ground; (x, z) is inside when a * x + b * z + d >= 0.
struct EdgeLine {
    float a, b, d;
};

enum NodeSide { SIDE_OUTSIDE = 0, SIDE_INSIDE = 1, SIDE_PARTIAL = 2 };

// A node with no children and no samples.
QuadNode* quad_node_new();
// Fills the node over the square (x0, z0, w, h) and builds its subtree:
// nodes split until a half side would be under 4, leaves copy their 5 x 5
// samples from the grid (0.0 beyond its edges).
void quad_node_build(QuadNode* node, float x0, float z0, float w, float h, const Terrain& land);
// Frees everything below the node and the node's samples, not the node.
void quad_node_free(QuadNode* node);

// The line through A and B; the inside is on the left of A -> B seen from
// above with x to the right and z down.
EdgeLine edge_line_from_points(GroundPoint a, GroundPoint b);
NodeSide node_side_of_line(const QuadNode& node, const EdgeLine& line);
NodeSide node_in_footprint(const QuadNode& node, const EdgeLine edges[4]);

// The view's footprint on the ground as four edge lines: far corners 200
// units ahead (times cos(pitch / 2); further for a view wider than 90
// degrees, so the far edge stays as far ahead), back corners behind the eye
// by up to 100 units as the view tilts down, collapsing onto the eye when
// level. field_of_view is the view's horizontal width in radians.
void terrain_footprint(Vector3 eye, float yaw, float pitch, float field_of_view, EdgeLine edges[4]);
