// The texture cache in a real OpenGL context: sharing, failures, release,
// upload sizes per quality, the console commands and context re-creation.
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "gl.h"
#include "png_files.h"
#include "support/gl_context.h"
#include "textures/texture.h"

#include <gtest/gtest.h>
#include <png.h>

#include <memory>

using Lines = std::vector<std::string>;

class TextureCache : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl->ok());
        console_init();
        texture_manager_init();
    }
    static Lines lines_from(int first) {
        Lines lines;
        for (int slot = first; slot < line_count(); slot++)
            lines.emplace_back(output_line(slot));
        return lines;
    }
    static Lines run(const char* command) {
        int first = line_count();
        console_execute(command);
        return lines_from(first + 1); // without the echoed input line
    }
    static std::pair<int, int> level0_size(const Texture* texture) {
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture->gl_name);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        return {width, height};
    }
    static std::vector<uint8_t> level0_rgb(const Texture* texture) {
        auto [width, height] = level0_size(texture);
        std::vector<uint8_t> rgb(size_t(width) * height * 3);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    std::unique_ptr<GlContext> gl = std::make_unique<GlContext>();
};

TEST_F(TextureCache, SameNameSharesOneEntry) {
    write_pattern_png("a.png", {4, 4, PNG_COLOR_TYPE_RGB});
    Texture* first = texture_load("a.png", false);
    ASSERT_NE(first, nullptr);
    int before = line_count();
    EXPECT_EQ(texture_load("a.png", true), first);
    EXPECT_EQ(lines_from(before), (Lines{"texture found", "a.png"}));
    EXPECT_FALSE(first->full_size);
    EXPECT_EQ(run("textureinfo"), (Lines{"TEXTURE MANAGER", "a.png w: 4 h: 4 bpp: 24 nbused: 2",
                                         "nb textures: 1 texture quality: HIGH"}));
}

TEST_F(TextureCache, FailedLoadsAreReportedOnceAndListed) {
    write_pattern_png("grey.png", {2, 2, PNG_COLOR_TYPE_GRAY});
    write_pattern_png("palette.png", {2, 2, PNG_COLOR_TYPE_PALETTE});
    write_bytes("text.png", "not a picture\n");
    int before = line_count();
    for (const char* name : {"missing.png", "grey.png", "palette.png", "text.png"})
        EXPECT_EQ(texture_load(name, false), nullptr) << name;
    EXPECT_EQ(texture_load("missing.png", false), nullptr);
    EXPECT_EQ(
        lines_from(before),
        (Lines{"!Can't open texture missing.png: No such file or directory!",
               "!Error loading texture grey.png: a grey or palette picture (it needs RGB)!",
               "!Error loading texture palette.png: a grey or palette picture (it needs RGB)!",
               "!Error loading texture text.png: not a PNG file (14 bytes)!", "texture found",
               "missing.png"}));
    EXPECT_EQ(run("textureinfo"),
              (Lines{"TEXTURE MANAGER", "text.png not loaded nbused: 1",
                     "palette.png not loaded nbused: 1", "grey.png not loaded nbused: 1",
                     "missing.png not loaded nbused: 2", "nb textures: 4 texture quality: HIGH"}));
}

TEST_F(TextureCache, ReleaseRemovesOnlyThatEntry) {
    write_pattern_png("a.png", {2, 2, PNG_COLOR_TYPE_RGB});
    write_pattern_png("b.png", {2, 2, PNG_COLOR_TYPE_RGB_ALPHA});
    write_pattern_png("c.png", {2, 2, PNG_COLOR_TYPE_RGB});
    texture_load("missing.png", false);
    Texture* a = texture_load("a.png", false);
    texture_load("b.png", false);
    Texture* c = texture_load("c.png", false);
    unsigned int c_name = c->gl_name;
    texture_release(nullptr); // must not take the failed entry
    texture_release(c);       // the newest
    EXPECT_FALSE(glIsTexture(c_name));
    EXPECT_EQ(texture_find("c.png"), nullptr);
    texture_release(a); // one behind another entry
    EXPECT_EQ(run("textureinfo"),
              (Lines{"TEXTURE MANAGER", "b.png w: 2 h: 2 bpp: 32 nbused: 1",
                     "missing.png not loaded nbused: 1", "nb textures: 2 texture quality: HIGH"}));
}

// Each load is a hold: the picture stays until its last holder releases it.
TEST_F(TextureCache, ThePictureGoesWithItsLastHolder) {
    write_pattern_png("shared.png", {2, 2, PNG_COLOR_TYPE_RGB});
    Texture* first = texture_load("shared.png", false);
    Texture* second = texture_load("shared.png", false);
    ASSERT_EQ(first, second);
    texture_release(first);
    ASSERT_NE(texture_find("shared.png"), nullptr);
    EXPECT_TRUE(glIsTexture(second->gl_name));
    unsigned int name = second->gl_name;
    texture_release(second);
    EXPECT_EQ(texture_find("shared.png"), nullptr);
    EXPECT_FALSE(glIsTexture(name));
}

// An own copy may be changed without touching the shared picture, is never
// handed out by name, and is uploaded again with the others.
TEST_F(TextureCache, AnOwnCopyIsChangedAlone) {
    write_pattern_png("base.png", {2, 2, PNG_COLOR_TYPE_RGB});
    Texture* shared = texture_load("base.png", false);
    Texture* copy = texture_load_own_copy("base.png", false);
    ASSERT_NE(copy, nullptr);
    ASSERT_NE(copy, shared);
    std::vector<uint8_t> original = level0_rgb(shared);
    copy->pixels.assign(copy->pixels.size(), 0);
    texture_reload(copy);
    EXPECT_EQ(level0_rgb(shared), original);
    EXPECT_EQ(level0_rgb(copy), copy->pixels);
    EXPECT_EQ(texture_load("base.png", false), shared);
    texture_delete_all();
    texture_reload_all();
    EXPECT_TRUE(glIsTexture(copy->gl_name));
    EXPECT_EQ(level0_rgb(copy), copy->pixels) << "the copy's change went up again";
    texture_release(copy);
    EXPECT_NE(texture_find("base.png"), nullptr);
}

TEST_F(TextureCache, QualitySetsTheUploadSize) {
    write_pattern_png("big.png", {256, 256, PNG_COLOR_TYPE_RGB});
    write_pattern_png("full.png", {256, 256, PNG_COLOR_TYPE_RGB});
    write_pattern_png("odd.png", {100, 60, PNG_COLOR_TYPE_RGB_ALPHA});
    write_pattern_png("tiny.png", {2, 2, PNG_COLOR_TYPE_RGB});
    Texture* big = texture_load("big.png", false);
    Texture* full = texture_load("full.png", true);
    Texture* odd = texture_load("odd.png", false);
    Texture* tiny = texture_load("tiny.png", false);
    ASSERT_TRUE(big && full && odd && tiny);
    struct Case {
        const char* command;
        TextureQuality quality;
        int big, odd_w, odd_h, tiny;
    } cases[] = {
        {"texturequality low", TEXTURE_LOW, 64, 25, 15, 1},
        {"texturequality medium", TEXTURE_MEDIUM, 128, 50, 30, 1},
        {"texturequality high", TEXTURE_HIGH, 256, 100, 60, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        console_execute(c.command);
        EXPECT_EQ(texture_get_quality(), c.quality);
        EXPECT_EQ(level0_size(big), std::make_pair(c.big, c.big));
        EXPECT_EQ(level0_size(full), std::make_pair(256, 256));
        EXPECT_EQ(level0_size(tiny), std::make_pair(c.tiny, c.tiny));
        int width = 0, height = 0;
        texture_target_size(*odd, &width, &height);
        EXPECT_EQ(std::make_pair(width, height), std::make_pair(c.odd_w, c.odd_h));
    }
}

TEST_F(TextureCache, QualityCommandTakesPrefixesIgnoringCase) {
    write_pattern_png("a.png", {2, 2, PNG_COLOR_TYPE_RGB});
    texture_load("a.png", false);
    const std::string usage = "!usage: texturequality [LOW|MEDIUM|HIGH]!";
    EXPECT_EQ(run("texturequality lowest"), Lines{"Reloading textures..."});
    EXPECT_EQ(run("texturequality Med"), Lines{usage});
    EXPECT_EQ(run("texturequality"), Lines{usage});
    EXPECT_EQ(texture_get_quality(), TEXTURE_LOW);
    EXPECT_EQ(run("texturequality mEdIuM"), Lines{"Reloading textures..."});
    EXPECT_EQ(run("texturequality MEDIUM"), Lines{}); // unchanged: nothing reloaded
    EXPECT_EQ(run("textureinfo").back(), "nb textures: 1 texture quality: MEDIUM");
    EXPECT_EQ(run("texturequality highest"), Lines{"Reloading textures..."});
    EXPECT_EQ(texture_get_quality(), TEXTURE_HIGH);
}

TEST_F(TextureCache, OddWidthRgbRowsUploadIntact) {
    std::vector<uint8_t> samples = write_pattern_png("odd.png", {1, 4, PNG_COLOR_TYPE_RGB});
    Texture* texture = texture_load("odd.png", false);
    ASSERT_NE(texture, nullptr);
    std::vector<uint8_t> bottom_up = reversed_rows(samples, 3);
    EXPECT_EQ(level0_rgb(texture), bottom_up);
}

TEST_F(TextureCache, ReloadAfterANewContextGivesWorkingTextures) {
    std::vector<uint8_t> samples = write_pattern_png("a.png", {2, 2, PNG_COLOR_TYPE_RGB});
    Texture* texture = texture_load("a.png", false);
    unsigned int old_name = texture->gl_name;
    int before = line_count();
    texture_delete_all();
    EXPECT_EQ(texture->gl_name, 0u);
    EXPECT_FALSE(glIsTexture(old_name));
    gl.reset();
    gl = std::make_unique<GlContext>();
    ASSERT_TRUE(gl->ok());
    GLuint other = 0; // another module's texture, likely given the old name
    glGenTextures(1, &other);
    glBindTexture(GL_TEXTURE_2D, other);
    texture_reload_all();
    EXPECT_TRUE(glIsTexture(other));
    EXPECT_TRUE(glIsTexture(texture->gl_name));
    EXPECT_EQ(level0_rgb(texture), reversed_rows(samples, 2 * 3));
    EXPECT_EQ(lines_from(before), (Lines{"Deleting textures...", "Reloading textures..."}));
}

// A cached picture keeps no pixels once uploaded: an upload again reads its
// file, and a file gone since then is said once and leaves it blank (no
// crash, the others uploaded as before).
TEST_F(TextureCache, AnUploadAgainReadsTheFile) {
    write_pattern_png("kept.png", {2, 2, PNG_COLOR_TYPE_RGB});
    write_pattern_png("gone.png", {2, 2, PNG_COLOR_TYPE_RGB});
    Texture* kept = texture_load("kept.png", false);
    Texture* gone = texture_load("gone.png", false);
    ASSERT_NE(kept, nullptr);
    ASSERT_NE(gone, nullptr);
    EXPECT_TRUE(kept->pixels.empty()) << "the pixels stayed in memory after the upload";
    write_pattern_png("kept.png", {4, 2, PNG_COLOR_TYPE_RGBA}); // changed since
    ASSERT_EQ(std::remove("gone.png"), 0);
    int before = line_count();
    texture_reload_all();
    EXPECT_EQ(lines_from(before),
              (Lines{"Reloading textures...",
                     "!Can't open texture gone.png: No such file or directory!"}));
    EXPECT_EQ(gone->gl_name, 0u);
    EXPECT_EQ(level0_size(kept), std::make_pair(4, 2));
    EXPECT_EQ(kept->bpp, 32);
    EXPECT_TRUE(kept->pixels.empty());
}
