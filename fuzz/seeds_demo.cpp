// Writes a small well-formed demo into the folder it is given, the seed the
// demo fuzz target mutates: frames with the fire button, movement keys held
// and let go, and a change of the look settings.
#include "game/demo.h"
#include "game/version.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    Demo demo;
    std::snprintf(demo.game_version, sizeof demo.game_version, "%s", GAME_VERSION);
    demo.random_state = 12345;
    for (int i = 0; i < 12; i++) {
        DemoFrame f;
        f.elapsed_ms = static_cast<uint32_t>(i * 9);
        f.mouse_dx = i - 6;
        f.mouse_dy = 3 - i;
        f.fire = i % 3 == 0;
        f.keys = static_cast<uint8_t>(i > 4 && i < 9 ? DEMO_KEY_UP | DEMO_KEY_LEFT : 0);
        f.mouse_sensitivity = i < 7 ? 0.01f : 0.02f;
        f.mouse_invert = i >= 10;
        demo.frames.push_back(f);
    }
    std::string bytes = demo_encode(demo);
    std::string name = std::string(argv[1]) + "/demo.dem";
    std::FILE* file = std::fopen(name.c_str(), "wb");
    if (!file) return 1;
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written ? 0 : 1;
}
