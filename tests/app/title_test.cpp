// The title screen: the box model loaded at start-up, its three turning
// passes over the uncleared frame, and start-up failing without the box.
#include "app/clock.h"
#include "console/output.h"
#include "model/model.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <vector>

namespace fs = std::filesystem;

namespace {

std::vector<uint8_t> read_frame(int* width, int* height) {
    SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), width, height);
    std::vector<uint8_t> rgb(size_t(*width) * *height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, *width, *height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

} // namespace

class TitleScreen : public GameFixture {
  protected:
    void SetUp() override {
        GameFixture::SetUp();
        game_state = STATE_TITLE;
        glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    }
    // A title frame at the given game time; a frame of 0 ms leaves the clock.
    static std::vector<uint8_t> frame_at(uint32_t time_ms) {
        game_time_ms = time_ms;
        game_time = static_cast<float>(time_ms);
        draw_frame(0);
        int width, height;
        return read_frame(&width, &height);
    }
};

TEST_F(TitleScreen, BoxIsLoadedAtStartUpWithItsDisplayList) {
    EXPECT_FALSE(title_model.draw_immediate);
    ASSERT_EQ(title_model.material_layers.size(), 1u);
    EXPECT_TRUE(title_model.material_layers[0].second_env_map);
    for (const std::string& line : printed_lines())
        EXPECT_NE(line[0], '!') << line;
}

TEST_F(TitleScreen, PassesAddOverTheUnclearedFrameAndNeverDarkenIt) {
    std::vector<uint8_t> first = frame_at(5000);
    std::vector<uint8_t> second = frame_at(5000);
    int lit = 0, brighter = 0, darker = 0;
    for (size_t i = 0; i < first.size(); i++) {
        lit += first[i] > 40;
        brighter += second[i] > first[i] + 8;
        darker += second[i] + 2 < first[i];
    }
    EXPECT_GT(lit, int(first.size() / 20)) << "the boxes cover a good part of the screen";
    EXPECT_GT(brighter, 0) << "the added passes pile up where the plain box does not cover";
    EXPECT_EQ(darker, 0);
}

TEST_F(TitleScreen, BoxTurnsWithTheClock) {
    std::vector<uint8_t> early = frame_at(1000);
    glClear(GL_COLOR_BUFFER_BIT);
    std::vector<uint8_t> later = frame_at(3000);
    int changed = 0;
    for (size_t i = 0; i < early.size(); i++)
        changed += std::abs(int(early[i]) - int(later[i])) > 30;
    EXPECT_GT(changed, int(early.size() / 50));
}

// Start-up with the box model missing or damaged: the load's own error line,
// and game_init fails (the entry then shows "Initialization Failed.").
class StartUpWithoutTheBox : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        // A data folder of our own: links to every shared file but the box.
        fs::path shared = fs::read_symlink("data");
        fs::remove("data");
        fs::create_directory("data");
        for (const fs::directory_entry& entry : fs::directory_iterator(shared))
            if (entry.path().filename() != "box.ms3d")
                fs::create_symlink(entry.path(), fs::path("data") / entry.path().filename());
        fullscreen = false;
    }
    void TearDown() override {
        app_shutdown();
        window_destroy();
    }
};

TEST_P(StartUpWithoutTheBox, FailsWithTheModelsErrorLine) {
    std::string bytes = GetParam();
    if (!bytes.empty()) std::ofstream("data/box.ms3d", std::ios::binary) << bytes;
    main_loop_start();
    ASSERT_TRUE(video_init());
    EXPECT_FALSE(game_init());
    std::vector<std::string> lines = printed_lines();
    std::string expected =
        bytes.empty() ? "!Can't open model data/box.ms3d!" : "!Bad model file data/box.ms3d!";
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
}

INSTANTIATE_TEST_SUITE_P(MissingOrCut, StartUpWithoutTheBox,
                         testing::Values("", "MS3D000000 and no more"));
