#include "landscape.h"

#include "noise.h"
#include "raster.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>

// Heights are shaped in world units (0 .. 63.75) from noise, then stored as
// bytes. Every level keeps a calm spot around the start point, sinks toward
// the borders (the land drops to 0 beyond its last row and column) and puts
// something worth seeing along +x from the start.

namespace {

constexpr float kCentre = kLandscapeSize / 2.0f;
constexpr float kMaxHeight = 63.75f;

float distance(float x0, float z0, float x1, float z1) {
    return std::sqrt((x1 - x0) * (x1 - x0) + (z1 - z0) * (z1 - z0));
}

// 1 well inside the land, falling to 0 at its borders.
float border_fade(float x, float z) {
    const float edge =
        std::fmin(std::fmin(x, z), std::fmin(kLandscapeSize - 1 - x, kLandscapeSize - 1 - z));
    return smoothstep(0.0f, 48.0f, edge);
}

// A round hill: 1 at its centre, 0 beyond the radius.
float bump(float x, float z, float cx, float cz, float radius) {
    const float t = 1.0f - distance(x, z, cx, cz) / radius;
    return t > 0.0f ? smoothstep(0.0f, 1.0f, t) : 0.0f;
}

// Rolling meadows: broad hills of fractal noise with a few big rounded
// hills around, a gentle rise at the start and a low border.
float meadow_height(float x, float z) {
    const float broad = fractal_noise(x / 150.0f, z / 150.0f, 11u, 5, 0.45f);
    float h = 20.0f + 14.0f * broad;
    h += 30.0f * bump(x, z, 395.0f, 228.0f, 70.0f);
    h += 24.0f * bump(x, z, 352.0f, 355.0f, 60.0f);
    h += 26.0f * bump(x, z, 150.0f, 140.0f, 80.0f);
    h += 20.0f * bump(x, z, 120.0f, 380.0f, 70.0f);
    h += 22.0f * bump(x, z, 420.0f, 100.0f, 65.0f);
    const float calm = bump(x, z, kCentre, kCentre, 40.0f);
    h = h * (1.0f - calm) + 16.0f * calm;
    return 2.0f + (h - 2.0f) * border_fade(x, z);
}

// The valley of level 2 winds along +x through the start.
float valley_line(float x) {
    return kCentre + 22.0f * std::sin(x / 70.0f) + 10.0f * std::sin(x / 23.0f + 1.0f);
}

// Steep ridges: ridged noise stretched along x so the crests run beside the
// valley, high enough for snow, and a valley floor of gentle grass.
float ridge_height(float x, float z) {
    const float warp = 18.0f * fractal_noise(x / 90.0f, z / 90.0f, 27u, 3);
    const float crests = ridged_noise((x + warp) / 190.0f, (z - warp) / 85.0f, 23u, 6);
    const float away = std::fabs(z - valley_line(x));
    const float valley = smoothstep(14.0f, 80.0f, away);
    const float floor = 5.0f + 3.0f * fractal_noise(x / 40.0f, z / 40.0f, 29u, 3);
    float h = floor + valley * (crests * 1.35f) * 62.0f;
    h = std::fmin(h, kMaxHeight - 0.5f * fractal_noise(x / 9.0f, z / 9.0f, 31u, 2));
    return 1.0f + (h - 1.0f) * border_fade(x, z);
}

// The dry lake of level 3 lies east of the start, so the first view is
// across it to the basin's rim.
constexpr float kLakeX = 350.0f;
constexpr float kLakeZ = 262.0f;

// How far inside the lake bed a point is: 1 inside, 0 on the shore and out.
float lake_depth(float x, float z) {
    const float wobble = 9.0f * fractal_noise(x / 40.0f, z / 40.0f, 41u, 3);
    const float r = distance(x, z, kLakeX, kLakeZ) / (68.0f + wobble);
    return 1.0f - smoothstep(0.75f, 1.05f, r);
}

// Basin: a floor sloping up to a rim of peaks two hundred units out, the
// lake bed pressed flat into the floor, the land falling again beyond.
float basin_height(float x, float z) {
    const float r = distance(x, z, kCentre, kCentre);
    const float rim = smoothstep(90.0f, 195.0f, r) * (1.0f - smoothstep(215.0f, 300.0f, r));
    const float peaks = ridged_noise(x / 70.0f, z / 70.0f, 43u, 5);
    const float rolling = fractal_noise(x / 60.0f, z / 60.0f, 47u, 4);
    float h = 9.0f + 4.0f * rolling + rim * (22.0f + 38.0f * peaks);
    const float lake = lake_depth(x, z);
    h = h * (1.0f - lake) + 1.5f * lake;
    return 1.0f + (h - 1.0f) * border_fade(x, z);
}

float level_height(int level, float x, float z) {
    switch (level) {
    case 1: return meadow_height(x, z);
    case 2: return ridge_height(x, z);
    default: return basin_height(x, z);
    }
}

void write_bytes(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (!out)
        throw std::runtime_error("cannot write " + file.string() + ": " +
                                 std::system_category().message(errno));
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    const bool closed = std::fclose(out) == 0;
    std::error_code renamed;
    if (written && closed) std::filesystem::rename(temporary, file, renamed);
    if (!written || !closed || renamed) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + file.string());
    }
}

} // namespace

std::vector<uint8_t> landscape_heights(int level) {
    if (level < 1 || level > kLandscapeLevels)
        throw std::runtime_error("no landscape for level " + std::to_string(level));
    std::vector<uint8_t> bytes(static_cast<size_t>(kLandscapeSize) * kLandscapeSize);
    for (int z = 0; z < kLandscapeSize; ++z)
        for (int x = 0; x < kLandscapeSize; ++x) {
            const float h = level_height(level, static_cast<float>(x), static_cast<float>(z));
            const float scaled = std::round(std::fmin(std::fmax(h, 0.0f), kMaxHeight) * 4.0f);
            bytes[static_cast<size_t>(z) * kLandscapeSize + x] = static_cast<uint8_t>(scaled);
        }
    return bytes;
}

void make_terrain1_raw(const std::filesystem::path& file) {
    write_bytes(file, landscape_heights(1));
}
void make_terrain2_raw(const std::filesystem::path& file) {
    write_bytes(file, landscape_heights(2));
}
void make_terrain3_raw(const std::filesystem::path& file) {
    write_bytes(file, landscape_heights(3));
}
