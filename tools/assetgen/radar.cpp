#include "radar.h"

#include "png_writer.h"
#include "raster.h"

#include <cmath>

// The game draws the blip as a quad of about 50 screen pixels, tinted red for
// a sheep about to land and black otherwise, blended by its alpha. All the
// shape therefore lives in the alpha; the colour stays white in the middle
// and greys a little towards the rim, so a red blip looks lit from within.

namespace {

constexpr int kSize = 128;
constexpr float kRadius = kSize / 2.0f;

float gaussian(float x, float width) {
    return std::exp(-(x * x) / (width * width));
}

// Opacity at a distance r from the centre, r = 1 at the middle of an edge.
float blip_alpha(float r) {
    const float core = 1.0f - smoothstep(0.16f, 0.30f, r);
    const float glow = 0.6f * gaussian(r, 0.40f);
    const float ring = 0.38f * gaussian(r - 0.70f, 0.06f);
    // Alpha layers stack like paint: each covers part of what shows through.
    const float alpha = 1.0f - (1.0f - core) * (1.0f - glow) * (1.0f - ring);
    // Nothing at the border: the texture repeats, and filtering would pull
    // one edge's alpha onto the opposite one.
    return alpha * (1.0f - smoothstep(0.84f, 0.95f, r));
}

float blip_grey(float r) {
    return 1.0f - 0.22f * smoothstep(0.18f, 0.75f, r);
}

} // namespace

void make_radar_png(const std::filesystem::path& file) {
    Canvas canvas(kSize, kSize, {1.0f, 1.0f, 1.0f}, 0.0f);
    for (int y = 0; y < kSize; ++y)
        for (int x = 0; x < kSize; ++x) {
            const float dx = x + 0.5f - kRadius, dy = y + 0.5f - kRadius;
            const float r = std::sqrt(dx * dx + dy * dy) / kRadius;
            const float grey = blip_grey(r);
            canvas.set(x, y, {grey, grey, grey});
            canvas.rgba[(static_cast<size_t>(y) * kSize + x) * 4 + 3] = blip_alpha(r);
        }
    write_png(file, kSize, kSize, 4, canvas.bytes(4));
}
