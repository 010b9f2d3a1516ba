// libFuzzer target for the level file reader: every input is read as a level
// file from memory, so broken keywords, numbers, words, long lines and short
// files all reach the parser as a damaged file on disk would.
#include "console/output.h"
#include "game/level_file.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static bool started = false;
    if (!started) {
        started = true;
        static float log_off = 0.0f;
        console_log_follow(&log_off); // errors stay in memory
    }
    console_clear();
    if (size == 0) return 0;
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "r");
    if (!file) return 0;
    LevelInfo info{};
    if (level_file_read(file, "fuzz.txt", &info)) {
        // Whatever was read is bounded text.
        if (std::strlen(info.logo) >= LEVEL_LINE_SIZE || std::strlen(info.music) >= LEVEL_LINE_SIZE)
            __builtin_trap();
    }
    std::fclose(file);
    return 0;
}
