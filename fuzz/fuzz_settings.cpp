// libFuzzer target for the files kept between runs: each input is read as
// history.txt and as config.cfg's start mode (the scan made before the
// window opens), so both readers see arbitrary bytes, long lines and all.
#include "app/settings.h"
#include "console/editor.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"
#include "scratch_console.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

static void start_console_once() {
    static bool started = false;
    if (started) return;
    started = true;
    start_console_in_scratch_folder();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    start_console_once();
    std::FILE* file = std::fopen("input.txt", "wb");
    if (!file) return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    console_history_load("input.txt");
    StartMode mode{8, true};
    start_mode_scan("input.txt", &mode);
    if (mode.row < 0 || mode.row > 9) std::abort(); // a row of the video-mode table
    return 0;
}
