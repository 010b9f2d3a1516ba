// The three landscapes as the game gets them from the data tool: heights and
// pictures with the character of their level, and each loaded, shaded by a
// sun and drawn from the start point with the play frame's fog, projection
// and camera. The frames are kept in the build folder's screenshots/
// (docs/land1.png ... land3.png are copies of them).
#include "landscape_fixture.h"
#include "terrain/shadow.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace {

// Sun 30 degrees up, to the right of and a little behind the start view, so
// shadows fall forward and to the left across what the player sees first.
constexpr float SUN_ELEVATION = -0.5235988f;
constexpr float SUN_AZIMUTH = 2.0f;

struct Relief {
    float lowest = 64.0f, highest = 0.0f;
    int steep = 0;           // cells rising more than 2 units to the next sample
    int flat_low = 0;        // samples at most 2 units high with level neighbours
    float start_rise = 0.0f; // the largest step within 6 units of the start
};

Relief relief_of(const Terrain& land) {
    Relief relief;
    for (int row = 0; row < 511; row++)
        for (int col = 0; col < 511; col++) {
            const float h = terrain_sample(col, row, land);
            const float rise = std::max(std::fabs(terrain_sample(col + 1, row, land) - h),
                                        std::fabs(terrain_sample(col, row + 1, land) - h));
            relief.lowest = std::min(relief.lowest, h);
            relief.highest = std::max(relief.highest, h);
            relief.steep += rise > 2.0f;
            const bool inland = std::min(col, row) >= 48 && std::max(col, row) < 464;
            relief.flat_low += inland && h <= 2.0f && rise <= 0.25f;
            if (std::abs(col - 256) <= 6 && std::abs(row - 256) <= 6)
                relief.start_rise = std::max(relief.start_rise, rise);
        }
    return relief;
}

// Mean colour difference per pixel of two frames over their bottom quarter.
double mean_difference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    const size_t bytes = 1024 * 192 * 3;
    long sum = 0;
    for (size_t i = 0; i < bytes; i++)
        sum += std::abs(int(a[i]) - int(b[i]));
    return static_cast<double>(sum) / bytes;
}

class Landscape : public LandscapeTest, public testing::WithParamInterface<int> {};

} // namespace

TEST_F(LandscapeTest, EachLevelHasItsOwnCharacter) {
    Relief levels[3];
    for (int level = 1; level <= 3; level++) {
        ASSERT_TRUE(load_level(level));
        levels[level - 1] = relief_of(terrain);
        const Relief& r = levels[level - 1];
        EXPECT_LE(r.lowest, 6.0f) << level;
        EXPECT_GE(r.highest - r.lowest, 40.0f) << level << ": the height range is used";
        EXPECT_LE(r.start_rise, 1.0f) << level << ": the start is a calm place to stand";
        terrain_free(terrain);
    }
    // Ridges are steep, meadows are not, and the basin holds a flat lake bed.
    EXPECT_GT(levels[1].steep, 20 * std::max(levels[0].steep, 1));
    EXPECT_GT(levels[2].flat_low, 1200);
    EXPECT_GT(levels[2].flat_low, 20 * std::max(levels[0].flat_low, 1));
}

TEST_P(Landscape, LoadsShadesAndDrawsFromTheStartPoint) {
    const int level = GetParam();
    ASSERT_TRUE(load_level(level));
    EXPECT_EQ(terrain.base_texture->bpp, 24);
    const std::vector<uint8_t> unshaded = terrain.base_texture->pixels;
    terrain_shade(terrain, SUN_ELEVATION, SUN_AZIMUTH);
    size_t darkened = 0;
    for (size_t i = 0; i < unshaded.size(); i++)
        darkened += terrain.base_texture->pixels[i] < unshaded[i];
    EXPECT_GT(darkened, unshaded.size() / 100) << "the sun casts shadows";

    const Vector3 eye = start_eye();
    const std::vector<uint8_t> frame = draw_view(eye, 0.0f, 0.0f, false);
    namespace fs = std::filesystem;
    const fs::path folder = fs::canonical("data").parent_path() / "screenshots";
    fs::create_directories(folder);
    const fs::path file = folder / ("land" + std::to_string(level) + ".png");
    EXPECT_TRUE(write_frame_png(file.string(), frame, WIDTH, HEIGHT));

    // Sky (the fog's colour) at the top, land all along the bottom row.
    const size_t top = ((HEIGHT - 1) * WIDTH + WIDTH / 2) * 3;
    EXPECT_EQ(frame[top], 102);
    EXPECT_EQ(frame[top + 2], 204);
    for (int x = 0; x < WIDTH; x += 32)
        EXPECT_NE(frame[x * 3 + 2], 204) << "bottom row, x " << x;

    // The detail picture adds grain to the near ground.
    GlDriver without = gl_driver();
    without.multitexture = false;
    gl_driver_set_capabilities(without);
    EXPECT_GT(mean_difference(frame, draw_view(eye, 0.0f, 0.0f, false)), 3.0);
}

INSTANTIATE_TEST_SUITE_P(Levels, Landscape, testing::Values(1, 2, 3));
