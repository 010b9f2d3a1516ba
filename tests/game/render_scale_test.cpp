// The 3-D scene at render_scale in a real context, read back: 1 draws exactly
// the window's own frame, below 1 the scene is drawn smaller and stretched
// (through a framebuffer object, or the back buffer's corner without one)
// while the crosshair stays sharp.
#include "console/registry.h"
#include "game/flock.h"
#include "game/pause.h"
#include "game/player.h"
#include "overlay/render_scale.h"
#include "support/frame_png.h"
#include "support/game_fixture.h"

#include <cstdlib>
#include <vector>

namespace {

class RenderScale : public GameFixture {
  protected:
    int width = 0, height = 0;

    void SetUp() override {
        GameFixture::SetUp();
        flock_next_spawn_at(0xFFFFFFFFu); // no sheep: the frames differ only by the scale
        // Paused, the same frame is drawn again and again, nothing moving.
        ASSERT_TRUE(pause_set(true));
        drawable_size(&width, &height);
    }
    // The paused play frame at this render_scale, all its pixels.
    std::vector<unsigned char> frame_at(float scale) {
        console_find_variable("render_scale")->value = scale;
        draw_frame();
        return read_frame(width, height);
    }
    // How many pixels differ, and by at most how much in any channel.
    static void compare(const std::vector<unsigned char>& a, const std::vector<unsigned char>& b,
                        int* differing, int* largest) {
        *differing = *largest = 0;
        for (size_t i = 0; i < a.size(); i += 3) {
            int most = 0;
            for (size_t c = 0; c < 3; c++)
                most = std::max(most, std::abs(a[i + c] - b[i + c]));
            if (most > 0) ++*differing;
            *largest = std::max(*largest, most);
        }
    }
    const unsigned char* at(const std::vector<unsigned char>& rgb, int x, int y) const {
        return &rgb[(static_cast<size_t>(y) * width + x) * 3];
    }

    // The crosshair's horizontal line left of the middle: the columns where one
    // of the rows about the middle is pure black ("Paused" covers a few).
    int crosshair_columns(const std::vector<unsigned char>& rgb) const {
        int black = 0;
        for (int x = width / 2 - 100; x < width / 2 - 20; x++) {
            bool on_line = false;
            for (int y = height / 2 - 3; y <= height / 2 + 3; y++) {
                const unsigned char* p = at(rgb, x, y);
                on_line = on_line || (p[0] == 0 && p[1] == 0 && p[2] == 0);
            }
            black += on_line;
        }
        return black;
    }
};

// Scale 1 is the frame as the game always drew it: the same pixels before
// and after frames drawn smaller, so it copies and changes nothing.
TEST_F(RenderScale, OneDrawsExactlyTheWindowsOwnFrame) {
    std::vector<unsigned char> before = frame_at(1.0f);
    std::vector<unsigned char> half = frame_at(0.5f);
    std::vector<unsigned char> after = frame_at(1.0f);
    int differing = 0, largest = 0;
    compare(before, half, &differing, &largest);
    ASSERT_GT(differing, width * height / 50) << "scale 0.5 drew the same frame as 1";
    compare(before, after, &differing, &largest);
    EXPECT_EQ(differing, 0) << "scale 1 after 0.5: " << differing << " pixels differ, by up to "
                            << largest;
}

// Half and a quarter of the size each way: the land's fine edges are
// blurred, but the picture is the same picture (sky where it was), and the
// crosshair, drawn after at the window's size, keeps its one-pixel lines.
TEST_F(RenderScale, BelowOneTheSceneIsStretchedAndTheCrosshairStaysSharp) {
    std::vector<unsigned char> full = frame_at(1.0f);
    const int sharp = crosshair_columns(full);
    ASSERT_GT(sharp, 40) << "no crosshair at full size";
    for (float scale : {0.5f, 0.25f}) {
        std::vector<unsigned char> scaled = frame_at(scale);
        const unsigned char* sky = at(scaled, width / 2, height - 40);
        EXPECT_EQ(sky[0] * 1000000 + sky[1] * 1000 + sky[2], 102102204)
            << "scale " << scale << ": no plain sky at the top";
        EXPECT_EQ(crosshair_columns(scaled), sharp)
            << "scale " << scale << ": the crosshair is not sharp";
        // The land's pixels change, but on average only a little.
        long total = 0;
        for (size_t i = 0; i < full.size(); i++)
            total += std::abs(full[i] - scaled[i]);
        EXPECT_LT(static_cast<double>(total) / full.size(), 12.0)
            << "scale " << scale << ": not the same picture";
    }
}

// Without framebuffer objects the scene is drawn into the back buffer's
// corner and copied: the same picture as through a framebuffer object, to
// within a little rounding.
TEST_F(RenderScale, TheCopyFallbackDrawsWhatTheFramebufferDraws) {
    ASSERT_TRUE(gl_driver().framebuffer_object)
        << "this driver has no framebuffer objects to compare with";
    std::vector<unsigned char> through_framebuffer = frame_at(0.5f);
    GlDriver with = gl_driver(), without = gl_driver();
    without.framebuffer_object = false;
    gl_driver_set_capabilities(without);
    std::vector<unsigned char> copied = frame_at(0.5f);
    gl_driver_set_capabilities(with);
    int differing = 0, largest = 0;
    compare(through_framebuffer, copied, &differing, &largest);
    // The two renderers' targets round a few of the land's pixels apart; a
    // picture shifted or stretched differently would differ far more.
    EXPECT_LE(largest, 8) << differing << " pixels differ, by up to " << largest;
    EXPECT_LT(differing, width * height / 100) << differing << " pixels differ";
    std::vector<unsigned char> full = frame_at(1.0f);
    compare(full, copied, &differing, &largest);
    EXPECT_GT(differing, 0) << "the copy fallback drew the full-size frame";
}

} // namespace
