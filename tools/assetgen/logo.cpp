#include "logo.h"

#include "land_view.h"
#include "landscape.h"
#include "noise.h"
#include "png_writer.h"
#include "raster.h"
#include "sdf.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

// The card is painted back to front: the level's sky, the land as a block
// floating in it with a soft shadow below, the sheep falling toward it, dark
// bands behind the words, the words, and a thin frame inside a border that
// fades to black, so the square sits on the loading screen's black like a
// card.

namespace {

constexpr int kSize = 512;
constexpr float kMiddle = kSize / 2.0f;
constexpr float kHalfLand = kLandscapeSize / 2.0f;
constexpr const char* kSans = "DejaVuSans-Bold.ttf";
constexpr const char* kSerif = "DejaVuSerif.ttf";
constexpr const char* kSerifBold = "DejaVuSerif-Bold.ttf";

LandCamera card_camera(const CardStyle& style) {
    LandCamera camera;
    camera.yaw = style.yaw;
    camera.pitch = style.pitch;
    camera.distance = 900.0f;
    camera.focal = 470.0f;
    camera.centre = {kMiddle, 274.0f};
    camera.relief = style.relief;
    return camera;
}

// --- sky -------------------------------------------------------------------------

void paint_sky(Canvas& canvas, const CardStyle& style, uint32_t seed) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float t = smoothstep(0.0f, 330.0f, static_cast<float>(y));
            Colour c = mix(style.sky_top, style.sky_low, t);
            // Long soft clouds, thinning toward the horizon.
            const float cloud = fractal_noise(x / 110.0f, y / 34.0f, seed, 5);
            const float amount = smoothstep(0.05f, 0.55f, cloud) * (1.0f - 0.6f * t);
            c = mix(c, Colour{1.0f, 0.99f, 0.97f}, 0.55f * amount);
            canvas.set(x, y, c);
        }
}

// --- the land ------------------------------------------------------------------------

// Paints the block with a soft shadow under it, as if it floated in the sky.
void paint_land(Canvas& canvas, const LandView& view, const LandLight& light) {
    Canvas land(kSize, kSize, {}, 0.0f);
    view.paint(land, light);
    Mask shape(kSize, kSize);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            shape.at(x, y) = land.rgba[(static_cast<size_t>(y) * kSize + x) * 4 + 3];
    canvas.blend(blur(shape, 9), 0, 16, {0.02f, 0.03f, 0.06f}, 0.45f);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x)
            canvas.blend(x, y, land.colour(x, y), shape.get(x, y));
}

// --- the sheep ----------------------------------------------------------------------

// A sheep seen from the side, one unit long, facing +x, rows going down:
// woolly body, head and legs. *wool gets the distance to the body alone.
float sheep_shape(sdf::Vec p, float* wool) {
    using sdf::Vec;
    float body = sdf::ellipse(p, {0.0f, 0.0f}, {0.36f, 0.22f});
    const Vec tufts[] = {{-0.30f, -0.02f}, {-0.16f, -0.16f}, {0.02f, -0.19f}, {0.19f, -0.14f},
                         {0.30f, 0.01f},   {0.16f, 0.15f},   {-0.02f, 0.17f}, {-0.19f, 0.14f}};
    for (const Vec& tuft : tufts)
        body = sdf::smooth_union(body, sdf::circle(p, tuft, 0.12f), 0.05f);
    *wool = body;
    float dark = sdf::ellipse(sdf::rotated(p - Vec{0.47f, -0.05f}, 0.4f), {}, {0.16f, 0.10f});
    dark = sdf::unite(dark, sdf::ellipse(sdf::rotated(p - Vec{0.36f, -0.15f}, -0.5f), {},
                                         {0.09f, 0.035f})); // ear
    for (float x : {-0.22f, -0.09f, 0.09f, 0.21f})
        dark = sdf::unite(dark, sdf::tapered(p, {x, 0.12f}, 0.045f, {x * 1.2f, 0.34f}, 0.04f));
    return sdf::unite(body, dark);
}

// A thin line of wind behind a falling sheep, fading away from it.
void paint_streak(Canvas& canvas, sdf::Vec from, sdf::Vec to, float opacity) {
    const int x0 = static_cast<int>(std::min(from.x, to.x)) - 2;
    const int x1 = static_cast<int>(std::max(from.x, to.x)) + 2;
    const int y0 = static_cast<int>(std::min(from.y, to.y)) - 2;
    const int y1 = static_cast<int>(std::max(from.y, to.y)) + 2;
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) {
            float along;
            const float d = sdf::segment({x + 0.5f, y + 0.5f}, from, to, &along) - 0.6f;
            canvas.blend(x, y, {1.0f, 1.0f, 1.0f}, sdf::coverage(d) * opacity * (1.0f - along));
        }
}

// Paints a sheep about size pixels long turned by angle, with a dark
// outline so it reads on sky and grass alike, and streaks above it.
void paint_sheep(Canvas& canvas, sdf::Vec at, float size, float angle, bool mirrored) {
    const Colour ink = {0.08f, 0.07f, 0.08f};
    const Colour wool = {0.97f, 0.96f, 0.92f}, wool_shade = {0.74f, 0.73f, 0.72f};
    for (float offset : {-0.22f, 0.04f, 0.27f}) {
        const sdf::Vec from = {at.x + offset * size, at.y - 0.4f * size};
        const sdf::Vec to = {from.x, from.y - (1.0f + 2.5f * std::fabs(offset)) * size};
        paint_streak(canvas, from, to, 0.45f);
    }
    const int left = static_cast<int>(at.x - size), top = static_cast<int>(at.y - size);
    for (int y = top; y <= top + 2 * static_cast<int>(size) + 1; ++y)
        for (int x = left; x <= left + 2 * static_cast<int>(size) + 1; ++x) {
            sdf::Vec local =
                sdf::rotated(sdf::Vec{x + 0.5f, y + 0.5f} - at, -angle) * (1.0f / size);
            if (mirrored) local.x = -local.x;
            float body;
            const float whole = sheep_shape(local, &body) * size;
            canvas.blend(x, y, ink, sdf::coverage(whole - 0.8f));
            const Colour fleece = mix(wool, wool_shade, smoothstep(-0.1f, 0.2f, local.y));
            canvas.blend(x, y, fleece, sdf::coverage(body * size + 0.4f));
        }
}

// Where the sheep of every card fall, seen from the camera: toward a point
// across the picture and along the view (-1 .. 1, the land's half width from
// its middle), from a height above the ground there in the view's units.
// Each card moves them a little and turns them its own way.
struct FlockPlace {
    float across, along, altitude;
};
constexpr FlockPlace kFlock[] = {{-0.80f, 0.10f, 110.0f},  {-0.45f, 0.55f, 190.0f},
                                 {-0.10f, -0.20f, 150.0f}, {0.15f, 0.70f, 250.0f},
                                 {0.50f, 0.20f, 200.0f},   {0.85f, -0.05f, 120.0f}};

struct FallingSheep {
    sdf::Vec at; // on the picture
    float depth; // ahead of the eye
    float turn;  // radians it has tumbled
    bool mirrored;
};

// The sheep over the land, far ones first so near ones pass in front, and
// smaller with distance.
void paint_flock(Canvas& canvas, const LandView& view, const LandCamera& camera, uint32_t seed) {
    constexpr float kSheepLength = 42.0f; // world units, a little larger than life
    std::vector<FallingSheep> flock;
    for (int n = 0; n < static_cast<int>(std::size(kFlock)); ++n) {
        const FlockPlace& place = kFlock[n];
        const float across = kHalfLand * (place.across + 0.12f * (hash_unit(n, 1, seed) - 0.5f));
        const float along = kHalfLand * (place.along + 0.2f * (hash_unit(n, 2, seed) - 0.5f));
        const float x = kHalfLand + along * std::cos(camera.yaw) - across * std::sin(camera.yaw);
        const float z = kHalfLand + along * std::sin(camera.yaw) + across * std::cos(camera.yaw);
        FallingSheep sheep;
        if (!view.project({x, view.ground_height(x, z) + place.altitude, z}, &sheep.at,
                          &sheep.depth))
            continue;
        sheep.turn = 6.2832f * hash_unit(n, 3, seed);
        sheep.mirrored = hash_unit(n, 4, seed) > 0.5f;
        flock.push_back(sheep);
    }
    std::sort(flock.begin(), flock.end(),
              [](const FallingSheep& a, const FallingSheep& b) { return a.depth > b.depth; });
    for (const FallingSheep& sheep : flock)
        paint_sheep(canvas, sheep.at, camera.focal * kSheepLength / sheep.depth, sheep.turn,
                    sheep.mirrored);
}

// --- the words -----------------------------------------------------------------------

// Paints one line of text centred on x with its baseline on row y, over a
// soft dark shadow; returns the width of its ink.
int paint_text(Canvas& canvas, const char* font, int size, std::string_view text, float x, int y,
               Colour colour) {
    constexpr int kPad = 10;
    int baseline = 0;
    const Mask ink = Typeface(font, size).line(text, kPad, &baseline);
    const int left = static_cast<int>(std::lround(x - ink.width / 2.0f));
    const int top = y - baseline;
    canvas.blend(blur(ink, 3), left + 1, top + 3, {0.0f, 0.0f, 0.0f}, 0.9f);
    canvas.blend(ink, left, top, colour);
    return ink.width - 2 * kPad;
}

// Darkens toward the card's top and bottom so the words stand out on any land.
void paint_bands(Canvas& canvas) {
    for (int y = 0; y < kSize; ++y) {
        const float top = 0.55f * (1.0f - smoothstep(20.0f, 90.0f, static_cast<float>(y)));
        const float bottom = 0.85f * smoothstep(372.0f, 456.0f, static_cast<float>(y));
        for (int x = 0; x < kSize; ++x)
            canvas.blend(x, y, {0.0f, 0.0f, 0.02f}, std::max(top, bottom));
    }
}

// A rule on either side of the game's name, a small diamond at its inner end.
void paint_rules(Canvas& canvas, float name_width, int row, Colour colour) {
    const float gap = name_width / 2.0f + 14.0f;
    for (float side : {-1.0f, 1.0f}) {
        const sdf::Vec from = {kMiddle + side * gap, static_cast<float>(row)};
        const sdf::Vec to = {kMiddle + side * (gap + 70.0f), static_cast<float>(row)};
        const auto rule = [&](sdf::Vec p) { return sdf::segment(p, from, to) - 0.8f; };
        const auto diamond = [&](sdf::Vec p) {
            return (std::fabs(p.x - from.x) + std::fabs(p.y - from.y)) * 0.7071f - 2.5f;
        };
        sdf::fill(canvas, rule, colour, 0.8f);
        sdf::fill(canvas, diamond, colour);
    }
}

void paint_words(Canvas& canvas, int number, const char* land_name, const CardStyle& style) {
    const Colour cream = {1.0f, 0.97f, 0.90f};
    const int name_width = paint_text(canvas, kSerifBold, 22, "Sheepfall", kMiddle, 46, cream);
    paint_rules(canvas, static_cast<float>(name_width), 39, style.accent);
    paint_text(canvas, kSans, 40, "Level " + std::to_string(number), kMiddle, 444, cream);
    paint_text(canvas, kSerif, 27, land_name, kMiddle, 482, style.accent);
}

// --- frame and border -------------------------------------------------------------------

// A line along a rounded square inset from the card's edges.
float frame_line(sdf::Vec p, float inset, float corner, float half_width) {
    const float half = kMiddle - inset;
    return std::fabs(sdf::rounded_box(p, {kMiddle, kMiddle}, {half, half}, corner)) - half_width;
}

void paint_frame(Canvas& canvas, const CardStyle& style) {
    sdf::fill(
        canvas, [](sdf::Vec p) { return frame_line(p, 12.0f, 12.0f, 1.2f); }, style.accent, 0.85f);
    sdf::fill(
        canvas, [](sdf::Vec p) { return frame_line(p, 17.0f, 8.0f, 0.5f); }, style.accent, 0.35f);
}

// Darkens the corners, and the last pixels toward the edge fade to black.
void paint_vignette(Canvas& canvas) {
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - kMiddle) / kMiddle, dy = (y + 0.5f - kMiddle) / kMiddle;
            const float edge = std::min(std::min(x + 0.5f, y + 0.5f),
                                        std::min(kSize - x - 0.5f, kSize - y - 0.5f));
            const float fade =
                (1.0f - 0.6f * smoothstep(0.8f, 1.45f, std::sqrt(dx * dx + dy * dy))) *
                smoothstep(1.0f, 11.0f, edge);
            canvas.set(x, y, canvas.colour(x, y) * fade);
        }
}

} // namespace

void make_logo_png(int number, const char* land_name, const CardStyle& style,
                   const LandRecipe& land, const std::filesystem::path& file) {
    const uint32_t seed = 100u + land.seed;
    Canvas canvas(kSize, kSize, {});
    paint_sky(canvas, style, seed);
    const LandCamera camera = card_camera(style);
    const LandView view(land, camera);
    paint_land(canvas, view, style.light);
    paint_flock(canvas, view, camera, seed);
    paint_bands(canvas);
    paint_words(canvas, number, land_name, style);
    paint_vignette(canvas);
    paint_frame(canvas, style);
    write_png(file, kSize, kSize, 3, canvas.bytes(3));
}
