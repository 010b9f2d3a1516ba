// The quadtree: shapes, samples and level-choosing data of built trees,
// freeing, the view's footprint on the ground and the classification of
// nodes against it.
#include "land_files.h"
#include "terrain/lod.h"

#include <gtest/gtest.h>
#include <malloc.h>

#if defined(__SANITIZE_ADDRESS__)
#define HEAP_COUNTED_BY_ASAN 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define HEAP_COUNTED_BY_ASAN 1
#endif
#endif
#ifdef HEAP_COUNTED_BY_ASAN
// The sanitizer runtime's own count (GCC ships no header that declares it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

#include <algorithm>
#include <cmath>
#include <iterator>
#include <functional>

namespace {

constexpr float PI = 3.14159265f;

// Bytes the program holds on the heap. AddressSanitizer brings its own
// allocator, and glibc's count never moves under it: its own count is used
// there (blocks it holds back in quarantine are already counted as freed).
// Windows' C library has no running count: its heap is walked block by block.
size_t heap_bytes_in_use() {
#ifdef HEAP_COUNTED_BY_ASAN
    return __sanitizer_get_current_allocated_bytes();
#elif defined(_WIN32)
    size_t used = 0;
    _HEAPINFO block{};
    while (_heapwalk(&block) == _HEAPOK)
        if (block._useflag == _USEDENTRY) used += block._size;
    return used;
#else
    return mallinfo2().uordblks;
#endif
}

int count_leaves(const QuadNode* node, int depth, int* deepest) {
    if (!node) return 0;
    if (node->is_leaf) {
        *deepest = std::max(*deepest, depth);
        return 1;
    }
    int leaves = 0;
    for (const QuadNode* child : node->children)
        leaves += count_leaves(child, depth + 1, deepest);
    return leaves;
}

// Heights that tell every grid point apart: col + 100 * row, in quarters.
std::vector<float> numbered_heights(int side) {
    std::vector<float> heights(static_cast<size_t>(side) * side);
    for (int row = 0; row < side; row++)
        for (int col = 0; col < side; col++)
            heights[static_cast<size_t>(row) * side + col] = (col + 100 * row) * 0.25f;
    return heights;
}

void free_land(Terrain& land) {
    quad_node_free(land.root);
    delete land.root;
    land.root = nullptr;
}

QuadNode square_node(float x0, float z0, float size) {
    QuadNode node;
    node.corners[0] = {x0, z0};
    node.corners[1] = {x0 + size, z0};
    node.corners[2] = {x0 + size, z0 + size};
    node.corners[3] = {x0, z0 + size};
    return node;
}

bool inside_all(const EdgeLine edges[4], float x, float z) {
    QuadNode point = square_node(x, z, 0.0f);
    return node_in_footprint(point, edges) == SIDE_INSIDE;
}

} // namespace

TEST(QuadTree, ShapesFollowTheGridSide) {
    struct Case {
        int side, leaves, depth;
    } cases[] = {{4, 1, 0}, {8, 4, 1}, {16, 16, 2}, {64, 256, 4}};
    for (const Case& c : cases) {
        Terrain land;
        build_land(land, c.side, numbered_heights(c.side));
        int deepest = 0;
        EXPECT_EQ(count_leaves(land.root, 0, &deepest), c.leaves) << c.side;
        EXPECT_EQ(deepest, c.depth) << c.side;
        free_land(land);
    }
}

TEST(QuadTree, ChildrenAreTheQuartersInOrderAndLeavesCopyTheirPoints) {
    Terrain land;
    build_land(land, 16, numbered_heights(16));
    const QuadNode* root = land.root;
    EXPECT_EQ(root->corners[2].x, 16.0f);
    EXPECT_EQ(root->corners[2].z, 16.0f);
    const float origins[4][2] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}};
    for (int i = 0; i < 4; i++) {
        ASSERT_NE(root->children[i], nullptr);
        EXPECT_EQ(root->children[i]->corners[0].x, origins[i][0]) << i;
        EXPECT_EQ(root->children[i]->corners[0].z, origins[i][1]) << i;
        EXPECT_EQ(root->children[i]->corners[1].x, origins[i][0] + 8) << i;
        EXPECT_EQ(root->children[i]->samples, nullptr);
    }
    // Quarter 2 of quarter 1: the leaf at (12, 4).
    const QuadNode* leaf = root->children[1]->children[2];
    ASSERT_TRUE(leaf->is_leaf);
    EXPECT_EQ(leaf->corners[0].x, 12.0f);
    EXPECT_EQ(leaf->corners[0].z, 4.0f);
    for (int r = 0; r < LEAF_SIDE; r++)
        for (int i = 0; i < LEAF_SIDE; i++) {
            // Column 16 lies beyond the grid and reads 0.
            float expected = 12 + i < 16 ? (12 + i + 100 * (4 + r)) * 0.25f : 0.0f;
            EXPECT_EQ(leaf->samples[LEAF_SIDE * r + i], expected) << r << ", " << i;
        }
    // What its level is chosen from: the range from column 16's 0 to the
    // highest point (15, 8), and each level's error over those samples.
    EXPECT_EQ(leaf->lowest, 0.0f);
    EXPECT_EQ(leaf->highest, (15 + 100 * 8) * 0.25f);
    for (int level = 0; level < LOD_LEVELS; level++)
        EXPECT_EQ(leaf->level_errors[level], lod_leaf_error(leaf->samples, level)) << level;
    EXPECT_GT(leaf->level_errors[LOD_LEVELS - 1], 0.0f);
    free_land(land);
}

TEST(QuadTree, FreeingLeavesNoMemoryBehind) {
    const std::vector<float> heights = numbered_heights(64);
    Terrain land;
    land.width = land.height = 64;
    land.heights = heights;
    // A first tree fills the allocator's per-thread caches, which count as
    // memory in use; after that a build and a free must even out exactly.
    land.root = quad_node_new();
    quad_node_build(land.root, 0.0f, 0.0f, 64.0f, 64.0f, land);
    quad_node_free(land.root);
    delete land.root;
    const size_t before = heap_bytes_in_use();
    land.root = quad_node_new();
    quad_node_build(land.root, 0.0f, 0.0f, 64.0f, 64.0f, land);
    const size_t built = heap_bytes_in_use();
    quad_node_free(land.root);
    const bool children_cleared =
        std::all_of(std::begin(land.root->children), std::end(land.root->children),
                    [](const QuadNode* child) { return !child; });
    delete land.root;
    const size_t after = heap_bytes_in_use();
    EXPECT_GT(built, before + 256 * LEAF_SAMPLES * sizeof(float));
    EXPECT_TRUE(children_cleared);
    EXPECT_EQ(after, before);
    quad_node_free(nullptr);
}

TEST(Footprint, LookingLevelIsATriangleFromTheEye) {
    EdgeLine edges[4];
    terrain_footprint({100.0f, 10.0f, 50.0f}, 0.0f, 0.0f, PI / 2, edges);
    // The back edge collapses onto the eye and never excludes anything.
    EXPECT_EQ(edges[3].a, 0.0f);
    EXPECT_EQ(edges[3].b, 0.0f);
    EXPECT_EQ(edges[3].d, 0.0f);
    EXPECT_TRUE(inside_all(edges, 100.5f, 50.0f));  // just ahead
    EXPECT_TRUE(inside_all(edges, 240.0f, 50.0f));  // far ahead, within 200 cos 45
    EXPECT_FALSE(inside_all(edges, 250.0f, 50.0f)); // beyond the far edge
    EXPECT_TRUE(inside_all(edges, 180.0f, 125.0f)); // 45 degrees to the right
    EXPECT_FALSE(inside_all(edges, 180.0f, 135.0f));
    EXPECT_FALSE(inside_all(edges, 99.0f, 50.0f)); // behind the eye
}

// A view wider than 90 degrees (the true aspect in a wide window) takes in
// its whole width, and its far edge stays as far ahead as the 90-degree
// view's, beyond the fog's end at 130 units: nothing seen is culled.
TEST(Footprint, AWideViewKeepsItsFarEdgeBeyondTheFog) {
    struct Case {
        float aspect; // of the window, at a vertical view of 90 degrees
        const char* what;
    } cases[] = {{1.0f, "square"}, {16.0f / 9.0f, "16:9"}, {21.0f / 9.0f, "21:9"}};
    for (const Case& c : cases) {
        float width = 2.0f * std::atan(c.aspect); // tan(45 degrees) = 1
        float half = width / 2.0f;
        EdgeLine edges[4];
        terrain_footprint({0.0f, 10.0f, 0.0f}, 0.0f, 0.0f, width, edges);
        EXPECT_TRUE(inside_all(edges, 135.0f, 0.0f)) << c.what << ": straight ahead";
        EXPECT_FALSE(inside_all(edges, 145.0f, 0.0f)) << c.what << ": past the far edge";
        // 130 units ahead and just inside either side of the view.
        for (float side : {-1.0f, 1.0f}) {
            float angle = side * (half - 0.02f);
            EXPECT_TRUE(inside_all(edges, 130.0f, 130.0f * std::tan(angle)))
                << c.what << ": 130 ahead at the side " << side;
            angle = side * (half + 0.02f);
            EXPECT_FALSE(inside_all(edges, 50.0f, 50.0f * std::tan(angle)))
                << c.what << ": outside the side " << side;
        }
    }
}

TEST(Footprint, LookingDownReachesBehindTheEye) {
    EdgeLine edges[4];
    // Straight down along +z: the back corners are 100 units behind, the far
    // ones 200 cos(45) = 141 ahead at 45 degrees to either side.
    terrain_footprint({0.0f, 10.0f, 0.0f}, PI / 2, PI / 2, PI / 2, edges);
    EXPECT_TRUE(inside_all(edges, 0.0f, -60.0f));
    EXPECT_FALSE(inside_all(edges, 0.0f, -80.0f));
    EXPECT_TRUE(inside_all(edges, 0.0f, 95.0f));
    EXPECT_FALSE(inside_all(edges, 0.0f, 105.0f));
    EXPECT_TRUE(inside_all(edges, 60.0f, 0.0f));
    EXPECT_FALSE(inside_all(edges, 110.0f, 0.0f));
}

TEST(Classification, CountsCornersOutsideEachEdge) {
    // x >= 10 is inside.
    const EdgeLine line = edge_line_from_points({10.0f, 0.0f}, {10.0f, 1.0f});
    EXPECT_EQ(line.a, 1.0f);
    EXPECT_EQ(line.b, 0.0f);
    EXPECT_EQ(line.d, -10.0f);
    struct Case {
        float x0, size;
        NodeSide side;
    } cases[] = {{12, 4, SIDE_INSIDE},    {10, 4, SIDE_INSIDE}, {2, 4, SIDE_OUTSIDE},
                 {5.9f, 4, SIDE_OUTSIDE}, {6, 4, SIDE_PARTIAL}, {9.9f, 4, SIDE_PARTIAL}};
    for (const Case& c : cases) {
        const QuadNode node = square_node(c.x0, 0.0f, c.size);
        EXPECT_EQ(node_side_of_line(node, line), c.side) << c.x0;
    }
}

TEST(Classification, FootprintIsOutsideAtTheFirstOutsideEdgeAndInsideOnlyWithinAll) {
    EdgeLine edges[4];
    terrain_footprint({0.0f, 10.0f, 0.0f}, 0.0f, 0.0f, PI / 2, edges);
    struct Case {
        float x0, z0, size;
        NodeSide side;
    } cases[] = {
        {40, -4, 8, SIDE_INSIDE},   {-20, -4, 8, SIDE_OUTSIDE},   {-4, -4, 8, SIDE_PARTIAL},
        {40, 60, 8, SIDE_OUTSIDE},  {40, 36, 8, SIDE_PARTIAL},    {136, -4, 8, SIDE_PARTIAL},
        {150, -4, 8, SIDE_OUTSIDE}, {0, -256, 512, SIDE_PARTIAL},
    };
    for (const Case& c : cases) {
        const QuadNode node = square_node(c.x0, c.z0, c.size);
        EXPECT_EQ(node_in_footprint(node, edges), c.side) << c.x0 << ", " << c.z0;
    }
}
