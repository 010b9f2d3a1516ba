// The level file reader on real files: the nine lines, and every way a line
// can be broken failing the whole file without taking any of its values.
#include "game/level_file.h"
#include "support/console_lines.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

namespace {

const std::vector<std::string> GOOD_LINES = {
    "NB_SHEEP 12",
    "SHEEP_SPEED 27.5",
    "LOGO data/logo1.png",
    "WIDTH 512",
    "HEIGHT 512",
    "RAW data/terrain1.raw",
    "BASE data/terrain1.png",
    "DETAIL data/detail1.png",
    "MUSIC data/music1.ogg",
};

bool read_level(const std::vector<std::string>& lines, LevelInfo* info,
                const char* line_end = "\n") {
    {
        std::ofstream out("level.txt", std::ios::binary);
        for (const std::string& line : lines)
            out << line << line_end;
    }
    std::FILE* file = std::fopen("level.txt", "r");
    bool ok = level_file_read(file, "level.txt", info);
    std::fclose(file);
    return ok;
}

} // namespace

TEST(LevelFile, ReadsTheNineLines) {
    for (const char* line_end : {"\n", "\r\n"}) {
        LevelInfo info{};
        ASSERT_TRUE(read_level(GOOD_LINES, &info, line_end)) << last_line();
        EXPECT_STREQ(info.nb_sheep_line, "NB_SHEEP 12");
        EXPECT_STREQ(info.sheep_speed_line, "SHEEP_SPEED 27.5");
        EXPECT_EQ(info.nb_sheep, 12);
        EXPECT_FLOAT_EQ(info.sheep_speed, 27.5f);
        EXPECT_STREQ(info.logo, "data/logo1.png");
        EXPECT_EQ(info.width, 512);
        EXPECT_EQ(info.height, 512);
        EXPECT_STREQ(info.raw, "data/terrain1.raw");
        EXPECT_STREQ(info.base, "data/terrain1.png");
        EXPECT_STREQ(info.detail, "data/detail1.png");
        EXPECT_STREQ(info.music, "data/music1.ogg");
    }
}

TEST(LevelFile, EachBrokenLineFailsTheWholeFile) {
    struct Case {
        int line;
        const char* text;
        const char* error;
    } cases[] = {
        {0, "NB_SHEP 12", "!Level file level.txt: line 1 must start with NB_SHEEP!"},
        {0, "NB_SHEEP many", "!Level file level.txt: NB_SHEEP needs a whole number!"},
        {0, "NB_SHEEP 99999999999", "!Level file level.txt: NB_SHEEP needs a whole number!"},
        {1, "SHEEP_SPEED nan", "!Level file level.txt: SHEEP_SPEED needs a number!"},
        {1, "SHEEP_SPEED 1e99", "!Level file level.txt: SHEEP_SPEED needs a number!"},
        {2, " LOGO data/logo1.png", "!Level file level.txt: line 3 must start with LOGO!"},
        {3, "WIDTH", "!Level file level.txt: WIDTH needs a whole number!"},
        {4, "height 512", "!Level file level.txt: line 5 must start with HEIGHT!"},
        {5, "RAW   ", "!Level file level.txt: RAW needs a file name!"},
        {6, "DETAIL data/detail1.png", "!Level file level.txt: line 7 must start with BASE!"},
        {7, "", "!Level file level.txt: line 8 must start with DETAIL!"},
        {8, "MUSIC", "!Level file level.txt: MUSIC needs a file name!"},
        // Values that parse but make a level that cannot end.
        {0, "NB_SHEEP -1", "!Level file level.txt: line 1: NB_SHEEP -1 is not within 0 to 100000!"},
        {0, "NB_SHEEP 100001",
         "!Level file level.txt: line 1: NB_SHEEP 100001 is not within 0 to 100000!"},
        {1, "SHEEP_SPEED 0",
         "!Level file level.txt: line 2: SHEEP_SPEED 0 is not above 0 and at most 10000!"},
        {1, "SHEEP_SPEED -20",
         "!Level file level.txt: line 2: SHEEP_SPEED -20 is not above 0 and at most 10000!"},
        {1, "SHEEP_SPEED 1e30",
         "!Level file level.txt: line 2: SHEEP_SPEED 1e+30 is not above 0 and at most 10000!"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> lines = GOOD_LINES;
        lines[c.line] = c.text;
        LevelInfo info{};
        info.nb_sheep = -7;
        EXPECT_FALSE(read_level(lines, &info)) << c.text;
        EXPECT_EQ(last_line(), c.error) << c.text;
        EXPECT_EQ(info.nb_sheep, -7) << "nothing is taken from a broken file";
    }
}

TEST(LevelFile, TheEdgesOfThePlayableValuesAreTaken) {
    for (auto [line, text] : {std::pair{0, "NB_SHEEP 0"}, {0, "NB_SHEEP 100000"},
                              {1, "SHEEP_SPEED 10000"}, {1, "SHEEP_SPEED 0.001"}}) {
        std::vector<std::string> lines = GOOD_LINES;
        lines[line] = text;
        LevelInfo info{};
        EXPECT_TRUE(read_level(lines, &info)) << text << ": " << last_line();
    }
}

TEST(LevelFile, ShortFilesAndLongLinesFail) {
    LevelInfo info{};
    std::vector<std::string> short_file(GOOD_LINES.begin(), GOOD_LINES.begin() + 8);
    EXPECT_FALSE(read_level(short_file, &info));
    EXPECT_EQ(last_line(), "!Level file level.txt ends before line 9 (MUSIC)!");

    // A line over 255 characters goes on as the next line and shifts the rest.
    std::vector<std::string> long_line = GOOD_LINES;
    long_line[2] = "LOGO data/" + std::string(300, 'x') + ".png";
    EXPECT_FALSE(read_level(long_line, &info));
    EXPECT_EQ(last_line(), "!Level file level.txt: line 4 must start with WIDTH!");

    // Anything after the ninth line is ignored; words stop at the first blank.
    std::vector<std::string> extra = GOOD_LINES;
    extra[8] = "MUSIC data/music 1.ogg";
    extra.push_back("garbage");
    ASSERT_TRUE(read_level(extra, &info));
    EXPECT_STREQ(info.music, "data/music");
}
