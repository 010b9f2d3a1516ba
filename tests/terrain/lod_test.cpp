// Land level of detail: every leaf shape covers its leaf once with sides that
// match any neighbour's, the height error of a level, and whole frames of the
// three levels against the literal full-detail drawing at 1024 x 768.
#include "landscape_fixture.h"
#include "support/test_files.h"
#include "terrain/lod.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <set>

namespace {

struct Point2 {
    float x, z;
};

Point2 sample_point(uint8_t sample) {
    return {static_cast<float>(sample % LEAF_SIDE), static_cast<float>(sample / LEAF_SIDE)};
}

// Twice the signed area seen from above with x right and z down.
float twice_area(Point2 a, Point2 b, Point2 c) {
    return (b.x - a.x) * (c.z - a.z) - (c.x - a.x) * (b.z - a.z);
}

std::string describe(int level, const int sides[4]) {
    char text[64];
    std::snprintf(text, sizeof text, "level %d, sides %d %d %d %d", level, sides[0], sides[1],
                  sides[2], sides[3]);
    return text;
}

} // namespace

// All 3 x 81 combinations: triangles turn the same way as the full
// drawing's, their areas add up to the leaf's 16 cells, points spread over
// the leaf fall in exactly one of them, and each side holds exactly the
// points of its level's step (what the neighbour on that side holds too).
TEST(LeafShapes, CoverTheLeafOnceWithSidesAtTheCoarserLevel) {
    for (int level = 0; level < LOD_LEVELS; level++)
        for (int combination = 0; combination < 81; combination++) {
            int sides[4];
            for (int k = 3, rest = combination; k >= 0; k--, rest /= 3)
                sides[k] = rest % 3;
            const std::string what = describe(level, sides);
            const LeafShape& shape = lod_leaf_shape(level, sides);
            ASSERT_EQ(shape.triangles.size() % 3, 0u) << what;
            std::vector<Point2> corners;
            for (uint8_t index : shape.triangles) {
                ASSERT_LT(index, shape.points.size()) << what;
                corners.push_back(sample_point(shape.points[index]));
            }
            float area = 0.0f;
            for (size_t t = 0; t < corners.size(); t += 3) {
                const float twice = twice_area(corners[t], corners[t + 1], corners[t + 2]);
                EXPECT_LT(twice, 0.0f) << what << ": triangle " << t / 3 << " turns the wrong way";
                area += -twice / 2.0f;
            }
            EXPECT_FLOAT_EQ(area, 16.0f) << what;
            for (int n = 0; n < 400; n++) {
                const Point2 p{0.0137f + (n % 20) * 0.2003f, 0.0291f + (n / 20) * 0.1987f};
                int covering = 0;
                for (size_t t = 0; t < corners.size(); t += 3)
                    covering += twice_area(corners[t], corners[t + 1], p) < 0.0f &&
                                twice_area(corners[t + 1], corners[t + 2], p) < 0.0f &&
                                twice_area(corners[t + 2], corners[t], p) < 0.0f;
                EXPECT_EQ(covering, 1) << what << ": point " << p.x << ", " << p.z;
            }
            for (int k = 0; k < 4; k++) {
                const int step = 1 << std::max(level, sides[k]);
                std::set<int> expected, found;
                for (int along = 0; along <= LEAF_CELLS; along += step)
                    expected.insert(along);
                for (uint8_t sample : shape.points) {
                    const int i = sample % LEAF_SIDE, r = sample / LEAF_SIDE;
                    const bool on[4] = {r == 0, i == LEAF_CELLS, r == LEAF_CELLS, i == 0};
                    if (on[k]) found.insert(k == 0 || k == 2 ? i : r);
                }
                EXPECT_EQ(found, expected) << what << ": side " << k;
            }
        }
}

TEST(LeafShapes, HaveThirtyTwoEightOrTwoTrianglesWithMatchingSides) {
    const int same[3][4] = {{0, 0, 0, 0}, {1, 1, 1, 1}, {2, 2, 2, 2}};
    const size_t triangles[3] = {32, 8, 2};
    for (int level = 0; level < LOD_LEVELS; level++)
        EXPECT_EQ(lod_leaf_shape(level, same[level]).triangles.size(), triangles[level] * 3)
            << level;
}

TEST(LeafError, IsTheLargestHeightMissedAtThatLevel) {
    struct Case {
        const char* what;
        int raised;     // sample raised by 2 units, -1 for none
        bool sloped;    // a plane rising along x under it
        float error[3]; // per level
    };
    const Case cases[] = {
        {"flat", -1, false, {0, 0, 0}},
        {"a plane", -1, true, {0, 0, 0}},
        {"the middle point, kept by level 1", 12, true, {0, 1, 2}},
        {"a point only level 0 has", 6, false, {0, 2, 2}},
        {"a corner, kept by every level", 0, false, {0, 1, 1.5f}},
    };
    for (const Case& c : cases) {
        float samples[LEAF_SAMPLES];
        for (int s = 0; s < LEAF_SAMPLES; s++)
            samples[s] = c.sloped ? 0.75f * (s % LEAF_SIDE) : 5.0f;
        if (c.raised >= 0) samples[c.raised] += 2.0f;
        for (int level = 0; level < LOD_LEVELS; level++)
            EXPECT_FLOAT_EQ(lod_leaf_error(samples, level), c.error[level])
                << c.what << ", level " << level;
    }
}

// ---- Whole frames against the literal drawing ----------------------------------

namespace {

struct Eye {
    const char* what;
    Vector3 at;
    float yaw, pitch;
};

float ground(float x, float z) {
    return terrain_height_at(x, z, terrain);
}

// The rise of the ground 30 units ahead along the yaw.
float rise(float x, float z, float yaw) {
    return ground(x + 30.0f * std::cos(yaw), z + 30.0f * std::sin(yaw)) - ground(x, z);
}

// Five eyes on the loaded level, found from its heights: looking level from
// the start, up the steepest slope, down the steepest drop, along the
// flattest way from the highest point, and at the land's far corner.
std::vector<Eye> eyes_on_level() {
    Eye up{"up a slope", {}, 0, -0.15f}, down{"down a valley", {}, 0, 0.35f};
    float steepest = -1e9f, deepest = 1e9f, highest = -1e9f;
    Vector3 top{};
    for (float z = 40; z <= 472; z += 24)
        for (float x = 40; x <= 472; x += 24) {
            for (int d = 0; d < 8; d++) {
                const float yaw = d * 0.7853982f, r = rise(x, z, yaw);
                if (r > steepest) steepest = r, up.at = {x, ground(x, z) + 6, z}, up.yaw = yaw;
                if (r < deepest) deepest = r, down.at = {x, ground(x, z) + 6, z}, down.yaw = yaw;
            }
            if (ground(x, z) > highest) highest = ground(x, z), top = {x, ground(x, z) + 6, z};
        }
    Eye ridge{"along a ridge", top, 0, 0.1f};
    float flattest = 1e9f;
    for (int d = 0; d < 8; d++)
        if (std::fabs(rise(top.x, top.z, d * 0.7853982f)) < flattest)
            flattest = std::fabs(rise(top.x, top.z, d * 0.7853982f)), ridge.yaw = d * 0.7853982f;
    return {{"level from the start", {256, ground(256, 256) + 10, 256}, 0.0f, 0.0f},
            up,
            down,
            ridge,
            {"at the land's edge", {480, ground(480, 470) + 10, 470}, 0.6f, 0.15f}};
}

// In the build folder, beside the data folder.
std::string screenshot_path(const std::string& name) {
    const std::filesystem::path folder = test_build_folder() / "screenshots";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
}

bool is_sky(const uint8_t* p) {
    return p[0] == 102 && p[1] == 102 && p[2] == 204;
}

} // namespace

class SimplifiedLand : public LandscapeTest, public testing::WithParamInterface<int> {};

// At most 1 % of the pixels differ by more than 16 in a channel, and no
// pixel shows the sky where the literal drawing shows land with land right
// above it: a crack. (Where the sky is above, the outline of a far hill may
// move by a pixel, which the error allows.)
TEST_P(SimplifiedLand, LooksLikeTheLiteralDrawingFromFiveEyes) {
    ASSERT_TRUE(load_level(GetParam()));
    const std::vector<Eye> eyes = eyes_on_level();
    for (const Eye& eye : eyes) {
        set_lod_error(0.0f);
        const std::vector<uint8_t> literal = draw_view(eye.at, eye.yaw, eye.pitch, true);
        set_lod_error(LOD_DEFAULT_PIXELS);
        const std::vector<uint8_t> drawn = draw_view(eye.at, eye.yaw, eye.pitch, false);
        const int simplified_triangles = terrain_frame_triangles();
        if (&eye == &eyes.front()) { // pictures for people to compare
            const std::string level = std::to_string(GetParam());
            write_frame_png(screenshot_path("land" + level + "-literal.png"), literal, WIDTH, HEIGHT);
            write_frame_png(screenshot_path("land" + level + "-simplified.png"), drawn, WIDTH, HEIGHT);
        }
        set_lod_error(0.0f);
        draw_view(eye.at, eye.yaw, eye.pitch, false);
        const int full_triangles = terrain_frame_triangles();
        int differing = 0, cracks = 0, outline = 0;
        for (size_t i = 0; i < literal.size(); i += 3) {
            bool far_off = false;
            for (int c = 0; c < 3; c++)
                far_off = far_off || std::abs(literal[i + c] - drawn[i + c]) > 16;
            differing += far_off;
            const size_t above = i + WIDTH * 3;
            outline += far_off && is_sky(&drawn[i]);
            cracks += far_off && is_sky(&drawn[i]) && above < drawn.size() &&
                      !is_sky(&drawn[above]) && !is_sky(&literal[i]);
        }
        const int pixels = WIDTH * HEIGHT;
        std::printf("level %d, %s: %d of %d triangles, %d pixels differ by more than 16, "
                    "%d of them sky (outlines)\n",
                    GetParam(), eye.what, simplified_triangles, full_triangles, differing,
                    outline);
        EXPECT_LE(differing, pixels / 100) << eye.what;
        EXPECT_EQ(cracks, 0) << eye.what << ": sky through the land";
        EXPECT_LT(simplified_triangles, full_triangles) << eye.what;
    }
}

INSTANTIATE_TEST_SUITE_P(Levels, SimplifiedLand, testing::Values(1, 2, 3));
