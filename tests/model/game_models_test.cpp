// The game's own three models from the data tool, loaded and drawn as the
// game draws them: they load cleanly, fit where the game puts them, and look
// like what they are. Each test also leaves its picture in the build folder
// (screenshots/), from where the README's pictures are taken.
#include "console/output.h"
#include "gl.h"
#include "model/draw.h"
#include "model/load.h"
#include "model_files.h"
#include "support/console_lines.h"
#include "support/test_files.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// In the build folder, beside the data folder.
std::string screenshot_path(const std::string& name) {
    fs::path folder = test_build_folder() / "screenshots";
    fs::create_directories(folder);
    return (folder / name).string();
}

bool is_sky(const GlPixel& p) {
    return std::abs(p.r - 102) < 6 && std::abs(p.g - 102) < 6 && std::abs(p.b - 204) < 6;
}

} // namespace

class GameModels : public ModelContext {
  protected:
    GameModels() : ModelContext(1024, 768) {}
    void SetUp() override {
        ModelContext::SetUp();
        glViewport(0, 0, width_, height_);
    }
    void load(Model* model, const std::string& stem) {
        int mark = line_count();
        ASSERT_TRUE(model_load(model, ("data/" + stem + ".ms3d").c_str(),
                               ("data/" + stem + ".txt").c_str()));
        for (const std::string& line : lines_since(mark))
            EXPECT_NE(line[0], '!') << line;
    }
    // The play state's view: sky colour, depth test, the eye's projection.
    static void play_view() {
        glClearColor(0.4f, 0.4f, 0.8f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glEnable(GL_DEPTH_TEST);
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(90.0, 1.0, 1.0, 500.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }
    // Counts the pixels of the frame that are not sky, and of those the
    // white and the dark ones.
    struct Census {
        int model = 0, white = 0, dark = 0;
    };
    Census census() const {
        Census c;
        std::vector<GlPixel> pixels(size_t(width_) * height_);
        glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
        for (const GlPixel& p : pixels) {
            if (is_sky(p)) continue;
            c.model++;
            if (std::min({p.r, p.g, p.b}) > 170) c.white++;
            if (p.r + p.g + p.b < 150) c.dark++;
        }
        return c;
    }
    Model model;
};

TEST_F(GameModels, SheepFitsItsHitBoxAtTheGameScale) {
    load(&model, "mouton");
    Vector3 low{1e9f, 1e9f, 1e9f}, high{-1e9f, -1e9f, -1e9f};
    for (const ModelVertex& v : model.vertices) {
        low = {std::min(low.x, v.position.x), std::min(low.y, v.position.y),
               std::min(low.z, v.position.z)};
        high = {std::max(high.x, v.position.x), std::max(high.y, v.position.y),
                std::max(high.z, v.position.z)};
    }
    // Drawn at 0.2 inside a box of half extent 10: within 50 model units,
    // and filling most of the box lengthwise and in height.
    for (float value : {low.x, low.y, low.z, high.x, high.y, high.z})
        EXPECT_LE(std::fabs(value) * 0.2f, 10.0f);
    EXPECT_GT((high.x - low.x) * 0.2f, 14.0f);
    EXPECT_GT((high.y - low.y) * 0.2f, 11.0f);
    EXPECT_LE(model.triangle_count, 1200) << "ten sheep stay cheap for the software renderer";
}

TEST_F(GameModels, SheepIsWhiteWoolWithDarkFaceAndLegsFromEverySide) {
    load(&model, "mouton");
    play_view();
    // One standing in three-quarter view, two tumbling as they fall.
    glPushMatrix();
    glTranslatef(0.0f, -3.0f, -24.0f);
    glRotatef(-35.0f, 0.0f, 1.0f, 0.0f);
    glRotatef(8.0f, 1.0f, 0.0f, 0.0f);
    glScalef(0.2f, 0.2f, 0.2f);
    model_draw(&model);
    glPopMatrix();
    const float tumbles[2][4] = {{-26.0f, 8.0f, -38.0f, 130.0f}, {26.0f, 8.0f, -38.0f, 250.0f}};
    for (const auto& t : tumbles) {
        glPushMatrix();
        glTranslatef(t[0], t[1], t[2]);
        glRotatef(t[3], 1.0f, 0.5f, 0.7f);
        glScalef(0.2f, 0.2f, 0.2f);
        model_draw(&model);
        glPopMatrix();
    }
    Census c = census();
    save_frame_png(screenshot_path("sheep.png"), width_, height_);
    EXPECT_GT(c.model, width_ * height_ / 10);
    EXPECT_GT(c.white, c.model / 4) << "a white woolly body";
    EXPECT_GT(c.dark, c.model / 30) << "a dark face and legs";
}

TEST_F(GameModels, WeaponBarrelPointsDownMinusZToTheMuzzleFlash) {
    load(&model, "arme");
    float front = 1e9f, back = -1e9f;
    for (const ModelVertex& v : model.vertices) {
        front = std::min(front, v.position.z);
        back = std::max(back, v.position.z);
    }
    EXPECT_NEAR(front, -18.0f, 0.25f);
    EXPECT_GT(back - front, 20.0f);
    // Everything at the front end is the barrel's mouth around (0, 10).
    for (const ModelVertex& v : model.vertices) {
        if (v.position.z < front + 1.0f) {
            EXPECT_LT(std::hypot(v.position.x, v.position.y - 10.0f), 1.5f);
        }
    }
    bool shine = false;
    for (const MaterialLayers& layers : model.material_layers)
        shine = shine || (layers.has_second_layer && layers.second_env_map);
    EXPECT_TRUE(shine) << "a metal with a sphere-mapped shine";
}

TEST_F(GameModels, WeaponSitsLowLeftWithItsMouthWhereTheFlashIsDrawn) {
    load(&model, "arme");
    play_view();
    glTranslatef(-1.5f, -2.0f, -2.0f);
    glScalef(0.1f, 0.1f, 0.1f);
    model_draw(&model);
    save_frame_png(screenshot_path("weapon.png"), width_, height_);
    // Where the flash is drawn, (0, 10, -18) in the model, lands on the gun.
    GLdouble model_view[16], projection[16], x, y, z;
    GLint viewport[4];
    glGetDoublev(GL_MODELVIEW_MATRIX, model_view);
    glGetDoublev(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    gluProject(0, 10, -18, model_view, projection, viewport, &x, &y, &z);
    EXPECT_FALSE(is_sky(read(int(x), int(y))));
    EXPECT_TRUE(is_sky(read(int(x), int(y) + 20))) << "the barrel is thin";
    Census c = census();
    EXPECT_GT(c.model, width_ * height_ / 40);
    // Nothing of the gun on the right half of the screen.
    for (int px = width_ / 2 + 10; px < width_; px += 37)
        for (int py = 0; py < height_; py += 41)
            EXPECT_TRUE(is_sky(read(px, py))) << px << ", " << py;
}

TEST_F(GameModels, TitleBoxShowsTheNameWithAnEnvironmentMappedSecondLayer) {
    load(&model, "box");
    ASSERT_EQ(model.material_layers.size(), 1u);
    const MaterialLayers& layers = model.material_layers[0];
    EXPECT_TRUE(layers.has_second_layer);
    EXPECT_TRUE(layers.second_env_map);
    EXPECT_FALSE(layers.base_env_map);

    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glEnable(GL_DEPTH_TEST);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(45.0, double(width_) / height_, 1.0, 100.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 1.0f, -23.0f);
    glRotatef(22.0f, 1.0f, 0.0f, 0.0f);
    glRotatef(-32.0f, 0.0f, 1.0f, 0.0f);
    model_draw(&model);
    save_frame_png(screenshot_path("titlebox.png"), width_, height_);
    // Bright, strongly coloured letters on black faces.
    std::vector<GlPixel> pixels(size_t(width_) * height_);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    int letters = 0, black = 0;
    for (const GlPixel& p : pixels) {
        int high = std::max({p.r, p.g, p.b}), low = std::min({p.r, p.g, p.b});
        letters += high > 160 && high - low > 80;
        black += high < 12;
    }
    EXPECT_GT(letters, width_ * height_ / 50);
    EXPECT_GT(black, width_ * height_ / 3);
}
