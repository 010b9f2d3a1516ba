// Base and detail pictures of the three landscapes.
//
// A base picture is stretched once over its land, four pixels to a grid
// cell, and coloured from the heightmap the level loads: by height, slope
// and hollowness, with broad noise so no two fields look alike. It carries no
// directional light, because the game casts the sun's shadows onto it at
// load time from a different direction every level; it is only a little
// darker in hollows and on steep faces, as if lit by the sky. Its bottom row
// lies along z = 0 (the game uploads pictures bottom-up).
//
// A detail picture repeats ten times along each side of the land and is
// added to the base around mid-grey (values above 128 lighten, below darken),
// so it must tile without seams and stay near 128 on average.
#include "landscape.h"

#include "noise.h"
#include "png_writer.h"
#include "raster.h"

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

constexpr int kBaseSize = 1024;
constexpr int kDetailSize = 256;
constexpr float kUnitsPerPixel = static_cast<float>(kLandscapeSize) / kBaseSize;

// The heightmap as the game sees it: bytes / 4, bilinear between samples.
class HeightField {
  public:
    explicit HeightField(int level) : bytes_(landscape_heights(level)) {}

    float sample(int x, int z) const {
        x = std::clamp(x, 0, kLandscapeSize - 1);
        z = std::clamp(z, 0, kLandscapeSize - 1);
        return bytes_[static_cast<size_t>(z) * kLandscapeSize + x] * 0.25f;
    }
    float at(float x, float z) const {
        const float fx = std::floor(x), fz = std::floor(z);
        const int ix = static_cast<int>(fx), iz = static_cast<int>(fz);
        const float tx = x - fx, tz = z - fz;
        const float top = sample(ix, iz) + (sample(ix + 1, iz) - sample(ix, iz)) * tx;
        const float bottom =
            sample(ix, iz + 1) + (sample(ix + 1, iz + 1) - sample(ix, iz + 1)) * tx;
        return top + (bottom - top) * tz;
    }
    // Rise per unit of ground, over two units each way.
    float slope(float x, float z) const {
        const float gx = (at(x + 2.0f, z) - at(x - 2.0f, z)) * 0.25f;
        const float gz = (at(x, z + 2.0f) - at(x, z - 2.0f)) * 0.25f;
        return std::sqrt(gx * gx + gz * gz);
    }
    // Positive in hollows: how far the ring around lies above the point.
    float hollow(float x, float z, float radius) const {
        const float ring =
            at(x + radius, z) + at(x - radius, z) + at(x, z + radius) + at(x, z - radius) +
            at(x + radius * 0.7f, z + radius * 0.7f) + at(x - radius * 0.7f, z + radius * 0.7f) +
            at(x + radius * 0.7f, z - radius * 0.7f) + at(x - radius * 0.7f, z - radius * 0.7f);
        return ring * 0.125f - at(x, z);
    }

  private:
    std::vector<uint8_t> bytes_;
};

Colour rgb(int r, int g, int b) {
    return {r / 255.0f, g / 255.0f, b / 255.0f};
}

// What every level shares at one point of the land.
struct Ground {
    float x, z;    // world position
    float height;  // world units
    float slope;   // rise per unit
    float hollow;  // positive in hollows
    float patches; // broad noise -1 .. 1
    float grain;   // pixel noise 0 .. 1
};

// Sky light: hollows and steep faces get a little less of it.
float sky_light(const Ground& g) {
    const float hollow_shade = std::clamp(1.0f - 0.05f * g.hollow, 0.78f, 1.08f);
    const float face_shade = 1.0f - 0.12f * smoothstep(0.4f, 2.5f, g.slope);
    return hollow_shade * face_shade;
}

Colour meadow_colour(const Ground& g) {
    const Colour lush = rgb(78, 128, 44), pale = rgb(128, 150, 60), deep = rgb(52, 96, 38);
    const Colour earth = rgb(116, 94, 62), rock = rgb(124, 118, 108);
    Colour c = mix(lush, pale, smoothstep(-0.1f, 0.6f, g.patches));
    c = mix(c, deep, smoothstep(0.5f, 3.0f, g.hollow) * 0.8f);
    c = mix(c, pale, smoothstep(0.9f, 0.99f, g.grain) * 0.6f); // flowers and dry stalks
    c = mix(c, earth, smoothstep(0.45f, 0.9f, g.slope + 0.15f * g.patches));
    c = mix(c, rock, smoothstep(0.95f, 1.5f, g.slope));
    return c;
}

Colour ridge_colour(const Ground& g) {
    const Colour grass = rgb(74, 112, 46), dry = rgb(112, 118, 62);
    const Colour scree = rgb(118, 110, 98), rock = rgb(92, 86, 80), dark = rgb(66, 62, 60);
    const Colour snow = rgb(236, 240, 248);
    Colour c = mix(grass, dry, smoothstep(-0.3f, 0.7f, g.patches));
    c = mix(c, scree, smoothstep(0.35f, 0.8f, g.slope + 0.1f * g.patches));
    c = mix(c, rock, smoothstep(0.8f, 1.5f, g.slope));
    c = mix(c, dark, smoothstep(1.6f, 3.0f, g.slope) * 0.7f);
    const float snow_line = 44.0f + 5.0f * g.patches;
    const float snowy = smoothstep(snow_line, snow_line + 6.0f, g.height) *
                        (1.0f - smoothstep(1.2f, 2.4f, g.slope));
    return mix(c, snow, snowy);
}

Colour basin_colour(const Ground& g) {
    const Colour clay = rgb(196, 176, 138), crack = rgb(138, 116, 86), mud = rgb(112, 94, 70);
    const Colour sand = rgb(200, 184, 136), grass = rgb(96, 128, 52), dry = rgb(150, 146, 84);
    const Colour rock = rgb(124, 108, 92), snow = rgb(234, 236, 242);
    // The lake bed: pale clay split by dark cracks, a ring of darker mud.
    const float cells = std::fabs(gradient_noise(g.x / 5.0f, g.z / 5.0f, 53u));
    Colour bed = mix(crack, clay, smoothstep(0.03f, 0.12f, cells));
    bed = mix(bed, mud, smoothstep(2.2f, 3.4f, g.height));
    Colour land = mix(grass, dry, smoothstep(-0.2f, 0.8f, g.patches + 0.02f * (g.height - 20)));
    land = mix(sand, land, smoothstep(4.0f, 7.5f, g.height + 1.5f * g.patches));
    land = mix(land, rock, smoothstep(0.6f, 1.3f, g.slope + 0.2f * g.patches));
    const float snowy = smoothstep(52.0f, 57.0f, g.height + 3.0f * g.patches) *
                        (1.0f - smoothstep(1.0f, 2.0f, g.slope));
    land = mix(land, snow, snowy);
    return mix(land, bed, 1.0f - smoothstep(2.6f, 4.2f, g.height));
}

void make_base(int level, const std::filesystem::path& file) {
    const HeightField field(level);
    const uint32_t seed = 60u + static_cast<uint32_t>(level);
    std::vector<uint8_t> pixels(static_cast<size_t>(kBaseSize) * kBaseSize * 3);
    for (int row = 0; row < kBaseSize; ++row) {
        // The file's first row is the picture's top, the far end of z.
        const float z = (kBaseSize - 1 - row + 0.5f) * kUnitsPerPixel;
        for (int col = 0; col < kBaseSize; ++col) {
            const float x = (col + 0.5f) * kUnitsPerPixel;
            Ground g{x,
                     z,
                     field.at(x, z),
                     field.slope(x, z),
                     field.hollow(x, z, 6.0f),
                     fractal_noise(x / 45.0f, z / 45.0f, seed, 4),
                     hash_unit(col, row, seed)};
            Colour c = level == 1   ? meadow_colour(g)
                       : level == 2 ? ridge_colour(g)
                                    : basin_colour(g);
            // A little per-pixel variation keeps large fields from looking flat.
            c = c * (sky_light(g) * (0.94f + 0.12f * hash_unit(col, row, seed + 7u)));
            uint8_t* p = &pixels[(static_cast<size_t>(row) * kBaseSize + col) * 3];
            p[0] = static_cast<uint8_t>(std::lround(clamp01(c.r) * 255.0f));
            p[1] = static_cast<uint8_t>(std::lround(clamp01(c.g) * 255.0f));
            p[2] = static_cast<uint8_t>(std::lround(clamp01(c.b) * 255.0f));
        }
    }
    write_png(file, kBaseSize, kBaseSize, 3, pixels);
}

// Grain of each level in -1 .. 1 at a pixel of the repeating tile.
float detail_grain(int level, int x, int y) {
    const float u = static_cast<float>(x) / kDetailSize * 8.0f;
    const float v = static_cast<float>(y) / kDetailSize * 8.0f;
    const uint32_t seed = 70u + static_cast<uint32_t>(level);
    const float speck = hash_unit(x, y, seed) * 2.0f - 1.0f;
    if (level == 1) {
        // Tufts of grass: clumps of fine noise with bright and dark specks.
        const float tufts = fractal_noise(u * 2.0f, v * 2.0f, seed, 3, 0.6f, 16);
        return 0.55f * tufts + 0.45f * speck;
    }
    if (level == 2) {
        // Rock: cracks as dark lines along the zero crossings of the noise.
        const float n = fractal_noise(u, v, seed, 4, 0.55f, 8);
        const float cracks = smoothstep(0.0f, 0.08f, std::fabs(n));
        return 0.5f * n + 0.6f * (cracks - 1.0f) + 0.3f * speck + 0.25f;
    }
    // Sand: fine speckle over soft ripples, a whole number of them per tile.
    const float ripple_phase = 2.0f * 3.14159265f * (6.0f * y / kDetailSize) +
                               1.5f * fractal_noise(u, v, seed, 2, 0.5f, 8);
    return 0.35f * std::sin(ripple_phase) + 0.65f * speck;
}

void make_detail(int level, const std::filesystem::path& file) {
    const float amplitude = level == 2 ? 30.0f : 24.0f;
    std::vector<float> grain(static_cast<size_t>(kDetailSize) * kDetailSize);
    double mean = 0.0;
    for (int y = 0; y < kDetailSize; ++y)
        for (int x = 0; x < kDetailSize; ++x) {
            grain[static_cast<size_t>(y) * kDetailSize + x] = detail_grain(level, x, y);
            mean += grain[static_cast<size_t>(y) * kDetailSize + x];
        }
    mean /= static_cast<double>(grain.size());
    std::vector<uint8_t> pixels(grain.size() * 3);
    for (size_t i = 0; i < grain.size(); ++i) {
        const float value = 128.0f + amplitude * (grain[i] - static_cast<float>(mean));
        const auto byte = static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
        pixels[i * 3] = pixels[i * 3 + 1] = pixels[i * 3 + 2] = byte;
    }
    write_png(file, kDetailSize, kDetailSize, 3, pixels);
}

} // namespace

void make_terrain1_png(const std::filesystem::path& file) {
    make_base(1, file);
}
void make_terrain2_png(const std::filesystem::path& file) {
    make_base(2, file);
}
void make_terrain3_png(const std::filesystem::path& file) {
    make_base(3, file);
}
void make_detail1_png(const std::filesystem::path& file) {
    make_detail(1, file);
}
void make_detail2_png(const std::filesystem::path& file) {
    make_detail(2, file);
}
void make_detail3_png(const std::filesystem::path& file) {
    make_detail(3, file);
}
