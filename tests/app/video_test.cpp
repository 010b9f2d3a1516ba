// Video modes: the "videomode" matching and messages, and real window
// re-creation with the textures and console text surviving it.
#include "overlay/font.h"
#include "console/registry.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"
#include "textures/texture.h"

using Lines = std::vector<std::string>;

TEST(VideoModes, MatchTheStartOfTheArgumentIgnoringCase) {
    EXPECT_EQ(video_mode_find("1280X720X32"), 9);
    EXPECT_EQ(video_mode_find("800x600x16extra"), 2);
    EXPECT_EQ(video_mode_find("800x600"), -1);
    EXPECT_EQ(video_mode_find(""), -1);
    EXPECT_EQ(video_mode_find("640x400x16"), 0);
}

class VideoCommands : public GameFixture {
  protected:
    Lines run(const char* line) {
        int mark = line_count;
        console_execute(line);
        return lines_since(mark);
    }
};

TEST_F(VideoCommands, ReportUsageAndUnknownModes) {
    EXPECT_EQ(run("videomode"), (Lines{">videomode", "!usage: setmode [WIDTHxHEIGHTxBPP]!",
                                       "video mode : 1024x768x32"}));
    EXPECT_EQ(run("videomode 800x600"), (Lines{">videomode 800x600", "!video mode not found !",
                                               "!usage: setmode [WIDTHxHEIGHTxBPP]!"}));
    EXPECT_EQ(current_video_mode, 8);
}

TEST_F(VideoCommands, RecreateTheWindowAndKeepTexturesUsable) {
    Lines out = run("videomode 640x480x32");
    ASSERT_GE(out.size(), 5u);
    EXPECT_EQ(out[1], "setting video mode 640x480x32...");
    EXPECT_EQ(out[2], "Changing video mode...");
    EXPECT_EQ(out[3], "Deleting textures...");
    EXPECT_EQ(out[4], "Reloading textures...");
    EXPECT_EQ(current_video_mode, 6);
    int w = 0, h = 0;
    drawable_size(&w, &h);
    EXPECT_EQ(w, 640);
    EXPECT_EQ(h, 480);

    // The font was uploaded again into the new context: text still draws.
    ASSERT_TRUE(glIsTexture(font_texture()->gl_name));
    glClear(GL_COLOR_BUFFER_BIT);
    text_set_alpha(1.0f);
    text_set_color(1.0f, 1.0f, 1.0f);
    text_draw("#####", 0, 10);
    Rgb lit = brightest(0, 422, 60, 438);
    EXPECT_GT(lit.r, 200);
}

TEST_F(VideoCommands, ToggleFullscreenTwiceReturnsToAWindow) {
    // Fullscreen switches the display to 1024 x 768 when it has that mode, and
    // otherwise (the test's 1280 x 1024 virtual screen) takes a borderless
    // window of that size: either way the picture is exactly 1024 x 768.
    const Uint32 fullscreen_flags = SDL_WINDOW_FULLSCREEN | SDL_WINDOW_BORDERLESS;
    int w = 0, h = 0;
    run("togglefullscreen");
    EXPECT_TRUE(fullscreen);
    EXPECT_TRUE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & fullscreen_flags);
    drawable_size(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 1024);
    EXPECT_EQ(viewport[3], 768);

    run("togglefullscreen");
    EXPECT_FALSE(fullscreen);
    EXPECT_FALSE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & fullscreen_flags);
    drawable_size(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
}
