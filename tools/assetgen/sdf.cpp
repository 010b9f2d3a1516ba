#include "sdf.h"

#include <algorithm>

namespace sdf {

Vec rotated(Vec p, float angle) {
    const float c = std::cos(angle), s = std::sin(angle);
    return {c * p.x - s * p.y, s * p.x + c * p.y};
}

float circle(Vec p, Vec centre, float radius) {
    return length(p - centre) - radius;
}

float ellipse(Vec p, Vec centre, Vec radii) {
    const Vec q = p - centre;
    const float k0 = length({q.x / radii.x, q.y / radii.y});
    const float k1 = length({q.x / (radii.x * radii.x), q.y / (radii.y * radii.y)});
    return k0 < 1e-6f ? -std::min(radii.x, radii.y) : k0 * (k0 - 1.0f) / k1;
}

float segment(Vec p, Vec a, Vec b, float* along) {
    const Vec ab = b - a;
    const float t = std::clamp(dot(p - a, ab) / dot(ab, ab), 0.0f, 1.0f);
    if (along) *along = t;
    return length(p - (a + ab * t));
}

float tapered(Vec p, Vec a, float ra, Vec b, float rb) {
    const Vec axis = b - a;
    const float h = length(axis);
    const Vec u = axis * (1.0f / h);
    const Vec q = p - a;
    const Vec local = {std::abs(q.x * u.y - q.y * u.x), dot(q, u)};
    const float slope = (ra - rb) / h;
    const float across = std::sqrt(1.0f - slope * slope);
    const float k = dot(local, {-slope, across});
    if (k < 0.0f) return length(local) - ra;
    if (k > across * h) return length(local - Vec{0.0f, h}) - rb;
    return dot(local, {across, slope}) - ra;
}

float rounded_box(Vec p, Vec centre, Vec half, float radius) {
    const Vec q = {std::abs(p.x - centre.x) - half.x + radius,
                   std::abs(p.y - centre.y) - half.y + radius};
    const Vec outside = {std::max(q.x, 0.0f), std::max(q.y, 0.0f)};
    return length(outside) + std::min(std::max(q.x, q.y), 0.0f) - radius;
}

float smooth_union(float a, float b, float k) {
    const float h = clamp01(0.5f + 0.5f * (b - a) / k);
    return b * (1.0f - h) + a * h - k * h * (1.0f - h);
}

uint32_t hash(int x, int y, uint32_t seed) {
    uint32_t h = seed * 0x9E3779B9u ^ static_cast<uint32_t>(x) * 0x85EBCA6Bu ^
                 static_cast<uint32_t>(y) * 0xC2B2AE35u;
    h ^= h >> 16;
    h *= 0x7FEB352Du;
    h ^= h >> 15;
    h *= 0x846CA68Bu;
    h ^= h >> 16;
    return h;
}

float hash01(int x, int y, uint32_t seed) {
    return (hash(x, y, seed) >> 8) * (1.0f / 16777216.0f);
}

float value_noise(float x, float y, uint32_t seed) {
    const int ix = static_cast<int>(std::floor(x)), iy = static_cast<int>(std::floor(y));
    const float fx = smoothstep(0.0f, 1.0f, x - ix), fy = smoothstep(0.0f, 1.0f, y - iy);
    const float top = hash01(ix, iy, seed) * (1 - fx) + hash01(ix + 1, iy, seed) * fx;
    const float bottom = hash01(ix, iy + 1, seed) * (1 - fx) + hash01(ix + 1, iy + 1, seed) * fx;
    return top * (1 - fy) + bottom * fy;
}

float fractal_noise(float x, float y, uint32_t seed) {
    float sum = 0.0f, weight = 0.5f;
    for (int octave = 0; octave < 4; ++octave) {
        sum += value_noise(x, y, seed + octave) * weight;
        x *= 2.03f;
        y *= 2.03f;
        weight *= 0.5f;
    }
    return sum / 0.9375f;
}

} // namespace sdf
