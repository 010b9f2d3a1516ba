// Screenshots of the started game: the file holds the frame as OpenGL drew
// it, numbers follow the files already there, and failures say why.
#include "app/screenshot.h"
#include "console/registry.h"
#include "support/console_lines.h"
#include "support/frame_png.h"
#include "support/game_fixture.h"
#include "textures/png.h"
#include "support/environment.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class Screenshots : public GameFixture {
  protected:
    static int wrote_lines() {
        Lines lines = printed_lines();
        return static_cast<int>(std::count_if(lines.begin(), lines.end(), [](const auto& line) {
            return line.rfind("Wrote screenshots/", 0) == 0;
        }));
    }
};

TEST_F(Screenshots, TheFileHoldsTheFrameAsDrawn) {
    console_execute("screenshot");
    EXPECT_FALSE(fs::exists("screenshots")) << "taken when the frame is finished";
    draw_frame();
    int width = 0, height = 0;
    drawable_size(&width, &height);
    std::vector<uint8_t> drawn = read_frame(width, height); // bottom row first
    screenshot_frame_done();
    EXPECT_EQ(last_line(), "Wrote screenshots/sheepfall-0000.png");

    unsetenv("VIEWING_GAMMA");
    set_png_flip_rows(true); // as the frame was read: bottom row first
    std::FILE* file = std::fopen("screenshots/sheepfall-0000.png", "rb");
    ASSERT_NE(file, nullptr);
    PngImage image;
    ASSERT_TRUE(load_png_image(file, &image));
    std::fclose(file);
    EXPECT_EQ(image.width, width);
    EXPECT_EQ(image.height, height);
    EXPECT_EQ(image.channels, 3);
    EXPECT_TRUE(image.pixels == drawn);
}

TEST_F(Screenshots, F12TakesTheNextFreeNumberOncePerPress) {
    fs::create_directory("screenshots");
    for (const char* taken : {"0000", "0001", "0003"})
        std::ofstream(std::string("screenshots/sheepfall-") + taken + ".png") << "x";
    press(SDL_SCANCODE_F12);
    ASSERT_TRUE(step());
    EXPECT_EQ(last_line(), "Wrote screenshots/sheepfall-0002.png");
    push_key(SDL_KEYDOWN, SDL_SCANCODE_F12);
    ASSERT_TRUE(step());
    push_key(SDL_KEYDOWN, SDL_SCANCODE_F12); // the key repeating while held
    ASSERT_TRUE(step());
    push_key(SDL_KEYUP, SDL_SCANCODE_F12);
    ASSERT_TRUE(step());
    EXPECT_EQ(last_line(), "Wrote screenshots/sheepfall-0004.png");
    EXPECT_EQ(wrote_lines(), 2);
    EXPECT_EQ(fs::file_size("screenshots/sheepfall-0003.png"), 1u) << "a file was overwritten";
}

TEST_F(Screenshots, AFailureSaysWhy) {
    std::ofstream("screenshots") << "a file where the folder should be";
    console_execute("screenshot");
    ASSERT_TRUE(step());
    EXPECT_EQ(last_line(), "!Can't make folder screenshots: Not a directory!");
    EXPECT_EQ(wrote_lines(), 0);
}
