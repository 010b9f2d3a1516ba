// Extension probing: the whole-word search of extension lists, and the probe
// on real contexts with and without the two extensions (Mesa leaves
// extensions out of a new context's list when MESA_EXTENSION_OVERRIDE
// names them with a minus).
#include "app/extensions.h"
#include "console/registry.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"
#include "support/gl_context.h"
#include "support/environment.h"

#include <cstdlib>

namespace {

struct ListCase {
    const char* list;
    const char* name;
    bool found;
};

// Drops both extensions from every context made after the call.
void leave_out_multitexturing() {
    setenv("MESA_EXTENSION_OVERRIDE", "-GL_ARB_multitexture -GL_ARB_texture_env_combine", 1);
}

} // namespace

TEST(ExtensionList, FindsWholeWordsOnly) {
    const ListCase cases[] = {
        {"GL_ARB_multitexture GL_EXT_fog", "GL_ARB_multitexture", true},   // first word
        {"GL_EXT_fog GL_ARB_multitexture", "GL_ARB_multitexture", true},   // last word
        {"GL_ARB_multitexture", "GL_ARB_multitexture", true},              // only word
        {"GL_A GL_ARB_multitexture_x GL_B", "GL_ARB_multitexture", false}, // prefix of a word
        {"GL_X_GL_ARB_multitexture GL_B", "GL_ARB_multitexture", false},   // end of a word
        {"GL_ARB_multitexture_x GL_ARB_multitexture", "GL_ARB_multitexture",
         true},                                         // after a prefix
        {"GL_ARB_multitexture", "GL_ARB_multi", false}, // name is a prefix
        {"GL_ARB_multitexture ", "", false},            // empty name
        {"GL_A GL_B", "GL_A GL_B", false},              // name with a blank
        {"GL_A GL_B", " GL_B", false},
        {"", "GL_A", false},
    };
    for (const ListCase& c : cases)
        EXPECT_EQ(extension_in_list(c.list, c.name), c.found)
            << '"' << c.list << "\" / \"" << c.name << '"';
}

TEST(ExtensionProbe, FindsBothExtensionsAndTheEntryPointsOfAFullContext) {
    GlContext gl;
    ASSERT_TRUE(gl.ok());
    EXPECT_TRUE(extension_supported("GL_ARB_multitexture"));
    EXPECT_FALSE(extension_supported("GL_ARB_multitextur"));
    EXPECT_FALSE(extension_supported(""));
    EXPECT_FALSE(extension_supported("GL_ARB_multitexture GL_ARB_texture_env_combine"));
    extensions_probe();
    ASSERT_TRUE(gl_driver().multitexture);
    ASSERT_NE(glActiveTextureARB, nullptr);
    ASSERT_NE(glMultiTexCoord2fARB, nullptr);
    // The fetched entry point works: it selects the unit the context reports.
    glActiveTextureARB(GL_TEXTURE1_ARB);
    GLint active = 0;
    glGetIntegerv(GL_ACTIVE_TEXTURE_ARB, &active);
    EXPECT_EQ(active, GL_TEXTURE1_ARB);
    glActiveTextureARB(GL_TEXTURE0_ARB);
}

// Stands in for entry points of an earlier context; never to be called.
void APIENTRY stale_active_texture(GLenum) {
    ADD_FAILURE() << "an entry point of another context was called";
}

TEST(ExtensionProbe, ClearsEverythingForAContextWithoutTheExtensions) {
    leave_out_multitexturing();
    GlContext bare;
    ASSERT_TRUE(bare.ok());
    EXPECT_FALSE(extension_supported("GL_ARB_multitexture"));
    EXPECT_FALSE(extension_supported("GL_ARB_texture_env_combine"));
    // What a probe of the previous context left behind.
    GlDriver stale = gl_driver();
    stale.multitexture = true;
    stale.active_texture = stale_active_texture;
    gl_driver_set_capabilities(stale);
    extensions_probe();
    EXPECT_FALSE(gl_driver().multitexture);
    EXPECT_EQ(glActiveTextureARB, nullptr);
    EXPECT_EQ(glMultiTexCoord2fARB, nullptr);
}

// The game started on a display whose contexts lack both extensions.
class GameWithoutMultitexturing : public GameFixture {
  protected:
    void SetUp() override {
        leave_out_multitexturing();
        GameFixture::SetUp();
    }
};

// (The line printed at start-up comes before the console's buffer is
// started, which empties it.)
TEST_F(GameWithoutMultitexturing, SaysSoAfterAVideoModeChange) {
    auto has_warning = [](const std::vector<std::string>& lines) {
        return std::count(lines.begin(), lines.end(), "!multitexturing not supported!");
    };
    EXPECT_FALSE(gl_driver().multitexture);
    int mark = line_count();
    console_execute("videomode 800x600x32");
    EXPECT_EQ(has_warning(lines_since(mark)), 1);
    EXPECT_FALSE(gl_driver().multitexture);
    EXPECT_EQ(glActiveTextureARB, nullptr);
}
