// libFuzzer target for the files kept between runs: each input is read as
// history.txt and as config.cfg's start mode (the scan made before the
// window opens), so both readers see arbitrary bytes, long lines and all.
#include "app/settings.h"
#include "console/editor.h"
#include "console/output.h"
#include "console/persist.h"
#include "console/registry.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

static void start_console_once() {
    static bool started = false;
    if (started) return;
    started = true;
    // The files stay in a scratch folder of their own (give the corpus
    // folder as an absolute path).
    char folder[] = "/tmp/sheepfall-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    console_output_init();
    console_registry_init();
    console_get_variable("save_to_log", 1.0f)->value = 0.0f; // keep the disk quiet
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
