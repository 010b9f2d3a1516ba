#include "model_pictures.h"

#include "ms3d_writer.h"
#include "png_writer.h"

#include <algorithm>
#include <cmath>

namespace {

int wrap(int value, int period) {
    int r = value % period;
    return r < 0 ? r + period : r;
}

} // namespace

float tiled_noise(float x, float y, int period, uint32_t seed) {
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float fx = smoothstep(0.0f, 1.0f, x - static_cast<float>(ix));
    float fy = smoothstep(0.0f, 1.0f, y - static_cast<float>(iy));
    auto at = [&](int cx, int cy) { return hash_unit(wrap(cx, period), wrap(cy, period), seed); };
    float top = at(ix, iy) * (1 - fx) + at(ix + 1, iy) * fx;
    float bottom = at(ix, iy + 1) * (1 - fx) + at(ix + 1, iy + 1) * fx;
    return top * (1 - fy) + bottom * fy;
}

float tiled_fractal(float x, float y, int period, uint32_t seed) {
    float sum = 0.0f, weight = 0.5f;
    for (int octave = 0; octave < 4; ++octave) {
        sum += tiled_noise(x, y, period, seed + static_cast<uint32_t>(octave)) * weight;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
        weight *= 0.5f;
    }
    return sum / 0.9375f;
}

float tiled_cells(float u, float v, int cells, uint32_t seed, uint32_t* cell_id) {
    float x = u * static_cast<float>(cells), y = v * static_cast<float>(cells);
    int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    float best = 1e9f;
    for (int dy = -1; dy <= 1; dy++)
        for (int dx = -1; dx <= 1; dx++) {
            int cx = wrap(ix + dx, cells), cy = wrap(iy + dy, cells);
            float px = static_cast<float>(ix + dx) + 0.15f + 0.7f * hash_unit(cx, cy, seed);
            float py = static_cast<float>(iy + dy) + 0.15f + 0.7f * hash_unit(cx, cy, seed + 7);
            float d = std::hypot(x - px, y - py);
            if (d < best) {
                best = d;
                if (cell_id) *cell_id = static_cast<uint32_t>(hash_unit(cx, cy, seed + 13) * 16777216.0f);
            }
        }
    return best;
}

void write_canvas(const std::filesystem::path& file, const Canvas& canvas, int channels) {
    std::vector<uint8_t> bytes = canvas.bytes(channels);
    write_png(file, canvas.width, canvas.height, channels, bytes);
}

void write_text_file(const std::filesystem::path& file, const std::string& text) {
    write_file_bytes(file, std::vector<uint8_t>(text.begin(), text.end()));
}

void make_model_shade_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    // Light from the upper left, in front; a little warmth where it is lit.
    const float lx = -0.45f, ly = 0.6f, lz = 0.66f;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            // The picture's top row is t = 1, where the normals point up.
            float nx = (static_cast<float>(x) + 0.5f) / kSize * 2.0f - 1.0f;
            float ny = 1.0f - (static_cast<float>(y) + 0.5f) / kSize * 2.0f;
            float r = std::sqrt(nx * nx + ny * ny);
            if (r > 0.999f) { // outside the disc: the rim's own shade
                nx *= 0.999f / r;
                ny *= 0.999f / r;
                r = 0.999f;
            }
            float nz = std::sqrt(1.0f - r * r);
            float lit = std::max(0.0f, (nx * lx + ny * ly + nz * lz) / 0.9925f);
            float rim = smoothstep(0.75f, 1.0f, r); // faces turned away darken
            float value = 0.6f + 0.45f * lit - 0.12f * rim;
            canvas.set(x, y, {value * 1.02f, value, value * 0.96f});
        }
    write_canvas(file, canvas, 3);
}
