// The data tool's pictures as the game relies on them: real files from the
// build's data folder, decoded with libpng, and the tool itself run again.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/wait.h>
#include <vector>

#ifndef ASSETGEN_EXE
#error "ASSETGEN_EXE must give the path of the built assetgen tool"
#endif

namespace {

namespace fs = std::filesystem;

const fs::path kDataDir = SHEEPFALL_DATA_DIR;

struct Picture {
    png_uint_32 width = 0, height = 0, format = 0;
    std::vector<uint8_t> pixels; // RGBA, top row first
    const uint8_t* at(int x, int y) const { return &pixels[(size_t(y) * width + x) * 4]; }
};

// The file's own format is kept in `format`; the pixels are read as RGBA.
Picture read_png(const fs::path& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        ADD_FAILURE() << file << ": " << image.message;
        return picture;
    }
    picture.width = image.width;
    picture.height = image.height;
    picture.format = image.format;
    image.format = PNG_FORMAT_RGBA;
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
        ADD_FAILURE() << file << ": " << image.message;
    return picture;
}

// Alpha of each pixel of a font cell, [row][column] with row 0 at the top.
using Cell = std::vector<std::vector<int>>;

Cell font_cell(const Picture& font, int cell) {
    Cell alpha(16, std::vector<int>(16));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x)
            alpha[y][x] = font.at((cell % 16) * 16 + x, (cell / 16) * 16 + y)[3];
    return alpha;
}

struct Ink {
    int first_row = 16, last_row = -1, total = 0, past_advance = 0;
};

Ink ink_of(const Cell& cell) {
    Ink ink;
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
            if (cell[y][x] == 0) continue;
            ink.first_row = std::min(ink.first_row, y);
            ink.last_row = std::max(ink.last_row, y);
            ink.total += cell[y][x];
            if (x >= 12) ink.past_advance += cell[y][x];
        }
    return ink;
}

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int run_tool(const std::string& arguments) {
    const int status = std::system((std::string("'") + ASSETGEN_EXE + "' " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(FontPicture, IsA256Square8BitRgbaPicture) {
    const Picture font = read_png(kDataDir / "font.png");
    EXPECT_EQ(font.width, 256u);
    EXPECT_EQ(font.height, 256u);
    EXPECT_EQ(font.format, static_cast<png_uint_32>(PNG_FORMAT_RGBA));
}

TEST(FontPicture, HasInkExactlyInThePrintableCells) {
    const Picture font = read_png(kDataDir / "font.png");
    ASSERT_EQ(font.pixels.size(), 256u * 256u * 4u);
    for (int cell = 0; cell < 256; ++cell) {
        const bool printable = cell >= 1 && cell <= 94; // '!' to '~'
        EXPECT_EQ(ink_of(font_cell(font, cell)).total > 0, printable) << "cell " << cell;
    }
}

TEST(FontPicture, GlyphsStayWithinTheTwelvePixelAdvance) {
    const Picture font = read_png(kDataDir / "font.png");
    ASSERT_EQ(font.pixels.size(), 256u * 256u * 4u);
    for (int cell = 1; cell <= 94; ++cell) {
        const Ink ink = ink_of(font_cell(font, cell));
        EXPECT_LE(ink.past_advance * 20, ink.total) << "character " << char(cell + 32);
    }
}

TEST(FontPicture, LetterAIsUprightInColumn1Row2OnTheSharedBaseline) {
    const Picture font = read_png(kDataDir / "font.png");
    ASSERT_EQ(font.pixels.size(), 256u * 256u * 4u);
    const Cell a = font_cell(font, 'A' - 32);
    const Ink ink = ink_of(a);
    ASSERT_GT(ink.total, 0);
    EXPECT_EQ(ink.past_advance, 0);
    EXPECT_GE(ink.last_row - ink.first_row, 8) << "a capital fills most of the cell's height";
    // An A is narrow at its apex and wide at its feet; upside down it would be a V.
    auto width = [&](int row) {
        int first = 16, last = -1;
        for (int x = 0; x < 16; ++x)
            if (a[row][x] > 127) first = std::min(first, x), last = std::max(last, x);
        return last - first;
    };
    EXPECT_LT(width(ink.first_row + 1), width(ink.last_row - 1));
    // Capitals share the baseline; descenders go below it, still inside the cell.
    EXPECT_EQ(ink_of(font_cell(font, 'H' - 32)).last_row, ink.last_row);
    const Ink g = ink_of(font_cell(font, 'g' - 32));
    EXPECT_GT(g.last_row, ink.last_row + 1);
    EXPECT_LE(g.last_row, 15);
}

TEST(FontPicture, EveryGlyphPixelIsWhite) {
    const Picture font = read_png(kDataDir / "font.png");
    ASSERT_FALSE(font.pixels.empty());
    int inked = 0;
    for (size_t i = 0; i < font.pixels.size(); i += 4) {
        if (font.pixels[i + 3] == 0) continue;
        ++inked;
        ASSERT_EQ(font.pixels[i] & font.pixels[i + 1] & font.pixels[i + 2], 255) << "pixel " << i / 4;
    }
    EXPECT_GT(inked, 94 * 10);
}

TEST(DeadPicture, IsATrueColourPictureWith8BitSamples) {
    const Picture dead = read_png(kDataDir / "dead.png");
    const png_uint_32 format = dead.format;
    EXPECT_TRUE(format == PNG_FORMAT_RGB || format == PNG_FORMAT_RGBA) << "format " << format;
    EXPECT_EQ(dead.width, dead.height) << "it is drawn into a square";
    EXPECT_GE(dead.width, 256u);
    // A picture in blood red, not a flat placeholder.
    uint64_t red = 0, green = 0;
    int darkest = 255, brightest = 0;
    for (size_t i = 0; i < dead.pixels.size(); i += 4) {
        red += dead.pixels[i];
        green += dead.pixels[i + 1];
        darkest = std::min<int>(darkest, dead.pixels[i]);
        brightest = std::max<int>(brightest, dead.pixels[i]);
    }
    EXPECT_GT(red, 2 * green);
    EXPECT_GT(brightest - darkest, 200);
}

TEST(Assetgen, WritesTheSameBytesOnEveryRun) {
    ASSERT_EQ(run_tool("first > /dev/null"), 0);
    ASSERT_EQ(run_tool("second > /dev/null"), 0);
    for (const char* name : {"font.png", "dead.png"}) {
        const std::string first = bytes_of(fs::path("first") / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, bytes_of(fs::path("second") / name)) << name;
        EXPECT_EQ(first, bytes_of(kDataDir / name)) << name << " differs from the build's copy";
    }
}

TEST(Assetgen, FailsWithAMessageWhenTheFolderCannotBeMade) {
    std::ofstream("blocker") << "a file, not a folder";
    EXPECT_EQ(run_tool("blocker/data > /dev/null 2> errors.txt"), 1);
    EXPECT_NE(bytes_of("errors.txt").find("blocker"), std::string::npos) << bytes_of("errors.txt");
    EXPECT_FALSE(fs::exists("blocker/data/font.png"));
}
