// Whole files in and out: every byte read back as written, a failed
// replacement that leaves the old file and no temporary file behind, and a
// replacement that keeps the player's symlinks and file modes.
// (tests/console/settings_files_test.cpp checks the console's words on a
// failed write.)
#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace fs = std::filesystem;

// The system's own words for these failures: Windows refuses to remove a
// folder as access denied and finds no path that goes through a file.
#ifdef _WIN32
static const char* const FOLDER_NOT_EMPTY = "Permission denied";
static const char* const PATH_THROUGH_A_FILE = "No such file or directory";
#else
static const char* const FOLDER_NOT_EMPTY = "Directory not empty";
static const char* const PATH_THROUGH_A_FILE = "Not a directory";
#endif

static std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ReadWholeFile, ReadsEveryByteOfFilesOfAnySize) {
    // Empty, shorter than the read buffer, exactly one buffer, and longer,
    // with NULs and bytes above 127.
    for (size_t size : {0u, 1u, 4095u, 4096u, 4097u, 100000u}) {
        std::string bytes(size, '\0');
        for (size_t i = 0; i < size; i++)
            bytes[i] = static_cast<char>(i * 7);
        std::ofstream("file.bin", std::ios::binary) << bytes;
        std::vector<uint8_t> read{1, 2, 3}; // what was there before goes
        ASSERT_TRUE(read_whole_file("file.bin", &read)) << size;
        EXPECT_EQ(std::string(read.begin(), read.end()), bytes) << size;
    }
}

TEST(ReadWholeFile, FailsOnAMissingFileALoopOrAFolderAndSaysWhy) {
    fs::create_directory("folder");
    fs::create_symlink("loop", "loop");
    struct Case {
        const char* path;
        const char* reason;
    } cases[] = {{"missing.bin", "No such file or directory"},
                 {"loop", "Too many levels of symbolic links"},
                 {"folder", "Is a directory"}};
    for (const Case& c : cases) {
        std::vector<uint8_t> read;
        std::string reason;
        EXPECT_FALSE(read_whole_file(c.path, &read, &reason)) << c.path;
        EXPECT_EQ(reason, c.reason) << c.path;
        EXPECT_FALSE(read_whole_file(c.path, &read)) << c.path << ", asked for no reason";
    }
    EXPECT_EQ(file_open_problem("loop"), "Too many levels of symbolic links");
    EXPECT_EQ(file_open_problem("file_io_test.bin"), "No such file or directory");
    std::ofstream("there.bin") << "x";
    EXPECT_EQ(file_open_problem("there.bin"), "");
}

TEST(ReplaceFile, ReplacesWholeOrLeavesTheOldFile) {
    std::string reason;
    std::ofstream("settings.cfg") << "old\n";
    ASSERT_TRUE(replace_file("settings.cfg", "new\n", &reason)) << reason;
    EXPECT_EQ(read_file("settings.cfg"), "new\n");
    EXPECT_FALSE(fs::exists("settings.cfg.tmp"));

    // The rename fails on a folder of that name: the folder stays, the
    // temporary file goes.
    fs::create_directory("folder.cfg");
    EXPECT_FALSE(replace_file("folder.cfg", "x\n", &reason));
    EXPECT_EQ(reason, "Is a directory");
    EXPECT_TRUE(fs::is_directory("folder.cfg"));
    EXPECT_FALSE(fs::exists("folder.cfg.tmp"));

    // A path through a file: the temporary file cannot even be made.
    EXPECT_FALSE(replace_file("settings.cfg/inner.cfg", "x\n", &reason));
    EXPECT_EQ(reason, PATH_THROUGH_A_FILE);
    EXPECT_EQ(read_file("settings.cfg"), "new\n");
}

static fs::perms mode_of(const char* path) {
    return fs::status(path).permissions();
}

TEST(ReplaceFile, WritesThroughSymlinksToTheirTarget) {
    fs::create_directories("dotfiles/deep");
    struct Case {
        const char* link;
        std::string leads_to; // what the link says
        const char* target;   // the file that must get the text
    };
    std::string here = fs::current_path().string();
    const Case cases[] = {
        {"relative.cfg", "dotfiles/relative.cfg", "dotfiles/relative.cfg"},
        {"absolute.cfg", here + "/dotfiles/absolute.cfg", "dotfiles/absolute.cfg"},
        {"chain.cfg", "dotfiles/hop.cfg", "dotfiles/deep/chain.cfg"}, // hop.cfg -> deep/chain.cfg
        {"dangling.cfg", "dotfiles/not_yet.cfg", "dotfiles/not_yet.cfg"},
    };
    fs::create_symlink("deep/chain.cfg", "dotfiles/hop.cfg");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        if (std::string(c.link) != "dangling.cfg") std::ofstream(c.target) << "old\n";
        fs::create_symlink(c.leads_to, c.link);
        std::string reason;
        ASSERT_TRUE(replace_file(c.link, "new\n", &reason)) << reason;
        EXPECT_EQ(fs::read_symlink(c.link).string(), c.leads_to) << "the link was replaced";
        EXPECT_EQ(read_file(c.target), "new\n");
    }
    EXPECT_EQ(fs::read_symlink("dotfiles/hop.cfg").string(), "deep/chain.cfg");
    for (const char* folder : {".", "dotfiles", "dotfiles/deep"})
        for (const auto& entry : fs::directory_iterator(folder))
            EXPECT_NE(entry.path().extension(), ".tmp") << entry.path();

    // A loop of links is refused and changes nothing.
    fs::create_symlink("loop_b.cfg", "loop_a.cfg");
    fs::create_symlink("loop_a.cfg", "loop_b.cfg");
    std::string reason;
    EXPECT_FALSE(replace_file("loop_a.cfg", "x\n", &reason));
    EXPECT_EQ(reason, "Too many levels of symbolic links");
    // A failure through a link names the file the link leads to.
    fs::create_directory("dotfiles/folder.cfg");
    fs::create_symlink("dotfiles/folder.cfg", "to_folder.cfg");
    EXPECT_FALSE(replace_file("to_folder.cfg", "x\n", &reason));
    EXPECT_EQ(reason, "dotfiles/folder.cfg: Is a directory");
}

TEST(ReplaceFile, KeepsTheModeOfTheFileItReplaces) {
    umask(022);
    using P = fs::perms;
    std::string reason;
    for (P mode : {P::owner_read, P::owner_read | P::owner_write | P::group_read,
                   P::owner_all | P::group_read | P::group_write | P::others_read}) {
        SCOPED_TRACE(static_cast<int>(mode));
        std::ofstream("kept.txt") << "old\n";
        fs::permissions("kept.txt", mode);
        ASSERT_TRUE(replace_file("kept.txt", "new\n", &reason)) << reason;
        EXPECT_EQ(mode_of("kept.txt"), mode);
        EXPECT_EQ(read_file("kept.txt"), "new\n");
        fs::remove("kept.txt");
    }
    // A new file gets the usual mode; through a link, the target's is kept.
    ASSERT_TRUE(replace_file("new.txt", "x", &reason)) << reason;
    EXPECT_EQ(mode_of("new.txt"), P::owner_read | P::owner_write | P::group_read | P::others_read);
    std::ofstream("target.txt") << "old\n";
    fs::permissions("target.txt", P::owner_read);
    fs::create_symlink("target.txt", "link.txt");
    ASSERT_TRUE(replace_file("link.txt", "new\n", &reason)) << reason;
    EXPECT_EQ(mode_of("target.txt"), P::owner_read);
}

TEST(ReplaceFile, AStaleTemporaryFileIsReplacedNotFollowed) {
    // A crash left config.cfg.tmp behind as a symlink to another file: the
    // save must not write into that file.
    std::ofstream("other.txt") << "someone else's\n";
    fs::create_symlink("other.txt", "config.cfg.tmp");
    std::string reason;
    ASSERT_TRUE(replace_file("config.cfg", "new\n", &reason)) << reason;
    EXPECT_EQ(read_file("other.txt"), "someone else's\n");
    EXPECT_EQ(read_file("config.cfg"), "new\n");
    EXPECT_FALSE(fs::exists(fs::symlink_status("config.cfg.tmp")));
}

TEST(CheckFileReplaceable, TriesTheTemporaryFileAndLeavesNothing) {
    fs::create_directories("demos/taken.dem");
    struct Case {
        const char* path;
        bool can;
        const char* reason;
    };
    for (const Case& c :
         {Case{"demos/r1.dem", true, ""}, Case{"demos/taken.dem", false, "Is a directory"},
          Case{"missing/r1.dem", false, "No such file or directory"}}) {
        SCOPED_TRACE(c.path);
        std::string reason;
        EXPECT_EQ(check_file_replaceable(c.path, &reason), c.can);
        EXPECT_EQ(reason, c.reason);
        EXPECT_FALSE(fs::exists(std::string(c.path) + ".tmp"));
    }
    EXPECT_FALSE(fs::exists("demos/r1.dem")) << "the check made the file";
}

TEST(RemoveFile, RemovesAFileAndPassesOverAMissingOne) {
    std::string reason;
    std::ofstream("gone.cfg") << "x";
    EXPECT_TRUE(remove_file("gone.cfg", &reason));
    EXPECT_FALSE(fs::exists("gone.cfg"));
    EXPECT_TRUE(remove_file("gone.cfg", &reason));
    fs::create_directories("full/inside");
    EXPECT_FALSE(remove_file("full", &reason));
    EXPECT_EQ(reason, FOLDER_NOT_EMPTY);

#ifndef _WIN32 // Windows programs make no symbolic links
    // A symlink stays where the player put it; its target is emptied.
    std::ofstream("target.cfg") << "x";
    fs::create_symlink("target.cfg", "link.cfg");
    EXPECT_TRUE(remove_file("link.cfg", &reason)) << reason;
    EXPECT_TRUE(fs::is_symlink("link.cfg"));
    EXPECT_EQ(read_file("target.cfg"), "");
#endif
}
