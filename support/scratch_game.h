// The real start-up of the game in a scratch folder of /tmp with the built
// data/ linked in, in a window of the given video mode: what the benchmarks
// that run the whole game start from.
#pragma once

#include "app/app.h"
#include "app/video.h"

#include <filesystem>
#include <unistd.h>

inline bool start_game_in_scratch_folder(int video_mode) {
    char folder[] = "/tmp/sheepfall-bench-XXXXXX";
    if (!mkdtemp(folder)) return false;
    std::error_code error;
    std::filesystem::create_directory_symlink(SHEEPFALL_DATA_DIR,
                                              std::filesystem::path(folder) / "data", error);
    if (error || chdir(folder) != 0) return false;
    fullscreen = false;
    current_video_mode = video_mode;
    main_loop_start();
    return video_init() && game_init();
}
