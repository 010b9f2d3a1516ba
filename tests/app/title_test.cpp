// The title screen: the box's three turning passes over the uncleared frame,
// and start-up failing without the box. The tests draw in a hidden window of
// their own, so they never take the keyboard from the tests that play the
// main loop in parallel.
#include "app/app.h"
#include "app/frame_end.h"
#include "app/extensions.h"
#include "app/video.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "game/screens.h"
#include "gl.h"
#include "model/load.h"
#include "overlay/render_scale.h"
#include "support/console_lines.h"
#include "support/gl_context.h"
#include "support/test_files.h"
#include "textures/texture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

namespace fs = std::filesystem;

static constexpr int kWidth = 512, kHeight = 384;

class TitleScreen : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl->ok());
        console_init();
        show_fps_init(); // the settings the title's frame reads, as start-up makes them
        video_settings_init();
        render_scale_init();
        texture_manager_init();
        extensions_start_context();
        ASSERT_TRUE(screens_init()); // the title model (and the dead picture)
        glClear(GL_COLOR_BUFFER_BIT);
    }
    void TearDown() override { screens_release(); }
    // The title's frame at the given game time, read back.
    static std::vector<uint8_t> frame_at(uint32_t time_ms) {
        clock_restart();
        clock_advance(time_ms);
        title_frame(InputRecord{});
        std::vector<uint8_t> rgb(size_t(kWidth) * kHeight * 3);
        glFinish();
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(0, 0, kWidth, kHeight, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
        return rgb;
    }
    std::unique_ptr<GlContext> gl = std::make_unique<GlContext>(kWidth, kHeight);
};

TEST_F(TitleScreen, PassesAddOverTheUnclearedFrameAndNeverDarkenIt) {
    std::vector<uint8_t> first = frame_at(5000);
    std::vector<uint8_t> second = frame_at(5000);
    int lit = 0, brighter = 0, darker = 0;
    for (size_t i = 0; i < first.size(); i++) {
        lit += first[i] > 40;
        brighter += second[i] > first[i] + 8;
        darker += second[i] + 2 < first[i];
    }
    EXPECT_GT(lit, int(first.size() / 50)) << "the boxes cover a good part of the screen";
    EXPECT_GT(brighter, 0) << "the added passes pile up where the plain box does not cover";
    EXPECT_EQ(darker, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(TitleScreen, BoxTurnsWithTheClock) {
    std::vector<uint8_t> early = frame_at(1000);
    glClear(GL_COLOR_BUFFER_BIT);
    std::vector<uint8_t> later = frame_at(3000);
    int changed = 0;
    for (size_t i = 0; i < early.size(); i++)
        changed += std::abs(int(early[i]) - int(later[i])) > 30;
    EXPECT_GT(changed, int(early.size() / 100));
}

// Start-up with the box model missing or damaged: the load's own error line,
// and game_init fails (the entry then shows "Initialization Failed.").
class StartUpWithoutTheBox : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(gl->ok());
        extensions_start_context();
        // A data folder of our own: links to every shared file but the box.
        fs::remove_all("data");
        fs::create_directory("data");
        for (const fs::directory_entry& entry : fs::directory_iterator(test_data_folder()))
            if (entry.path().filename() != "box.ms3d")
                link_test_file(entry.path(), fs::path("data") / entry.path().filename());
    }
    void TearDown() override { app_shutdown(); }
    std::unique_ptr<GlContext> gl = std::make_unique<GlContext>(64, 64);
};

TEST_P(StartUpWithoutTheBox, FailsWithTheModelsErrorLine) {
    std::string bytes = GetParam();
    if (!bytes.empty()) std::ofstream("data/box.ms3d", std::ios::binary) << bytes;
    EXPECT_FALSE(game_init());
    std::vector<std::string> lines = printed_lines();
    std::string expected =
        bytes.empty() ? "!Can't open model data/box.ms3d: No such file or directory!"
                      : "!Bad model file data/box.ms3d: cut off at byte 22 (in its vertices)!";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
    EXPECT_EQ(lines.back(), expected) << "the last step that ran";
}

INSTANTIATE_TEST_SUITE_P(MissingOrCut, StartUpWithoutTheBox,
                         testing::Values("", "MS3D000000 and no more"));
