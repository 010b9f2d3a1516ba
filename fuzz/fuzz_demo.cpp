// libFuzzer target for the demo reader: every input is read as a demo file's
// bytes. A demo that reads must write out and read back to the same demo, so
// the reader never accepts what the writer cannot say.
#include "game/demo.h"

#include <cstddef>
#include <cstdint>
#include <cstring>

static bool same_frame(const DemoFrame& a, const DemoFrame& b) {
    return a.elapsed_ms == b.elapsed_ms && a.mouse_dx == b.mouse_dx && a.mouse_dy == b.mouse_dy &&
           a.fire == b.fire && a.keys == b.keys && a.mouse_sensitivity == b.mouse_sensitivity &&
           a.mouse_invert == b.mouse_invert;
}

static bool same_demo(const Demo& a, const Demo& b) {
    if (std::memcmp(a.game_version, b.game_version, DEMO_GAME_VERSION_SIZE) != 0 ||
        a.random_state != b.random_state || a.first_level != b.first_level ||
        a.mouse_sensitivity != b.mouse_sensitivity || a.mouse_invert != b.mouse_invert ||
        a.frames.size() != b.frames.size())
        return false;
    for (size_t i = 0; i < a.frames.size(); i++)
        if (!same_frame(a.frames[i], b.frames[i])) return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Demo demo;
    std::string problem;
    if (!demo_decode(data, size, &demo, &problem)) {
        if (problem.empty()) __builtin_trap(); // a refusal always says why
        return 0;
    }
    for (const DemoFrame& f : demo.frames)
        if (f.elapsed_ms > DEMO_MAX_FRAME_MS || f.keys > 0xF) __builtin_trap();
    std::string bytes = demo_encode(demo);
    Demo again;
    if (!demo_decode(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), &again,
                     &problem) ||
        !same_demo(demo, again))
        __builtin_trap();
    return 0;
}
