// The shadow pass: the march against a direct transcription of it, shadows
// of a single peak, smoothing, darkening of 24- and 32-bit pictures, and
// the whole pass on a loaded landscape with its picture uploaded again.
#include "land_files.h"
#include "landscape_fixture.h"
#include "support/console_lines.h"
#include "terrain/shadow.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr float DEGREE = 0.017453292f;

int shade_at(const std::vector<int>& shade, int side, int col, int row) {
    return shade[static_cast<size_t>(row) * side + col];
}

// A flat land at 0 with one sample of 63.75 in the middle.
Terrain single_peak(int side) {
    std::vector<float> heights(static_cast<size_t>(side) * side, 0.0f);
    heights[static_cast<size_t>(side / 2) * side + side / 2] = 63.75f;
    Terrain land;
    land.width = land.height = side;
    land.heights = heights;
    return land;
}

} // namespace

TEST(ShadowMarch, GivesTheDirectMarchsMapOnSmallGrids) {
    const float suns[][2] = {{-5, 0},    {-5, 90},    {-5, 180}, {-5, -90},    {-30, 45},
                             {-30, 200}, {-60, -135}, {-85, 10}, {-12, 77.7f}, {-45, 300},
                             {10, 30},   {-0.5f, 15}}; // below the horizon and grazing too
    for (int side : {4, 8, 16, 64}) {
        Terrain land;
        land.width = land.height = side;
        land.heights = rough_heights(side, static_cast<unsigned>(side));
        for (const auto& sun : suns) {
            const float elevation = sun[0] * DEGREE, azimuth = sun[1] * DEGREE;
            EXPECT_EQ(terrain_shadow_map(land, elevation, azimuth),
                      reference::march_shadows(land, elevation, azimuth))
                << side << ": sun at " << sun[0] << ", " << sun[1];
        }
    }
}

// Every level under suns across the range the level loader draws from
// (5 to 85 degrees above the horizon, any azimuth).
TEST(ShadowMarch, GivesTheDirectMarchsMapOnEveryLevelAcrossTheSunsRange) {
    const float suns[][2] = {{-5, 40}, {-9, -170}, {-30, 100}, {-60, -60}, {-85, 170}};
    for (int level = 1; level <= 3; level++) {
        char name[32];
        std::snprintf(name, sizeof name, "data/terrain%d.raw", level);
        Terrain land;
        std::FILE* file = std::fopen(name, "rb");
        ASSERT_NE(file, nullptr) << name;
        ASSERT_TRUE(terrain_read_heights(file, name, 512, 512, land));
        std::fclose(file);
        for (const auto& sun : suns) {
            const float elevation = sun[0] * DEGREE, azimuth = sun[1] * DEGREE;
            const std::vector<int> fast = terrain_shadow_map(land, elevation, azimuth);
            EXPECT_EQ(fast, reference::march_shadows(land, elevation, azimuth))
                << name << ": sun at " << sun[0] << ", " << sun[1];
            if (sun[0] > -40) {
                EXPECT_GT(std::count(fast.begin(), fast.end(), SHADE_SHADOWED), 512 * 8)
                    << name << ": a low sun casts shadows";
            }
        }
    }
}

// Heights a landscape file cannot hold (fractions, below 0) are marched too.
TEST(ShadowMarch, GivesTheDirectMarchsMapForAnyHeights) {
    Terrain land;
    land.width = land.height = 64;
    land.heights = rough_heights(64, 3u);
    for (size_t i = 0; i < land.heights.size(); i++)
        land.heights[i] = land.heights[i] * 0.37f - (i % 7 == 0 ? 9.0f : 0.0f);
    for (float elevation : {-5.0f, -40.0f, 10.0f})
        EXPECT_EQ(terrain_shadow_map(land, elevation * DEGREE, 0.9f),
                  reference::march_shadows(land, elevation * DEGREE, 0.9f))
            << elevation;
}

TEST(ShadowMarch, AFlatLandHasNoShadow) {
    Terrain land;
    land.width = land.height = 32;
    land.heights.assign(32 * 32, 10.0f);
    for (float elevation : {-5.0f, -45.0f, -85.0f}) {
        const std::vector<int> shade = terrain_shadow_map(land, elevation * DEGREE, 1.0f);
        EXPECT_EQ(std::count(shade.begin(), shade.end(), SHADE_LIT), 32 * 32) << elevation;
    }
}

TEST(ShadowMarch, APeakShadowsTheFarSideOfALowSunFarAndOfAHighSunNear) {
    const int side = 256, peak = 128;
    const Terrain land = single_peak(side);
    // Sun toward +x: the shadow lies toward -x along the peak's row.
    const std::vector<int> low = terrain_shadow_map(land, -5.0f * DEGREE, 0.0f);
    for (int d : {1, 2, 64, 100, 127})
        EXPECT_EQ(shade_at(low, side, peak - d, peak), SHADE_SHADOWED) << d;
    for (int d : {129, 140})
        EXPECT_EQ(shade_at(low, side, peak - d, peak), SHADE_LIT) << d;
    EXPECT_EQ(shade_at(low, side, peak + 3, peak), SHADE_LIT);
    EXPECT_EQ(shade_at(low, side, peak - 3, peak + 1), SHADE_LIT);
    EXPECT_EQ(std::count(low.begin(), low.end(), SHADE_SHADOWED), 127);

    const std::vector<int> high = terrain_shadow_map(land, -85.0f * DEGREE, 0.0f);
    for (int d : {1, 3, 5})
        EXPECT_EQ(shade_at(high, side, peak - d, peak), SHADE_SHADOWED) << d;
    EXPECT_EQ(shade_at(high, side, peak - 7, peak), SHADE_LIT);
    EXPECT_EQ(std::count(high.begin(), high.end(), SHADE_SHADOWED), 5);
}

TEST(ShadowMarch, EmptyOrNonsenseInputGivesNoShadow) {
    EXPECT_TRUE(terrain_shadow_map(Terrain{}, -0.5f, 0.0f).empty());
    const Terrain land = single_peak(16);
    const std::vector<int> shade = terrain_shadow_map(land, std::nanf(""), 0.0f);
    EXPECT_EQ(std::count(shade.begin(), shade.end(), SHADE_LIT), 16 * 16);
}

TEST(ShadeSmoothing, FourPassesInPlaceOverTheInnerPoints) {
    // 3 x 3: the centre alone moves, (4 * 96 + c) / 5 four times over.
    std::vector<int> small(9, SHADE_SHADOWED);
    small[4] = SHADE_LIT;
    terrain_smooth_shades(small, 3);
    EXPECT_EQ(small, (std::vector<int>{96, 96, 96, 96, 96, 96, 96, 96, 96})); // 127, 102, 97, 96
    // 4 x 4, shadowed inside a lit border: later points of a pass see the
    // values just written (without that all four would end at 234).
    std::vector<int> square(16, SHADE_LIT);
    for (int i : {5, 6, 9, 10})
        square[i] = SHADE_SHADOWED;
    terrain_smooth_shades(square, 4);
    EXPECT_EQ(square, (std::vector<int>{255, 255, 255, 255, 255, 241, 245, 255, 255, 245, 248, 255,
                                        255, 255, 255, 255}));
}

TEST(ShadeSmoothing, NeverTouchesTheBorder) {
    std::vector<int> shade(64 * 64, SHADE_LIT);
    for (int i = 0; i < 64; i++) {
        shade[i] = shade[63 * 64 + i] = SHADE_SHADOWED;      // first and last row
        shade[i * 64] = shade[i * 64 + 63] = SHADE_SHADOWED; // first and last column
    }
    terrain_smooth_shades(shade, 64);
    for (int i = 0; i < 64; i++) {
        EXPECT_EQ(shade[i], SHADE_SHADOWED);
        EXPECT_EQ(shade[63 * 64 + i], SHADE_SHADOWED);
        EXPECT_EQ(shade[i * 64], SHADE_SHADOWED);
        EXPECT_EQ(shade[i * 64 + 63], SHADE_SHADOWED);
    }
    EXPECT_LT(shade[1 * 64 + 1], SHADE_LIT); // the inner points next to it darken
}

TEST(PictureDarkening, MapsEveryPixelToItsGridPoint) {
    // A 2 x 2 shade map: lit, half, shadowed, none.
    const std::vector<int> shade = {255, 128, 96, 0};
    struct Case {
        int width, height, bpp;
    } cases[] = {{4, 4, 24}, {2, 2, 24}, {1, 1, 24}, {3, 5, 24}, {4, 2, 32}};
    for (const Case& c : cases) {
        Texture picture;
        picture.width = c.width;
        picture.height = c.height;
        picture.bpp = c.bpp;
        const int bytes = c.bpp / 8;
        picture.pixels.assign(static_cast<size_t>(c.width) * c.height * bytes, 200);
        terrain_darken_picture(picture, shade, 2);
        for (int ty = 0; ty < c.height; ty++)
            for (int tx = 0; tx < c.width; tx++) {
                const int s = shade[(ty * 2 / c.height) * 2 + tx * 2 / c.width];
                const uint8_t* p =
                    &picture.pixels[(static_cast<size_t>(ty) * c.width + tx) * bytes];
                for (int k = 0; k < 3; k++)
                    EXPECT_EQ(p[k], 200 * s / 255)
                        << c.width << "x" << c.height << " at " << tx << ", " << ty;
                if (bytes == 4) {
                    EXPECT_EQ(p[3], 200) << "alpha is left alone";
                }
            }
    }
}

class ShadowPass : public LandscapeTest {};

TEST_F(ShadowPass, DarkensTheBasePictureAndUploadsItAgain) {
    ASSERT_TRUE(load_level(2));
    const std::vector<uint8_t> before = terrain.base_texture->pixels;
    const unsigned int detail_object = terrain.detail_texture->gl_name;
    int mark = line_count();
    terrain_shade(terrain, -20.0f * DEGREE, 2.5f);
    EXPECT_EQ(terrain.detail_texture->gl_name, detail_object) << "only the base goes up again";
    EXPECT_EQ(lines_since(mark), (std::vector<std::string>{"Reloading textures..."}));
    const std::vector<uint8_t>& after = terrain.base_texture->pixels;
    ASSERT_EQ(after.size(), before.size());
    size_t darker = 0;
    for (size_t i = 0; i < after.size(); i++) {
        ASSERT_LE(after[i], before[i]);
        darker += after[i] < before[i];
    }
    EXPECT_GT(darker, after.size() / 100);
    // What OpenGL now holds is the darkened picture.
    const Texture& base = *terrain.base_texture;
    std::vector<uint8_t> uploaded(after.size());
    glBindTexture(GL_TEXTURE_2D, base.gl_name);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, uploaded.data());
    EXPECT_EQ(uploaded, after);
}

TEST_F(ShadowPass, DoesNothingWithoutALandscape) {
    int mark = line_count();
    terrain_shade(terrain, -0.5f, 0.0f);
    EXPECT_EQ(line_count(), mark);
}
