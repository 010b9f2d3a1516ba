// Land level of detail: leaf shapes for every level and side levels, built
// once on first use, the height error of a level and the choice of level.
//
// A shape is the regular triangulation at the leaf's own step, each cell
// split along the same diagonal as the full drawing's, with every point of a
// coarser side that the coarser level lacks moved onto the kept point just
// before it along that side. Triangles that collapse to a line are dropped;
// the others still cover the leaf exactly once.
#include "terrain/lod.h"

#include <algorithm>
#include <cmath>

namespace {

// Every level with every combination of side levels: level * 81 + sides.
std::vector<LeafShape> shapes;

int shape_key(int level, const int side_levels[4]) {
    int key = level;
    for (int k = 0; k < 4; k++)
        key = key * LOD_LEVELS + std::max(level, side_levels[k]);
    return key;
}

// The point a side's missing point moves to; points of no coarser side stay.
int collapse_point(int i, int r, const int side_steps[4]) {
    const bool on_side[4] = {r == 0, i == LEAF_CELLS, r == LEAF_CELLS, i == 0};
    for (int k = 0; k < 4; k++) {
        if (!on_side[k]) continue;
        int& along = (k == 0 || k == 2) ? i : r;
        along -= along % side_steps[k];
    }
    return LEAF_SIDE * r + i;
}

LeafShape build_shape(int level, const int side_levels[4]) {
    const int step = 1 << level;
    int side_steps[4];
    for (int k = 0; k < 4; k++)
        side_steps[k] = 1 << std::max(level, side_levels[k]);
    LeafShape shape;
    int slot[LEAF_SAMPLES];
    std::fill(slot, slot + LEAF_SAMPLES, -1);
    auto add = [&](int i, int r) {
        const int sample = collapse_point(i, r, side_steps);
        if (slot[sample] < 0) {
            slot[sample] = static_cast<int>(shape.points.size());
            shape.points.push_back(static_cast<uint8_t>(sample));
        }
        return slot[sample];
    };
    for (int r = 0; r < LEAF_CELLS; r += step)
        for (int i = 0; i < LEAF_CELLS; i += step) {
            // Corners a (i, r), b (i, r + s), c (i + s, r), d (i + s, r + s):
            // triangles (c, a, d) and (a, b, d), as the strips are split.
            const int a = add(i, r), b = add(i, r + step);
            const int c = add(i + step, r), d = add(i + step, r + step);
            const int cell[2][3] = {{c, a, d}, {a, b, d}};
            for (const auto& t : cell) {
                if (t[0] == t[1] || t[1] == t[2] || t[0] == t[2]) continue;
                for (int corner = 0; corner < 3; corner++)
                    shape.triangles.push_back(static_cast<uint8_t>(t[corner]));
            }
        }
    return shape;
}

void build_all_shapes() {
    shapes.resize(LOD_LEVELS * 81);
    for (int level = 0; level < LOD_LEVELS; level++)
        for (int sides = 0; sides < 81; sides++) {
            int side_levels[4];
            for (int k = 3, rest = sides; k >= 0; k--, rest /= LOD_LEVELS)
                side_levels[k] = rest % LOD_LEVELS;
            if (shape_key(level, side_levels) != level * 81 + sides) continue; // a side below the level
            shapes[level * 81 + sides] = build_shape(level, side_levels);
        }
}

// The height at (u, v) inside a cell of the given step whose corners are
// a (0, 0), b (0, s), c (s, 0), d (s, s), split along a-d.
float cell_height(float a, float b, float c, float d, float fu, float fv) {
    if (fu >= fv) return a + fu * (c - a) + fv * (d - c);
    return a + fv * (b - a) + fu * (d - b);
}

} // namespace

const LeafShape& lod_leaf_shape(int level, const int side_levels[4]) {
    if (shapes.empty()) build_all_shapes();
    level = std::clamp(level, 0, LOD_LEVELS - 1);
    int clamped[4];
    for (int k = 0; k < 4; k++)
        clamped[k] = std::clamp(side_levels[k], level, LOD_LEVELS - 1);
    return shapes[shape_key(level, clamped)];
}

float lod_leaf_error(const float samples[LEAF_SAMPLES], int level) {
    const int step = 1 << level;
    float worst = 0.0f;
    for (int r = 0; r < LEAF_SIDE; r++)
        for (int i = 0; i < LEAF_SIDE; i++) {
            const int i0 = std::min(i / step * step, LEAF_CELLS - step);
            const int r0 = std::min(r / step * step, LEAF_CELLS - step);
            const float a = samples[LEAF_SIDE * r0 + i0];
            const float b = samples[LEAF_SIDE * (r0 + step) + i0];
            const float c = samples[LEAF_SIDE * r0 + i0 + step];
            const float d = samples[LEAF_SIDE * (r0 + step) + i0 + step];
            const float fu = static_cast<float>(i - i0) / step;
            const float fv = static_cast<float>(r - r0) / step;
            worst = std::max(worst, std::fabs(samples[LEAF_SIDE * r + i] -
                                               cell_height(a, b, c, d, fu, fv)));
        }
    return worst;
}

int lod_choose_level(const QuadNode& leaf, Vector3 eye, float pixels_at_unit, float max_pixels) {
    auto gap = [](float value, float low, float high) {
        return value < low ? low - value : (value > high ? value - high : 0.0f);
    };
    const float x0 = leaf.corners[0].x, z0 = leaf.corners[0].z;
    const float dx = gap(eye.x, x0, x0 + LEAF_CELLS);
    const float dy = gap(eye.y, leaf.lowest, leaf.highest);
    const float dz = gap(eye.z, z0, z0 + LEAF_CELLS);
    const float distance = std::sqrt(dx * dx + dy * dy + dz * dz);
    for (int level = LOD_LEVELS - 1; level > 0; level--)
        if (leaf.level_errors[level] * pixels_at_unit <= max_pixels * distance) return level;
    return 0;
}
