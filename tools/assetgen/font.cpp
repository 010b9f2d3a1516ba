#include "font.h"

#include "file_writer.h"
#include "png_writer.h"
#include "raster.h"

#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kCell = 16;
constexpr int kGrid = 16;
constexpr int kSize = kCell * kGrid;
constexpr int kFirstCode = 32;

// The game samples glyphs with linear filtering, so ink on a cell's edge
// bleeds into the neighbouring cell's glyph: every cell keeps a transparent
// border of one pixel. At 13 pixels DejaVu Sans Mono's tallest ink ('$',
// brackets) and lowest ('_', descenders) fit rows 1 to 14 with the baseline
// 12 rows from the top, and its 8-pixel advance stays inside the 12 pixels
// the game steps per character.
constexpr int kPixelSize = 13;
constexpr int kBaseline = 12; // rows from the cell's top
constexpr int kOriginX = 1;
constexpr int kBorder = 1;

} // namespace

void make_font_png(const std::filesystem::path& file) {
    Typeface face("DejaVuSansMono.ttf", kPixelSize);

    // White everywhere, so filtering at glyph edges never pulls in a dark fringe.
    std::vector<uint8_t> pixels(static_cast<size_t>(kSize) * kSize * 4, 255);
    for (size_t i = 3; i < pixels.size(); i += 4)
        pixels[i] = 0;

    // Printable ASCII only; the space and everything past '~' stay empty.
    for (int code = '!'; code <= '~'; ++code) {
        const int cell = code - kFirstCode;
        const int cell_x = (cell % kGrid) * kCell;
        const int cell_y = (cell / kGrid) * kCell;
        const Glyph glyph = face.glyph(static_cast<char32_t>(code));
        for (int y = 0; y < glyph.rows; ++y) {
            const int row = kBaseline - glyph.top + y;
            if (row < kBorder || row >= kCell - kBorder) continue; // clipped inside the cell
            for (int x = 0; x < glyph.width; ++x) {
                const int column = kOriginX + glyph.left + x;
                if (column < kBorder || column >= kCell - kBorder) continue;
                const size_t at =
                    (static_cast<size_t>(cell_y + row) * kSize + cell_x + column) * 4 + 3;
                pixels[at] = glyph.coverage[static_cast<size_t>(y) * glyph.width + x];
            }
        }
    }
    write_png(file, kSize, kSize, 4, pixels);
}

void make_font_licence(const std::filesystem::path& file) {
    std::ifstream notice(ASSETGEN_FONT_NOTICE, std::ios::binary);
    std::string text((std::istreambuf_iterator<char>(notice)), std::istreambuf_iterator<char>());
    if (!notice || text.empty())
        throw std::runtime_error(std::string("cannot read ") + ASSETGEN_FONT_NOTICE);
    write_file_bytes(file, std::span(reinterpret_cast<const uint8_t*>(text.data()), text.size()));
}
