// Base and detail pictures of the landscapes, and the kit's colours and grains.
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

// The heightmap as the game sees it: bytes / 4, bilinear between samples.
class HeightField {
  public:
    explicit HeightField(const LandRecipe& land) : bytes_(landscape_heights(land)) {}

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

// Sky light: hollows and steep faces get a little less of it.
float sky_light(const Ground& g) {
    const float hollow_shade = std::clamp(1.0f - 0.05f * g.hollow, 0.78f, 1.08f);
    const float face_shade = 1.0f - 0.12f * smoothstep(0.4f, 2.5f, g.slope);
    return hollow_shade * face_shade;
}

} // namespace

// Meadows: two greens in broad patches, dark copses of trees, flowers, bare
// earth on the steeper banks and the brown dirt track.
Colour meadow_colour(const Ground& g) {
    const Colour lush = rgb(74, 126, 42), pale = rgb(132, 156, 62), copse = rgb(34, 70, 30);
    const Colour earth = rgb(122, 98, 64), rock = rgb(128, 122, 112), track = rgb(140, 112, 74);
    Colour c = mix(lush, pale, smoothstep(-0.1f, 0.6f, g.patches));
    c = mix(c, copse, smoothstep(0.5f, 3.0f, g.hollow) * 0.5f);
    // Copses: a few woods of rounded crowns, lighter on top, dark between.
    const float trees = fractal_noise(g.x / 34.0f, g.z / 34.0f, 91u, 4);
    const float copses = smoothstep(0.24f, 0.3f, trees + 0.1f * g.patches);
    const float crowns = 0.5f + 0.5f * fractal_noise(g.x / 1.6f, g.z / 1.6f, 93u, 2);
    c = mix(c, copse * (0.7f + 0.7f * crowns), copses * (1.0f - g.feature));
    if (g.grain > 0.985f && copses < 0.5f) // flowers
        c = mix(c, g.grain > 0.993f ? rgb(240, 226, 90) : rgb(236, 236, 240), 0.8f);
    c = mix(c, earth, smoothstep(0.5f, 0.95f, g.slope + 0.15f * g.patches));
    c = mix(c, rock, smoothstep(1.0f, 1.6f, g.slope));
    return mix(c, track * (0.9f + 0.2f * g.grain), g.feature);
}

// Ridges: grass and dry grass in the valley with a stony stream bed, scree
// and grey rock with darker strata on the slopes, snow on the high, gentle
// ground.
Colour ridge_colour(const Ground& g) {
    const Colour grass = rgb(76, 116, 46), dry = rgb(118, 124, 66), stream = rgb(104, 116, 124);
    const Colour scree = rgb(140, 132, 118), rock = rgb(128, 122, 114), dark = rgb(92, 88, 84);
    const Colour snow = rgb(238, 242, 250);
    Colour c = mix(grass, dry, smoothstep(-0.3f, 0.7f, g.patches));
    c = mix(c, stream * (0.85f + 0.3f * g.grain), g.feature);
    c = mix(c, scree, smoothstep(0.45f, 0.9f, g.slope + 0.1f * g.patches));
    const float strata = 0.5f + 0.5f * std::sin(g.height * 1.7f + 2.0f * g.patches);
    Colour stone = mix(rock, dark, 0.25f * strata * strata + 0.2f * g.grain);
    c = mix(c, stone, smoothstep(0.85f, 1.5f, g.slope));
    const float snow_line = 51.0f + 4.0f * g.patches;
    const float snowy = smoothstep(snow_line, snow_line + 5.0f, g.height) *
                        (1.0f - smoothstep(1.3f, 2.2f, g.slope));
    return mix(c, snow, snowy);
}

// Basin: the dry lake's pale clay split into polygons by dark cracks with a
// ring of darker mud, sand on its shore, grass and dry grass on the floor,
// rock on the rim and snow on its highest peaks.
Colour basin_colour(const Ground& g) {
    const Colour clay = rgb(212, 196, 160), crack = rgb(136, 112, 84), mud = rgb(130, 110, 82);
    const Colour sand = rgb(206, 190, 140), grass = rgb(98, 130, 54), dry = rgb(156, 150, 88);
    const Colour rock = rgb(132, 118, 102), snow = rgb(236, 238, 244);
    // Cracks: the borders of cells about three units across, a little wider
    // where the clay dried first.
    const float warp = 0.6f * fractal_noise(g.x / 7.0f, g.z / 7.0f, 57u, 2);
    const float borders = cell_border_distance(g.x / 3.2f + warp, g.z / 3.2f - warp, 53u);
    const float width = 0.025f + 0.02f * g.patches;
    Colour bed =
        mix(crack, clay * (0.95f + 0.1f * g.grain), smoothstep(width, width + 0.06f, borders));
    bed = mix(bed, mud, smoothstep(0.55f, 0.2f, g.feature));
    Colour land = mix(grass, dry, smoothstep(-0.2f, 0.8f, g.patches + 0.02f * (g.height - 20)));
    land = mix(land, rock, smoothstep(0.6f, 1.3f, g.slope + 0.2f * g.patches));
    const float snowy = smoothstep(52.0f, 57.0f, g.height + 3.0f * g.patches) *
                        (1.0f - smoothstep(1.2f, 2.2f, g.slope));
    land = mix(land, snow, snowy);
    const float shore =
        smoothstep(0.0f, 0.12f, g.feature) * (1.0f - smoothstep(0.2f, 0.35f, g.feature));
    land = mix(land, sand, std::fmax(shore, smoothstep(0.02f, 0.15f, g.feature)));
    return mix(land, bed, smoothstep(0.25f, 0.45f, g.feature));
}

std::vector<uint8_t> landscape_base_picture(const LandRecipe& land, int size) {
    const HeightField field(land);
    const uint32_t seed = 60u + land.seed;
    const float units_per_pixel = static_cast<float>(kLandscapeSize) / size;
    std::vector<uint8_t> pixels(static_cast<size_t>(size) * size * 3);
    for (int row = 0; row < size; ++row) {
        // The first row is the picture's top, the far end of z.
        const float z = (size - 1 - row + 0.5f) * units_per_pixel;
        for (int col = 0; col < size; ++col) {
            const float x = (col + 0.5f) * units_per_pixel;
            Ground g;
            g.x = x;
            g.z = z;
            g.height = field.at(x, z);
            g.slope = field.slope(x, z);
            g.hollow = field.hollow(x, z, 6.0f);
            g.patches = fractal_noise(x / 45.0f, z / 45.0f, seed, 4);
            g.grain = hash_unit(col, row, seed);
            g.feature = land.feature(x, z);
            Colour c = land.colour(g);
            // A little per-pixel variation keeps large fields from looking flat.
            c = c * (sky_light(g) * (0.94f + 0.12f * hash_unit(col, row, seed + 7u)));
            uint8_t* p = &pixels[(static_cast<size_t>(row) * size + col) * 3];
            p[0] = static_cast<uint8_t>(std::lround(clamp01(c.r) * 255.0f));
            p[1] = static_cast<uint8_t>(std::lround(clamp01(c.g) * 255.0f));
            p[2] = static_cast<uint8_t>(std::lround(clamp01(c.b) * 255.0f));
        }
    }
    return pixels;
}

namespace {

// A pixel of the repeating detail tile, with what every grain starts from.
struct TilePoint {
    float u, v;  // eight noise lattice steps across the tile
    float speck; // pixel noise -1 .. 1
};

TilePoint tile_point(int x, int y, uint32_t seed) {
    return {static_cast<float>(x) / kDetailSize * 8.0f, static_cast<float>(y) / kDetailSize * 8.0f,
            hash_unit(x, y, seed) * 2.0f - 1.0f};
}

} // namespace

// Tufts of grass: clumps of fine noise with bright and dark specks.
float grass_grain(int x, int y, uint32_t seed) {
    const TilePoint p = tile_point(x, y, seed);
    const float tufts = fractal_noise(p.u * 2.0f, p.v * 2.0f, seed, 3, 0.6f, 16);
    return 0.55f * tufts + 0.45f * p.speck;
}

// Rock: cracks as dark lines along the zero crossings of the noise.
float rock_grain(int x, int y, uint32_t seed) {
    const TilePoint p = tile_point(x, y, seed);
    const float n = fractal_noise(p.u, p.v, seed, 4, 0.55f, 8);
    const float cracks = smoothstep(0.0f, 0.06f, std::fabs(n));
    return 0.6f * n + 0.35f * (cracks - 1.0f) + 0.35f * p.speck;
}

// Sand: fine speckle over soft ripples, a whole number of them per tile.
float sand_grain(int x, int y, uint32_t seed) {
    const TilePoint p = tile_point(x, y, seed);
    const float ripple_phase = 2.0f * 3.14159265f * (6.0f * y / kDetailSize) +
                               1.5f * fractal_noise(p.u, p.v, seed, 2, 0.5f, 8);
    return 0.35f * std::sin(ripple_phase) + 0.65f * p.speck;
}

void make_terrain_png(const LandRecipe& land, const std::filesystem::path& file) {
    write_png(file, kBaseSize, kBaseSize, 3, landscape_base_picture(land, kBaseSize));
}

void make_detail_png(const LandRecipe& land, const std::filesystem::path& file) {
    const uint32_t seed = 70u + land.seed;
    std::vector<float> grain(static_cast<size_t>(kDetailSize) * kDetailSize);
    double mean = 0.0;
    for (int y = 0; y < kDetailSize; ++y)
        for (int x = 0; x < kDetailSize; ++x) {
            grain[static_cast<size_t>(y) * kDetailSize + x] = land.grain(x, y, seed);
            mean += grain[static_cast<size_t>(y) * kDetailSize + x];
        }
    mean /= static_cast<double>(grain.size());
    std::vector<uint8_t> pixels(grain.size() * 3);
    for (size_t i = 0; i < grain.size(); ++i) {
        const float value = 128.0f + land.detail_amplitude * (grain[i] - static_cast<float>(mean));
        const auto byte = static_cast<uint8_t>(std::lround(std::clamp(value, 0.0f, 255.0f)));
        pixels[i * 3] = pixels[i * 3 + 1] = pixels[i * 3 + 2] = byte;
    }
    write_png(file, kDetailSize, kDetailSize, 3, pixels);
}
