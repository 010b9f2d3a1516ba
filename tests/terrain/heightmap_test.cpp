// The heightmap: samples and interpolated heights from real RAW files, the
// accepted grid sizes, loading with real pictures and freeing.
#include "console/output.h"
#include "land_files.h"
#include "landscape_fixture.h"
#include "support/console_lines.h"

#include <cmath>
#include <limits>

namespace {

// The 4 x 4 grid of the examples: row 0 starts 0, 4, row 1 starts 8, 12,
// the rest climbs by 4 per byte, with 255 last.
std::vector<uint8_t> example_bytes() {
    std::vector<uint8_t> bytes(16);
    for (int i = 0; i < 16; i++)
        bytes[i] = static_cast<uint8_t>(4 * i);
    bytes[2] = 16, bytes[3] = 20, bytes[4] = 8, bytes[5] = 12, bytes[15] = 255;
    return bytes;
}

bool read_grid(const char* path, int side, Terrain& land) {
    std::FILE* file = std::fopen(path, "rb");
    if (!file) return false;
    bool ok = terrain_read_heights(file, path, side, side, land);
    std::fclose(file);
    return ok;
}

class HeightGrid : public testing::Test {
  protected:
    void SetUp() override {
        console_output_init();
        write_raw("grid.raw", example_bytes());
        ASSERT_TRUE(read_grid("grid.raw", 4, land));
    }
    Terrain land;
};

} // namespace

TEST_F(HeightGrid, SamplesAreTheBytesOverFourAndZeroOutsideTheGrid) {
    EXPECT_EQ(terrain_sample(0, 0, land), 0.0f);
    EXPECT_EQ(terrain_sample(1, 0, land), 1.0f);
    EXPECT_EQ(terrain_sample(0, 1, land), 2.0f);
    EXPECT_EQ(terrain_sample(1, 1, land), 3.0f);
    EXPECT_EQ(terrain_sample(3, 3, land), 63.75f); // byte 255
    for (auto [col, row] : {std::pair{4, 0}, {-1, 0}, {0, 4}, {0, -1}, {-5, 9}})
        EXPECT_EQ(terrain_sample(col, row, land), 0.0f) << col << ", " << row;
}

TEST_F(HeightGrid, HeightAtBlendsTheFourCornersOfTheCell) {
    struct Case {
        float x, z, height;
    } cases[] = {
        {0.0f, 0.0f, 0.0f},
        {0.5f, 0.5f, 1.5f},
        {1.0f, 0.0f, 1.0f},
        {0.25f, 0.0f, 0.25f},
        // Negative coordinates truncate to cell 0 but take the fraction by
        // floor: -0.25 blends cell 0 with weight 0.75 toward column 1.
        {-0.25f, 0.0f, 0.75f},
        {0.0f, -0.25f, 1.5f},
        // The last column blends with the 0.0 beyond the grid.
        {3.5f, 3.0f, 63.75f * 0.5f},
        {3.5f, 0.0f, 20 * 0.25f * 0.5f},
    };
    for (const Case& c : cases)
        EXPECT_FLOAT_EQ(terrain_height_at(c.x, c.z, land), c.height) << c.x << ", " << c.z;
}

TEST_F(HeightGrid, CoordinatesFarOutsideOrNotNumbersAreSafe) {
    EXPECT_EQ(terrain_height_at(1e20f, 2.0f, land), 0.0f);
    EXPECT_EQ(terrain_height_at(-1e20f, -3e9f, land), 0.0f);
    EXPECT_EQ(terrain_height_at(2.0f, 5e9f, land), 0.0f);
    EXPECT_TRUE(std::isnan(terrain_height_at(std::numeric_limits<float>::quiet_NaN(), 1.0f, land)));
}

TEST(HeightFile, MustHoldTheWholeGridAndMayHoldMore) {
    console_output_init();
    std::vector<uint8_t> bytes(64, 40);
    write_raw("exact.raw", bytes);
    bytes.push_back(7);
    write_raw("long.raw", bytes);
    bytes.resize(63);
    write_raw("short.raw", bytes);
    Terrain land;
    EXPECT_TRUE(read_grid("exact.raw", 8, land));
    EXPECT_TRUE(read_grid("long.raw", 8, land));
    EXPECT_EQ(land.heights.size(), 64u);
    EXPECT_EQ(terrain_sample(7, 7, land), 10.0f);
    int mark = line_count();
    EXPECT_FALSE(read_grid("short.raw", 8, land));
    EXPECT_EQ(lines_since(mark),
              (std::vector<std::string>{"!Landscape short.raw is too short: 63 of 64 bytes!"}));
}

TEST(HeightFile, OnlySquaresOfFourTimesAPowerOfTwoAreGrids) {
    struct Case {
        int width, height;
        bool valid;
    } cases[] = {
        {4, 4, true},
        {8, 8, true},
        {16, 16, true},
        {512, 512, true},
        {4096, 4096, true},
        {0, 0, false},
        {2, 2, false},
        {-4, -4, false},
        {12, 12, false},
        {8, 16, false},
        {6, 6, false},
        {8192, 8192, false},
        {1 << 30, 1 << 30, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(terrain_size_valid(c.width, c.height), c.valid) << c.width << "x" << c.height;
    console_output_init();
    write_raw("any.raw", std::vector<uint8_t>(144, 1));
    Terrain land;
    std::FILE* file = std::fopen("any.raw", "rb");
    EXPECT_FALSE(terrain_read_heights(file, "any.raw", 12, 12, land));
    std::fclose(file);
    EXPECT_EQ(last_line(), "!Landscape any.raw: 12x12 is not a square of 4 times a power of 2!");
    EXPECT_EQ(land.width, 0);
}

// ---- Loading with pictures -------------------------------------------------

class HeightmapLoad : public LandscapeTest {
  protected:
    void SetUp() override {
        LandscapeTest::SetUp();
        write_picture("base.png", 8, 8, {200, 0, 0});
        write_picture("detail.png", 4, 4, {128, 128, 128});
        write_raw("land.raw", std::vector<uint8_t>(64, 8));
    }
};

TEST_F(HeightmapLoad, LoadsPicturesHeightsAndTheTree) {
    ASSERT_TRUE(terrain_load("land.raw", terrain, 8, 8, "base.png", "detail.png"));
    EXPECT_EQ(terrain.width, 8);
    EXPECT_EQ(terrain.height, 8);
    EXPECT_EQ(terrain_sample(5, 6, terrain), 2.0f);
    ASSERT_NE(terrain.base_texture, nullptr);
    ASSERT_NE(terrain.detail_texture, nullptr);
    EXPECT_EQ(terrain.base_texture->width, 8);
    EXPECT_EQ(terrain.detail_texture->width, 4);
    ASSERT_NE(terrain.root, nullptr);
    EXPECT_FALSE(terrain.root->is_leaf);
    EXPECT_TRUE(terrain.detail_on_second_unit) << "llvmpipe offers multitexturing";
}

TEST_F(HeightmapLoad, FailuresReportAndKeepWhatWasLoadedUntilFreed) {
    struct Case {
        const char *raw, *base, *detail;
        int side;
        const char* line; // the last console line
        bool base_kept, detail_kept;
    } cases[] = {
        {"land.raw", "none.png", "detail.png", 8, "!Can't open texture none.png: No such file or directory!", false, false},
        {"land.raw", "base.png", "gone.png", 8, "!Can't open texture gone.png: No such file or directory!", true, false},
        {"none.raw", "base.png", "detail.png", 8, "!Can't open landscape none.raw: No such file or directory!", true, true},
        {"land.raw", "base.png", "detail.png", 16,
         "!Landscape land.raw is too short: 64 of 256 bytes!", true, true},
        {"land.raw", "base.png", "detail.png", 6,
         "!Landscape land.raw: 6x6 is not a square of 4 times a power of 2!", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_FALSE(terrain_load(c.raw, terrain, c.side, c.side, c.base, c.detail)) << c.raw;
        EXPECT_EQ(last_line(), c.line);
        EXPECT_EQ(terrain.base_texture != nullptr, c.base_kept) << c.line;
        EXPECT_EQ(terrain.detail_texture != nullptr, c.detail_kept) << c.line;
        EXPECT_EQ(terrain.root, nullptr);
        terrain_free(terrain);
        EXPECT_EQ(terrain.base_texture, nullptr);
    }
}

TEST_F(HeightmapLoad, FreeEmptiesTheRecordAndReleasesThePictures) {
    terrain_free(terrain); // nothing loaded yet
    EXPECT_EQ(terrain.width, 0);
    ASSERT_TRUE(terrain_load("land.raw", terrain, 8, 8, "base.png", "detail.png"));
    terrain_free(terrain);
    EXPECT_EQ(terrain.root, nullptr);
    EXPECT_EQ(terrain.width, 0);
    EXPECT_EQ(terrain.height, 0);
    EXPECT_TRUE(terrain.heights.empty());
    EXPECT_EQ(terrain.base_texture, nullptr);
    EXPECT_EQ(terrain.detail_texture, nullptr);
    EXPECT_EQ(texture_find("base.png"), nullptr);
    EXPECT_EQ(texture_find("detail.png"), nullptr);
    terrain_free(terrain); // twice in a row
    EXPECT_EQ(terrain.root, nullptr);
}

TEST_F(HeightmapLoad, LoadingAgainReplacesTheLandscape) {
    write_raw("other.raw", std::vector<uint8_t>(16, 255));
    ASSERT_TRUE(terrain_load("land.raw", terrain, 8, 8, "base.png", "detail.png"));
    ASSERT_TRUE(terrain_load("other.raw", terrain, 4, 4, "base.png", "detail.png"));
    EXPECT_EQ(terrain.width, 4);
    EXPECT_EQ(terrain_sample(3, 3, terrain), 63.75f);
    EXPECT_TRUE(terrain.root->is_leaf);
}
