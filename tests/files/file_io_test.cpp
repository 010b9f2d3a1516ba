// Whole files in and out: every byte read back as written, and a failed
// replacement that leaves the old file and no temporary file behind.
// (tests/console/settings_files_test.cpp checks the console's words on a
// failed write.)
#include "files/file_io.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

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
    EXPECT_EQ(reason, "Not a directory");
    EXPECT_EQ(read_file("settings.cfg"), "new\n");
}

TEST(RemoveFile, RemovesAFileAndPassesOverAMissingOne) {
    std::string reason;
    std::ofstream("gone.cfg") << "x";
    EXPECT_TRUE(remove_file("gone.cfg", &reason));
    EXPECT_FALSE(fs::exists("gone.cfg"));
    EXPECT_TRUE(remove_file("gone.cfg", &reason));
    fs::create_directories("full/inside");
    EXPECT_FALSE(remove_file("full", &reason));
    EXPECT_EQ(reason, "Directory not empty");
}
