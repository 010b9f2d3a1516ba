// The picture's shape in a 1280 x 720 window: stretched as the game always
// drew it (keep_aspect 0), or true to its shape (keep_aspect 1), read back
// from a real context. Also the screen areas the 2-D drawing uses.
#include "console/editor.h"
#include "console/registry.h"
#include "game/flock.h"
#include "game/pause.h"
#include "game/play.h"
#include "game/player.h"
#include "overlay/screen.h"
#include "support/frame_png.h"
#include "support/game_fixture.h"

#include <algorithm>
#include <vector>

TEST(ScreenArea, StretchedOrGrownToTheWindowsShape) {
    struct Case {
        double aspect;
        bool keep;
        ScreenAnchor anchor;
        ScreenArea expected;
        const char* what;
    } cases[] = {
        {16.0 / 9.0, false, SCREEN_CENTRED, {0, 640, 0, 480}, "stretched"},
        {4.0 / 3.0, true, SCREEN_CENTRED, {0, 640, 0, 480}, "4:3 is the screen itself"},
        {16.0 / 9.0, true, SCREEN_CENTRED, {-106.6667, 746.6667, 0, 480}, "wide, centred"},
        {16.0 / 9.0, true, SCREEN_TOP_LEFT, {0, 853.3333, 0, 480}, "wide, from the top left"},
        {1.0, true, SCREEN_CENTRED, {0, 640, -80, 560}, "tall, centred"},
        {1.0, true, SCREEN_TOP_LEFT, {0, 640, -160, 480}, "tall, from the top left"},
    };
    for (const Case& c : cases) {
        ScreenArea area = screen_area_for(640.0, 480.0, c.aspect, c.keep, c.anchor);
        EXPECT_NEAR(area.left, c.expected.left, 1e-3) << c.what;
        EXPECT_NEAR(area.right, c.expected.right, 1e-3) << c.what;
        EXPECT_NEAR(area.bottom, c.expected.bottom, 1e-3) << c.what;
        EXPECT_NEAR(area.top, c.expected.top, 1e-3) << c.what;
    }
}

class Aspect : public GameFixture {
  protected:
    int width = 0, height = 0;

    void SetUp() override {
        // 1280x720x32, in a window.
        video_mode_choose(9, video_fullscreen());
        GameFixture::SetUp();
        flock_next_spawn_at(0xFFFFFFFFu); // no sheep unless a test makes one
        drawable_size(&width, &height);
        ASSERT_EQ(width, 1280);
        ASSERT_EQ(height, 720);
    }
    static void keep_aspect(bool keep) {
        ConsoleVariable* v = console_find_variable("keep_aspect");
        ASSERT_NE(v, nullptr) << "keep_aspect does not exist";
        v->value = keep ? 1.0f : 0.0f;
    }
    // The frame just drawn, bottom row first, RGB.
    std::vector<unsigned char> read_frame() const { return ::read_frame(width, height); }
    const unsigned char* at(const std::vector<unsigned char>& rgb, int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }
    // The radar alone over white, with one high sheep 200 units ahead: its
    // blip's dark pixels along the row and the column through its middle.
    void measure_blip(int* across, int* down) {
        sheep_reset(); // this sheep alone
        sheep_spawn_at({player_view().x + 200.0f, 300.0f, player_view().z}, {0.0f, -1.0f, 0.0f},
                       0.0f);
        glClearColor(1.0f, 1.0f, 1.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        radar_draw();
        glDisable(GL_BLEND);
        std::vector<unsigned char> rgb = read_frame();
        // 200 radar units above the middle: 200 / 1440 of the height either way.
        int cx = width / 2, cy = height / 2 + 200 * height / 1440;
        *across = *down = 0;
        for (int x = 0; x < width; x++)
            if (at(rgb, x, cy)[0] < 128) ++*across;
        for (int y = 0; y < height; y++)
            if (at(rgb, cx, y)[0] < 128) ++*down;
    }
};

TEST_F(Aspect, TheRadarBlipIsRoundWithTheTrueAspectAndStretchedWithout) {
    int across = 0, down = 0;
    keep_aspect(true);
    measure_blip(&across, &down);
    ASSERT_GT(down, 10) << "no blip where the sheep is";
    EXPECT_NEAR(across, down, 1) << "the blip is " << across << " x " << down << " pixels";

    keep_aspect(false); // stretched like the window: 1280 / 1920 across, 720 / 1440 down
    measure_blip(&across, &down);
    ASSERT_GT(down, 10) << "no blip where the sheep is";
    EXPECT_NEAR(static_cast<double>(across) / down, (1280.0 / 1920.0) / (720.0 / 1440.0), 0.05)
        << "the blip is " << across << " x " << down << " pixels";
}

// Looking level over the first level's land, the bottom half of the window
// is land from edge to edge: a view wider than 90 degrees must not cull the
// land at its sides. (Sky shows only where nothing was drawn: the fog turns
// land sky-coloured only beyond 130 units, far further than these pixels.)
TEST_F(Aspect, TheWideViewShowsLandToTheWindowsEdges) {
    for (bool keep : {false, true}) {
        keep_aspect(keep);
        player_place(player_view().x, player_view().z, player_view().yaw, 0.0f);
        draw_frame();
        std::vector<unsigned char> rgb = read_frame();
        int sky = 0;
        for (int y = 20; y < height / 3; y++)
            for (int x : {0, 1, 2, width - 3, width - 2, width - 1}) {
                const unsigned char* p = at(rgb, x, y);
                if (std::abs(p[0] - 102) <= 2 && std::abs(p[1] - 102) <= 2 &&
                    std::abs(p[2] - 204) <= 2)
                    sky++;
            }
        EXPECT_EQ(sky, 0) << "keep_aspect " << keep << ": sky where the land should be";
    }
}

// The console panel spans the window, the head keeps its corner and stays
// square, with the true aspect as without.
TEST_F(Aspect, TheConsoleSpansTheWindowAndTheHeadKeepsItsCorner) {
    for (bool keep : {false, true}) {
        keep_aspect(keep);
        console_toggle(); // shown at once, fully opaque
        console_fade_step(1000.0f);
        draw_frame();
        std::vector<unsigned char> rgb = read_frame();
        const unsigned char* right = at(rgb, width - 2, height - 100);
        // Sky or land seen through dark blue at 0.7.
        EXPECT_TRUE(right[0] < 40 && right[2] > right[0])
            << "keep_aspect " << keep << ": no console panel at the right edge, colour "
            << int(right[0]) << " " << int(right[1]) << " " << int(right[2]);
        console_toggle();
        console_fade_step(1000.0f);

        // The head with its pictures taken away draws a plain white quad
        // (texture 0 has no picture): its white pixels along the window's top
        // row and down its left column.
        player_release_pictures();
        draw_frame();
        rgb = read_frame();
        auto white = [&](int x, int y) {
            const unsigned char* p = at(rgb, x, y);
            return p[0] == 255 && p[1] == 255 && p[2] == 255;
        };
        int across = 0, down = 0;
        while (across < width && white(across, height - 1))
            across++;
        while (down < height && white(0, height - 1 - down))
            down++;
        ASSERT_GT(down, 10) << "keep_aspect " << keep << ": no head in the top-left corner";
        // 100 x 100 units of a 640 x 480 screen: stretched, 1280 / 640 across
        // and 720 / 480 down; true to its shape, square.
        double expected = keep ? 1.0 : (1280.0 / 640.0) / (720.0 / 480.0);
        EXPECT_NEAR(static_cast<double>(across) / down, expected, 0.02)
            << "keep_aspect " << keep << ": the head is " << across << " x " << down;
    }
}

// Paused, with the true aspect at 1280 x 720: the dark band and its "Paused"
// are centred across the widened screen, where the crosshair is, as they are
// stretched. Looking straight up, the band lies over plain sky.
TEST_F(Aspect, ThePausedBandIsCentredAcrossTheWindow) {
    ASSERT_TRUE(pause_set(true));
    for (bool keep : {false, true}) {
        keep_aspect(keep);
        player_place(player_view().x, player_view().z, player_view().yaw, -1.5f);
        draw_frame();
        std::vector<unsigned char> rgb = read_frame();
        // Row 17's top edge is 328 units up the 600-unit screen; "Paused" (row
        // 18) starts 18 units lower, so 4 units down is band alone.
        int band_row = 324 * height / 600, text_row = 302 * height / 600;
        int band_left = width, band_right = -1, text_left = width, text_right = -1;
        for (int x = 0; x < width; x++) {
            const unsigned char* p = at(rgb, x, band_row);
            bool darkened_sky = p[2] > 60 && p[2] < 120 && p[0] < 60; // 0.4 of 102 102 204
            if (darkened_sky) band_left = std::min(band_left, x), band_right = x;
            const unsigned char* t = at(rgb, x, text_row);
            if (t[0] > 200 && t[1] > 200 && t[2] > 200)
                text_left = std::min(text_left, x), text_right = x;
        }
        ASSERT_GE(band_right, 0) << "keep_aspect " << keep << ": no dark band on row " << band_row;
        ASSERT_GE(text_right, 0) << "keep_aspect " << keep << ": no white text on row " << text_row;
        EXPECT_NEAR((band_left + band_right) * 0.5, width * 0.5, 2.0)
            << "keep_aspect " << keep << ": the band spans x " << band_left << " .. " << band_right;
        EXPECT_NEAR((text_left + text_right) * 0.5, width * 0.5, 12.0)
            << "keep_aspect " << keep << ": the text spans x " << text_left << " .. " << text_right;
    }
}
