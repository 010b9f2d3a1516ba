// libFuzzer target for the console: each input is typed into the open
// console byte by byte (control codes, Latin-1 and all), and also run as a
// script read from memory, so the line editor, the interpreter's argument
// splitting, variable parsing, key bindings, Tab completion and script
// reading all see arbitrary text.
#include "console/bindings.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "textures/texture.h"
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
    texture_manager_init();
    bindings_init();
    console_toggle();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    start_console_once();
    console_clear(); // a full buffer would shift 64 kB for every printed line
    for (size_t i = 0; i < size; i++)
        console_char(data[i]);
    console_char(13);

    // The same bytes as a script, read from memory like a file on disk.
    if (size > 0) {
        std::FILE* script = fmemopen(const_cast<uint8_t*>(data), size, "r");
        if (!script) return 0;
        console_run_script(script, "fuzz input");
        std::fclose(script);
    }
    console_find_variable("save_to_log")->value = 0.0f;
    return 0;
}
