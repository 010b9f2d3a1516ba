// libFuzzer target for the files kept between runs: each input is read as
// history.txt and as config.cfg's start mode (the scan made before the
// window opens), so both readers see arbitrary bytes, long lines and all.
// The bytes are read from memory like a file on disk, as the console target
// reads its scripts: making and removing a file for every input would take
// far longer than reading it.
#include "app/settings.h"
#include "console/history.h"
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

// The input as an open file; none for an empty input, which holds no line.
static std::FILE* open_input(const uint8_t* data, size_t size) {
    if (size == 0) return nullptr;
    return fmemopen(const_cast<uint8_t*>(data), size, "r");
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    start_console_once();
    if (std::FILE* history = open_input(data, size)) {
        console_history_read(history);
        std::fclose(history);
    }
    StartMode mode{8, true};
    if (std::FILE* config = open_input(data, size)) {
        start_mode_read(config, &mode);
        std::fclose(config);
    }
    if (mode.row < 0 || mode.row > 9) std::abort(); // a row of the video-mode table
    return 0;
}
