// The game's icon: the healthy head picture, shrunk to each icon size by area
// averaging.
#include "icon.h"

#include "png_writer.h"
#include "tete_parts.h"

#include <algorithm>
#include <string>

namespace {

// The share of source pixel i (of the span [i, i + 1)) inside [from, to).
float overlap(int i, float from, float to) {
    return std::max(0.0f, std::min(to, i + 1.0f) - std::max(from, static_cast<float>(i)));
}

// Shrinks a square canvas to size x size by averaging the source area under
// every new pixel, with the colours weighted by their alpha so the clear
// surroundings never darken or lighten the edge of the bust.
Canvas shrink(const Canvas& source, int size) {
    const float scale = static_cast<float>(source.width) / size;
    Canvas result(size, size, {}, 0.0f);
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float x0 = x * scale, x1 = x0 + scale, y0 = y * scale, y1 = y0 + scale;
            float sum[4] = {};
            float area = 0.0f;
            for (int sy = static_cast<int>(y0); sy < std::min<float>(y1, source.height); ++sy) {
                for (int sx = static_cast<int>(x0); sx < std::min<float>(x1, source.width); ++sx) {
                    const float weight = overlap(sx, x0, x1) * overlap(sy, y0, y1);
                    const float* pixel =
                        &source.rgba[(static_cast<size_t>(sy) * source.width + sx) * 4];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += pixel[c] * pixel[3] * weight;
                    sum[3] += pixel[3] * weight;
                    area += weight;
                }
            }
            float* out = &result.rgba[(static_cast<size_t>(y) * size + x) * 4];
            for (int c = 0; c < 3; ++c)
                out[c] = sum[3] > 0.0f ? sum[c] / sum[3] : 0.0f;
            out[3] = area > 0.0f ? sum[3] / area : 0.0f;
        }
    }
    return result;
}

} // namespace

void make_icons(const std::filesystem::path& folder) {
    const Canvas head = tete::paint_stage(0);
    for (int size : kIconSizes) {
        const Canvas icon = size == head.width ? head : shrink(head, size);
        write_png(folder / ("sheepfall-" + std::to_string(size) + ".png"), size, size, 4,
                  icon.bytes(4));
    }
}
