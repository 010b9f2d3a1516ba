// What each lost life does to the player's face. Every wound appears at one
// stage and stays at all later ones, often growing worse; the two tables at
// the end say which comes when, so the damage only ever adds up.
#include "tete_parts.h"

#include <iterator>

namespace tete {

namespace {

using sdf::Vec;

constexpr Colour kBlood = {0.74f, 0.04f, 0.03f};
constexpr Colour kDarkBlood = {0.38f, 0.0f, 0.02f};
constexpr Colour kBruise = {0.40f, 0.16f, 0.42f};
constexpr Colour kOldBruise = {0.66f, 0.62f, 0.26f};
constexpr Colour kGauze = {0.96f, 0.94f, 0.87f};
constexpr Colour kPlaster = {0.89f, 0.72f, 0.52f};

// A soft blotch on the skin: 1 well inside the ellipse, fading over `soft`
// pixels beyond its edge and broken up by noise.
float blotch(Vec p, Vec centre, Vec radii, float soft, uint32_t seed) {
    const float inside = 1.0f - smoothstep(-soft, soft, sdf::ellipse(p, centre, radii));
    return inside * (0.55f + 0.6f * sdf::fractal_noise(p.x / 7.0f, p.y / 7.0f, seed)) * on_skin(p);
}

// A bruise: purple in the middle and, once it is older, yellow-green at the rim.
void paint_bruise(Canvas& canvas, Vec centre, Vec radii, float strength, bool aged, uint32_t seed) {
    if (aged)
        sdf::glaze(canvas, kOldBruise, [&](Vec p) {
            return 0.45f * strength * blotch(p, centre, radii + Vec{7.0f, 6.0f}, 6.0f, seed + 1);
        });
    sdf::glaze(canvas, kBruise,
               [&](Vec p) { return strength * blotch(p, centre, radii, 5.0f, seed); });
}

// An open cut along a curve: ink edge, dark red, a brighter line inside.
void paint_cut(Canvas& canvas, Vec a, Vec c, Vec b, float width) {
    auto cut = [&](Vec p) {
        return sdf::curve(p, a, c, b, [width](float t) { return 0.4f + width * bump(t); });
    };
    sdf::fill(
        canvas, [&](Vec p) { return cut(p) - 1.1f; }, kInk);
    sdf::fill(canvas, cut, kDarkBlood);
    sdf::fill(
        canvas, [&](Vec p) { return cut(p) + width * 0.45f; }, kBlood);
}

// Blood running from `from` down to a drop at `to`.
void paint_trickle(Canvas& canvas, Vec from, Vec via, Vec to, float width) {
    auto trickle = [&](Vec p) {
        const float run =
            sdf::curve(p, from, via, to, [width](float t) { return width * (1.0f - 0.35f * t); });
        return sdf::smooth_union(run, sdf::circle(p, to + Vec{0.0f, 0.6f * width}, 1.45f * width),
                                 2.0f);
    };
    sdf::fill(
        canvas, [&](Vec p) { return trickle(p) - 1.0f; }, kInk, 0.9f);
    sdf::paint(canvas, trickle, [&](Vec p, float d) {
        const float depth = smoothstep(0.0f, width, -d);
        // A glint on the left of the wet blood.
        const float glint = smoothstep(0.5f, 1.0f, sdf::gradient(trickle, p).x * -1.0f) *
                            smoothstep(0.2f, 0.8f, depth) * (1.0f - smoothstep(0.8f, 1.0f, depth));
        return mix(kDarkBlood, kBlood, depth) + Colour{0.5f, 0.35f, 0.3f} * (0.6f * glint);
    });
}

// A drop of sweat, pointed at the top.
void paint_sweat_drop(Canvas& canvas, Vec at, float size) {
    auto drop = [&](Vec p) {
        return sdf::smooth_union(
            sdf::circle(p, at, size),
            sdf::tapered(p, at, size * 0.6f, at - Vec{0.0f, 2.0f * size}, 0.3f), size * 0.5f);
    };
    paint_outlined(canvas, drop, 1.6f, [&](Vec p, float d) {
        const float light = smoothstep(0.0f, size, -d);
        return mix(Colour{0.55f, 0.75f, 0.95f}, Colour{0.85f, 0.95f, 1.0f}, light * 0.6f) +
               Colour{0.3f, 0.3f, 0.3f} *
                   std::exp(-sdf::length(p - at - Vec{-size * 0.35f, -size * 0.3f}) / 1.2f);
    });
}

// --- on the skin, under the features -------------------------------------------

void paint_cheek_bruise(Canvas& canvas, int stage) {
    const float grow = static_cast<float>(stage - 1);
    paint_bruise(canvas, {172.0f, 152.0f}, Vec{13.0f, 10.5f} + Vec{3.0f, 2.5f} * grow,
                 0.55f + 0.1f * grow, stage >= 3, 31);
}

void paint_forehead_cut(Canvas& canvas, int) {
    paint_bruise(canvas, {106.0f, 79.0f}, {12.0f, 8.0f}, 0.35f, false, 37);
    paint_cut(canvas, {96.0f, 85.0f}, {104.0f, 80.0f}, {116.0f, 73.0f}, 2.2f);
    paint_trickle(canvas, {99.0f, 85.0f}, {97.0f, 90.0f}, {98.0f, 95.0f}, 1.9f);
}

void paint_black_eye(Canvas& canvas, int stage) {
    const float strength = stage >= 3 ? 0.95f : 0.85f;
    sdf::glaze(canvas, Colour{0.20f, 0.07f, 0.24f}, [&](Vec p) {
        const float ring =
            1.0f -
            smoothstep(-3.0f, 5.0f, sdf::ellipse(p, kRightEye + Vec{1.0f, 2.0f}, {20.0f, 16.0f}));
        return strength * ring * (0.75f + 0.35f * sdf::fractal_noise(p.x / 6.0f, p.y / 6.0f, 41)) *
               on_skin(p);
    });
    sdf::glaze(canvas, Colour{0.55f, 0.15f, 0.25f}, [&](Vec p) {
        return 0.35f * blotch(p, kRightEye + Vec{4.0f, 14.0f}, {14.0f, 5.0f}, 4.0f, 42);
    });
}

void paint_cheek_cut(Canvas& canvas, int) {
    paint_bruise(canvas, {88.0f, 160.0f}, {10.0f, 8.0f}, 0.3f, false, 43);
    const Vec a = {78.0f, 150.0f}, c = {88.0f, 158.0f}, b = {100.0f, 170.0f};
    paint_cut(canvas, a, c, b, 1.6f);
    // Three stitches across it.
    for (float t : {0.25f, 0.5f, 0.75f}) {
        const Vec at = sdf::bezier(a, c, b, t);
        const Vec along = sdf::bezier(a, c, b, t + 0.01f) - at;
        const Vec across = Vec{-along.y, along.x} * (5.0f / sdf::length(along));
        sdf::fill(
            canvas, [&](Vec p) { return sdf::segment(p, at - across, at + across) - 0.9f; }, kInk);
    }
}

void paint_jaw_bruise(Canvas& canvas, int stage) {
    paint_bruise(canvas, {98.0f, 188.0f}, {12.0f, 9.0f}, stage >= 4 ? 0.6f : 0.45f, stage >= 4, 47);
}

// Hollow, dark rings under the eye that still opens.
void paint_sunken_eye(Canvas& canvas, int) {
    sdf::glaze(canvas, Colour{0.25f, 0.22f, 0.30f}, [](Vec p) {
        return 0.55f * blotch(p, kLeftEye + Vec{0.0f, 9.0f}, {15.0f, 6.0f}, 5.0f, 53);
    });
}

// --- on top of the features ------------------------------------------------------

void paint_nosebleed(Canvas& canvas, int stage) {
    const Look& look = look_of(stage);
    const float lip = mouth_bottom_at(look, 120.0f);
    paint_trickle(canvas, {121.0f, 157.0f}, {119.0f, 166.0f}, {120.0f, 172.0f}, 2.4f);
    // Later it has run over the lip and down the chin.
    if (stage >= 4)
        paint_trickle(canvas, {120.0f, lip + 2.0f}, {121.0f, lip + 8.0f}, {119.0f, lip + 14.0f},
                      2.0f);
}

void paint_split_lip(Canvas& canvas, int stage) {
    const Look& look = look_of(stage);
    const float x = 139.0f;
    const float lip = mouth_bottom_at(look, x);
    sdf::glaze(canvas, Colour{0.75f, 0.25f, 0.30f}, [&](Vec p) {
        return 0.6f *
               (1.0f - smoothstep(0.0f, 5.0f, sdf::ellipse(p, {x, lip + 4.0f}, {7.0f, 4.0f})));
    });
    paint_cut(canvas, {x - 1.0f, lip + 1.5f}, {x + 1.0f, lip + 5.0f}, {x - 0.5f, lip + 9.0f}, 1.5f);
}

void paint_sweat(Canvas& canvas, int stage) {
    paint_sweat_drop(canvas, {77.0f, 110.0f}, 4.0f);
    if (stage >= 4) paint_sweat_drop(canvas, {183.0f, 104.0f}, 3.6f);
}

// The right eye swollen shut: a shiny purple bulge with a slit.
void paint_swollen_eye(Canvas& canvas, int stage) {
    const Vec centre = kRightEye + Vec{1.0f, -1.0f};
    const Vec radii = stage >= 4 ? Vec{21.0f, 16.0f} : Vec{19.0f, 14.0f};
    auto swelling = [&](Vec p) { return sdf::ellipse(p, centre, radii); };
    paint_outlined(canvas, swelling, kLine, [&](Vec p, float d) {
        const float light = pillow_light(d, sdf::gradient(swelling, p), 12.0f);
        const float shine = std::exp(-sdf::length(p - centre - Vec{-7.0f, -7.0f}) / 3.0f);
        return Colour{0.52f, 0.22f, 0.40f} * (0.55f + 0.6f * light) +
               Colour{0.5f, 0.45f, 0.5f} * (0.8f * shine);
    });
    auto slit = [&](Vec p) {
        return sdf::curve(p, centre + Vec{-13.0f, 3.0f}, centre + Vec{0.0f, 7.0f},
                          centre + Vec{13.0f, 2.0f}, [](float t) { return 0.6f + 1.5f * bump(t); });
    };
    sdf::fill(canvas, slit, kInk);
}

// A gauze band around the forehead over the cut, soaked through where it
// lies on it, its knotted ends hanging out on the right.
constexpr Vec kBandFrom = {46.0f, 87.0f};
constexpr Vec kBandTo = {210.0f, 62.0f};
constexpr float kBandHalfWidth = 11.0f;

// Across the band: -1 at its upper edge, 1 at its lower one.
float band_across(Vec p) {
    const Vec axis = kBandTo - kBandFrom;
    const Vec normal = Vec{-axis.y, axis.x} * (1.0f / sdf::length(axis)); // pointing down
    return sdf::dot(p - kBandFrom, normal) / kBandHalfWidth;
}

float band_sdf(Vec p) {
    // Cloth edges are never quite straight.
    const float wobble = 0.8f * (sdf::value_noise(p.x / 9.0f, p.y / 9.0f, 57) - 0.5f);
    const float across = (std::abs(band_across(p)) - 1.0f) * kBandHalfWidth + wobble;
    return sdf::intersect(across, head_sdf(p) - 3.5f);
}

// The two ends flare out from the knot and are cut off square.
float knot_end_sdf(Vec p, Vec tip) {
    const Vec root = {203.0f, 66.0f};
    const float strip = sdf::curve(p, root, sdf::lerp(root, tip, 0.5f) + Vec{0.0f, -3.0f}, tip,
                                   [](float t) { return 3.0f + 3.5f * t; });
    const Vec out = (tip - root) * (1.0f / sdf::length(tip - root));
    return sdf::intersect(strip, sdf::dot(p - tip, out));
}

float knot_sdf(Vec p) {
    const float ends =
        sdf::unite(knot_end_sdf(p, {230.0f, 48.0f}), knot_end_sdf(p, {233.0f, 80.0f}));
    return sdf::unite(ends, sdf::circle(p, {205.0f, 66.0f}, 7.5f));
}

// The band rounds over the head from side to side and is lit from above.
Colour gauze_colour(Vec p) {
    const float s = std::clamp(band_across(p), -1.0f, 1.0f);
    const Vec round = sdf::gradient(head_sdf, p);
    const float side = smoothstep(-40.0f, 0.0f, head_sdf(p));
    const float light = diffuse(round.x * 1.6f * side, 0.7f * s, 1.0f);
    const float weave =
        0.5f + 0.25f * (std::sin((p.x + p.y) * 1.9f) + std::sin((p.x - p.y) * 1.9f));
    return kGauze * ((0.55f + 0.5f * light) * (0.92f + 0.08f * weave));
}

void paint_bandage(Canvas& canvas, int stage) {
    paint_outlined(canvas, knot_sdf, kLine, [](Vec p, float d) {
        return kGauze * (0.55f + 0.45f * pillow_light(d, sdf::gradient(knot_sdf, p), 4.0f));
    });
    paint_outlined(canvas, band_sdf, kLine, [](Vec p, float) { return gauze_colour(p); });
    // A fold along the band and the turns of gauze crossing it.
    sdf::glaze(canvas, kGauze * 0.5f, [](Vec p) {
        if (band_sdf(p) > 0.0f) return 0.0f;
        const float fold = std::exp(-std::pow((band_across(p) - 0.25f) / 0.1f, 2.0f));
        return 0.45f * fold;
    });
    // Blood soaking through over the cut, spreading as time goes on.
    const float spread = stage >= 4 ? 1.35f : 1.0f;
    sdf::glaze(canvas, kBlood, [&](Vec p) {
        if (band_sdf(p) > 0.0f) return 0.0f;
        return 0.9f * blotch(p, {106.0f, 78.0f}, Vec{9.0f, 7.0f} * spread, 3.0f, 59);
    });
    sdf::glaze(canvas, kDarkBlood, [&](Vec p) {
        if (band_sdf(p) > 0.0f) return 0.0f;
        return 0.7f * blotch(p, {105.0f, 79.0f}, Vec{4.0f, 3.0f} * spread, 2.0f, 61);
    });
}

// Two strips of sticking plaster crossed over the bruised cheek.
void paint_plaster(Canvas& canvas, int) {
    const Vec centre = {173.0f, 153.0f};
    for (float angle : {0.7f, -0.7f}) {
        auto strip = [&](Vec p) {
            return sdf::rounded_box(sdf::rotated(p - centre, angle), {0.0f, 0.0f}, {15.0f, 5.0f},
                                    2.5f);
        };
        paint_outlined(canvas, strip, 1.8f, [&](Vec p, float) {
            const Vec q = sdf::rotated(p - centre, angle);
            // Little holes along the middle of the strip.
            const float hole =
                std::abs(q.y) < 1.5f && std::abs(std::fmod(q.x + 30.0f, 5.0f) - 2.5f) < 0.9f;
            return kPlaster * (0.95f - 0.15f * hole);
        });
    }
}

void paint_mouth_blood(Canvas& canvas, int stage) {
    const Vec corner = mouth_corner(look_of(stage), true);
    paint_trickle(canvas, corner + Vec{1.0f, 2.0f}, corner + Vec{4.0f, 10.0f},
                  corner + Vec{2.0f, 19.0f}, 2.3f);
}

struct Wound {
    int first_stage;
    void (*paint)(Canvas& canvas, int stage);
};

// clang-format off
constexpr Wound kWoundsOnSkin[] = {
    {1, paint_cheek_bruise},
    {1, paint_forehead_cut},
    {2, paint_black_eye},
    {3, paint_cheek_cut},
    {3, paint_jaw_bruise},
    {4, paint_sunken_eye},
};

constexpr Wound kWoundsOnTop[] = {
    {2, paint_nosebleed},
    {2, paint_split_lip},
    {2, paint_sweat},
    {3, paint_swollen_eye},
    {3, paint_bandage},
    {4, paint_plaster},
    {4, paint_mouth_blood},
};
// clang-format on

template <size_t N> void paint_wounds(Canvas& canvas, const Wound (&wounds)[N], int stage) {
    for (const Wound& wound : wounds)
        if (stage >= wound.first_stage) wound.paint(canvas, stage);
}

} // namespace

void paint_wounds_on_skin(Canvas& canvas, int stage) {
    paint_wounds(canvas, kWoundsOnSkin, stage);
}

void paint_wounds_on_top(Canvas& canvas, int stage) {
    paint_wounds(canvas, kWoundsOnTop, stage);
}

} // namespace tete
