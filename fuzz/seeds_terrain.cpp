// Writes a small seed corpus for fuzz_terrain: heightmaps of the valid
// sizes up to 64, one byte short and one long, and sizes that are refused.
// Usage: seeds_terrain <folder>
#include <cstdint>
#include <cstdio>
#include <vector>

static bool write_seed(const char* folder, int number, int width, int height, size_t bytes) {
    char path[256];
    std::snprintf(path, sizeof path, "%s/seed-%02d-%dx%d-%zu", folder, number, width, height,
                  bytes);
    std::FILE* out = std::fopen(path, "wb");
    if (!out) return false;
    std::vector<uint8_t> data = {uint8_t(width), uint8_t(width >> 8), uint8_t(height),
                                 uint8_t(height >> 8)};
    for (size_t i = 0; i < bytes; i++)
        data.push_back(uint8_t((i * 37 + i / 7) & 0xFF));
    bool ok = std::fwrite(data.data(), 1, data.size(), out) == data.size();
    return std::fclose(out) == 0 && ok;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    struct Seed {
        int width, height, extra;
    } seeds[] = {{4, 4, 0},  {8, 8, 0}, {16, 16, 0}, {32, 32, 0}, {64, 64, 0},
                 {8, 8, -1}, {8, 8, 9}, {12, 12, 0}, {8, 16, 0},  {-4, -4, 0},
                 {0, 0, 0},  {6, 6, 0}, {3, 3, 0}};
    int number = 0;
    for (const Seed& s : seeds) {
        long long cells = (long long)(s.width > 0 ? s.width : 1) * (s.height > 0 ? s.height : 1);
        if (!write_seed(argv[1], number++, s.width, s.height, size_t(cells + s.extra))) {
            std::fprintf(stderr, "can't write a seed into %s\n", argv[1]);
            return 1;
        }
    }
    std::printf("%d seeds written to %s\n", number, argv[1]);
    return 0;
}
