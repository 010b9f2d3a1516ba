// Shadow pass: owns the ray march over the height grid, the smoothing of the
// shade map and the darkening of the base picture.
//
// The march is the level load's longest work (width x height x 128 grid
// lookups), so it is reorganised without changing a single decision it
// makes. All rays are parallel: the x of a ray after k steps depends only on
// its starting column, its z only on its starting row, and its height only
// on its own starting height, each accumulated step by step exactly as a
// point-by-point march would. Heights read from a landscape file take only
// 256 levels (quarters from 0 to 63.75), so the grid is kept as levels, and
// for every starting level and step the table holds the highest ground level
// that does not block the ray there (a level L is above the height y exactly
// when L > floor(4 y)). The columns reached after each step are tabulated
// once per starting column. The rays of a grid row advance in bunches of 16
// neighbours, all of a bunch reading the same grid row at every step and,
// since x grows with the starting column, a run of at most 17 neighbouring
// samples. A step needs no lookups when the highest level of that run
// (tabulated per grid position) does not block the lowest ray still lit; a
// bunch is done when all its rays are shadowed or, with the sun above the
// horizon, when its lowest lit ray clears every grid row still ahead.
// Other heights (never in a level) are marched point by point.
#include "terrain/shadow.h"

#include "terrain/grid.h"
#include "textures/texture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>

namespace {

// Rays marched together, and the run of samples they can reach in a step.
constexpr int BUNCH = 16;
constexpr int RUN = BUNCH + 1;
constexpr uint32_t WHOLE_BUNCH = (1u << BUNCH) - 1;

// Heights as levels 0 .. 255 of a quarter unit each, the values a
// landscape file gives.
constexpr int LEVELS = 256;

// Rays move less than one unit per step along x, so 128 steps stay within
// this many columns of their start (bunches reach up to 15 columns past the
// grid's side, and a run 17 samples beyond its first); grid rows are padded
// with level 0 (the height outside the grid) by this much on both sides.
constexpr int ROW_PAD = SHADOW_MARCH_STEPS + 2 * RUN + 2;

struct MarchGrid {
    int side = 0;
    int stride = 0;               // side + 2 * ROW_PAD
    std::vector<uint8_t> rows;    // side padded rows of levels, then one row of zeros
    std::vector<uint8_t> runs;    // the same layout: the highest of 17 levels from each
    std::vector<int> row_max;     // highest level of each row
    size_t offset(int z) const {
        size_t index = (z >= 0 && z < side) ? static_cast<size_t>(z) : static_cast<size_t>(side);
        return index * stride + ROW_PAD;
    }
    const uint8_t* row(int z) const { return rows.data() + offset(z); }
    const uint8_t* run(int z) const { return runs.data() + offset(z); }
    int max_of(int z) const { return z >= 0 && z < side ? row_max[z] : 0; }
};

// Each entry becomes the highest of itself and the next RUN - 1 entries;
// the last few of the line, where the run would pass its end, are never
// read (rays stay ROW_PAD - RUN columns clear of a padded row's end).
void fill_run_maxima(const uint8_t* line, uint8_t* run, int length) {
    std::copy(line, line + length, run);
    for (int span = 1; span < RUN;) { // spans 2, 4, 8 ... then RUN samples
        const int reach = std::min(span, RUN - span);
        for (int p = 0; p + reach < length; p++)
            run[p] = std::max(run[p], run[p + reach]);
        span += reach;
    }
}

// The levels of every grid point, row-major; false when some height is not
// a quarter from 0 to 63.75.
bool quantize_heights(const Terrain& land, std::vector<uint8_t>& levels) {
    levels.resize(land.heights.size());
    for (size_t i = 0; i < land.heights.size(); i++) {
        const float h = land.heights[i];
        if (!(h >= 0.0f && h <= 63.75f)) return false;
        const int level = static_cast<int>(h * 4.0f);
        if (static_cast<float>(level) * 0.25f != h) return false;
        levels[i] = static_cast<uint8_t>(level);
    }
    return true;
}

MarchGrid padded_grid(const std::vector<uint8_t>& levels, int side) {
    MarchGrid grid;
    grid.side = side;
    grid.stride = side + 2 * ROW_PAD;
    grid.rows.assign(static_cast<size_t>(grid.stride) * (side + 1), 0);
    grid.runs.assign(grid.rows.size(), 0);
    grid.row_max.assign(side, 0);
    for (int z = 0; z < side; z++) {
        const uint8_t* source = levels.data() + static_cast<size_t>(z) * side;
        uint8_t* line = grid.rows.data() + static_cast<size_t>(z) * grid.stride;
        std::copy(source, source + side, line + ROW_PAD);
        grid.row_max[z] = *std::max_element(source, source + side);
        fill_run_maxima(line, grid.runs.data() + static_cast<size_t>(z) * grid.stride,
                        grid.stride);
    }
    return grid;
}

// For every step (1 .. 128, row step - 1) and starting level, the highest
// ground level that does not block the ray: floor(4 y) for the ray's height
// y, kept within -1 (every level blocks) .. 255 (none does).
std::vector<int16_t> clear_levels(float dy) {
    std::vector<int16_t> table(static_cast<size_t>(SHADOW_MARCH_STEPS) * LEVELS);
    for (int level = 0; level < LEVELS; level++) {
        float y = static_cast<float>(level) * 0.25f;
        for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
            y += dy;
            const float four_y = std::floor(y * 4.0f);
            table[static_cast<size_t>(step) * LEVELS + level] =
                static_cast<int16_t>(std::clamp(four_y, -1.0f, 255.0f));
        }
    }
    return table;
}

// The column each ray stands over after each step: SHADOW_MARCH_STEPS rows
// of one entry per starting column (columns past the grid's side included,
// up to a whole number of bunches), x accumulated one step at a time.
std::vector<int> column_table(int columns, float dx) {
    std::vector<int> table(static_cast<size_t>(SHADOW_MARCH_STEPS) * columns);
    for (int col = 0; col < columns; col++) {
        float x = static_cast<float>(col);
        for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
            x += dx;
            table[static_cast<size_t>(step) * columns + col] = static_cast<int>(x);
        }
    }
    return table;
}

// What the rays of one grid row meet at each step: the grid row under them
// and its highest level, and the highest level of all rows still ahead.
struct RowPath {
    int grid_row[SHADOW_MARCH_STEPS];
    int row_max[SHADOW_MARCH_STEPS];
    int ahead_max[SHADOW_MARCH_STEPS + 1]; // rows of steps k .. 127
};

void trace_row_path(const MarchGrid& grid, int row, float dz, RowPath& path) {
    float z = static_cast<float>(row);
    for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
        z += dz;
        path.grid_row[step] = static_cast<int>(z);
        path.row_max[step] = grid.max_of(path.grid_row[step]);
    }
    path.ahead_max[SHADOW_MARCH_STEPS] = -1;
    for (int step = SHADOW_MARCH_STEPS - 1; step >= 0; step--)
        path.ahead_max[step] = std::max(path.ahead_max[step + 1], path.row_max[step]);
}

// What a march needs besides the grid: the reached columns and the clear
// levels, with the number of columns in a row of the column table.
struct MarchTables {
    std::vector<int> columns;
    int column_count = 0;
    std::vector<int16_t> clear;
    bool rising = false; // the sun above the horizon: rays only go up
};

// The lowest starting level among the rays not yet shadowed; LEVELS - 1 when
// there is none. Float addition keeps order, so that ray stays the lowest.
int lowest_lit(const uint8_t level[BUNCH], uint32_t shadowed) {
    int lowest = LEVELS - 1;
    for (int j = 0; j < BUNCH; j++)
        if (!(shadowed >> j & 1u)) lowest = std::min(lowest, static_cast<int>(level[j]));
    return lowest;
}

// Marches the bunch of rays from columns first .. first + 15 of a row; bit j
// of the result is set when ray j is shadowed. Rays already marked in
// `shadowed` (beyond the grid) are not looked at.
uint32_t march_bunch(const MarchGrid& grid, const RowPath& path, const MarchTables& tables,
                     int first, const uint8_t level[BUNCH], uint32_t shadowed) {
    int lowest = lowest_lit(level, shadowed);
    for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
        const int16_t* clear = tables.clear.data() + static_cast<size_t>(step) * LEVELS;
        const int lowest_clear = clear[lowest];
        if (path.row_max[step] > lowest_clear) {
            const int* reached =
                tables.columns.data() + static_cast<size_t>(step) * tables.column_count + first;
            const int grid_row = path.grid_row[step];
            if (reached[BUNCH - 1] - reached[0] >= RUN ||
                grid.run(grid_row)[reached[0]] > lowest_clear) {
                const uint8_t* ground = grid.row(grid_row);
                uint32_t blocked = 0;
                for (int j = 0; j < BUNCH; j++)
                    blocked |= static_cast<uint32_t>(ground[reached[j]] > clear[level[j]]) << j;
                if (blocked & ~shadowed) {
                    shadowed |= blocked;
                    if (shadowed == WHOLE_BUNCH) return shadowed;
                    lowest = lowest_lit(level, shadowed);
                    continue;
                }
            }
        }
        // Rays only rise: once above every row ahead, nothing can block them.
        if (tables.rising && lowest_clear >= path.ahead_max[step + 1]) break;
    }
    return shadowed;
}

void march_row(const MarchGrid& grid, const MarchTables& tables, int row, float dz, int* shade) {
    const int side = grid.side;
    RowPath path;
    trace_row_path(grid, row, dz, path);
    const uint8_t* start = grid.row(row);
    for (int first = 0; first < side; first += BUNCH) {
        uint8_t level[BUNCH];
        uint32_t beyond = 0; // rays past the grid's side start shadowed and are ignored
        for (int j = 0; j < BUNCH; j++) {
            level[j] = start[first + j];
            if (first + j >= side) beyond |= 1u << j;
        }
        const uint32_t shadowed = march_bunch(grid, path, tables, first, level, beyond);
        for (int j = 0; j < BUNCH && first + j < side; j++)
            shade[first + j] = (shadowed >> j & 1u) ? SHADE_SHADOWED : SHADE_LIT;
    }
}

// One point at a time, for heights that are not a landscape file's.
void march_points(const Terrain& land, float dx, float dy, float dz, std::vector<int>& shade) {
    for (int row = 0; row < land.height; row++)
        for (int col = 0; col < land.width; col++) {
            float x = static_cast<float>(col), z = static_cast<float>(row);
            float y = terrain_sample(col, row, land);
            for (int step = 0; step < SHADOW_MARCH_STEPS; step++) {
                x += dx;
                z += dz;
                y += dy;
                if (terrain_sample(static_cast<int>(x), static_cast<int>(z), land) > y) {
                    shade[static_cast<size_t>(row) * land.width + col] = SHADE_SHADOWED;
                    break;
                }
            }
        }
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
    std::vector<uint8_t> levels;
    if (!quantize_heights(land, levels)) {
        march_points(land, dx, dy, dz, shade);
        return shade;
    }
    const MarchGrid grid = padded_grid(levels, side);
    MarchTables tables;
    tables.column_count = (side + BUNCH - 1) / BUNCH * BUNCH;
    tables.columns = column_table(tables.column_count, dx);
    tables.clear = clear_levels(dy);
    tables.rising = dy >= 0.0f;
    for (int row = 0; row < side; row++)
        march_row(grid, tables, row, dz, shade.data() + static_cast<size_t>(row) * side);
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
