#include "dead.h"

#include "png_writer.h"
#include "raster.h"
#include "sdf.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <vector>

// The picture is painted in layers, back to front: a blood-red glow, blood
// running down from the top edge, a ram's skull with spiral horns and glowing
// eyes, and the words GAME OVER. Shapes are signed distance functions in
// pixels (negative inside), so the coverage of a pixel, and with it the
// anti-aliasing, comes straight from the distance at its centre.

namespace {

constexpr int kSize = 512;
constexpr float kCentreX = kSize / 2.0f;
constexpr float kPi = 3.14159265358979f;

using sdf::circle;
using sdf::coverage;
using sdf::ellipse;
using sdf::fractal_noise;
using sdf::hash01;
using sdf::length;
using sdf::rotated;
using sdf::segment;
using sdf::smooth_union;
using sdf::tapered;
using sdf::value_noise;
using sdf::Vec;

// The skull and horns are drawn in their own coordinates: folded onto the
// right half (they are symmetric, x counts from the middle) and lowered a
// little from where their measurements place them.
constexpr float kSkullDrop = 14.0f;
Vec mirrored(Vec p) {
    return {std::abs(p.x - kCentreX), p.y - kSkullDrop};
}

// A small fixed-seed generator for placing the blood drips.
class Random {
  public:
    explicit Random(uint32_t seed) : state_(seed) {}
    float uniform(float low, float high) {
        state_ = state_ * 1664525u + 1013904223u;
        return low + (high - low) * ((state_ >> 8) * (1.0f / 16777216.0f));
    }

  private:
    uint32_t state_;
};

// Light from the upper left and in front of the picture.
float diffuse(float nx, float ny, float nz) {
    constexpr float lx = -0.45f, ly = -0.6f, lz = 0.66f;
    const float n = std::sqrt(nx * nx + ny * ny + nz * nz);
    return std::max(0.0f, (nx * lx + ny * ly + nz * lz) / n);
}

// Highlight of a glossy surface seen from straight ahead.
float specular(float nx, float ny, float nz, float power) {
    constexpr float hx = -0.45f * 0.5f, hy = -0.6f * 0.5f, hz = (0.66f + 1.0f) * 0.5f;
    const float h = std::sqrt(hx * hx + hy * hy + hz * hz);
    const float n = std::sqrt(nx * nx + ny * ny + nz * nz);
    return std::pow(std::max(0.0f, (nx * hx + ny * hy + nz * hz) / (n * h)), power);
}

// Paints a shape: sdf gives the distance, shade the colour of a covered pixel
// from its position, distance and the distance's gradient (the outward
// direction, used to round the shape off near its edge).
template <typename Sdf, typename Shade> void paint_rounded(Canvas& canvas, Sdf sdf, Shade shade) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const Vec p = {x + 0.5f, y + 0.5f};
            const float d = sdf(p);
            if (d >= 0.5f) continue;
            const Vec gradient = {(sdf(p + Vec{0.5f, 0}) - sdf(p - Vec{0.5f, 0})),
                                  (sdf(p + Vec{0, 0.5f}) - sdf(p - Vec{0, 0.5f}))};
            canvas.blend(x, y, shade(p, d, gradient), coverage(d));
        }
}

// Surface normal of a shape that is flat inside and rounds off over `rim`
// pixels towards its edge, like a pillow.
std::array<float, 3> pillow_normal(float d, Vec gradient, float rim) {
    const float bend = 1.8f * (1.0f - smoothstep(0.0f, rim, -d));
    return {gradient.x * bend, gradient.y * bend, 1.0f};
}

// --- background -----------------------------------------------------------

void paint_background(Canvas& canvas) {
    const Colour core = {0.50f, 0.04f, 0.035f};
    const Colour middle = {0.22f, 0.012f, 0.015f};
    const Colour edge = {0.035f, 0.0f, 0.004f};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - kCentreX) / 300.0f, dy = (y + 0.5f - 215.0f) / 300.0f;
            const float r = std::sqrt(dx * dx + dy * dy);
            Colour c = r < 0.5f ? mix(core, middle, smoothstep(0.0f, 0.5f, r))
                                : mix(middle, edge, smoothstep(0.5f, 1.05f, r));
            // Slow smoky swirls, then a fine grain that also hides banding.
            const float smoke = fractal_noise(x / 70.0f, y / 70.0f, 11);
            c = c * (0.7f + 0.6f * smoke);
            const float grain = (hash01(x, y, 3) - 0.5f) * (3.0f / 255.0f);
            canvas.set(x, y, c + Colour{grain, grain, grain});
        }
}

// --- blood running down from the top edge ----------------------------------

struct Drip {
    float x, length, radius;
};

std::vector<Drip> make_drips() {
    Random random(0x5EEDu);
    std::vector<Drip> drips;
    for (float x = 10.0f; x < kSize; x += random.uniform(22.0f, 44.0f))
        drips.push_back({x, random.uniform(20.0f, 150.0f), random.uniform(4.0f, 8.0f)});
    return drips;
}

void paint_blood(Canvas& canvas) {
    const std::vector<Drip> drips = make_drips();
    auto sdf = [&](Vec p) {
        // A wavy sheet along the top edge with runs hanging from it.
        float d =
            p.y - (12.0f + 5.0f * std::sin(p.x * 0.05f) + 3.0f * std::sin(p.x * 0.13f + 1.0f));
        for (const Drip& drip : drips) {
            if (std::abs(p.x - drip.x) > 3.0f * drip.radius + 12.0f) continue;
            const Vec end = {drip.x, drip.length};
            d = smooth_union(d, segment(p, {drip.x, 0.0f}, end) - drip.radius * 0.7f, 10.0f);
            d = smooth_union(d, circle(p, end + Vec{0.0f, drip.radius * 0.4f}, drip.radius), 6.0f);
        }
        return d;
    };
    const Colour blood = {0.62f, 0.01f, 0.03f};
    paint_rounded(canvas, sdf, [&](Vec, float d, Vec gradient) {
        const auto n = pillow_normal(d, gradient, 5.0f);
        const float light = 0.45f + 0.7f * diffuse(n[0], n[1], n[2]);
        const float shine = specular(n[0], n[1], n[2], 40.0f);
        return blood * light + Colour{1.0f, 0.75f, 0.7f} * (0.8f * shine);
    });
}

// --- the skull -------------------------------------------------------------

// Skull measurements, in the folded coordinates of mirrored().
constexpr float kSkullTop = 150.0f;      // centre of the cranium
constexpr Vec kOrbit = {50.0f, 196.0f};  // the bony rim around each eye
constexpr Vec kSocket = {49.0f, 198.0f}; // the eye hole inside it
constexpr Vec kHornCentre = {132.0f, 190.0f};

float skull_sdf(Vec p) {
    const Vec q = mirrored(p);
    float d = ellipse(q, {0.0f, kSkullTop}, {80.0f, 62.0f});
    d = smooth_union(d, circle(q, kOrbit, 33.0f), 16.0f);
    d = smooth_union(d, tapered(q, {0.0f, 200.0f}, 50.0f, {0.0f, 324.0f}, 24.0f), 20.0f);
    return d;
}

float socket_sdf(Vec p) {
    const Vec q = rotated(mirrored(p) - kSocket, 0.35f);
    return ellipse(q, {0.0f, 0.0f}, {24.0f, 19.0f});
}

float nostril_sdf(Vec p) {
    const Vec q = rotated(mirrored(p) - Vec{12.0f, 302.0f}, 0.22f);
    return ellipse(q, {0.0f, 0.0f}, {6.0f, 19.0f});
}

// The wavy seam down the middle of the skull and a crack across the brow
// that narrows as it runs out.
float seam_sdf(Vec p) {
    const float x = p.x - kCentreX, y = p.y - kSkullDrop;
    const float wave = 1.4f * std::sin(y * 0.45f) * (1.0f - smoothstep(150.0f, 200.0f, y));
    float d = y > 94.0f && y < 268.0f ? std::abs(x - wave) - 0.65f : 1e9f;
    const Vec crack[] = {{3, 104}, {22, 119}, {17, 136}, {36, 150}, {31, 166}};
    for (int i = 0; i + 1 < 5; ++i) {
        float t;
        const float along = segment({x, y}, crack[i], crack[i + 1], &t);
        d = std::min(d, along - (1.5f - 0.3f * (i + t)));
    }
    return d;
}

Colour bone_colour(Vec p, float d, Vec gradient) {
    const Colour bone = {0.88f, 0.82f, 0.70f};
    const auto n = pillow_normal(d, gradient, 20.0f);
    const float porous = fractal_noise(p.x / 9.0f, p.y / 9.0f, 29);
    // Bone darkens as it falls away into the eye and nose holes.
    const float hollow = smoothstep(0.0f, 14.0f, socket_sdf(p)) *
                         (0.5f + 0.5f * smoothstep(0.0f, 8.0f, nostril_sdf(p)));
    const float light = (0.30f + 0.78f * diffuse(n[0], n[1], n[2])) * (0.45f + 0.55f * hollow);
    Colour c = bone * (light * (0.88f + 0.22f * porous));
    // The red glow behind catches the edges.
    const float rim = 1.0f - smoothstep(0.0f, 7.0f, -d);
    return c + Colour{0.45f, 0.03f, 0.02f} * rim;
}

void paint_skull(Canvas& canvas) {
    paint_rounded(canvas, skull_sdf, bone_colour);

    // Holes: dark, shading from the bone's shadow at the rim into the depth.
    auto hole = [](Vec, float d, Vec) {
        return mix(Colour{0.22f, 0.10f, 0.08f}, Colour{0.03f, 0.0f, 0.0f},
                   smoothstep(-1.0f, 9.0f, -d));
    };
    paint_rounded(canvas, socket_sdf, hole);
    paint_rounded(canvas, nostril_sdf, hole);
    paint_rounded(canvas, seam_sdf, [](Vec, float, Vec) { return Colour{0.28f, 0.16f, 0.12f}; });
}

// A red ember deep in each eye socket.
void paint_eyes(Canvas& canvas) {
    for (int y = 150; y < 270; ++y)
        for (int x = 150; x < 362; ++x) {
            const Vec p = {x + 0.5f, y + 0.5f};
            const float inside = coverage(socket_sdf(p) + 3.0f);
            if (inside <= 0.0f) continue;
            const Vec eye = mirrored(p) - (kSocket + Vec{1.0f, 2.0f});
            const float r2 = dot(eye, eye);
            const float glow = std::exp(-r2 / 90.0f);
            const float core = std::exp(-r2 / 8.0f);
            const Colour c = canvas.colour(x, y) + Colour{0.9f, 0.08f, 0.02f} * glow +
                             Colour{0.6f, 0.55f, 0.3f} * core;
            canvas.set(x, y, mix(canvas.colour(x, y), c, inside));
        }
}

// --- the horns ---------------------------------------------------------------

// One horn as a chain of short segments along a spiral that starts inside the
// cranium, sweeps up and out, and curls down and in towards the cheek.
struct Horn {
    static constexpr int kSteps = 96;
    std::array<Vec, kSteps + 1> spine;
    std::array<float, kSteps + 1> half_width;

    Horn() {
        const float start = -2.35f, sweep = 2.55f * kPi;
        for (int i = 0; i <= kSteps; ++i) {
            const float t = static_cast<float>(i) / kSteps;
            const float angle = start + sweep * t;
            const float radius = 92.0f - 74.0f * std::pow(t, 0.85f);
            spine[i] = kHornCentre + Vec{std::cos(angle), std::sin(angle)} * radius;
            half_width[i] = 27.0f - 22.0f * t;
        }
    }

    // Distance from a point on the right half. Of the nearest place on the
    // horn, *along gets its position (0 base, 1 tip), *across how far out from
    // the spine it lies (0 middle, 1 edge) and *outward the direction to it.
    float distance(Vec q, float* along, float* across, Vec* outward) const {
        float best = 1e9f;
        for (int i = 0; i < kSteps; ++i) {
            float t;
            const float d = segment(q, spine[i], spine[i + 1], &t);
            const float w = half_width[i] + (half_width[i + 1] - half_width[i]) * t;
            if (d - w < best) {
                best = d - w;
                *along = (i + t) / kSteps;
                const Vec nearest = spine[i] + (spine[i + 1] - spine[i]) * t;
                *outward = (q - nearest) * (1.0f / std::max(d, 1e-4f));
                *across = std::min(d / w, 1.0f);
            }
        }
        return best;
    }
};

void paint_horns(Canvas& canvas) {
    const Horn horn;
    const Colour base = {0.50f, 0.42f, 0.32f}, tip = {0.80f, 0.74f, 0.60f};
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const Vec p = {x + 0.5f, y + 0.5f};
            const Vec q = mirrored(p);
            if (q.x < 40.0f || q.x > 255.0f || q.y < 60.0f || q.y > 320.0f) continue;
            float along = 0, across = 0;
            Vec outward;
            const float d = horn.distance(q, &along, &across, &outward);
            if (d >= 0.5f) continue;
            // Round across its width; ridges ring the horn along its length.
            if (p.x < kCentreX) outward.x = -outward.x;
            const float lift = std::sqrt(std::max(0.0f, 1.0f - across * across));
            const float nx = outward.x * across, ny = outward.y * across;
            const float ridge = 0.5f + 0.5f * std::sin(along * 2.0f * kPi * 24.0f);
            const float groove = 1.0f - 0.4f * smoothstep(0.55f, 1.0f, ridge);
            // Streaks run along the horn: noise stretched along its length.
            const float streak = fractal_noise(along * 40.0f, across * 3.0f, 47);
            // The skull in front shades the horn where it passes behind it.
            const float shadow = 0.35f + 0.65f * smoothstep(0.0f, 16.0f, skull_sdf(p));
            const float light = (0.22f + 0.85f * diffuse(nx, ny, lift)) * groove * shadow;
            Colour c =
                mix(base, tip, smoothstep(0.3f, 1.0f, along)) * (light * (0.8f + 0.4f * streak));
            c = c + Colour{1.0f, 0.9f, 0.8f} *
                        (0.25f * specular(nx, ny, lift, 18.0f) * groove * shadow);
            const float rim = 1.0f - smoothstep(0.0f, 5.0f, -d);
            c = c + Colour{0.35f, 0.02f, 0.01f} * rim;
            canvas.blend(x, y, c, coverage(d));
        }
}

// --- the words -----------------------------------------------------------------

void paint_title(Canvas& canvas) {
    const char* const kTitle = "GAME OVER";
    constexpr int kMaxWidth = 440;
    constexpr int kPad = 24;
    constexpr int kBaselineY = 464;

    // The largest size whose ink fits the width.
    int baseline = 0;
    Mask ink(0, 0);
    for (int size = 96; size >= 24; size -= 2) {
        ink = Typeface("DejaVuSans-Bold.ttf", size).line(kTitle, kPad, &baseline);
        if (ink.width - 2 * kPad <= kMaxWidth) break;
    }
    const int left = (kSize - ink.width) / 2;
    const int top = kBaselineY - baseline;

    // A red glow behind, a soft dark shadow, a dark outline, then the letters
    // lit from above: hot orange-red fading to deep blood red.
    const Mask glow = blur(ink, 9);
    for (int y = 0; y < glow.height; ++y)
        for (int x = 0; x < glow.width; ++x) {
            const int cx = left + x, cy = top + y;
            if (cx < 0 || cy < 0 || cx >= kSize || cy >= kSize) continue;
            const float g = glow.get(x, y);
            canvas.set(cx, cy, canvas.colour(cx, cy) + Colour{0.85f, 0.06f, 0.02f} * (g * 0.9f));
        }
    canvas.blend(blur(ink, 3), left + 4, top + 6, {0.0f, 0.0f, 0.0f}, 0.9f);
    Mask outline = blur(ink, 1);
    for (float& v : outline.value)
        v = clamp01(v * 3.0f);
    canvas.blend(outline, left, top, {0.10f, 0.0f, 0.0f});

    int ink_top = ink.height, ink_bottom = 0;
    for (int y = 0; y < ink.height; ++y)
        for (int x = 0; x < ink.width; ++x)
            if (ink.get(x, y) > 0.0f) {
                ink_top = std::min(ink_top, y);
                ink_bottom = std::max(ink_bottom, y);
            }
    for (int y = 0; y < ink.height; ++y) {
        const float t = smoothstep(static_cast<float>(ink_top), static_cast<float>(ink_bottom),
                                   static_cast<float>(y));
        const Colour c =
            t < 0.45f
                ? mix(Colour{1.0f, 0.62f, 0.40f}, Colour{0.95f, 0.12f, 0.06f}, t / 0.45f)
                : mix(Colour{0.95f, 0.12f, 0.06f}, Colour{0.45f, 0.0f, 0.02f}, (t - 0.45f) / 0.55f);
        for (int x = 0; x < ink.width; ++x)
            canvas.blend(left + x, top + y, c, ink.get(x, y));
    }
}

// Darkens the corners so the picture sinks into the black around it.
void paint_vignette(Canvas& canvas) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - kCentreX) / kCentreX,
                        dy = (y + 0.5f - kCentreX) / kCentreX;
            const float fade =
                1.0f - 0.65f * smoothstep(0.75f, 1.45f, std::sqrt(dx * dx + dy * dy));
            canvas.set(x, y, canvas.colour(x, y) * fade);
        }
}

} // namespace

void make_dead_png(const std::filesystem::path& file) {
    Canvas canvas(kSize, kSize, {0.0f, 0.0f, 0.0f});
    paint_background(canvas);
    paint_blood(canvas);
    paint_horns(canvas);
    paint_skull(canvas);
    paint_eyes(canvas);
    paint_title(canvas);
    paint_vignette(canvas);
    write_png(file, kSize, kSize, 3, canvas.bytes(3));
}
