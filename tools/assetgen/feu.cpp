#include "feu.h"

#include "png_writer.h"
#include "raster.h"
#include "sdf.h"

#include <array>
#include <cmath>

// The flash is a brightness field turned into colour by a fire ramp: a hot
// core, a glow, and flame tongues shooting out at uneven angles and lengths.
// The game spins the quad and scales it every frame, so the tongues are
// irregular on purpose: no two frames look alike.

namespace {

constexpr int kSize = 128;
constexpr float kRadius = kSize / 2.0f;
constexpr float kPi = 3.14159265358979f;

struct Tongue {
    float angle;  // radians, 0 to the right, turning clockwise
    float length; // in units of the picture's half size
    float width;  // half width at the root, same units
};

// Six long tongues with six short ones between them, each a little off its
// regular place.
std::array<Tongue, 12> make_tongues() {
    std::array<Tongue, 12> tongues{};
    for (int i = 0; i < 12; ++i) {
        const bool major = i % 2 == 0;
        const float jitter = sdf::hash01(i, 0, 71) - 0.5f;
        const float spread = sdf::hash01(i, 1, 71);
        tongues[i] = {
            (i + 0.35f * jitter) * (2.0f * kPi / 12.0f) + 0.2f,
            major ? 0.72f + 0.18f * spread : 0.42f + 0.16f * spread,
            major ? 0.11f + 0.03f * spread : 0.075f + 0.02f * spread,
        };
    }
    return tongues;
}

float gaussian(float x, float width) {
    return std::exp(-(x * x) / (width * width));
}

// One tongue's brightness at a point given in polar form (r, angle): it
// narrows and fades from the root to its tip, with a flicker along its length.
float tongue_brightness(const Tongue& tongue, float r, float angle) {
    const float along = r / tongue.length;
    if (along >= 1.0f) return 0.0f;
    float turn = std::remainder(angle - tongue.angle, 2.0f * kPi);
    // Distance across the tongue, measured on the arc at this radius.
    const float across = std::abs(turn) * std::max(r, 0.02f);
    const float taper = std::pow(1.0f - along, 0.9f);
    const float half_width = tongue.width * (0.25f + 0.75f * taper) * (0.6f + 0.9f * along);
    const float flicker = 0.75f + 0.5f * sdf::fractal_noise(r * 9.0f, tongue.angle * 5.0f, 83);
    const float width = half_width * taper + 0.004f;
    // A hot streak runs down the middle of the tongue.
    const float body = gaussian(across, width) * std::pow(1.0f - along, 1.4f);
    const float streak = gaussian(across, 0.3f * width) * std::pow(1.0f - along, 2.2f);
    return (body + 0.6f * streak) * flicker;
}

float flash_brightness(const std::array<Tongue, 12>& tongues, float r, float angle) {
    float b = 1.15f * gaussian(r, 0.15f) + 0.36f * gaussian(r, 0.42f);
    for (const Tongue& tongue : tongues)
        b += 0.95f * tongue_brightness(tongue, r, angle);
    // Black well before the border: the quad's edges must never show.
    return b * (1.0f - smoothstep(0.80f, 0.94f, r));
}

// Black, deep red, orange, yellow, white as the brightness rises.
Colour fire_ramp(float b) {
    struct Stop {
        float at;
        Colour colour;
    };
    constexpr Stop kStops[] = {
        {0.00f, {0.00f, 0.00f, 0.00f}}, {0.18f, {0.45f, 0.06f, 0.00f}},
        {0.42f, {1.00f, 0.42f, 0.04f}}, {0.70f, {1.00f, 0.80f, 0.25f}},
        {1.00f, {1.00f, 1.00f, 0.88f}},
    };
    b = clamp01(b);
    for (size_t i = 1; i < std::size(kStops); ++i)
        if (b <= kStops[i].at)
            return mix(kStops[i - 1].colour, kStops[i].colour,
                       (b - kStops[i - 1].at) / (kStops[i].at - kStops[i - 1].at));
    return kStops[std::size(kStops) - 1].colour;
}

} // namespace

void make_feu_png(const std::filesystem::path& file) {
    const auto tongues = make_tongues();
    Canvas canvas(kSize, kSize, {0.0f, 0.0f, 0.0f});
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = (x + 0.5f - kRadius) / kRadius, dy = (y + 0.5f - kRadius) / kRadius;
            const float r = std::sqrt(dx * dx + dy * dy);
            canvas.set(x, y, fire_ramp(flash_brightness(tongues, r, std::atan2(dy, dx))));
        }
    write_png(file, kSize, kSize, 3, canvas.bytes(3));
}
