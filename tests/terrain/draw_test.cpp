// Drawing the land in a real context, read back: where a flat land shows,
// that nothing behind the eye is drawn, that the game's drawing gives the
// same frames as the literal strips on the three landscapes, and the state
// it leaves behind.
#include "land_files.h"
#include "landscape_fixture.h"
#include "support/environment.h"

#include <cstdlib>

namespace {

constexpr float PI = 3.14159265f;

struct Colour {
    int r, g, b;
};

Colour at(const std::vector<uint8_t>& frame, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * 1024 + x) * 3;
    return {frame[i], frame[i + 1], frame[i + 2]};
}

bool near(Colour c, Colour expected) {
    return std::abs(c.r - expected.r) <= 2 && std::abs(c.g - expected.g) <= 2 &&
           std::abs(c.b - expected.b) <= 2;
}

const Colour SKY{102, 102, 204};
const Colour LAND{200, 40, 40};

// Rows of the frame (bottom first) whose pixels all have the colour.
int rows_of(const std::vector<uint8_t>& frame, Colour colour, int first, int last) {
    int rows = 0;
    for (int y = first; y <= last; y++) {
        bool all = true;
        for (int x = 0; x < 1024 && all; x += 7)
            all = near(at(frame, x, y), colour);
        rows += all;
    }
    return rows;
}

int differing_bytes(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int count = 0;
    for (size_t i = 0; i < a.size(); i++)
        count += a[i] != b[i];
    return count;
}

// A flat land at height 0, red with a mid-grey detail picture.
class FlatLand : public LandscapeTest {
  protected:
    void SetUp() override {
        LandscapeTest::SetUp();
        write_picture("base.png", 16, 16, {200, 40, 40}); // LAND
        write_picture("detail.png", 8, 8, {128, 128, 128});
        write_raw("flat.raw", std::vector<uint8_t>(256 * 256, 0));
        ASSERT_TRUE(terrain_load("flat.raw", terrain, 256, 256, "base.png", "detail.png"));
    }
    const Vector3 eye{130.0f, 10.0f, 130.0f};
};

} // namespace

TEST_F(FlatLand, FillsTheLowerHalfOfALevelView) {
    const std::vector<uint8_t> frame = draw_view(eye, 0.0f, 0.0f, false);
    // The ground 10 units below shows from the bottom edge up to well past
    // 30 units ahead (row 256), where fog starts only at 90.
    EXPECT_EQ(rows_of(frame, LAND, 0, 256), 257);
    // Above the horizon there is only sky.
    EXPECT_EQ(rows_of(frame, SKY, 400, 767), 368);
}

TEST_F(FlatLand, DrawsNothingBehindTheEye) {
    // The camera turned around, the footprint still ahead: an empty frame.
    reference::set_play_view(eye, PI, 0.0f);
    terrain_draw(eye, 0.0f, 0.0f, FIELD_OF_VIEW, terrain);
    const std::vector<uint8_t> frame = read_frame(WIDTH, HEIGHT);
    EXPECT_EQ(rows_of(frame, SKY, 0, 767), 768);
}

TEST_F(FlatLand, LeavesUnitZeroActiveAndUnitOneOffWithItsDefaultEnvironment) {
    ASSERT_TRUE(gl_driver().multitexture);
    // As the window set-up leaves them: sphere-map generation chosen, off.
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        glActiveTextureARB(unit);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    }
    draw_view(eye, 0.3f, 0.2f, false);
    GLint value = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &value);
    EXPECT_EQ(value, GL_TEXTURE0_ARB);
    glGetIntegerv(GL_MATRIX_MODE, &value);
    EXPECT_EQ(value, GL_MODELVIEW);
    EXPECT_FALSE(glIsEnabled(GL_VERTEX_ARRAY));
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    for (GLenum unit : {GL_TEXTURE1_ARB, GL_TEXTURE0_ARB}) {
        glActiveTextureARB(unit);
        EXPECT_EQ(glIsEnabled(GL_TEXTURE_2D), unit == GL_TEXTURE0_ARB) << unit;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &value);
        EXPECT_EQ(value, GL_MODULATE) << unit;
        glGetTexEnviv(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, &value);
        EXPECT_EQ(value, GL_MODULATE) << unit;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S)) << unit;
        EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T)) << unit;
        glGetTexGeniv(GL_S, GL_TEXTURE_GEN_MODE, &value);
        EXPECT_EQ(value, GL_SPHERE_MAP) << unit;
    }
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}

// ---- The same frames as the strips -------------------------------------------

namespace {

struct View {
    float yaw, pitch;
};

// Level, then looking around and up and down from the start point.
const View VIEWS[] = {{0.0f, 0.0f}, {0.8f, 0.1f},  {1.6f, 0.4f},  {2.4f, 0.0f},
                      {3.2f, 0.9f}, {4.0f, -0.3f}, {4.8f, 1.5f},  {5.6f, 0.2f},
                      {1.0f, 0.0f}, {3.9f, 0.05f}, {0.4f, -0.6f}, {5.0f, 0.6f}};

class SameFrames : public LandscapeTest, public testing::WithParamInterface<int> {
  protected:
    void expect_same_frames(Vector3 eye, const View* views, size_t count) {
        for (size_t i = 0; i < count; i++) {
            const View& v = views[i];
            const std::vector<uint8_t> literal = draw_view(eye, v.yaw, v.pitch, true);
            const std::vector<uint8_t> drawn = draw_view(eye, v.yaw, v.pitch, false);
            EXPECT_EQ(differing_bytes(literal, drawn), 0)
                << "yaw " << v.yaw << ", pitch " << v.pitch << " from " << eye.x << ", " << eye.z;
        }
    }
};

} // namespace

TEST_P(SameFrames, AsTheStripsFromTheStartAndNearTheFarEdges) {
    ASSERT_TRUE(load_level(GetParam()));
    expect_same_frames(start_eye(), VIEWS, std::size(VIEWS));
    // The land drops to 0 beyond its last row and column.
    const Vector3 corner{500.0f, terrain_height_at(500.0f, 490.0f, terrain) + 10.0f, 490.0f};
    const View toward_edges[] = {{0.3f, 0.2f}, {1.2f, 0.0f}, {0.8f, 1.0f}};
    expect_same_frames(corner, toward_edges, std::size(toward_edges));
}

TEST_P(SameFrames, AsTheStripsWithTheBasePictureAlone) {
    ASSERT_TRUE(load_level(GetParam()));
    GlDriver without = gl_driver();
    without.multitexture = false;
    gl_driver_set_capabilities(without);
    expect_same_frames(start_eye(), VIEWS, 4);
}

INSTANTIATE_TEST_SUITE_P(Levels, SameFrames, testing::Values(1, 2, 3));

TEST_F(LandscapeTest, SameFramesAsTheStripsOnRoughGround) {
    // Every sample random: steep faces, folds and slivers everywhere.
    const std::vector<float> heights = rough_heights(512, 7u);
    std::vector<uint8_t> bytes(heights.size());
    for (size_t i = 0; i < bytes.size(); i++)
        bytes[i] = static_cast<uint8_t>(heights[i] * 4.0f);
    write_raw("rough.raw", bytes);
    ASSERT_TRUE(
        terrain_load("rough.raw", terrain, 512, 512, "data/terrain2.png", "data/detail2.png"));
    const Vector3 eye{256.0f, 70.0f, 256.0f};
    for (const View& v : {View{0.0f, 0.3f}, View{2.0f, 0.8f}, View{4.5f, 0.1f}}) {
        const std::vector<uint8_t> literal = draw_view(eye, v.yaw, v.pitch, true);
        EXPECT_EQ(differing_bytes(literal, draw_view(eye, v.yaw, v.pitch, false)), 0) << v.yaw;
    }
}

// A context made without the two extensions, as after a video-mode change
// to a display that lacks them; the land was loaded with multitexturing.
class ContextWithoutMultitexturing : public LandscapeTest {
  protected:
    void SetUp() override {
        setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_multitexture -GL_ARB_texture_env_combine", 1);
        LandscapeTest::SetUp();
    }
};

TEST_F(ContextWithoutMultitexturing, DrawsTheBasePictureAlone) {
    ASSERT_FALSE(gl_driver().multitexture);
    ASSERT_EQ(glActiveTextureARB, nullptr);
    ASSERT_TRUE(load_level(2));
    terrain.detail_on_second_unit = true;
    const Vector3 eye = start_eye();
    const std::vector<uint8_t> literal = draw_view(eye, 0.5f, 0.3f, true);
    const std::vector<uint8_t> drawn = draw_view(eye, 0.5f, 0.3f, false);
    EXPECT_EQ(differing_bytes(literal, drawn), 0);
    // The near ground shows the base picture's own colours.
    EXPECT_FALSE(near(at(drawn, 512, 10), SKY));
    EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR));
}
