// Records the timedemo benchmark's demo, the aiming bot's whole game of
// level 3, and copies it to the file named on the command line: the demo the
// Windows demo session plays on both builds. Needs a display.
// Usage: record_bench_demo FILE
#include "support/level3_demo.h"
#include "support/scratch_game.h"

#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

static const int MODE_640x480 = 6; // the demo is the same at any size; this one draws fastest

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: record_bench_demo FILE\n");
        return 2;
    }
    fs::path target = fs::absolute(argv[1]);
    if (!start_game_in_scratch_folder(MODE_640x480)) {
        std::fprintf(stderr, "record_bench_demo: the game did not start (is there a display?)\n");
        return 1;
    }
    fs::path scratch = fs::current_path();
    bool recorded = record_bot_level_3("level3");
    std::error_code error;
    if (recorded)
        fs::copy_file("demos/level3.dem", target, fs::copy_options::overwrite_existing, error);
    fs::current_path(scratch.parent_path());
    fs::remove_all(scratch);
    if (!recorded || error) {
        std::fprintf(stderr, "record_bench_demo: no demo recorded to %s: %s\n", target.c_str(),
                     recorded ? error.message().c_str() : "the game failed");
        return 1;
    }
    return 0;
}
