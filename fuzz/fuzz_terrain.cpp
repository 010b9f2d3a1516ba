// libFuzzer target for the RAW heightmap loader with any grid size: the
// first four bytes give the width and height (signed, little-endian), the
// rest is the file. A grid that loads is built into a quadtree, queried
// inside and far outside, and, when small (16 x 16 at most, so runs stay
// quick), marched by the shadow pass.
#include "console/output.h"
#include "terrain/quadtree.h"
#include "terrain/shadow.h"
#include "terrain/terrain.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

static int leaf_count(const QuadNode* node) {
    if (!node) return 0;
    if (node->is_leaf) return 1;
    int leaves = 0;
    for (const QuadNode* child : node->children)
        leaves += leaf_count(child);
    return leaves;
}

// Sizes up to 512 keep every run quick; larger values fold back into range
// and negative ones stay negative.
static int grid_side(const uint8_t* bytes) {
    int value = static_cast<int16_t>(bytes[0] | bytes[1] << 8);
    return value > 512 ? value % 513 : value;
}

static float float_at(const uint8_t* data, size_t size, size_t at) {
    float value = 0.0f;
    if (at + sizeof value <= size) std::memcpy(&value, data + at, sizeof value);
    return value;
}

static void query(const Terrain& land, const uint8_t* data, size_t size) {
    for (int col : {-1, 0, land.width - 1, land.width, 1 << 30})
        for (int row : {-7, 0, land.height - 1, land.height})
            (void)terrain_sample(col, row, land);
    for (size_t at = 4; at + 8 <= size && at < 68; at += 8) {
        const float h =
            terrain_height_at(float_at(data, size, at), float_at(data, size, at + 4), land);
        if (!std::isnan(h) && (h < -64.0f || h > 128.0f)) __builtin_trap();
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (!started) {
        console_output_init();
        started = true;
    }
    if (size < 4) return 0;
    const int width = grid_side(data);
    const int height = grid_side(data + 2);
    std::FILE* file = size > 4 ? fmemopen(const_cast<uint8_t*>(data + 4), size - 4, "rb")
                               : std::fopen("/dev/null", "rb");
    if (!file) return 0;
    Terrain land;
    const bool loaded = terrain_read_heights(file, "fuzz.raw", width, height, land);
    std::fclose(file);
    if (loaded) {
        if (!terrain_size_valid(width, height)) __builtin_trap();
        for (float h : land.heights)
            if (h < 0.0f || h > 63.75f) __builtin_trap();
        land.root = quad_node_new();
        quad_node_build(land.root, 0.0f, 0.0f, static_cast<float>(width),
                        static_cast<float>(height), land);
        if (leaf_count(land.root) != (width / 4) * (height / 4)) __builtin_trap();
        query(land, data, size);
        if (width <= 16) {
            std::vector<int> shade =
                terrain_shadow_map(land, float_at(data, size, 4), float_at(data, size, 8));
            terrain_smooth_shades(shade, width);
        }
    }
    terrain_free(land);
    return 0;
}
