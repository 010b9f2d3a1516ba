#include "noise.h"

#include <cmath>

namespace {

uint32_t mix_bits(uint32_t h) {
    h ^= h >> 16;
    h *= 0x7feb352du;
    h ^= h >> 15;
    h *= 0x846ca68bu;
    h ^= h >> 16;
    return h;
}

uint32_t hash_point(int x, int y, uint32_t seed) {
    return mix_bits(static_cast<uint32_t>(x) * 0x9e3779b1u ^
                    mix_bits(static_cast<uint32_t>(y) + seed));
}

// Sixteen unit directions, written out so no library trigonometry is
// involved in what ends up in the data files.
constexpr float kGradients[16][2] = {
    {1.0f, 0.0f},
    {0.9238795f, 0.3826834f},
    {0.7071068f, 0.7071068f},
    {0.3826834f, 0.9238795f},
    {0.0f, 1.0f},
    {-0.3826834f, 0.9238795f},
    {-0.7071068f, 0.7071068f},
    {-0.9238795f, 0.3826834f},
    {-1.0f, 0.0f},
    {-0.9238795f, -0.3826834f},
    {-0.7071068f, -0.7071068f},
    {-0.3826834f, -0.9238795f},
    {0.0f, -1.0f},
    {0.3826834f, -0.9238795f},
    {0.7071068f, -0.7071068f},
    {0.9238795f, -0.3826834f},
};

int wrap(int v, int period) {
    if (period <= 0) return v;
    v %= period;
    return v < 0 ? v + period : v;
}

float corner(int ix, int iy, float fx, float fy, uint32_t seed, int period) {
    const float* g = kGradients[hash_point(wrap(ix, period), wrap(iy, period), seed) & 15u];
    return g[0] * fx + g[1] * fy;
}

float fade(float t) {
    return t * t * t * (t * (t * 6.0f - 15.0f) + 10.0f);
}

float lerp(float a, float b, float t) {
    return a + (b - a) * t;
}

} // namespace

float gradient_noise(float x, float y, uint32_t seed, int period) {
    const float fx0 = std::floor(x);
    const float fy0 = std::floor(y);
    const int ix = static_cast<int>(fx0);
    const int iy = static_cast<int>(fy0);
    const float fx = x - fx0;
    const float fy = y - fy0;
    const float n00 = corner(ix, iy, fx, fy, seed, period);
    const float n10 = corner(ix + 1, iy, fx - 1.0f, fy, seed, period);
    const float n01 = corner(ix, iy + 1, fx, fy - 1.0f, seed, period);
    const float n11 = corner(ix + 1, iy + 1, fx - 1.0f, fy - 1.0f, seed, period);
    const float u = fade(fx);
    const float v = fade(fy);
    // Gradient noise of unit gradients stays within about +-0.7; scale it up.
    return 1.4f * lerp(lerp(n00, n10, u), lerp(n01, n11, u), v);
}

float fractal_noise(float x, float y, uint32_t seed, int octaves, float gain, int period) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f;
    for (int i = 0; i < octaves; ++i) {
        sum += amplitude * gradient_noise(x, y, seed + 101u * i, period);
        total += amplitude;
        amplitude *= gain;
        x *= 2.0f;
        y *= 2.0f;
        period *= 2;
    }
    return sum / total;
}

float ridged_noise(float x, float y, uint32_t seed, int octaves) {
    float sum = 0.0f, amplitude = 1.0f, total = 0.0f, weight = 1.0f;
    for (int i = 0; i < octaves; ++i) {
        float n = 1.0f - std::fabs(gradient_noise(x, y, seed + 131u * i));
        n *= n;
        sum += amplitude * n * weight;
        total += amplitude;
        weight = std::fmin(1.0f, n * 1.5f);
        amplitude *= 0.5f;
        x *= 2.0f;
        y *= 2.0f;
    }
    return sum / total;
}

float hash_unit(int x, int y, uint32_t seed) {
    return static_cast<float>(hash_point(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float cell_border_distance(float x, float y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x));
    const int iy = static_cast<int>(std::floor(y));
    float nearest = 1e9f, second = 1e9f;
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx) {
            const int cx = ix + dx, cy = iy + dy;
            const float px = cx + 0.05f + 0.9f * hash_unit(cx, cy, seed);
            const float py = cy + 0.05f + 0.9f * hash_unit(cx, cy, seed + 1u);
            const float d = std::sqrt((px - x) * (px - x) + (py - y) * (py - y));
            if (d < nearest) {
                second = nearest;
                nearest = d;
            } else if (d < second) {
                second = d;
            }
        }
    return 0.5f * (second - nearest);
}
