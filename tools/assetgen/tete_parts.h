// The parts of the player's head pictures, shared by tete.cpp (the stages),
// tete_face.cpp (the face itself) and tete_wounds.cpp (what each lost life
// adds to it). Coordinates are pixels of the 256 x 256 picture, rows going
// down; "left" and "right" are as the viewer sees them.
#pragma once

#include "raster.h"
#include "sdf.h"

#include <algorithm>
#include <cmath>

namespace tete {

using sdf::Vec;

constexpr int kSize = 256;
constexpr int kStages = 5; // tete1 (five lives) to tete5 (one life)

// Ink of every outline, and the widths of the outer and the inner lines: the
// game shows the picture at about 100 pixels, so lines must survive halving.
constexpr Colour kInk = {0.09f, 0.05f, 0.04f};
constexpr float kOutline = 6.0f;
constexpr float kLine = 2.6f;

constexpr float kCentreX = kSize / 2.0f;
constexpr Vec kLeftEye = {101.0f, 123.0f};
constexpr Vec kRightEye = {155.0f, 123.0f};
constexpr Vec kEyeRadii = {14.5f, 9.0f};
constexpr Vec kNoseTip = {128.0f, 153.0f};
constexpr Vec kMouth = {128.0f, 182.0f};

enum MouthShape { MOUTH_GRIN, MOUTH_CLENCHED, MOUTH_GRIMACE, MOUTH_SLACK };

// How the face itself looks at one stage; the wounds come on top.
struct Look {
    Colour skin;
    Colour shadow;       // skin in shadow, as a factor: healthy skin reddens, sick skin greys
    float left_eye_open; // 1 wide open, 0 shut
    float right_eye_open;
    float pupil;      // radius in pixels
    Vec gaze;         // where the irises turn, in pixels
    float brow_anger; // 1 inner ends pulled down, -1 raised in pain
    MouthShape mouth;
    int missing_teeth;
};

const Look& look_of(int stage);

// 0 at both ends of a stroke, 1 in its middle: widths of strokes that swell
// and taper.
inline float bump(float t) {
    return std::sin(3.14159265f * t);
}

// Light from the upper left and in front of the picture, 0..1.
inline float diffuse(float nx, float ny, float nz) {
    constexpr float lx = -0.45f, ly = -0.6f, lz = 0.66f;
    const float n = std::sqrt(nx * nx + ny * ny + nz * nz);
    return std::max(0.0f, (nx * lx + ny * ly + nz * lz) / n);
}

// Light on a shape that is flat inside and rounds off over `rim` pixels
// towards its edge, like a pillow; gradient is the distance's gradient.
inline float pillow_light(float d, Vec gradient, float rim) {
    const float bend = 1.6f * (1.0f - smoothstep(0.0f, rim, -d));
    return diffuse(gradient.x * bend, gradient.y * bend, 1.0f);
}

// Cranium and jaw, without the ears and the hair.
float head_sdf(Vec p);

// Where the lower edge of the mouth runs at x, and where its corners are:
// the wounds that belong to the mouth follow its shape.
float mouth_bottom_at(const Look& look, float x);
Vec mouth_corner(const Look& look, bool right);

// 1 on the face's skin, 0 on its outline and beyond: bruises and shadows
// stay on the skin and never tint the ink.
inline float on_skin(Vec p) {
    return sdf::coverage(head_sdf(p) + 1.0f);
}

// A shape painted in ink first, grown by the line width, and then in its
// own colours: an outlined cartoon shape.
template <typename Sdf, typename Shade>
void paint_outlined(Canvas& canvas, Sdf shape, float line, Shade shade) {
    sdf::fill(
        canvas, [&](Vec p) { return shape(p) - line; }, kInk);
    sdf::paint(canvas, shape, shade);
}

// The whole picture of one stage (0: five lives left), kSize square.
Canvas paint_stage(int stage);

// The stages' layers, in the order tete.cpp paints them.
void paint_bust(Canvas& canvas, const Look& look);     // shirt, neck, ears, head, hair
void paint_wounds_on_skin(Canvas& canvas, int stage);  // bruises and cuts under the features
void paint_features(Canvas& canvas, const Look& look); // brows, eyes, nose, mouth
void paint_wounds_on_top(Canvas& canvas, int stage);   // swellings, blood, bandages

} // namespace tete
