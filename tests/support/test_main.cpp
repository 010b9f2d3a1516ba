// Test entry: every test process works in a scratch folder of its own with
// data/ linked in, so log.txt and written files never collide between tests
// that run in parallel.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    namespace fs = std::filesystem;
    std::string pattern = (fs::temp_directory_path() / "sheepfall-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return 2;
    }
    fs::path scratch = pattern;
    std::error_code ec;
    fs::create_directory_symlink(SHEEPFALL_DATA_DIR, scratch / "data", ec);
    if (chdir(scratch.c_str()) != 0) {
        std::perror("chdir");
        return 2;
    }
    int result = RUN_ALL_TESTS();
    if (chdir("/") == 0) fs::remove_all(scratch, ec);
    return result;
}
