// The level files and loading pictures from the data tool, read the way the
// game reads them: with its own level file reader and PNG decoder, from a
// working folder with data/ in it, where the paths in the files lead.
#include "game/level_file.h"
#include "textures/png.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int kLevels = 3;

std::string level_path(int level) {
    return "data/level" + std::to_string(level) + ".txt";
}

std::string logo_path(int level) {
    return "data/logo" + std::to_string(level) + ".png";
}

std::string bytes_of(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

LevelInfo read_level(int level) {
    LevelInfo info{};
    std::FILE* file = std::fopen(level_path(level).c_str(), "r");
    if (!file) {
        ADD_FAILURE() << "cannot open " << level_path(level);
        return info;
    }
    EXPECT_TRUE(level_file_read(file, level_path(level).c_str(), &info)) << level_path(level);
    std::fclose(file);
    return info;
}

// Rows top first, as the file stores them.
PngImage load_logo(int level) {
    PngImage image;
    set_png_flip_rows(false);
    std::FILE* file = std::fopen(logo_path(level).c_str(), "rb");
    if (!file) {
        ADD_FAILURE() << "cannot open " << logo_path(level);
        return image;
    }
    EXPECT_TRUE(load_png_image(file, &image)) << logo_path(level);
    std::fclose(file);
    return image;
}

} // namespace

TEST(LevelFiles, AreExactlyTheNineKeywordLinesEachWithOneWord) {
    const std::string keywords[] = {"NB_SHEEP", "SHEEP_SPEED", "LOGO",   "WIDTH", "HEIGHT",
                                    "RAW",      "BASE",        "DETAIL", "MUSIC"};
    for (int level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE(level_path(level));
        const std::string text = bytes_of(level_path(level));
        ASSERT_FALSE(text.empty());
        EXPECT_EQ(text.back(), '\n') << "the last line ends with a line break";
        EXPECT_EQ(text.find('\r'), std::string::npos) << "plain LF line ends";
        std::vector<std::string> lines;
        std::istringstream in(text);
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        ASSERT_EQ(lines.size(), std::size(keywords));
        for (size_t i = 0; i < lines.size(); ++i) {
            const std::string& keyword = keywords[i];
            EXPECT_EQ(lines[i].rfind(keyword + " ", 0), 0u) << lines[i];
            const std::string value =
                lines[i].substr(std::min(lines[i].size(), keyword.size() + 1));
            EXPECT_FALSE(value.empty()) << lines[i];
            EXPECT_EQ(value.find_first_of(" \t"), std::string::npos) << lines[i];
        }
        read_level(level); // and the game takes all nine
    }
}

TEST(LevelFiles, NameTheLevelsOwnFilesInTheDataFolder) {
    for (int level = 1; level <= kLevels; ++level) {
        SCOPED_TRACE(level_path(level));
        const LevelInfo info = read_level(level);
        const std::string n = std::to_string(level);
        const std::pair<std::string, std::string> named[] = {
            {info.logo, "data/logo" + n + ".png"},    {info.raw, "data/terrain" + n + ".raw"},
            {info.base, "data/terrain" + n + ".png"}, {info.detail, "data/detail" + n + ".png"},
            {info.music, "data/music" + n + ".ogg"},
        };
        for (const auto& [path, expected] : named) {
            EXPECT_EQ(path, expected);
            EXPECT_TRUE(fs::is_regular_file(path)) << path;
        }
        ASSERT_GT(info.width, 0);
        ASSERT_GT(info.height, 0);
        EXPECT_EQ(fs::file_size(info.raw), static_cast<uintmax_t>(info.width) * info.height)
            << "one byte a sample";
    }
}

TEST(LevelFiles, AskForMoreAndFasterSheepFromLevelToLevel) {
    std::vector<LevelInfo> levels;
    for (int level = 1; level <= kLevels; ++level)
        levels.push_back(read_level(level));
    EXPECT_GT(levels.front().nb_sheep, 0);
    EXPECT_GT(levels.front().sheep_speed, 0.0f);
    bool rises = false;
    for (size_t i = 1; i < levels.size(); ++i) {
        EXPECT_GE(levels[i].nb_sheep, levels[i - 1].nb_sheep) << "level " << i + 1;
        EXPECT_GE(levels[i].sheep_speed, levels[i - 1].sheep_speed) << "level " << i + 1;
        rises = rises || levels[i].nb_sheep > levels[i - 1].nb_sheep ||
                levels[i].sheep_speed > levels[i - 1].sheep_speed;
    }
    EXPECT_TRUE(rises) << "some level is harder than the one before";
}

// --- the loading pictures ---------------------------------------------------------

class LoadingPictures : public testing::Test {
  protected:
    static constexpr int kSide = 512;

    void SetUp() override {
        for (int level = 1; level <= kLevels; ++level) {
            logos.push_back(load_logo(level));
            ASSERT_EQ(logos.back().width, kSide) << logo_path(level);
            ASSERT_EQ(logos.back().height, kSide) << logo_path(level);
            ASSERT_EQ(logos.back().channels, 3) << logo_path(level) << ": 24-bit RGB";
            ASSERT_EQ(logos.back().bit_depth, 8) << logo_path(level);
        }
    }

    static const uint8_t* at(const PngImage& image, int x, int y) {
        return &image.pixels[(static_cast<size_t>(y) * image.width + x) * 3];
    }

    std::vector<PngImage> logos;
};

TEST_F(LoadingPictures, ArePicturesNotFlatFills) {
    for (int level = 1; level <= kLevels; ++level) {
        // The spread of brightness over the whole picture.
        const PngImage& logo = logos[level - 1];
        double sum = 0, square = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const uint8_t* p = at(logo, x, y);
                const double grey = (p[0] + p[1] + p[2]) / 3.0;
                sum += grey;
                square += grey * grey;
            }
        const double count = static_cast<double>(kSide) * kSide;
        const double spread = std::sqrt(square / count - (sum / count) * (sum / count));
        EXPECT_GT(spread, 30.0) << logo_path(level);
    }
}

TEST_F(LoadingPictures, DifferFromEachOther) {
    for (int a = 0; a < kLevels; ++a)
        for (int b = a + 1; b < kLevels; ++b) {
            double difference = 0;
            for (size_t i = 0; i < logos[a].pixels.size(); ++i)
                difference += std::abs(logos[a].pixels[i] - logos[b].pixels[i]);
            EXPECT_GT(difference / logos[a].pixels.size(), 12.0)
                << logo_path(a + 1) << " against " << logo_path(b + 1);
        }
}

TEST_F(LoadingPictures, FadeToBlackAtTheBorderAndAreLitInside) {
    // The square is drawn on the loading screen's black: its edge must melt
    // into it, while the card inside stands out.
    constexpr int kBorder = 3;
    for (int level = 1; level <= kLevels; ++level) {
        const PngImage& logo = logos[level - 1];
        double inside = 0;
        int inside_count = 0;
        for (int y = 0; y < kSide; ++y)
            for (int x = 0; x < kSide; ++x) {
                const uint8_t* p = at(logo, x, y);
                const int brightest = std::max({p[0], p[1], p[2]});
                const bool on_border = std::min({x, y, kSide - 1 - x, kSide - 1 - y}) < kBorder;
                if (on_border) {
                    ASSERT_LE(brightest, 24) << logo_path(level) << " at " << x << ", " << y;
                } else if (std::abs(x - kSide / 2) < kSide / 4 &&
                           std::abs(y - kSide / 2) < kSide / 4) {
                    inside += brightest;
                    ++inside_count;
                }
            }
        EXPECT_GT(inside / inside_count, 100.0) << logo_path(level) << ": a dark card";
    }
}
