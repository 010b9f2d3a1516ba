// Choosing the game's folders at start: which data folder the game plays
// from, and where the player's files go: beside the data of a build folder,
// else in a private folder under XDG_DATA_HOME or ~/.local/share. (The
// installed and packaged game is played in tests/e2e/installed_*.sh.)
#include "app/find_folders.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"
#include "files/folders.h"
#include "support/console_lines.h"
#include "support/environment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

class Folders : public testing::Test {
  protected:
    void SetUp() override {
        scratch = fs::current_path(); // the test's own folder, data/ linked in
        setenv("XDG_DATA_HOME", (scratch / "xdg").string().c_str(), 1);
        setenv("HOME", (scratch / "home").string().c_str(), 1);
        fs::create_directory("elsewhere");
    }
    static fs::perms mode(const fs::path& path) {
        return fs::status(path).permissions() & fs::perms::all;
    }
    fs::path scratch;
};

TEST_F(Folders, TheBuildFolderKeepsThePlayersFilesBesideItsData) {
    ASSERT_TRUE(folders_choose(""));
    EXPECT_EQ(fs::path(data_folder()), scratch / "data");
    EXPECT_EQ(fs::current_path(), scratch);
    EXPECT_EQ(player_file("config.cfg"), "config.cfg");
    EXPECT_FALSE(fs::exists("xdg"));
    EXPECT_FALSE(fs::exists("home"));
}

TEST_F(Folders, ANamedDataFolderSendsThePlayersFilesToAPrivateFolder) {
    fs::current_path("elsewhere");
    ASSERT_TRUE(folders_choose("../data/"));
    EXPECT_EQ(fs::current_path(), scratch) << "the game plays from the folder that holds data/";
    EXPECT_EQ(fs::path(data_folder()), scratch / "data");
    EXPECT_EQ(player_file("config.cfg"), (scratch / "xdg/sheepfall/config.cfg").string());
    // Every folder made on the way is the player's alone.
    EXPECT_EQ(mode("xdg/sheepfall"), fs::perms::owner_all);
    EXPECT_EQ(mode("xdg"), fs::perms::owner_all);
    // An existing folder is used as it is.
    fs::permissions("xdg/sheepfall",
                    fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
    ASSERT_TRUE(folders_choose("data"));
    EXPECT_EQ(mode("xdg/sheepfall"),
              fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec);
}

TEST_F(Folders, WithoutAUsableXdgDataHomeTheFolderIsUnderHome) {
    for (const char* data_home : {static_cast<const char*>(nullptr), "", "relative/path"}) {
        if (data_home)
            setenv("XDG_DATA_HOME", data_home, 1);
        else
            unsetenv("XDG_DATA_HOME");
        ASSERT_TRUE(folders_choose("data"));
        EXPECT_EQ(player_folder(), (scratch / "home/.local/share/sheepfall").string())
            << (data_home ? data_home : "unset");
        EXPECT_TRUE(fs::is_directory("home/.local/share/sheepfall"));
    }
    EXPECT_FALSE(fs::exists("relative"));
}

TEST_F(Folders, ANamedFolderThatIsNoDataFolderIsRefused) {
    std::ofstream("a_file") << "not a folder";
    fs::create_directory("levels");
    struct Case {
        const char* folder;
        const char* reason;
    } cases[] = {
        {"no/such/data", "sheepfall: --data no/such/data: no such folder\n"},
        {"a_file", "sheepfall: --data a_file: not a folder\n"},
        {"levels", "sheepfall: --data levels: a data folder must be named data (its files "
                   "name each other data/...)\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(folders_choose(c.folder)) << c.folder;
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.reason);
        EXPECT_EQ(fs::current_path(), scratch);
    }
    EXPECT_FALSE(fs::exists("xdg")) << "a refused start makes no folder";
}

TEST_F(Folders, AFolderThatCannotBeMadeIsSaidOnceAndEveryFileFailsAlone) {
    std::ofstream("xdg") << "a file where the folder should be";
    testing::internal::CaptureStderr();
    ASSERT_TRUE(folders_choose("data")) << "the game plays on";
    std::string problem = "Can't make " + (scratch / "xdg/sheepfall").string() +
                          " for your files: " + (scratch / "xdg").string() + " is not a folder";
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "sheepfall: " + problem + "\n");

    console_init();
    player_folder_report_problem();
    // The log cannot be opened either: it says so once and stops.
    EXPECT_EQ(printed_lines(), (Lines{"!" + problem + "!", "!Can't open log file " +
                                                               player_file("log.txt") +
                                                               ": Not a directory!"}));
    int mark = line_count();
    EXPECT_FALSE(write_file_replacing(player_file("config.cfg").c_str(), "show_fps 0\n"));
    EXPECT_EQ(lines_since(mark).size(), 1u);
    EXPECT_TRUE(fs::is_regular_file("xdg")) << "nothing was written over the file";
}

TEST_F(Folders, WithoutAnyHomeEveryWriteFailsAndSaysSo) {
    unsetenv("XDG_DATA_HOME");
    unsetenv("HOME");
    testing::internal::CaptureStderr();
    ASSERT_TRUE(folders_choose("data"));
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "sheepfall: Can't find a folder for your files: HOME is not set\n");
    EXPECT_EQ(player_folder(), "/nonexistent/sheepfall");
}
