// Video modes: the "videomode" matching and messages, and real window
// re-creation with the textures and console text surviving it.
#include "app/settings.h"
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
    // The desktop mode comes after the table's rows.
    EXPECT_EQ(video_mode_find("Desktop"), VIDEO_MODE_DESKTOP);
    EXPECT_EQ(video_mode_find("desk"), -1);
    EXPECT_STREQ(video_mode_name(VIDEO_MODE_DESKTOP), "desktop");
    EXPECT_STREQ(video_mode_name(9), "1280x720x32");
}

class VideoCommands : public GameFixture {
  protected:
    Lines run(const char* line) {
        int mark = line_count();
        console_execute(line);
        return lines_since(mark);
    }
};

TEST_F(VideoCommands, ReportUsageAndUnknownModes) {
    EXPECT_EQ(run("videomode"), (Lines{">videomode", "!usage: setmode [WIDTHxHEIGHTxBPP]!",
                                       "video mode : 1024x768x32"}));
    EXPECT_EQ(run("videomode 800x600"), (Lines{">videomode 800x600", "!video mode not found !",
                                               "!usage: setmode [WIDTHxHEIGHTxBPP]!"}));
    EXPECT_EQ(current_video_mode(), 8);
}

TEST_F(VideoCommands, RecreateTheWindowAndKeepTexturesUsable) {
    Lines out = run("videomode 640x480x32");
    ASSERT_GE(out.size(), 5u);
    EXPECT_EQ(out[1], "setting video mode 640x480x32...");
    EXPECT_EQ(out[2], "Changing video mode...");
    EXPECT_EQ(out[3], "Deleting textures...");
    EXPECT_EQ(out[4], "Reloading textures...");
    EXPECT_EQ(current_video_mode(), 6);
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
    // Fullscreen switches the display to its closest mode at least as large
    // as 1024 x 768 (on the test's virtual screen: its only mode, 1280 x 1024)
    // and the picture covers all of it.
    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    int w = 0, h = 0;
    run("togglefullscreen");
    EXPECT_TRUE(video_fullscreen());
    EXPECT_TRUE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN);
    drawable_size(&w, &h);
    EXPECT_EQ(w, desktop.w);
    EXPECT_EQ(h, desktop.h);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], w);
    EXPECT_EQ(viewport[3], h);

    run("togglefullscreen");
    EXPECT_FALSE(video_fullscreen());
    EXPECT_FALSE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN);
    drawable_size(&w, &h);
    EXPECT_EQ(w, 1024);
    EXPECT_EQ(h, 768);
}

// The desktop mode is fullscreen at the display's own size from a window of
// any kind, is the next start's mode, and leaves for a window as large.
TEST_F(VideoCommands, DesktopCoversTheWholeScreen) {
    SDL_Rect screen{};
    ASSERT_EQ(SDL_GetDisplayBounds(0, &screen), 0) << SDL_GetError();
    Lines out = run("videomode desktop");
    ASSERT_GE(out.size(), 3u);
    EXPECT_EQ(out[1], "setting video mode desktop...");
    EXPECT_EQ(out[2], "Changing video mode...");
    EXPECT_EQ(current_video_mode(), VIDEO_MODE_DESKTOP);
    EXPECT_TRUE(video_fullscreen());
    Uint32 flags = SDL_GetWindowFlags(SDL_GL_GetCurrentWindow());
    EXPECT_EQ(flags & SDL_WINDOW_FULLSCREEN_DESKTOP, Uint32{SDL_WINDOW_FULLSCREEN_DESKTOP});
    int w = 0, h = 0;
    drawable_size(&w, &h);
    EXPECT_EQ(w, screen.w) << "the window does not cover the screen";
    EXPECT_EQ(h, screen.h) << "the window does not cover the screen";
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], w);
    EXPECT_EQ(viewport[3], h);
    EXPECT_EQ(run("videomode"),
              (Lines{">videomode", "!usage: setmode [WIDTHxHEIGHTxBPP]!", "video mode : desktop"}));
    undo_fixture_settings();
    EXPECT_EQ(settings_config_text(), "startmode desktop fullscreen\n");

    run("togglefullscreen");
    EXPECT_FALSE(SDL_GetWindowFlags(SDL_GL_GetCurrentWindow()) & SDL_WINDOW_FULLSCREEN);
    drawable_size(&w, &h);
    EXPECT_EQ(w, screen.w);
    EXPECT_EQ(h, screen.h);
    EXPECT_EQ(settings_config_text(), "startmode desktop windowed\n");
}

TEST(DisplayModes, TheClosestModeIsTheSmallestLargeEnoughOfTheRequestedDepth) {
    auto mode = [](int w, int h, Uint32 format, int hz = 60) {
        SDL_DisplayMode m{};
        m.w = w;
        m.h = h;
        m.format = format;
        m.refresh_rate = hz;
        return m;
    };
    const Uint32 RGB16 = SDL_PIXELFORMAT_RGB565, RGB24 = SDL_PIXELFORMAT_RGB888;
    const SDL_DisplayMode modes[] = {
        mode(1920, 1080, RGB24), mode(1280, 1024, RGB24), mode(1280, 1024, RGB16),
        mode(1024, 768, RGB24, 60), mode(1024, 768, RGB24, 75), mode(800, 600, RGB16),
    };
    struct Case {
        int width, height, bits, expected;
    } cases[] = {
        {1024, 768, 32, 4},  // exact size, the higher refresh rate
        {1024, 768, 16, 4},  // no 16-bit mode of that size: the size wins
        {1280, 720, 16, 2},  // 1280 x 1024 in 16 bits
        {1280, 720, 32, 1},  // 1280 x 1024 in 24 bits
        {640, 400, 16, 5},   // the smallest large enough
        {2560, 1440, 32, -1} // none large enough
    };
    for (const Case& c : cases)
        EXPECT_EQ(closest_mode_index(modes, 6, c.width, c.height, c.bits), c.expected)
            << c.width << "x" << c.height << "x" << c.bits;
}
