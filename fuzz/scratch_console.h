// Start-up shared by the fuzz targets that print or touch files: the console
// is started with log.txt off, in a scratch folder of the target's own, so
// scripts, history and config files written by a run stay out of the way
// (give the corpus folder as an absolute path).
#pragma once

#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"

#include <cstdlib>
#include <unistd.h>

inline void start_console_in_scratch_folder() {
    char folder[] = "/tmp/sheepfall-fuzz-XXXXXX";
    if (!mkdtemp(folder) || chdir(folder) != 0) std::abort();
    console_init();
    console_find_variable("save_to_log")->value = 0.0f; // keep the disk quiet
}
