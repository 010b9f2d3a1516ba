// The real start-up of the game in a scratch folder of /tmp with the built
// data/ linked in, in a window of the given video mode: what the benchmarks
// that run the whole game start from.
#pragma once

#include "app/app.h"
#include "app/video.h"

#include <filesystem>
#include <unistd.h>

// Works from then on in a new folder of /tmp with the built data/ linked in
// (the game's files name "data/..." paths).
inline bool enter_scratch_folder() {
    char folder[] = "/tmp/sheepfall-bench-XXXXXX";
    if (!mkdtemp(folder)) return false;
    std::error_code error;
    std::filesystem::create_directory_symlink(SHEEPFALL_DATA_DIR,
                                              std::filesystem::path(folder) / "data", error);
    return !error && chdir(folder) == 0;
}

inline bool start_game_in_scratch_folder(int video_mode) {
    if (!enter_scratch_folder()) return false;
    video_mode_choose(video_mode, false);
    if (!video_init() || !game_init()) return false;
    main_loop_start(); // start-up's own loads are not game time
    return true;
}
