// Test entry: every test process works in a scratch folder of its own with
// the build's data/ linked in (support/test_files.h), so log.txt and
// written files never collide between tests that run in parallel.
#include "support/test_files.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

// A new, empty folder in the system's temporary folder; empty on failure
// (said on stderr).
static fs::path make_scratch_folder() {
    const fs::path temporary = fs::temp_directory_path();
#ifdef _WIN32
    // No mkdtemp here: the process id and a counter make a name no other
    // running test has, and create_directory refuses one that exists.
    std::error_code ec;
    for (int attempt = 0; attempt < 1000; attempt++) {
        fs::path folder = temporary / ("sheepfall-test-" + std::to_string(_getpid()) + "-" +
                                       std::to_string(attempt));
        if (fs::create_directory(folder, ec)) return folder;
    }
    std::fprintf(stderr, "can't make a scratch folder in %s: %s\n", temporary.string().c_str(),
                 ec.message().c_str());
    return {};
#else
    std::string pattern = (temporary / "sheepfall-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        return {};
    }
    return pattern;
#endif
}

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    const fs::path scratch = make_scratch_folder();
    if (scratch.empty()) return 2;
    std::error_code ec;
    try {
        link_test_file(test_data_folder(), scratch / "data");
    } catch (const fs::filesystem_error& error) {
        std::fprintf(stderr, "can't link the data folder into the scratch folder: %s\n",
                     error.what());
    }
    fs::current_path(scratch, ec);
    if (ec) {
        std::fprintf(stderr, "can't enter %s: %s\n", scratch.string().c_str(),
                     ec.message().c_str());
        return 2;
    }
    int result = RUN_ALL_TESTS();
    // Left first: Windows removes no folder that a process works in.
    fs::current_path(scratch.parent_path(), ec);
    if (!ec) fs::remove_all(scratch, ec);
    return result;
}
