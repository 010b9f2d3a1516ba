// Shapes as signed distance functions for the picture makers: the distance in
// pixels from a point to a shape's edge, negative inside. A pixel's coverage,
// and with it the anti-aliasing, comes straight from the distance at its
// centre. Also hashed value noise for texture without stored random numbers.
#pragma once

#include "raster.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace sdf {

struct Vec {
    float x = 0, y = 0;
};

inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y};
}
inline Vec operator*(Vec a, float k) {
    return {a.x * k, a.y * k};
}
inline float dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y;
}
inline float length(Vec a) {
    return std::sqrt(dot(a, a));
}
inline Vec lerp(Vec a, Vec b, float t) {
    return a + (b - a) * t;
}
// Turns a point about the origin; positive angles turn clockwise on a picture
// whose rows go down.
Vec rotated(Vec p, float angle);

float circle(Vec p, Vec centre, float radius);
// Close to the true distance for ellipses that are not too flat.
float ellipse(Vec p, Vec centre, Vec radii);
// Distance to the segment a-b; *along gets the nearest point's position on it (0..1).
float segment(Vec p, Vec a, Vec b, float* along = nullptr);
// A rounded cone from a circle of radius ra at a to one of radius rb at b.
float tapered(Vec p, Vec a, float ra, Vec b, float rb);
// A rectangle given by its centre and half sizes, corners rounded by radius.
float rounded_box(Vec p, Vec centre, Vec half, float radius);

inline float unite(float a, float b) {
    return std::min(a, b);
}
inline float intersect(float a, float b) {
    return std::max(a, b);
}
inline float subtract(float from, float cut) {
    return std::max(from, -cut);
}
// Union that melts the two shapes together over about k pixels.
float smooth_union(float a, float b, float k);

inline float coverage(float distance) {
    return clamp01(0.5f - distance);
}

// The point at t (0..1) of the quadratic curve from a to b pulled towards c.
inline Vec bezier(Vec a, Vec c, Vec b, float t) {
    return lerp(lerp(a, c, t), lerp(c, b, t), t);
}

// A stroke along the quadratic curve a-c-b whose half width at t (0..1) is
// width(t): eyebrows, lips, lids and cuts that swell and taper.
template <typename Width> float curve(Vec p, Vec a, Vec c, Vec b, Width width) {
    constexpr int kPieces = 24;
    float best = 1e9f;
    Vec from = a;
    for (int i = 1; i <= kPieces; ++i) {
        const Vec to = bezier(a, c, b, static_cast<float>(i) / kPieces);
        float t;
        const float d = segment(p, from, to, &t);
        best = std::min(best, d - width((i - 1 + t) / kPieces));
        from = to;
    }
    return best;
}

// Integer hash and value noise, 0..1.
uint32_t hash(int x, int y, uint32_t seed);
float hash01(int x, int y, uint32_t seed);
float value_noise(float x, float y, uint32_t seed);
// Four octaves, 0..1 around 0.5.
float fractal_noise(float x, float y, uint32_t seed);

// The direction in which a shape's distance grows fastest at p, not
// normalised: outward from the shape, about unit length near its edge.
template <typename Sdf> Vec gradient(Sdf sdf, Vec p) {
    return {sdf(p + Vec{0.5f, 0}) - sdf(p - Vec{0.5f, 0}),
            sdf(p + Vec{0, 0.5f}) - sdf(p - Vec{0, 0.5f})};
}

// Turns a function that is negative inside a shape and grows outwards, but
// not at one pixel per pixel (curves given as y = f(x)), into a close enough
// distance, so its edge gets the same one-pixel anti-aliasing as the others.
template <typename Field> auto normalised(Field field) {
    return [field](Vec p) {
        const float d = field(p);
        return d / std::clamp(length(gradient(field, p)), 0.25f, 4.0f);
    };
}

// Paints a shape over the canvas: shade gives the colour of a covered pixel
// from its centre and its distance; coverage becomes the paint's opacity, so
// transparent parts of the canvas become opaque where the shape covers them.
template <typename Sdf, typename Shade> void paint(Canvas& canvas, Sdf sdf, Shade shade) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const Vec p = {x + 0.5f, y + 0.5f};
            const float d = sdf(p);
            if (d >= 0.5f) continue;
            canvas.blend(x, y, shade(p, d), coverage(d));
        }
}

// Paints a flat colour over a shape.
template <typename Sdf> void fill(Canvas& canvas, Sdf sdf, Colour colour, float opacity = 1.0f) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float d = sdf(Vec{x + 0.5f, y + 0.5f});
            if (d < 0.5f) canvas.blend(x, y, colour, coverage(d) * opacity);
        }
}

// Changes the colour where the amount (0..1) is above 0, in proportion to
// what is already painted there, and leaves the alpha alone: shadows, tints
// and stains that must not spill past the silhouette.
template <typename Amount> void glaze(Canvas& canvas, Colour colour, Amount amount) {
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x) {
            const float painted = canvas.rgba[(static_cast<size_t>(y) * canvas.width + x) * 4 + 3];
            if (painted <= 0.0f) continue;
            const float a = clamp01(amount(Vec{x + 0.5f, y + 0.5f})) * painted;
            if (a > 0.0f) canvas.set(x, y, mix(canvas.colour(x, y), colour, a));
        }
}

} // namespace sdf
