// PNG writing, read back through the game's own decoder.
#include "textures/png.h"
#include "textures/png_writer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

static bool decode(const char* path, PngImage* image) {
    std::FILE* file = std::fopen(path, "rb");
    bool ok = load_png_image(file, image);
    if (file) std::fclose(file);
    return ok;
}

TEST(PngWriter, WritesRgbRowsInEitherOrder) {
    unsetenv("VIEWING_GAMMA"); // no gamma change on decoding
    const int width = 7, height = 5;
    std::vector<uint8_t> rgb(width * height * 3);
    for (size_t i = 0; i < rgb.size(); i++)
        rgb[i] = static_cast<uint8_t>(i * 37 % 256);
    char reason[128] = "";
    for (bool bottom_up : {false, true}) {
        const char* path = bottom_up ? "bottom_up.png" : "top_down.png";
        ASSERT_TRUE(save_png_rgb(path, rgb.data(), width, height, bottom_up, reason, sizeof reason))
            << reason;
        PngImage image;
        ASSERT_TRUE(decode(path, &image));
        EXPECT_EQ(image.width, width);
        EXPECT_EQ(image.height, height);
        EXPECT_EQ(image.channels, 3);
        for (int row = 0; row < height; row++) {
            int source = bottom_up ? height - 1 - row : row; // the file is top row first
            EXPECT_TRUE(std::equal(rgb.begin() + source * width * 3,
                                   rgb.begin() + (source + 1) * width * 3,
                                   image.pixels.begin() + row * width * 3))
                << path << " row " << row;
        }
    }
}

TEST(PngWriter, NeverOverwritesAndSaysWhyItFailed) {
    const uint8_t pixel[3] = {1, 2, 3};
    std::ofstream("taken.png") << "someone else's";
    struct Case {
        const char* path;
        const char* reason;
    } cases[] = {{"taken.png", "File exists"}, {"no/such/folder.png", "No such file or directory"}};
    for (const Case& c : cases) {
        char reason[128] = "";
        EXPECT_FALSE(save_png_rgb(c.path, pixel, 1, 1, false, reason, sizeof reason));
        EXPECT_STREQ(reason, c.reason);
    }
    EXPECT_EQ(fs::file_size("taken.png"), 14u);
}
