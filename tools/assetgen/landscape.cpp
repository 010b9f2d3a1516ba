#include "landscape.h"

#include "file_writer.h"
#include "noise.h"
#include "raster.h"

#include <cmath>

// Heights are shaped in world units (0 .. 63.75) from noise, then stored as
// bytes. Every land keeps a calm spot around the start point, sinks toward
// the borders (the land drops to 0 beyond its last row and column) and puts
// something worth seeing along +x from the start.

namespace {

constexpr float kCentre = kLandscapeSize / 2.0f;
constexpr float kMaxHeight = 63.75f;

float distance(float x0, float z0, float x1, float z1) {
    return std::sqrt((x1 - x0) * (x1 - x0) + (z1 - z0) * (z1 - z0));
}

// 1 well inside the land, easing to 0 over the last 64 units before a border.
float border_fade(float x, float z) {
    const float edge =
        std::fmin(std::fmin(x, z), std::fmin(kLandscapeSize - 1 - x, kLandscapeSize - 1 - z));
    return smoothstep(0.0f, 64.0f, edge);
}

// Squeezes heights above the knee smoothly toward the top of the range, so
// crests stay peaked instead of being cut flat.
float soft_top(float h) {
    const float knee = 48.0f;
    if (h <= knee) return h;
    const float room = kMaxHeight - 0.5f - knee;
    return knee + room * std::tanh((h - knee) / room);
}

// A round hill: 1 at its centre, 0 beyond the radius.
float bump(float x, float z, float cx, float cz, float radius) {
    const float t = 1.0f - distance(x, z, cx, cz) / radius;
    return t > 0.0f ? smoothstep(0.0f, 1.0f, t) : 0.0f;
}

// 1 on a winding line z = line(x) and within half_width of it, easing to 0
// over the same width again.
float along_line(float z, float line_z, float half_width) {
    return 1.0f - smoothstep(half_width, 2.0f * half_width, std::fabs(z - line_z));
}

// The meadows' dirt track winds from west to east past the start.
float track_line(float x) {
    return kCentre + 9.0f + 26.0f * std::sin(x / 57.0f - 4.0f) + 7.0f * std::sin(x / 19.0f);
}

// The ridges' valley, and the stream along it, winds along +x through the start.
float valley_line(float x) {
    return kCentre + 22.0f * std::sin(x / 70.0f) + 10.0f * std::sin(x / 23.0f + 1.0f);
}

// The basin's rim has its crest 118 units out from the start, so its peaks
// stand in the haze all around; the dry lake lies east of the start, whose
// first view runs from its grassy shore across it to the rim.
constexpr float kRimRadius = 118.0f;
constexpr float kLakeX = 308.0f;
constexpr float kLakeZ = 258.0f;

// The lake's distance from its centre in radii, a little irregular.
float lake_radii(float x, float z) {
    const float wobble = 5.0f * fractal_noise(x / 30.0f, z / 30.0f, 41u, 3);
    return distance(x, z, kLakeX, kLakeZ) / (28.0f + wobble);
}

} // namespace

float meadow_track(float x, float z) {
    return along_line(z, track_line(x), 1.6f);
}

// Rolling meadows: broad hills of fractal noise, a few big rounded hills,
// one of them in view ahead of the start, a gentle rise at the start, and
// the track pressed a little into the grass.
float meadow_height(float x, float z) {
    const float broad = fractal_noise(x / 130.0f, z / 130.0f, 11u, 5, 0.45f);
    float h = 20.0f + 13.0f * broad;
    h += 26.0f * bump(x, z, 345.0f, 212.0f, 62.0f);
    h += 16.0f * bump(x, z, 318.0f, 318.0f, 44.0f);
    h += 30.0f * bump(x, z, 150.0f, 140.0f, 80.0f);
    h += 22.0f * bump(x, z, 120.0f, 385.0f, 70.0f);
    h += 26.0f * bump(x, z, 430.0f, 90.0f, 70.0f);
    h += 20.0f * bump(x, z, 420.0f, 420.0f, 60.0f);
    const float calm = bump(x, z, kCentre, kCentre, 36.0f);
    h = h * (1.0f - calm) + 17.0f * calm;
    h -= 0.6f * meadow_track(x, z);
    return 4.0f + (soft_top(h) - 4.0f) * border_fade(x, z);
}

// Steep ridges: ridged noise stretched along x so the crests run beside the
// valley, snow-capped at the top of the range, with a grassy valley floor.
float ridge_height(float x, float z) {
    const float warp = 18.0f * fractal_noise(x / 90.0f, z / 90.0f, 27u, 3);
    const float crests = ridged_noise((x + warp) / 190.0f, (z - warp) / 85.0f, 23u, 6);
    const float away = std::fabs(z - valley_line(x));
    const float valley = smoothstep(14.0f, 80.0f, away);
    const float floor = 5.0f + 3.0f * fractal_noise(x / 40.0f, z / 40.0f, 29u, 3) + 0.04f * away;
    // The ridges die down toward the borders, leaving foothills there.
    const float edge =
        std::fmin(std::fmin(x, z), std::fmin(kLandscapeSize - 1 - x, kLandscapeSize - 1 - z));
    float h = floor + valley * crests * 66.0f * (0.25f + 0.75f * smoothstep(0.0f, 110.0f, edge));
    h -= 1.2f * along_line(z, valley_line(x), 1.5f);
    return 2.0f + (soft_top(h) - 2.0f) * border_fade(x, z);
}

float ridge_stream(float x, float z) {
    return along_line(z, valley_line(x), 1.5f);
}

float basin_lake_bed(float x, float z) {
    return 1.0f - smoothstep(0.75f, 1.1f, lake_radii(x, z));
}

// A floor sloping up to a rim of peaks, the lake bed pressed flat into the
// floor, foothills falling away beyond the rim toward the borders.
float basin_height(float x, float z) {
    const float r = distance(x, z, kCentre, kCentre);
    const float rim =
        smoothstep(55.0f, kRimRadius, r) * (1.0f - smoothstep(kRimRadius + 15.0f, 230.0f, r));
    const float peaks = ridged_noise(x / 60.0f, z / 60.0f, 43u, 5);
    const float rolling = fractal_noise(x / 55.0f, z / 55.0f, 47u, 4);
    float h = 9.0f + 5.0f * rolling + rim * (16.0f + 52.0f * peaks) +
              6.0f * smoothstep(120.0f, 200.0f, r);
    // The floor eases down to the bed over a wide, gentle bank.
    const float bank = 1.0f - smoothstep(0.8f, 2.6f, lake_radii(x, z));
    h = h * (1.0f - bank) + (1.5f + 0.25f * rolling) * bank;
    return 3.0f + (soft_top(h) - 3.0f) * border_fade(x, z);
}

std::vector<uint8_t> landscape_heights(const LandRecipe& land) {
    std::vector<uint8_t> bytes(static_cast<size_t>(kLandscapeSize) * kLandscapeSize);
    for (int z = 0; z < kLandscapeSize; ++z)
        for (int x = 0; x < kLandscapeSize; ++x) {
            const float h = land.height(static_cast<float>(x), static_cast<float>(z));
            const float scaled = std::round(std::fmin(std::fmax(h, 0.0f), kMaxHeight) * 4.0f);
            bytes[static_cast<size_t>(z) * kLandscapeSize + x] = static_cast<uint8_t>(scaled);
        }
    return bytes;
}

void make_terrain_raw(const LandRecipe& land, const std::filesystem::path& file) {
    write_file_bytes(file, landscape_heights(land));
}
