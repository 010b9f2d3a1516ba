// Levels in a started game: the sequence from the first level to the
// victory, and what each missing or broken file of a level leads to.
#include "game/flock.h"
#include "gl.h"
#include "game/level.h"
#include "model/load.h"
#include "game/player.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"
#include "support/test_files.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

struct LevelFiles {
    std::string logo = "data/logo1.png", raw = "data/terrain1.raw", base = "data/terrain1.png",
                detail = "data/detail1.png", music = "data/music1.ogg";
};

void write_level(const char* path, const LevelFiles& files) {
    std::ofstream out(path);
    out << "NB_SHEEP 7\nSHEEP_SPEED 12.5\nLOGO " << files.logo << "\nWIDTH 512\nHEIGHT 512\nRAW "
        << files.raw << "\nBASE " << files.base << "\nDETAIL " << files.detail << "\nMUSIC "
        << files.music << "\n";
}

bool contains(const Lines& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

// A game folder beside the test's own: its data/ links every data file but
// those left out, which the test may write there itself.
fs::path make_game_folder(const std::string& name, const std::vector<std::string>& left_out) {
    const fs::path data = fs::path(name) / "data";
    fs::create_directories(data);
    for (const fs::directory_entry& entry : fs::directory_iterator("data")) {
        const std::string file = entry.path().filename().string();
        if (std::find(left_out.begin(), left_out.end(), file) == left_out.end())
            link_test_file(fs::absolute(entry.path()), data / file);
    }
    return fs::absolute(name);
}

} // namespace

class Levels : public GameFixture {};

TEST_F(Levels, StartUpLoadsTheFirstLevelAndPlacesThePlayer) {
    EXPECT_EQ(game_state(), STATE_PLAY);
    EXPECT_EQ(current_level(), 0);
    Lines log = log_lines();
    auto at = std::find(log.begin(), log.end(), "Loading level 0/3: data/level1.txt");
    ASSERT_NE(at, log.end());
    ASSERT_GE(log.end() - at, 4);
    EXPECT_EQ(at[1].rfind("NB_SHEEP ", 0), 0u) << at[1];
    EXPECT_EQ(at[2].rfind("SHEEP_SPEED ", 0), 0u) << at[2];
    EXPECT_TRUE(contains(log, "data/music1.ogg"));
    EXPECT_EQ(player_view().x, 256.0f);
    EXPECT_EQ(player_view().z, 256.0f);
    EXPECT_EQ(player_view().yaw, 0.0f);
    EXPECT_EQ(flock().lives, 5);
    EXPECT_EQ(game_terrain().width, 512);
}

// A new game counts the level files data/level1.txt, level2.txt, ... up to
// the first one missing, and announces each level out of that count; past
// the last comes the victory. A fourth level is one more file.
TEST_F(Levels, ANewGamePlaysTheLevelFilesFoundInOrderToTheVictory) {
    const std::vector<std::string> level_files = {"level1.txt", "level2.txt", "level3.txt"};
    struct Case {
        const char* name;
        std::vector<std::string> left_out; // of the three level files
        bool add_fourth;                   // data/level4.txt written beside them
        Lines announced;                   // each advance's first line, in order
        std::string also_printed;          // a line of the levels' loads
        GameState end;
        const char* looping = nullptr; // a level file made a link to itself
    } cases[] = {
        {"the game's three levels",
         {},
         false,
         {"Loading level 0/3: data/level1.txt", "Loading level 1/3: data/level2.txt",
          "Loading level 2/3: data/level3.txt", "Victory!"},
         "NB_SHEEP 20",
         STATE_VICTORY},
        {"a fourth level",
         {},
         true,
         {"Loading level 0/4: data/level1.txt", "Loading level 1/4: data/level2.txt",
          "Loading level 2/4: data/level3.txt", "Loading level 3/4: data/level4.txt", "Victory!"},
         "NB_SHEEP 7", // level 4's own file
         STATE_VICTORY},
        {"level 2 missing: level 3 and 4 are not played",
         {"level2.txt"},
         true,
         {"Loading level 0/1: data/level1.txt", "Victory!"},
         "NB_SHEEP 10",
         STATE_VICTORY},
        {"no level file: the first load says so",
         level_files,
         false,
         {"Loading level 0/3: data/level1.txt"},
         "!Can't open level file data/level1.txt: No such file or directory!",
         STATE_TITLE},
#ifndef _WIN32
        // Windows programs make no symbolic links, so only Linux has this case.
        {"level 2 a link to itself: counted and named at once, the game stops there",
         {"level2.txt"},
         false,
         {"!Level 2 can't be played: data/level2.txt: Too many levels of symbolic links!",
          "Loading level 1/3: data/level2.txt"},
         "!Can't open level file data/level2.txt: Too many levels of symbolic links!",
         STATE_TITLE,
         "level2.txt"},
#endif
    };
    const fs::path test_folder = fs::current_path();
    int folder_number = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        fs::current_path(test_folder);
        fs::current_path(make_game_folder("game" + std::to_string(++folder_number), c.left_out));
        if (c.add_fourth) write_level("data/level4.txt", {});
        if (c.looping) fs::create_symlink(c.looping, fs::path("data") / c.looping);
        level_sequence_restart(0);
        game_state_set(STATE_PLAY);
        const int case_mark = line_count();
        for (const std::string& line : c.announced) {
            sheep_spawn();
            land_sheep(1);
            int mark = line_count();
            level_advance();
            Lines out = lines_since(mark);
            ASSERT_FALSE(out.empty()) << "before " << line;
            ASSERT_EQ(out[0], line) << "all it printed: " << testing::PrintToString(out);
            if (c.end == STATE_VICTORY && line != "Victory!") {
                EXPECT_EQ(game_state(), STATE_PLAY) << line;
            }
            EXPECT_EQ(flock().lives, 5) << line;
            for (const Sheep& s : flock().sheep)
                EXPECT_EQ(s.state, SHEEP_FREE) << line;
        }
        EXPECT_EQ(game_state(), c.end);
        EXPECT_TRUE(contains(lines_since(case_mark), c.also_printed));
    }
    fs::current_path(test_folder);
}

TEST_F(Levels, EachMissingFileGivesItsErrorLines) {
    std::ofstream("short.raw") << std::string(512 * 512 - 1, '\x10');
    struct Case {
        const char* name;
        LevelFiles files;
        bool loads;
        Lines last_lines;
    } cases[] = {
        {"logo",
         {.logo = "nope.png"},
         false,
         {"!Can't open texture nope.png: No such file or directory!"}},
        {"raw",
         {.raw = "nope.raw"},
         false,
         {"!Can't open landscape nope.raw: No such file or directory!",
          "!Error loading landscape!"}},
        {"short raw", {.raw = "short.raw"}, false, {"!Error loading landscape!"}},
        {"base",
         {.base = "nobase.png"},
         false,
         {"!Can't open texture nobase.png: No such file or directory!",
          "!Error loading landscape!"}},
        {"detail",
         {.detail = "nodetail.png"},
         false,
         {"!Can't open texture nodetail.png: No such file or directory!",
          "!Error loading landscape!"}},
        {"music", {.music = "nope.ogg"}, true, {"Reloading textures..."}},
    };
    for (const Case& c : cases) {
        write_level("level.txt", c.files);
        int mark = line_count();
        EXPECT_EQ(level_load("level.txt"), c.loads) << c.name;
        Lines out = lines_since(mark);
        for (const std::string& line : c.last_lines)
            EXPECT_TRUE(contains(out, line)) << c.name << ": " << line;
        if (c.loads) {
            EXPECT_TRUE(
                contains(out, "!Error loading music file nope.ogg: No such file or directory!"))
                << c.name;
        }
        EXPECT_EQ(out.back(), c.last_lines.back()) << c.name;
    }
    EXPECT_FALSE(level_load("missing.txt"));
}

TEST_F(Levels, AFailedLevelLeadsToTheTitleWhereEnterTriesAgain) {
    // A copy of the game folder whose first level names a missing landscape.
    make_game_folder("broken", {"level1.txt"});
    write_level("broken/data/level1.txt", {.raw = "data/nope.raw"});
    fs::path game_folder = fs::current_path();
    fs::current_path("broken");
    int mark = line_count();
    level_sequence_restart(0);
    start_new_game_level();
    Lines out = lines_since(mark);
    EXPECT_EQ(game_state(), STATE_TITLE);
    EXPECT_EQ(out.back(), "!Error loading level!");

    // Mended, Enter on the title screen loads it and goes into play.
    fs::current_path(game_folder);
    press(SDL_SCANCODE_RETURN);
    step();
    step();
    EXPECT_EQ(game_state(), STATE_PLAY);
    EXPECT_EQ(current_level(), 0);
}

// A level that names the radar's picture as its loading and base pictures:
// the next level's load lets go of the level's holds but not the radar's,
// and the shadow pass darkens the land's own copy, not the radar.
TEST_F(Levels, ALevelSharingTheRadarPictureLeavesTheRadarWhole) {
    auto uploaded_pixels = [](const Texture* picture) {
        std::vector<uint8_t> rgba(static_cast<size_t>(picture->width) * picture->height * 4);
        glBindTexture(GL_TEXTURE_2D, picture->gl_name);
        glGetTexImage(GL_TEXTURE_2D, 0, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
        return rgba;
    };
    std::vector<uint8_t> radar_pixels = uploaded_pixels(flock_radar_picture());
    write_level("radar_level.txt", {.logo = "data/radar.png", .base = "data/radar.png"});
    ASSERT_TRUE(level_load("radar_level.txt"));
    EXPECT_NE(game_terrain().base_texture, flock_radar_picture());
    ASSERT_TRUE(level_load("data/level2.txt"));
    ASSERT_NE(texture_find("data/radar.png"), nullptr);
    EXPECT_EQ(texture_find("data/radar.png")->texture, flock_radar_picture());
    EXPECT_TRUE(glIsTexture(flock_radar_picture()->gl_name));
    EXPECT_EQ(uploaded_pixels(flock_radar_picture()), radar_pixels) << "the radar was shaded";
}

// A new game whose weapon is missing stays on the title screen at level 1
// instead of moving on a level at every Enter.
TEST_F(Levels, ANewGameThatCannotLoadStaysOnTheTitle) {
    shot_fire({256.0f, 30.0f, 256.0f}, 0.0f, 0.0f);
    player_release_pictures();
    fs::current_path(make_game_folder("noweapon", {"arme.ms3d"}));
    game_state_set(STATE_TITLE);
    for (int enter = 0; enter < 3; enter++) {
        press(SDL_SCANCODE_RETURN);
        step();
        step();
        EXPECT_EQ(game_state(), STATE_TITLE) << "Enter " << enter;
        EXPECT_EQ(current_level(), -1) << "Enter " << enter;
    }
    EXPECT_EQ(shots_in_flight(), nullptr);
    EXPECT_TRUE(
        contains(log_lines(), "!Can't start a new game: its weapon or pictures are missing!"));
}
