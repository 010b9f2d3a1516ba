// The player's face as a cartoon bust: olive shirt, neck, ears, a square jaw
// with stubble, a crew cut, heavy brows, eyes, nose and mouth. Each stage's
// look (tete_parts.h) sets the skin tone, how far the eyes open, the brows
// and the mouth; everything else stays the same, so all five pictures show
// one and the same man.
#include "tete_parts.h"

namespace tete {

namespace {

using sdf::Vec;

constexpr Colour kHair = {0.20f, 0.13f, 0.08f};
constexpr Colour kShirt = {0.36f, 0.40f, 0.20f};
constexpr Colour kWhite = {0.97f, 0.96f, 0.92f};
constexpr Colour kIris = {0.24f, 0.47f, 0.70f};
constexpr Colour kMouthInside = {0.30f, 0.04f, 0.04f};

// Folds a point onto the left half: for the parts that come in pairs.
Vec folded(Vec p) {
    return {kCentreX - std::abs(p.x - kCentreX), p.y};
}

// --- the bust ---------------------------------------------------------------

// The bust is cut off flat this far down, its outline included well inside
// the picture, so that the picture's border stays transparent.
constexpr float kBustBottom = 242.0f;

float neck_sdf(Vec p) {
    const float neck = sdf::tapered(p, {kCentreX, 178.0f}, 33.0f, {kCentreX, 236.0f}, 37.0f);
    return sdf::intersect(neck, p.y - kBustBottom);
}

// Broad shoulders sloping up into the neck.
float shoulders_sdf(Vec p) {
    const float chest = sdf::rounded_box(p, {kCentreX, 266.0f}, {102.0f, 44.0f}, 36.0f);
    return sdf::intersect(sdf::smooth_union(chest, neck_sdf(p), 16.0f), p.y - kBustBottom);
}

float ear_sdf(Vec p) {
    return sdf::ellipse(folded(p), {57.0f, 127.0f}, {13.0f, 21.0f});
}

// The hair starts high on the forehead and comes down towards the temples.
float hairline(float x) {
    const float dx = x - kCentreX;
    return 60.0f + 0.0044f * dx * dx;
}

float hair_sdf(Vec p) {
    // A ragged hairline: short bristles stick out of the edge.
    const float ragged = 2.2f * (sdf::value_noise(p.x / 2.5f, p.y / 2.5f, 13) - 0.5f);
    const float cap = sdf::intersect(head_sdf(p) - 3.5f, p.y - hairline(p.x) + ragged);
    const float sideburn =
        sdf::tapered(folded(p), {65.0f, 82.0f}, 7.5f, {67.0f, 117.0f}, 3.5f) + ragged;
    return sdf::unite(cap, sdf::intersect(sideburn, head_sdf(p) - 1.0f));
}

float silhouette_sdf(Vec p) {
    float d = sdf::unite(head_sdf(p), ear_sdf(p));
    d = sdf::unite(d, hair_sdf(p));
    d = sdf::unite(d, neck_sdf(p));
    return sdf::unite(d, shoulders_sdf(p));
}

Colour shirt_colour(Vec p, float d) {
    const float light = pillow_light(d, sdf::gradient(shoulders_sdf, p), 26.0f);
    // Folds of cloth from the neck towards the shoulders.
    const float fold = sdf::fractal_noise(p.x / 18.0f, p.y / 40.0f, 5);
    return kShirt * ((0.45f + 0.65f * light) * (0.85f + 0.3f * fold));
}

Colour skin_light(const Look& look, float light) {
    return mix(look.skin * look.shadow, look.skin * 1.04f, light);
}

void paint_shirt_and_neck(Canvas& canvas, const Look& look) {
    sdf::paint(canvas, shoulders_sdf, shirt_colour);
    // The neck sits in the head's shadow.
    sdf::paint(canvas, neck_sdf, [&](Vec p, float) {
        const float under_jaw = 1.0f - smoothstep(0.0f, 26.0f, head_sdf(p));
        const float side = smoothstep(0.0f, 30.0f, std::abs(p.x - kCentreX) + 6.0f);
        return skin_light(look, 0.55f - 0.35f * under_jaw - 0.2f * side);
    });
    // A ribbed round collar.
    auto collar = [](Vec p) {
        const float band = sdf::curve(p, {88.0f, 226.0f}, {kCentreX, 256.0f}, {168.0f, 226.0f},
                                      [](float) { return 4.5f; });
        return sdf::intersect(band, p.y - kBustBottom);
    };
    sdf::fill(
        canvas, [&](Vec p) { return collar(p) - kLine; }, kInk);
    sdf::fill(canvas, collar, kShirt * 0.8f);
}

void paint_ears(Canvas& canvas, const Look& look) {
    paint_outlined(canvas, ear_sdf, kLine, [&](Vec p, float d) {
        return skin_light(look, 0.25f + 0.5f * pillow_light(d, sdf::gradient(ear_sdf, p), 8.0f));
    });
    // The fold inside the ear, as a curl.
    auto inner = [](Vec p) {
        return sdf::curve(folded(p), {60.0f, 113.0f}, {48.0f, 126.0f}, {58.0f, 140.0f},
                          [](float t) { return 0.8f + 1.6f * bump(t); });
    };
    sdf::fill(canvas, inner, kInk, 0.7f);
}

void paint_head(Canvas& canvas, const Look& look) {
    paint_outlined(canvas, head_sdf, kLine, [&](Vec p, float d) {
        return skin_light(look, pillow_light(d, sdf::gradient(head_sdf, p), 34.0f));
    });
}

// A crew cut: dark bristles with a sheen on top.
void paint_hair(Canvas& canvas) {
    sdf::fill(
        canvas, [](Vec p) { return hair_sdf(p) - 1.0f; }, kInk, 0.8f);
    sdf::paint(canvas, hair_sdf, [](Vec p, float d) {
        const float light = pillow_light(d, sdf::gradient(hair_sdf, p), 16.0f);
        const float bristle = sdf::fractal_noise(p.x / 2.2f, p.y / 2.2f, 17);
        const float sheen = std::exp(-sdf::length(p - Vec{104.0f, 40.0f}) / 26.0f);
        return kHair * (0.6f + 0.7f * light) * (0.75f + 0.5f * bristle) +
               Colour{0.22f, 0.18f, 0.14f} * sheen;
    });
}

// Shadows in the eye sockets, warm cheeks and a blue-grey stubble on the jaw.
void paint_skin_details(Canvas& canvas, const Look& look) {
    sdf::glaze(canvas, look.skin * 0.55f, [](Vec p) {
        const float left = sdf::ellipse(p, kLeftEye + Vec{2.0f, -4.0f}, {20.0f, 15.0f});
        const float right = sdf::ellipse(p, kRightEye + Vec{-2.0f, -4.0f}, {20.0f, 15.0f});
        return 0.35f * (1.0f - smoothstep(-6.0f, 8.0f, sdf::unite(left, right))) * on_skin(p);
    });
    sdf::glaze(canvas, Colour{0.90f, 0.38f, 0.32f}, [](Vec p) {
        const Vec q = folded(p);
        return 0.22f * std::exp(-sdf::length(q - Vec{88.0f, 156.0f}) / 12.0f) * on_skin(p);
    });
    sdf::glaze(canvas, Colour{0.30f, 0.30f, 0.36f}, [](Vec p) {
        const float jaw =
            smoothstep(160.0f, 178.0f, p.y) * (1.0f - smoothstep(-4.0f, 0.0f, head_sdf(p)));
        const float dots =
            smoothstep(0.45f, 0.8f, sdf::hash01(static_cast<int>(p.x), static_cast<int>(p.y), 23));
        return jaw * (0.22f + 0.2f * dots);
    });
    // The cleft of the chin.
    auto cleft = [](Vec p) {
        return sdf::curve(p, {124.0f, 199.0f}, {kCentreX, 205.0f}, {132.0f, 199.0f},
                          [](float t) { return 0.4f + 0.9f * bump(t); });
    };
    sdf::fill(canvas, cleft, look.skin * 0.45f);
}

// --- brows and eyes -----------------------------------------------------------

// The left brow; the right one is its mirror image. Thick at the inner end,
// tapering outwards; anger pulls the inner end down, pain lifts it.
float brow_sdf(Vec p, float anger) {
    const Vec inner = {119.0f, 106.0f + 6.0f * anger};
    const Vec middle = {101.0f, 94.0f - 2.0f * std::min(anger, 0.0f)};
    const Vec outer = {82.0f, 104.0f};
    return sdf::curve(folded(p), inner, middle, outer,
                      [](float t) { return 2.0f + 3.6f * std::pow(1.0f - t, 0.6f); });
}

void paint_brows(Canvas& canvas, const Look& look) {
    const float anger = look.brow_anger;
    sdf::fill(
        canvas, [&](Vec p) { return brow_sdf(p, anger) - 1.2f; }, kInk);
    sdf::fill(
        canvas, [&](Vec p) { return brow_sdf(p, anger); }, kHair * 0.8f);
}

struct Eye {
    Vec centre;
    float open;
    float pupil;
    Vec gaze;
};

// The visible part of the eye: the eyeball's ellipse below the upper lid.
float eye_opening(const Eye& eye, Vec p) {
    const float lid = eye.centre.y - kEyeRadii.y + (1.0f - eye.open) * 1.8f * kEyeRadii.y;
    return sdf::intersect(sdf::ellipse(p, eye.centre, kEyeRadii), lid - p.y);
}

void paint_shut_eye(Canvas& canvas, const Eye& eye) {
    const Vec c = eye.centre;
    auto lid = [c](Vec p) {
        return sdf::curve(p, c - Vec{kEyeRadii.x + 1.0f, 1.0f}, c + Vec{0.0f, 7.0f},
                          c + Vec{kEyeRadii.x + 1.0f, -1.0f},
                          [](float t) { return 1.0f + 1.6f * bump(t); });
    };
    sdf::fill(canvas, lid, kInk);
}

void paint_open_eye(Canvas& canvas, const Eye& eye) {
    auto opening = [&](Vec p) { return eye_opening(eye, p); };
    const float lid = eye.centre.y - kEyeRadii.y + (1.0f - eye.open) * 1.8f * kEyeRadii.y;
    sdf::fill(
        canvas, [&](Vec p) { return opening(p) - kLine; }, kInk);
    sdf::paint(canvas, opening, [&](Vec p, float) {
        return kWhite * (0.7f + 0.3f * smoothstep(lid, lid + 7.0f, p.y));
    });
    const Vec iris = eye.centre + eye.gaze;
    auto in_eye = [&](float d, Vec p) { return sdf::intersect(d, opening(p)); };
    sdf::paint(
        canvas, [&](Vec p) { return in_eye(sdf::circle(p, iris, 7.5f), p); },
        [&](Vec p, float) {
            const float r = sdf::length(p - iris) / 7.5f;
            return kIris * (1.15f - 0.5f * r) * (0.6f + 0.4f * smoothstep(lid, lid + 6.0f, p.y));
        });
    sdf::fill(
        canvas, [&](Vec p) { return in_eye(sdf::circle(p, iris, eye.pupil), p); }, kInk);
    sdf::fill(canvas,
              [&](Vec p) {
                  return in_eye(sdf::circle(p, iris + Vec{-2.6f, -2.4f}, 1.9f), p);
              },
              {1.0f, 1.0f, 1.0f});
    // The upper lid's edge is the heaviest line of the eye.
    sdf::fill(
        canvas,
        [&](Vec p) {
            return sdf::intersect(opening(p) - 3.6f, sdf::intersect(p.y - lid - 4.5f, -opening(p)));
        },
        kInk);
}

// The crease above the eye, in a darker skin tone.
void paint_lid_crease(Canvas& canvas, const Look& look, Vec c) {
    auto crease = [c](Vec p) {
        return sdf::curve(p, c + Vec{-12.0f, -9.0f}, c + Vec{0.0f, -17.0f}, c + Vec{13.0f, -10.0f},
                          [](float t) { return 0.3f + 1.0f * bump(t); });
    };
    sdf::fill(canvas, crease, look.skin * 0.5f);
}

void paint_eyes(Canvas& canvas, const Look& look) {
    const Eye eyes[] = {
        {kLeftEye, look.left_eye_open, look.pupil, look.gaze},
        {kRightEye, look.right_eye_open, look.pupil, look.gaze},
    };
    for (const Eye& eye : eyes) {
        paint_lid_crease(canvas, look, eye.centre);
        if (eye.open < 0.05f)
            paint_shut_eye(canvas, eye);
        else
            paint_open_eye(canvas, eye);
    }
}

// --- nose -------------------------------------------------------------------------

void paint_nose(Canvas& canvas, const Look& look) {
    // Shade on the right of the bridge and under the tip, light on the tip.
    sdf::glaze(canvas, look.skin * 0.5f, [](Vec p) {
        const float side = sdf::ellipse(p, {137.0f, 139.0f}, {6.0f, 17.0f});
        const float under = sdf::ellipse(p, {kCentreX, 164.0f}, {15.0f, 3.5f});
        return 0.45f * (1.0f - smoothstep(-3.0f, 6.0f, sdf::unite(side, under)));
    });
    sdf::glaze(canvas, Colour{1.0f, 0.94f, 0.86f}, [](Vec p) {
        return 0.45f * std::exp(-sdf::length(p - (kNoseTip + Vec{-4.0f, -4.0f})) / 3.5f);
    });
    auto line = [](Vec p) {
        auto width = [](float t) { return 0.8f + 1.3f * bump(t); };
        float d = sdf::curve(p, {117.0f, 144.0f}, {110.0f, 154.0f}, {119.0f, 158.0f}, width);
        d = sdf::unite(
            d, sdf::curve(p, {119.0f, 159.0f}, {kCentreX, 163.0f}, {137.0f, 159.0f}, width));
        d = sdf::unite(d,
                       sdf::curve(p, {137.0f, 158.0f}, {146.0f, 154.0f}, {139.0f, 144.0f}, width));
        return sdf::unite(d, sdf::curve(p, {135.0f, 117.0f}, {138.0f, 132.0f}, {140.0f, 143.0f},
                                        [](float t) { return 0.4f + 0.8f * bump(t); }));
    };
    sdf::fill(canvas, line, kInk);
    for (float x : {121.0f, 135.0f})
        sdf::fill(
            canvas,
            [x](Vec p) {
                return sdf::ellipse(p, {x, 157.0f}, {3.2f, 1.8f});
            },
            kInk);
}

// --- mouth --------------------------------------------------------------------------

// The mouth as two curves between its corners; u runs from -1 at the left
// corner to 1 at the right one.
struct Mouth {
    float half_width;
    float left_corner, right_corner; // heights of the corners, below kMouth.y
    float top_bulge;                 // how far the upper edge rises in the middle
    float bottom_bulge;              // how far the lower edge sinks in the middle
    float upper_teeth, lower_teeth;  // visible heights of the two rows
};

Mouth mouth_of(MouthShape shape) {
    switch (shape) {
    case MOUTH_GRIN: return {25.0f, -7.0f, -9.0f, -1.0f, 11.0f, 7.0f, 6.0f};
    case MOUTH_CLENCHED: return {21.0f, 1.0f, 0.0f, 4.0f, 5.0f, 5.5f, 5.0f};
    case MOUTH_GRIMACE: return {22.0f, 3.0f, 1.0f, 6.0f, 12.0f, 6.0f, 4.5f};
    case MOUTH_SLACK: return {18.0f, 5.0f, 7.0f, 7.0f, 15.0f, 6.5f, 4.0f};
    }
    return {};
}

float mouth_top(const Mouth& m, float x) {
    const float u = (x - kMouth.x) / m.half_width;
    const float corner = m.left_corner + (m.right_corner - m.left_corner) * (u + 1.0f) * 0.5f;
    return kMouth.y + corner - m.top_bulge * (1.0f - u * u);
}

float mouth_bottom(const Mouth& m, float x) {
    const float u = (x - kMouth.x) / m.half_width;
    const float corner = m.left_corner + (m.right_corner - m.left_corner) * (u + 1.0f) * 0.5f;
    return kMouth.y + corner + m.bottom_bulge * (1.0f - u * u);
}

// The teeth, counted from the middle: slot 0 is just right of the middle
// gap, -1 just left of it. Lost teeth go in this order.
constexpr int kLostTeeth[] = {-1, 2};
constexpr float kToothWidth = 7.0f;

void paint_mouth(Canvas& canvas, const Look& look) {
    const Mouth m = mouth_of(look.mouth);
    auto inside = sdf::normalised(
        [&m](Vec p) { return std::max(mouth_top(m, p.x) - p.y, p.y - mouth_bottom(m, p.x)); });
    // The lower lip: a soft shadow beneath and a touch of light on it.
    sdf::glaze(canvas, look.skin * 0.5f, [&](Vec p) {
        const float below = p.y - mouth_bottom(m, p.x);
        const float u = (p.x - kMouth.x) / (m.half_width * 0.8f);
        return 0.5f * std::exp(-std::pow((below - 9.0f) / 2.5f, 2.0f)) *
               std::max(0.0f, 1.0f - u * u);
    });
    sdf::fill(
        canvas, [&](Vec p) { return inside(p) - kLine; }, kInk);
    sdf::fill(canvas, inside, kMouthInside);

    // Each row is one white band that stops short of the corners; a lost
    // tooth leaves a hole in the upper row.
    auto row = [&](Vec p, bool upper_row) {
        const float edge = upper_row ? p.y - mouth_top(m, p.x) - m.upper_teeth
                                     : mouth_bottom(m, p.x) - m.lower_teeth - p.y;
        float d = sdf::intersect(inside(p), edge);
        d = sdf::intersect(d, std::abs(p.x - kMouth.x) - 0.78f * m.half_width);
        if (!upper_row) return d;
        for (int i = 0; i < std::min<int>(look.missing_teeth, std::size(kLostTeeth)); ++i) {
            const float middle = kMouth.x + (kLostTeeth[i] + 0.5f) * kToothWidth;
            d = sdf::subtract(d, std::abs(p.x - middle) - (kToothWidth * 0.5f - 0.4f));
        }
        return d;
    };
    auto tooth_colour = [&](Vec p, float) {
        const float shade = smoothstep(mouth_top(m, p.x), mouth_bottom(m, p.x), p.y);
        // Thin grey lines between the teeth.
        const float t = (p.x - kMouth.x) / kToothWidth;
        const float gap = 1.0f - smoothstep(0.4f, 1.0f, std::abs(t - std::round(t)) * kToothWidth);
        return kWhite * ((0.95f - 0.25f * shade) * (1.0f - 0.4f * gap));
    };
    sdf::paint(
        canvas, [&](Vec p) { return row(p, false); }, tooth_colour);
    sdf::paint(
        canvas, [&](Vec p) { return row(p, true); }, tooth_colour);
    // Where the rows meet or end, a thin line.
    sdf::fill(
        canvas,
        [&](Vec p) {
            const float bite = std::abs(p.y - mouth_top(m, p.x) - m.upper_teeth) - 0.5f;
            return sdf::intersect(bite, sdf::intersect(row(p, true) - 0.5f, inside(p)));
        },
        kInk, 0.6f);
    // Redraw the lips' line over the teeth's ends.
    sdf::fill(
        canvas, [&](Vec p) { return sdf::intersect(inside(p) - kLine, -inside(p) - 0.6f); }, kInk);
}

} // namespace

float head_sdf(Vec p) {
    const float cranium = sdf::ellipse(p, {kCentreX, 104.0f}, {72.0f, 82.0f});
    const float jaw = sdf::tapered(p, {kCentreX, 150.0f}, 56.0f, {kCentreX, 183.0f}, 27.0f);
    return sdf::smooth_union(cranium, jaw, 18.0f);
}

float mouth_bottom_at(const Look& look, float x) {
    return mouth_bottom(mouth_of(look.mouth), x);
}

Vec mouth_corner(const Look& look, bool right) {
    const Mouth m = mouth_of(look.mouth);
    return {kMouth.x + (right ? m.half_width : -m.half_width),
            kMouth.y + (right ? m.right_corner : m.left_corner)};
}

void paint_bust(Canvas& canvas, const Look& look) {
    sdf::fill(
        canvas, [](Vec p) { return silhouette_sdf(p) - kOutline; }, kInk);
    paint_shirt_and_neck(canvas, look);
    paint_ears(canvas, look);
    paint_head(canvas, look);
    paint_skin_details(canvas, look);
    paint_hair(canvas);
}

void paint_features(Canvas& canvas, const Look& look) {
    paint_brows(canvas, look);
    paint_eyes(canvas, look);
    paint_nose(canvas, look);
    paint_mouth(canvas, look);
}

} // namespace tete
