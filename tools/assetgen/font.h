// font.png: the bitmap font for all text the game draws.
#pragma once

#include <filesystem>

// 256 x 256 RGBA, a 16 x 16 grid of 16 x 16 cells; cell n holds character
// code n + 32, in grid column n % 16 and grid row n / 16 counted from the top.
// Glyphs are white with their anti-aliased coverage as alpha, inside the left
// 12 columns of their cell because the game advances the pen 12 pixels.
// Throws std::runtime_error on failure.
void make_font_png(const std::filesystem::path& file);
// The font's licence notice, which travels with the picture rendered from it:
// a copy of font-notice.txt beside this tool's sources.
void make_font_licence(const std::filesystem::path& file);
