// Shadow pass: owns the ray march over the height grid, the smoothing of the
// shade map and the darkening of the base picture.
//
// The march is the level load's longest work (width x height x 128 grid
// lookups), so it is reorganised without changing a single float it
// computes. All rays are parallel: the x of a ray after k steps depends only
// on its starting column, its z only on its starting row, and its height
// only on its own starting height, each accumulated step by step exactly as
// a point-by-point march would. So the columns reached after each step are
// tabulated once, and a whole row of rays advances one step at a time, every
// ray of the row reading the same grid row. A ray is shadowed when any of
// its steps finds the ground above it; steps whose grid row lies everywhere
// below the lowest ray of the row only move the rays, and a rising row is
// done once its lowest ray is above the highest ground.
#include "terrain/shadow.h"

#include "terrain/terrain.h"
#include "textures/texture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Rays move less than one unit per step along x, so 128 steps stay within
// this many columns of their start; grid rows are padded with zeros (the
// height outside the grid) by this much on both sides.
constexpr int ROW_PAD = SHADOW_MARCH_STEPS + 2;

struct MarchGrid {
    int side = 0;
    int stride = 0;             // side + 2 * ROW_PAD
    std::vector<float> rows;    // side padded rows, then one row of zeros
    std::vector<float> row_max; // highest sample of each row, then 0 for the zero row
    float highest = 0.0f;
    const float* row(int z) const {
        size_t index = (z >= 0 && z < side) ? static_cast<size_t>(z) : static_cast<size_t>(side);
        return rows.data() + index * stride + ROW_PAD;
    }
    float max_of(int z) const { return z >= 0 && z < side ? row_max[z] : 0.0f; }
};

MarchGrid padded_grid(const Terrain& land) {
    MarchGrid grid;
    grid.side = land.width;
    grid.stride = land.width + 2 * ROW_PAD;
    grid.rows.assign(static_cast<size_t>(grid.stride) * (land.width + 1), 0.0f);
    grid.row_max.assign(land.width, 0.0f);
    grid.highest = 0.0f;
    for (int z = 0; z < land.width; z++) {
        const float* source = land.heights.data() + static_cast<size_t>(z) * land.width;
        float* target = grid.rows.data() + static_cast<size_t>(z) * grid.stride + ROW_PAD;
        std::copy(source, source + land.width, target);
        grid.row_max[z] = *std::max_element(source, source + land.width);
        grid.highest = std::max(grid.highest, grid.row_max[z]);
    }
    return grid;
}

// The column each ray stands over after each step: SHADOW_MARCH_STEPS rows
// of one entry per starting column, x accumulated one step at a time.
std::vector<int> column_table(int side, float dx) {
    std::vector<int> table(static_cast<size_t>(SHADOW_MARCH_STEPS) * side);
    for (int col = 0; col < side; col++) {
        float x = static_cast<float>(col);
        for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
            x += dx;
            table[static_cast<size_t>(step) * side + col] = static_cast<int>(x);
        }
    }
    return table;
}

// Marches every ray of one grid row; shade gets the row's results.
void march_row(const MarchGrid& grid, const std::vector<int>& columns, int row, float dy, float dz,
               std::vector<float>& ray_y, std::vector<uint8_t>& shadowed, int* shade) {
    const int side = grid.side;
    const float* start = grid.row(row);
    std::copy(start, start + side, ray_y.begin());
    std::fill(shadowed.begin(), shadowed.end(), uint8_t{0});
    // Float addition keeps order, so the ray that starts lowest stays lowest.
    float lowest = *std::min_element(ray_y.begin(), ray_y.end());
    float z = static_cast<float>(row);
    for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
        z += dz;
        lowest += dy;
        const int grid_row = static_cast<int>(z);
        float* y = ray_y.data();
        if (grid.max_of(grid_row) <= lowest) {
            // No sample of that row is above any ray: just move the rays.
            if (dy >= 0.0f && lowest >= grid.highest) break; // and none ever will be
            for (int col = 0; col < side; col++)
                y[col] += dy;
            continue;
        }
        const float* ground = grid.row(grid_row);
        const int* reached = columns.data() + static_cast<size_t>(step) * side;
        uint8_t* blocked = shadowed.data();
        for (int col = 0; col < side; col++) {
            y[col] += dy;
            blocked[col] |= static_cast<uint8_t>(ground[reached[col]] > y[col]);
        }
    }
    for (int col = 0; col < side; col++)
        shade[col] = shadowed[col] ? SHADE_SHADOWED : SHADE_LIT;
}

} // namespace

std::vector<int> terrain_shadow_map(const Terrain& land, float elevation, float azimuth) {
    if (land.width <= 0 || land.width != land.height || land.heights.empty()) return {};
    const int side = land.width;
    std::vector<int> shade(static_cast<size_t>(side) * side, SHADE_LIT);
    const float dx = std::cos(azimuth) * std::cos(elevation);
    const float dz = std::sin(azimuth) * std::cos(elevation);
    const float dy = -std::sin(elevation);
    if (!std::isfinite(dx) || !std::isfinite(dz) || !std::isfinite(dy)) return shade;
    const MarchGrid grid = padded_grid(land);
    const std::vector<int> columns = column_table(side, dx);
    std::vector<float> ray_y(side);
    std::vector<uint8_t> shadowed(side);
    for (int row = 0; row < side; row++)
        march_row(grid, columns, row, dy, dz, ray_y, shadowed,
                  shade.data() + static_cast<size_t>(row) * side);
    return shade;
}

void terrain_smooth_shades(std::vector<int>& shade, int side) {
    if (side < 3 || shade.size() < static_cast<size_t>(side) * side) return;
    for (int pass = 0; pass < 4; pass++)
        for (int row = 1; row < side - 1; row++) {
            int* line = shade.data() + static_cast<size_t>(row) * side;
            const int* above = line - side;
            const int* below = line + side;
            for (int col = 1; col < side - 1; col++)
                line[col] =
                    (above[col] + below[col] + line[col - 1] + line[col + 1] + line[col]) / 5;
        }
}

void terrain_darken_picture(Texture& picture, const std::vector<int>& shade, int side) {
    const int bytes_per_pixel = picture.bpp / 8;
    if (side <= 0 || shade.size() < static_cast<size_t>(side) * side) return;
    if (bytes_per_pixel < 3 || picture.width <= 0 || picture.height <= 0) return;
    const size_t width = static_cast<size_t>(picture.width);
    const size_t height = static_cast<size_t>(picture.height);
    if (picture.pixels.size() < width * height * bytes_per_pixel) return;
    const size_t grid = static_cast<size_t>(side);
    for (size_t ty = 0; ty < height; ty++) {
        const int* shade_row = shade.data() + (ty * grid / height) * grid;
        uint8_t* pixel = picture.pixels.data() + ty * width * bytes_per_pixel;
        for (size_t tx = 0; tx < width; tx++, pixel += bytes_per_pixel) {
            const unsigned s = static_cast<unsigned>(shade_row[tx * grid / width]);
            for (int c = 0; c < 3; c++)
                pixel[c] = static_cast<uint8_t>(pixel[c] * s / 255u);
        }
    }
}

void terrain_shade(Terrain& land, float elevation, float azimuth) {
    if (!land.base_texture) return;
    std::vector<int> shade = terrain_shadow_map(land, elevation, azimuth);
    if (shade.empty()) return;
    terrain_smooth_shades(shade, land.width);
    terrain_darken_picture(*land.base_texture, shade, land.width);
    texture_reload(land.base_texture); // only the base picture changed
}
