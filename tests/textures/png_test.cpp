// PNG decoding of files written by libpng: layouts, row order, errors, gamma.
#include "png_files.h"
#include "textures/png.h"
#include "support/environment.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <filesystem>

class PngDecode : public testing::Test {
  protected:
    void SetUp() override {
        unsetenv("VIEWING_GAMMA");
        set_png_flip_rows(false);
    }
    static bool decode(const std::string& path, PngImage* image) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        bool ok = load_png_image(file, image);
        if (file) std::fclose(file);
        return ok;
    }
    // Decodes a one-row grey picture with the given samples.
    static std::vector<uint8_t> decode_grey(const std::vector<uint8_t>& samples, double gamma) {
        PngFile file{int(samples.size()), 1, PNG_COLOR_TYPE_GRAY, 8, false, gamma};
        write_png_file("grey.png", file, samples);
        PngImage image;
        EXPECT_TRUE(decode("grey.png", &image));
        return image.pixels;
    }
};

TEST_F(PngDecode, KeepsTheLayoutOfEveryColourType) {
    struct Case {
        PngFile file;
        int channels;
    } cases[] = {
        {{5, 3, PNG_COLOR_TYPE_RGB}, 3},
        {{4, 2, PNG_COLOR_TYPE_RGB_ALPHA}, 4},
        {{3, 3, PNG_COLOR_TYPE_PALETTE}, 1},
        {{7, 2, PNG_COLOR_TYPE_GRAY}, 1},
        {{3, 2, PNG_COLOR_TYPE_GRAY_ALPHA}, 2},
        {{9, 9, PNG_COLOR_TYPE_RGB, 8, true}, 3},
        {{5, 2, PNG_COLOR_TYPE_RGB, 8, false, 1 / 2.2}, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "colour type " << c.file.colour_type << " "
                                        << c.file.width << "x" << c.file.height);
        std::vector<uint8_t> samples = write_pattern_png("p.png", c.file);
        PngImage image;
        ASSERT_TRUE(decode("p.png", &image));
        EXPECT_EQ(image.width, c.file.width);
        EXPECT_EQ(image.height, c.file.height);
        EXPECT_EQ(image.bit_depth, 8);
        EXPECT_EQ(image.channels, c.channels);
        EXPECT_EQ(image.pixels, samples);
    }
}

TEST_F(PngDecode, Reduces16BitSamplesToTheirHighByte) {
    std::vector<uint8_t> samples = write_pattern_png("p.png", {3, 2, PNG_COLOR_TYPE_RGB, 16});
    std::vector<uint8_t> high_bytes;
    for (size_t i = 0; i < samples.size(); i += 2)
        high_bytes.push_back(samples[i]);
    PngImage image;
    ASSERT_TRUE(decode("p.png", &image));
    EXPECT_EQ(image.bit_depth, 8);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.pixels, high_bytes);
}

TEST_F(PngDecode, FlippedRowsPutTheFirstFileRowLast) {
    std::vector<uint8_t> samples = write_pattern_png("p.png", {5, 3, PNG_COLOR_TYPE_RGB});
    set_png_flip_rows(true);
    PngImage image;
    ASSERT_TRUE(decode("p.png", &image));
    EXPECT_EQ(image.pixels, reversed_rows(samples, 15));
}

TEST_F(PngDecode, RejectsWhatIsNotAWholePngAndSaysWhy) {
    write_pattern_png("big.png", {64, 64, PNG_COLOR_TYPE_RGB});
    std::string png = read_bytes("big.png");
    std::string bad_crc = png;
    bad_crc[19] ^= 1; // the picture's width, so the header's CRC no longer matches
    std::filesystem::create_directory("folder.png");
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    } cases[] = {
        {"truncated.png", png.substr(0, 300), "cut off at byte 300"},
        {"signature.png", png.substr(0, 8), "cut off at byte 8"},
        {"short.png", png.substr(0, 7), "not a PNG file (7 bytes)"},
        {"text.png", "a text file, not a picture\n", "not a PNG file (27 bytes)"},
        {"empty.png", "", "not a PNG file (0 bytes)"},
        {"crc.png", bad_crc, "IHDR: CRC error"},
#ifndef _WIN32 // Windows opens no folder as a file: there the open itself fails
        {"folder.png", "", "Is a directory"},
#endif
    };
    for (const Case& c : cases) {
        if (c.reason != "Is a directory") write_bytes(c.name, c.bytes);
        std::FILE* file = std::fopen(c.name, "rb");
        ASSERT_TRUE(file) << c.name;
        PngImage image;
        std::string reason;
        EXPECT_FALSE(load_png_image(file, &image, &reason)) << c.name;
        EXPECT_EQ(reason, c.reason) << c.name;
        std::fclose(file);
    }
    std::FILE* file = std::fopen("big.png", "rb");
    EXPECT_FALSE(load_png_image(file, nullptr));
    std::fclose(file);
}

TEST_F(PngDecode, GammaCorrectsOnlyWhenDisplayAndFileDisagree) {
    const std::vector<uint8_t> samples = {0, 64, 128, 255};
    EXPECT_EQ(decode_grey(samples, 0.0), samples);
    EXPECT_EQ(decode_grey(samples, 1 / 2.2), samples);
    // A linear file on the default 2.2 display is brightened: 64 -> ~136.
    std::vector<uint8_t> linear = decode_grey(samples, 1.0);
    EXPECT_NEAR(linear[1], 136, 2);
    EXPECT_EQ(linear[3], 255);

    setenv("VIEWING_GAMMA", "2.2", 1);
    std::vector<uint8_t> darkened = decode_grey(samples, 0.0);
    EXPECT_DOUBLE_EQ(png_screen_gamma(), 1.0);
    EXPECT_NEAR(darkened[2], 56, 2); // 255 * (128 / 255) ^ 2.2
    EXPECT_EQ(darkened[0], 0);
    unsetenv("VIEWING_GAMMA");
    EXPECT_EQ(decode_grey(samples, 0.0), darkened); // the value stays
}

TEST_F(PngDecode, IgnoresViewingGammaThatIsNotAPositiveNumber) {
    EXPECT_DOUBLE_EQ(png_screen_gamma(), 2.2);
    setenv("VIEWING_GAMMA", "1.1", 1);
    decode_grey({1}, 0.0);
    EXPECT_DOUBLE_EQ(png_screen_gamma(), 2.0);
    for (const char* text : {"", "0", "-1", "abc", "inf", "nan", "1.5x", "1e999", "1e-300"}) {
        setenv("VIEWING_GAMMA", text, 1);
        decode_grey({1}, 0.0);
        EXPECT_DOUBLE_EQ(png_screen_gamma(), 2.0) << '"' << text << '"';
    }
}
