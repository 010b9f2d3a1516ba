// The data tool's pictures as the game relies on them: real files from the
// build's data folder, decoded with libpng, and the tool itself run again.
#include <gtest/gtest.h>
#include <png.h>

#include <algorithm>
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
    png_uint_32 width = 0, height = 0, format = 0; // format: the file's own
    std::vector<uint8_t> pixels;                   // read as RGBA, top row first
};

Picture read_png(const fs::path& file) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    Picture picture;
    if (!png_image_begin_read_from_file(&image, file.c_str())) {
        ADD_FAILURE() << file << ": " << image.message;
        return picture;
    }
    picture = {image.width, image.height, image.format, {}};
    image.format = PNG_FORMAT_RGBA;
    picture.pixels.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr))
        ADD_FAILURE() << file << ": " << image.message;
    return picture;
}

struct Ink {
    int alpha[16][16] = {}; // [row][column], row 0 at the top of the cell
    int first_row = 16, last_row = -1, total = 0, past_advance = 0;
};

// The font as the game lays it out: 256 x 256 RGBA, 16 x 16 cells of 16 pixels.
class FontPicture : public testing::Test {
  protected:
    void SetUp() override {
        font = read_png(kDataDir / "font.png");
        ASSERT_EQ(font.format, static_cast<png_uint_32>(PNG_FORMAT_RGBA));
        ASSERT_EQ(font.width, 256u);
        ASSERT_EQ(font.height, 256u);
    }
    Ink cell(int n) const {
        Ink ink;
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x) {
                const int a = font.pixels[(((n / 16) * 16 + y) * 256 + (n % 16) * 16 + x) * 4 + 3];
                ink.alpha[y][x] = a;
                if (a == 0) continue;
                ink.first_row = std::min(ink.first_row, y);
                ink.last_row = std::max(ink.last_row, y);
                ink.total += a;
                if (x >= 12) ink.past_advance += a;
            }
        return ink;
    }
    Picture font;
};

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

int run_tool(const std::string& arguments) {
    const int status = std::system((std::string("'") + ASSETGEN_EXE + "' " + arguments).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST_F(FontPicture, HasInkExactlyInThePrintableCells) {
    for (int n = 0; n < 256; ++n) // cell n is character n + 32: '!' to '~' are 1 to 94
        EXPECT_EQ(cell(n).total > 0, n >= 1 && n <= 94) << "cell " << n;
}

TEST_F(FontPicture, GlyphsStayWithinTheTwelvePixelAdvance) {
    for (int n = 1; n <= 94; ++n)
        EXPECT_LE(cell(n).past_advance * 20, cell(n).total) << "character " << char(n + 32);
}

TEST_F(FontPicture, LetterAIsUprightInColumn1Row2OnTheSharedBaseline) {
    const Ink a = cell('A' - 32);
    ASSERT_GT(a.total, 0);
    EXPECT_EQ(a.past_advance, 0);
    EXPECT_GE(a.last_row - a.first_row, 8) << "a capital fills most of the cell's height";
    // An A is narrow at its apex and wide at its feet; upside down it would be a V.
    auto width = [&](int row) {
        int first = 16, last = -1;
        for (int x = 0; x < 16; ++x)
            if (a.alpha[row][x] > 127) first = std::min(first, x), last = std::max(last, x);
        return last - first;
    };
    EXPECT_LT(width(a.first_row + 1), width(a.last_row - 1));
    // Capitals share the baseline; descenders reach below it.
    EXPECT_EQ(cell('H' - 32).last_row, a.last_row);
    EXPECT_GT(cell('g' - 32).last_row, a.last_row + 1);
}

TEST_F(FontPicture, EveryGlyphPixelIsWhite) {
    int inked = 0;
    for (size_t i = 0; i < font.pixels.size(); i += 4) {
        if (font.pixels[i + 3] == 0) continue;
        ++inked;
        ASSERT_EQ(font.pixels[i] & font.pixels[i + 1] & font.pixels[i + 2], 255)
            << "pixel " << i / 4;
    }
    EXPECT_GT(inked, 94 * 10);
}

TEST(DeadPicture, IsATrueColourSquareInBloodRed) {
    const Picture dead = read_png(kDataDir / "dead.png");
    // 24 or 32 bits per pixel: 8-bit samples, no palette.
    EXPECT_TRUE(dead.format == PNG_FORMAT_RGB || dead.format == PNG_FORMAT_RGBA) << dead.format;
    EXPECT_EQ(dead.width, dead.height) << "it is drawn into a square";
    EXPECT_GE(dead.width, 256u);
    uint64_t red = 0, green = 0;
    int darkest = 255, brightest = 0;
    for (size_t i = 0; i < dead.pixels.size(); i += 4) {
        red += dead.pixels[i];
        green += dead.pixels[i + 1];
        darkest = std::min<int>(darkest, dead.pixels[i]);
        brightest = std::max<int>(brightest, dead.pixels[i]);
    }
    EXPECT_GT(red, 2 * green);
    EXPECT_GT(brightest - darkest, 200) << "a flat placeholder";
}

TEST(Assetgen, WritesTheSameBytesOnEveryRun) {
    ASSERT_EQ(run_tool("first > /dev/null"), 0);
    ASSERT_EQ(run_tool("second > /dev/null"), 0);
    // Every file the tool writes, in subfolders too.
    std::vector<fs::path> written;
    for (const fs::directory_entry& entry : fs::recursive_directory_iterator("first"))
        if (entry.is_regular_file()) written.push_back(fs::relative(entry.path(), "first"));
    EXPECT_FALSE(written.empty());
    for (const fs::path& name : written) {
        const std::string first = bytes_of("first" / name);
        EXPECT_FALSE(first.empty()) << name;
        EXPECT_EQ(first, bytes_of("second" / name)) << name;
        EXPECT_EQ(first, bytes_of(kDataDir / name)) << name << " differs from the build's copy";
    }
}

TEST(Assetgen, FailsWithAMessageWhenTheFolderCannotBeMade) {
    std::ofstream("blocker") << "a file, not a folder";
    EXPECT_EQ(run_tool("blocker/data > /dev/null 2> errors.txt"), 1);
    EXPECT_NE(bytes_of("errors.txt").find("blocker"), std::string::npos) << bytes_of("errors.txt");
    EXPECT_FALSE(fs::exists("blocker/data/font.png"));
}

TEST_F(FontPicture, CellsKeepATransparentBorderSoFilteringDoesNotBleed) {
    for (int n = 1; n <= 94; ++n) {
        const Ink ink = cell(n);
        for (int i = 0; i < 16; ++i) {
            EXPECT_EQ(ink.alpha[0][i] + ink.alpha[15][i], 0) << "character " << char(n + 32);
            EXPECT_EQ(ink.alpha[i][0] + ink.alpha[i][15], 0) << "character " << char(n + 32);
        }
    }
    // Tall and low glyphs still reach the rows next to the border: nothing is cut.
    EXPECT_EQ(cell('|' - 32).first_row, 1);
    EXPECT_EQ(cell('_' - 32).last_row, 14);
}

// The Windows icon file: a header, one 16-byte entry per size, each picture
// a whole PNG file of the head that Windows and the resource compiler read.
TEST(WindowsIcon, HoldsTheHeadAsAPngAtEachSizeFrom16To256) {
    ASSERT_EQ(run_tool("--icons icons > /dev/null"), 0);
    const std::string ico = bytes_of("icons/sheepfall.ico");
    auto number = [&](size_t at, int bytes) {
        uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i)
            value = value << 8 | static_cast<uint8_t>(ico.at(at + i));
        return value;
    };
    ASSERT_GE(ico.size(), 6u);
    EXPECT_EQ(number(0, 2), 0u);
    EXPECT_EQ(number(2, 2), 1u) << "an icon, not a cursor";
    const uint32_t sizes[] = {16, 24, 32, 48, 64, 128, 256};
    ASSERT_EQ(number(4, 2), std::size(sizes));
    for (size_t i = 0; i < std::size(sizes); ++i) {
        const size_t entry = 6 + 16 * i;
        const uint32_t side = number(entry, 1) == 0 ? 256 : number(entry, 1);
        EXPECT_EQ(side, sizes[i]) << "entry " << i;
        EXPECT_EQ(number(entry + 1, 1), number(entry, 1)) << "a square, entry " << i;
        EXPECT_EQ(number(entry + 6, 2), 32u) << "bits per pixel, entry " << i;
        const uint32_t length = number(entry + 8, 4), offset = number(entry + 12, 4);
        ASSERT_LE(uint64_t{offset} + length, ico.size()) << "entry " << i << " past the end";
        const fs::path picture = "icon-" + std::to_string(sizes[i]) + ".png";
        std::ofstream(picture, std::ios::binary) << ico.substr(offset, length);
        const Picture head = read_png(picture);
        EXPECT_EQ(head.width, sizes[i]);
        EXPECT_EQ(head.height, sizes[i]);
        ASSERT_EQ(head.pixels.size(), size_t{sizes[i]} * sizes[i] * 4);
        EXPECT_EQ(head.pixels[3], 0) << "a clear corner, entry " << i;
        const size_t middle = (size_t{sizes[i]} / 2 * sizes[i] + sizes[i] / 2) * 4;
        EXPECT_EQ(head.pixels[middle + 3], 255) << "the head in the middle, entry " << i;
    }
    EXPECT_EQ(ico.substr(number(6 + 16 * 6 + 12, 4)), bytes_of("icons/sheepfall-256.png"))
        << "the largest is the desktop's 256-pixel icon";
}
