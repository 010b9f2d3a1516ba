// The game's icon: the healthy head picture, shrunk to each icon size by area
// averaging.
#include "icon.h"

#include "png_writer.h"
#include "tete_parts.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

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

// The head at SIZE pixels coded as a PNG file's bytes (written through a
// scratch file beside the icon, which is removed again).
std::vector<uint8_t> png_bytes(const Canvas& head, int size, const std::filesystem::path& scratch) {
    const Canvas icon = size == head.width ? head : shrink(head, size);
    write_png(scratch, size, size, 4, icon.bytes(4));
    std::ifstream in(scratch, std::ios::binary);
    std::vector<uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    in.close();
    std::filesystem::remove(scratch);
    if (bytes.empty()) throw std::runtime_error("cannot read back " + scratch.string());
    return bytes;
}

void put_le(std::vector<uint8_t>* out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out->push_back(static_cast<uint8_t>(value >> (8 * i)));
}

// An icon file: a 6-byte header, a 16-byte entry per picture (a side of 256
// is written as 0), then the pictures, each a whole PNG file.
void write_ico(const std::filesystem::path& file, const Canvas& head) {
    std::vector<std::vector<uint8_t>> pictures;
    for (int size : kWindowsIconSizes)
        pictures.push_back(png_bytes(head, size, file.string() + ".part.png"));
    std::vector<uint8_t> out;
    put_le(&out, 0, 2); // reserved
    put_le(&out, 1, 2); // an icon, not a cursor
    put_le(&out, static_cast<uint32_t>(pictures.size()), 2);
    uint32_t offset = static_cast<uint32_t>(6 + 16 * pictures.size());
    for (size_t i = 0; i < pictures.size(); ++i) {
        const int size = kWindowsIconSizes[i];
        put_le(&out, size >= 256 ? 0 : size, 1); // width
        put_le(&out, size >= 256 ? 0 : size, 1); // height
        put_le(&out, 0, 1);                      // no palette
        put_le(&out, 0, 1);                      // reserved
        put_le(&out, 1, 2);                      // colour planes
        put_le(&out, 32, 2);                     // bits per pixel
        put_le(&out, static_cast<uint32_t>(pictures[i].size()), 4);
        put_le(&out, offset, 4);
        offset += static_cast<uint32_t>(pictures[i].size());
    }
    for (const std::vector<uint8_t>& picture : pictures)
        out.insert(out.end(), picture.begin(), picture.end());
    const std::filesystem::path part = file.string() + ".part";
    std::ofstream stream(part, std::ios::binary);
    stream.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    stream.close();
    if (!stream) throw std::runtime_error("cannot write " + part.string());
    std::filesystem::rename(part, file);
}

} // namespace

void make_icons(const std::filesystem::path& folder) {
    const Canvas head = tete::paint_stage(0);
    for (int size : kIconSizes) {
        const Canvas icon = size == head.width ? head : shrink(head, size);
        write_png(folder / ("sheepfall-" + std::to_string(size) + ".png"), size, size, 4,
                  icon.bytes(4));
    }
    write_ico(folder / "sheepfall.ico", head);
}
