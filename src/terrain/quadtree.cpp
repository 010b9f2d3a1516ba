// Landscape quadtree: owns building and freeing the tree, the view footprint
// and the culling of a node against it. Drawing the culled tree is in
// terrain/draw.cpp.
#include "terrain/quadtree.h"

#include "terrain/grid.h"
#include "terrain/lod.h"

#include <algorithm>
#include <cmath>

QuadNode* quad_node_new() {
    return new QuadNode{};
}

// Exactly 5 x 5 points from the leaf's (truncated) origin, whatever the
// origin: a leaf never holds more than its 25 samples. Then the height range
// and the errors the leaf's level is chosen from.
static void fill_leaf(QuadNode* node, float x0, float z0, const Terrain& land) {
    node->is_leaf = true;
    node->samples = new float[LEAF_SAMPLES];
    int first_col = static_cast<int>(x0);
    int first_row = static_cast<int>(z0);
    for (int r = 0; r < LEAF_SIDE; r++)
        for (int i = 0; i < LEAF_SIDE; i++)
            node->samples[LEAF_SIDE * r + i] = terrain_sample(first_col + i, first_row + r, land);
    const float* samples = node->samples;
    node->lowest = *std::min_element(samples, samples + LEAF_SAMPLES);
    node->highest = *std::max_element(samples, samples + LEAF_SAMPLES);
    for (int level = 0; level < LOD_LEVELS; level++)
        node->level_errors[level] = lod_leaf_error(samples, level);
}

static void set_corners(QuadNode* node, float x0, float z0, float w, float h) {
    node->corners[0] = {x0, z0};
    node->corners[1] = {x0 + w, z0};
    node->corners[2] = {x0 + w, z0 + h};
    node->corners[3] = {x0, z0 + h};
}

// Recurses into quarters 0 to 2 and carries on with quarter 3 in place.
void quad_node_build(QuadNode* node, float x0, float z0, float w, float h, const Terrain& land) {
    while (node) {
        set_corners(node, x0, z0, w, h);
        float hw = w * 0.5f;
        float hh = h * 0.5f;
        if (hw < LEAF_CELLS || hh < LEAF_CELLS) {
            fill_leaf(node, x0, z0, land);
            return;
        }
        node->is_leaf = false;
        node->children[0] = quad_node_new();
        quad_node_build(node->children[0], x0, z0, hw, hh, land);
        node->children[1] = quad_node_new();
        quad_node_build(node->children[1], x0 + hw, z0, hw, hh, land);
        node->children[2] = quad_node_new();
        quad_node_build(node->children[2], x0 + hw, z0 + hh, hw, hh, land);
        node->children[3] = quad_node_new();
        node = node->children[3];
        z0 += hh;
        w = hw;
        h = hh;
    }
}

void quad_node_free(QuadNode* node) {
    if (!node) return;
    delete[] node->samples;
    node->samples = nullptr;
    for (QuadNode*& child : node->children) {
        if (!child) continue;
        quad_node_free(child);
        delete child;
        child = nullptr;
    }
}

EdgeLine edge_line_from_points(GroundPoint a, GroundPoint b) {
    return {b.z - a.z, -(b.x - a.x), (b.x - a.x) * a.z - (b.z - a.z) * a.x};
}

NodeSide node_side_of_line(const QuadNode& node, const EdgeLine& line) {
    int outside = 0;
    for (const GroundPoint& corner : node.corners)
        if (line.a * corner.x + line.b * corner.z + line.d < 0.0f) outside++;
    if (outside == 4) return SIDE_OUTSIDE;
    return outside == 0 ? SIDE_INSIDE : SIDE_PARTIAL;
}

// Tested against the back edge first: it removes the most when looking down.
NodeSide node_in_footprint(const QuadNode& node, const EdgeLine edges[4]) {
    static const int order[4] = {3, 2, 0, 1};
    bool inside = true;
    for (int e : order) {
        NodeSide side = node_side_of_line(node, edges[e]);
        if (side == SIDE_OUTSIDE) return SIDE_OUTSIDE;
        if (side != SIDE_INSIDE) inside = false;
    }
    return inside ? SIDE_INSIDE : SIDE_PARTIAL;
}

// How much further than 200 units a view wider than 90 degrees sets its far
// corners, so that the far edge between them stays as far ahead as a
// 90-degree view's (141 units, beyond the fog). Capped for views near 180.
static double far_reach_widening(double half_view) {
    const double quarter_pi = 0.7853981633974483, most = 4.0;
    if (half_view <= quarter_pi) return 1.0;
    double widening = std::cos(quarter_pi) / std::cos(half_view);
    return widening < most && widening > 0.0 ? widening : most;
}

void terrain_footprint(Vector3 eye, float yaw, float pitch, float field_of_view,
                       EdgeLine edges[4]) {
    const double pi = 3.141592653589793;
    double hf = field_of_view * 0.5;
    double s = std::fabs(std::sin(pitch));
    double q = std::cos(pitch * 0.5) * far_reach_widening(hf);
    auto at = [&](double reach, double angle) {
        return GroundPoint{static_cast<float>(eye.x + reach * std::cos(angle)),
                           static_cast<float>(eye.z + reach * std::sin(angle))};
    };
    GroundPoint p1 = at(100.0 * s, yaw - pi - hf);
    GroundPoint p2 = at(100.0 * s, yaw + hf + pi);
    GroundPoint p3 = at(200.0 * q, yaw + hf);
    GroundPoint p4 = at(200.0 * q, yaw - hf);
    edges[0] = edge_line_from_points(p1, p3);
    edges[1] = edge_line_from_points(p4, p2);
    edges[2] = edge_line_from_points(p3, p4);
    edges[3] = edge_line_from_points(p2, p1);
}
