// Drawing read back from a real context: texture layers and their combine
// settings, sphere mapping, skinning, the display list and its limits, and
// the state the drawing leaves for the code that draws next.
#include "model/draw.h"
#include "model/load.h"
#include "model_files.h"
#include "overlay/font.h"
#include "support/game_fixture.h"
#include "textures/texture.h"

#include <cmath>

namespace {

constexpr float kQuarterTurn = 1.5707963267948966f;

Ms3dFile square_with_joint() {
    Ms3dFile file = square_model();
    Ms3dJoint joint;
    joint.name = "spine";
    joint.rotation[2] = 0.7f;
    joint.position[0] = 0.3f;
    joint.position[1] = -0.2f;
    file.joints.push_back(joint);
    for (Ms3dVertex& v : file.vertices)
        v.bone = 0;
    return file;
}

// The square shrunk to the right half of the window, x 0.2 .. 0.8.
Ms3dFile small_square(Ms3dFile file) {
    for (Ms3dVertex& v : file.vertices) {
        v.position[0] = 0.5f + 0.3f * v.position[0];
        v.position[1] *= 0.3f;
    }
    return file;
}

} // namespace

class ModelDraw : public ModelContext {
  protected:
    explicit ModelDraw(int width = 256, int height = 256) : ModelContext(width, height) {}
    void TearDown() override { model_release(&model); }
    void load(const Ms3dFile& file, const std::string& materials) {
        write_file_bytes("m.ms3d", ms3d_bytes(file));
        write_text("m.txt", materials);
        ASSERT_TRUE(model_load(&model, "m.ms3d", "m.txt"));
    }
    void draw_on_black() {
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        model_draw(&model);
    }
    std::vector<GlPixel> frame() const {
        std::vector<GlPixel> pixels(size_t(width_) * height_);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        return pixels;
    }
    static void expect_rgb(GlPixel p, int r, int g, int b, const std::string& what = "") {
        EXPECT_NEAR(p.r, r, 3) << what;
        EXPECT_NEAR(p.g, g, 3) << what;
        EXPECT_NEAR(p.b, b, 3) << what;
    }
    Model model;
};

TEST_F(ModelDraw, AOneLayerSquareShowsItsTexture) {
    write_solid_png("t.png", 200, 40, 90);
    load(square_model(), one_layer("t.png"));
    draw_on_black();
    expect_rgb(centre(), 200, 40, 90);
    expect_rgb(read(2, 2), 200, 40, 90);
}

TEST_F(ModelDraw, TheSecondLayerCombinesWithTheBaseAsItsKeywordSays) {
    struct Case {
        const char* word;
        uint8_t base[3], second[4];
        int expected[3];
    } cases[] = {
        {"ADD", {60, 100, 30}, {40, 100, 200, 255}, {100, 200, 230}},
        {"SUBTRACT", {60, 100, 30}, {40, 100, 200, 255}, {100, 200, 230}},     // drawn like ADD
        {"ADD_SIGNED", {60, 100, 160}, {128, 128, 128, 255}, {122, 202, 255}}, // doubles
        {"ADD_SIGNED", {64, 64, 64}, {64, 64, 64, 255}, {0, 0, 0}},
        {"ALPHA", {0, 0, 255}, {255, 0, 0, 0}, {0, 0, 255}},
        {"ALPHA", {0, 0, 255}, {255, 0, 0, 255}, {255, 0, 0}},
        {"MULTIPLY", {128, 200, 255}, {255, 128, 64, 255}, {128, 100, 64}},
    };
    int n = 0;
    for (const Case& c : cases) {
        std::string base = "base" + std::to_string(n) + ".png";
        std::string second = "second" + std::to_string(n++) + ".png";
        write_solid_png(base, c.base[0], c.base[1], c.base[2]);
        write_solid_png(second, c.second[0], c.second[1], c.second[2], c.second[3]);
        load(square_model(), two_layers(base, second, c.word));
        draw_on_black();
        expect_rgb(centre(), c.expected[0], c.expected[1], c.expected[2], c.word);
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR)) << c.word;
        model_release(&model);
    }
}

TEST_F(ModelDraw, WithoutMultitexturingATwoLayerMaterialShowsItsBase) {
    write_solid_png("base.png", 60, 100, 30);
    write_solid_png("second.png", 40, 100, 200);
    GlDriver without = gl_driver();
    without.multitexture = false;
    without.active_texture = nullptr; // a call would crash the test
    without.multi_tex_coord_2f = nullptr;
    gl_driver_set_capabilities(without);
    load(square_model(), two_layers("base.png", "second.png", "ADD", "ON"));
    draw_on_black();
    expect_rgb(centre(), 60, 100, 30);
}

TEST_F(ModelDraw, ASphereMappedLayerIgnoresTheStoredCoordinates) {
    // Red border, green middle; the stored coordinates all point at the border.
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 4; y++)
        for (int x = 0; x < 4; x++) {
            bool middle = x == 1 || x == 2 ? y == 1 || y == 2 : false;
            pixels.insert(pixels.end(),
                          {uint8_t(middle ? 0 : 255), uint8_t(middle ? 255 : 0), 0, 255});
        }
    write_rgba_png("target.png", 4, 4, pixels);
    Ms3dFile file = square_model();
    for (Ms3dTriangle& t : file.triangles)
        for (int k = 0; k < 3; k++)
            t.s[k] = t.t[k] = 0.02f;
    load(file, one_layer("target.png"));
    draw_on_black();
    EXPECT_GT(centre().r, 200);
    model_release(&model);
    load(file, one_layer("target.png", "ON")); // facing the eye: the middle of the map
    draw_on_black();
    EXPECT_GT(centre().g, 200);
    EXPECT_LT(centre().r, 60);
}

TEST_F(ModelDraw, AGroupWithoutAMaterialIsNotDrawn) {
    write_solid_png("t.png", 200, 200, 200);
    Ms3dFile file = square_model();
    file.groups[0].material = -1;
    load(file, one_layer("t.png"));
    draw_on_black();
    expect_rgb(centre(), 0, 0, 0);
}

TEST_F(ModelDraw, UnderAddedBlendingTheListAndTheImmediatePassBothAdd) {
    write_solid_png("t.png", 40, 40, 40);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    load(square_model(), one_layer("t.png"));
    draw_on_black();
    expect_rgb(centre(), 80, 80, 80);
    model_release(&model);
    load(square_with_joint(), one_layer("t.png")); // with joints: immediate only
    draw_on_black();
    expect_rgb(centre(), 40, 40, 40);
}

// New texture objects make the list stale: it is recorded again with them
// (so both copies add under blending) and the stale list is deleted.
TEST_F(ModelDraw, AListRecordedBeforeTheTexturesWereUploadedAgainIsRecordedAgain) {
    write_solid_png("t.png", 40, 40, 40);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    load(square_model(), one_layer("t.png"));
    const GLuint stale = model.display_list;
    texture_set_quality(TEXTURE_MEDIUM); // new texture objects
    draw_on_black();
    expect_rgb(centre(), 80, 80, 80, "both copies from the new list");
    EXPECT_EQ(model.list_textures, model_texture_names(model));
    if (model.display_list != stale) {
        EXPECT_FALSE(glIsList(stale)) << "the stale list " << stale << " was left behind";
    }
}

TEST_F(ModelDraw, ASkinnedModelDrawsWhereItsUnskinnedTwinDraws) {
    write_solid_png("t.png", 250, 250, 250);
    load(small_square(square_model()), one_layer("t.png"));
    draw_on_black();
    std::vector<GlPixel> plain = frame();
    model_release(&model);
    load(small_square(square_with_joint()), one_layer("t.png"));
    ASSERT_NE(model.vertices[0].position.x, 0.5f - 0.3f) << "stored in joint space";
    draw_on_black();
    std::vector<GlPixel> skinned = frame();
    int lit = 0, different = 0;
    for (size_t i = 0; i < plain.size(); i++) {
        lit += plain[i].r > 128;
        different += (plain[i].r > 128) != (skinned[i].r > 128);
    }
    EXPECT_GT(lit, width_ * height_ / 20);
    EXPECT_LE(different, 4) << "at most a few pixels of rounding on the edges";
}

TEST_F(ModelDraw, ASkinnedNormalOfZeroLengthIsSentAsZero) {
    write_solid_png("t.png", 250, 250, 250);
    Ms3dFile file = square_with_joint();
    for (Ms3dTriangle& t : file.triangles)
        for (auto& n : t.normals)
            n[0] = n[1] = n[2] = 0.0f;
    load(file, one_layer("t.png"));
    model_draw(&model);
    GLfloat normal[3];
    glGetFloatv(GL_CURRENT_NORMAL, normal);
    for (float component : normal)
        EXPECT_EQ(component, 0.0f);
}

TEST_F(ModelDraw, DrawingLeavesTheStateTheNextDrawerExpects) {
    write_solid_png("base.png", 60, 100, 30);
    write_solid_png("blue.png", 0, 0, 255);
    load(square_model(), two_layers("base.png", "blue.png", "ADD_SIGNED", "ON"));
    model.material_layers[0].base_env_map = true; // both units sphere-mapped
    draw_on_black();
    GLint active = 0, env_mode = 0, combine = 0;
    GLfloat scale = 0.0f;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GL_TEXTURE0_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    glActiveTextureARB(GL_TEXTURE1_ARB);
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_2D));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_S));
    EXPECT_FALSE(glIsEnabled(GL_TEXTURE_GEN_T));
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &env_mode);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, &combine);
    glGetTexEnvfv(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, &scale);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    EXPECT_EQ(env_mode, GL_MODULATE);
    EXPECT_EQ(combine, GL_MODULATE);
    EXPECT_EQ(scale, 1.0f);
    EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
}

// The console's text drawn right after a two-layer model comes out in the
// font's own white, not combined with the model's second texture. The
// window has the text's own 800 x 600 size, so glyphs are drawn 1:1.
class TextAfterAModel : public ModelDraw {
  protected:
    TextAfterAModel() : ModelDraw(800, 600) {}
};

TEST_F(TextAfterAModel, IsNotMultitextured) {
    ASSERT_TRUE(font_init());
    video_settings_init(); // keep_aspect, which places the text
    write_solid_png("base.png", 60, 100, 30);
    write_solid_png("blue.png", 0, 0, 255);
    load(square_model(), two_layers("base.png", "blue.png", "MULTIPLY", "ON"));
    draw_on_black();
    glClear(GL_COLOR_BUFFER_BIT);
    glViewport(0, 0, width_, height_);
    text_set_color(1.0f, 1.0f, 1.0f);
    text_set_alpha(1.0f);
    text_draw("##########", 0, 0);
    GlPixel brightest{0, 0, 0, 0};
    for (const GlPixel& p : frame())
        if (p.r + p.g + p.b > brightest.r + brightest.g + brightest.b) brightest = p;
    EXPECT_GT(brightest.r, 200);
    EXPECT_GT(brightest.g, 200);
    EXPECT_GT(brightest.b, 200);
}

// After the window's context was made again, the model records its list in
// the new context at its next draw and draws from it (both copies add under
// blending, with the reloaded texture). A list that took the old name in the
// new context, drawing white, is never called.
class ModelAfterVideoModeChange : public GameFixture {};

TEST_F(ModelAfterVideoModeChange, DrawsFromANewListAgain) {
    write_solid_png("t.png", 40, 40, 40);
    write_file_bytes("m.ms3d", ms3d_bytes(square_model()));
    write_text("m.txt", one_layer("t.png"));
    Model model;
    ASSERT_TRUE(model_load(&model, "m.ms3d", "m.txt"));
    auto added_twice = [&] {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
        glDisable(GL_DEPTH_TEST);
        glEnable(GL_BLEND);
        glBlendFunc(GL_ONE, GL_ONE);
        model_draw(&model);
        glDisable(GL_BLEND);
        return pixel(100, 100);
    };
    EXPECT_NEAR(added_twice().r, 80, 3);
    const GLuint old_name = model.display_list;
    video_mode_change();
    for (GLuint name = glGenLists(1); name <= old_name; name = glGenLists(1)) {
        glNewList(name, GL_COMPILE);
        glDisable(GL_TEXTURE_2D);
        glRectf(-1, -1, 1, 1);
        glEnable(GL_TEXTURE_2D);
        glEndList();
    }
    Rgb after = added_twice();
    EXPECT_NEAR(after.r, 80, 3) << "drawn from a list in the new context, both copies added";
    EXPECT_NEAR(after.b, 80, 3);
    EXPECT_EQ(model.list_context, gl_driver().context_serial)
        << "the list belongs to the new context";
    EXPECT_TRUE(glIsList(model.display_list));
    EXPECT_GT(model.display_list, old_name) << "the list did not reuse a name taken here";
    model_release(&model);
}
