#include "raster.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <climits>
#include <cmath>
#include <cstdio>
#include <stdexcept>

#ifndef ASSETGEN_FONT_DIR
#define ASSETGEN_FONT_DIR "/usr/share/fonts/truetype/dejavu"
#endif

namespace {

// One box blur pass along the rows or along the columns.
Mask box_pass(const Mask& in, int radius, bool along_rows) {
    Mask out(in.width, in.height);
    const int lines = along_rows ? in.height : in.width;
    const int length = along_rows ? in.width : in.height;
    const float scale = 1.0f / static_cast<float>(2 * radius + 1);
    for (int line = 0; line < lines; ++line) {
        auto sample = [&](int i) { return along_rows ? in.get(i, line) : in.get(line, i); };
        float sum = 0.0f;
        for (int i = -radius; i <= radius; ++i)
            sum += sample(i);
        for (int i = 0; i < length; ++i) {
            (along_rows ? out.at(i, line) : out.at(line, i)) = sum * scale;
            sum += sample(i + radius + 1) - sample(i - radius);
        }
    }
    return out;
}

std::string ft_error_text(FT_Error error) {
    char text[32];
    std::snprintf(text, sizeof text, "FreeType error 0x%02x", static_cast<unsigned>(error));
    return text;
}

} // namespace

Mask blur(const Mask& mask, int radius) {
    if (radius <= 0) return mask;
    Mask result = mask;
    for (int pass = 0; pass < 3; ++pass)
        result = box_pass(box_pass(result, radius, true), radius, false);
    return result;
}

Canvas::Canvas(int w, int h, Colour fill, float alpha)
    : width(w), height(h), rgba(static_cast<size_t>(w) * h * 4) {
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = fill.r;
        rgba[i + 1] = fill.g;
        rgba[i + 2] = fill.b;
        rgba[i + 3] = alpha;
    }
}

Colour Canvas::colour(int x, int y) const {
    const float* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    return {p[0], p[1], p[2]};
}

void Canvas::set(int x, int y, Colour c) {
    float* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    p[0] = c.r;
    p[1] = c.g;
    p[2] = c.b;
}

void Canvas::blend(int x, int y, Colour c, float coverage) {
    if (x < 0 || y < 0 || x >= width || y >= height || coverage <= 0.0f) return;
    coverage = std::min(coverage, 1.0f);
    float* p = &rgba[(static_cast<size_t>(y) * width + x) * 4];
    const float under = p[3] * (1.0f - coverage);
    const float alpha = coverage + under;
    p[0] = (c.r * coverage + p[0] * under) / alpha;
    p[1] = (c.g * coverage + p[1] * under) / alpha;
    p[2] = (c.b * coverage + p[2] * under) / alpha;
    p[3] = alpha;
}

void Canvas::blend(const Mask& mask, int x0, int y0, Colour c, float opacity) {
    for (int y = 0; y < mask.height; ++y)
        for (int x = 0; x < mask.width; ++x)
            blend(x0 + x, y0 + y, c, mask.get(x, y) * opacity);
}

std::vector<uint8_t> Canvas::bytes(int channels) const {
    std::vector<uint8_t> out;
    out.reserve(static_cast<size_t>(width) * height * channels);
    for (size_t i = 0; i < rgba.size(); i += 4)
        for (int c = 0; c < channels; ++c)
            out.push_back(static_cast<uint8_t>(std::lround(clamp01(rgba[i + c]) * 255.0f)));
    return out;
}

Typeface::Typeface(const std::string& file_name, int pixel_size)
    : path_(std::string(ASSETGEN_FONT_DIR) + "/" + file_name) {
    if (FT_Error error = FT_Init_FreeType(&library_))
        throw std::runtime_error("cannot start FreeType: " + ft_error_text(error));
    if (FT_Error error = FT_New_Face(library_, path_.c_str(), 0, &face_)) {
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot open the font " + path_ + ": " + ft_error_text(error));
    }
    if (FT_Error error = FT_Set_Pixel_Sizes(face_, 0, static_cast<FT_UInt>(pixel_size))) {
        FT_Done_Face(face_);
        FT_Done_FreeType(library_);
        throw std::runtime_error("cannot size the font " + path_ + ": " + ft_error_text(error));
    }
}

Typeface::~Typeface() {
    FT_Done_Face(face_);
    FT_Done_FreeType(library_);
}

Glyph Typeface::glyph(char32_t code) const {
    FT_UInt index = FT_Get_Char_Index(face_, code);
    if (index == 0) {
        char text[64];
        std::snprintf(text, sizeof text, "has no glyph for U+%04X", static_cast<unsigned>(code));
        throw std::runtime_error("the font " + path_ + " " + text);
    }
    FT_Error error = FT_Load_Glyph(face_, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL);
    if (!error) error = FT_Render_Glyph(face_->glyph, FT_RENDER_MODE_NORMAL);
    if (error)
        throw std::runtime_error("cannot render a glyph of " + path_ + ": " + ft_error_text(error));

    const FT_GlyphSlot slot = face_->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    Glyph glyph;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (bitmap.width == 0 || bitmap.rows == 0) return glyph;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256)
        throw std::runtime_error("FreeType gave " + path_ + " a glyph that is not 8-bit grey");

    glyph.width = static_cast<int>(bitmap.width);
    glyph.rows = static_cast<int>(bitmap.rows);
    glyph.coverage.resize(static_cast<size_t>(glyph.width) * glyph.rows);
    // A negative pitch means the buffer holds the bottom row first.
    const unsigned char* top_row =
        bitmap.pitch >= 0 ? bitmap.buffer : bitmap.buffer - bitmap.pitch * (glyph.rows - 1);
    for (int y = 0; y < glyph.rows; ++y)
        std::copy_n(top_row + static_cast<std::ptrdiff_t>(y) * bitmap.pitch, glyph.width,
                    glyph.coverage.begin() + static_cast<std::ptrdiff_t>(y) * glyph.width);
    return glyph;
}

Mask Typeface::line(std::string_view text, int pad, int* baseline) const {
    struct Placed {
        Glyph glyph;
        int pen;
    };
    std::vector<Placed> placed;
    int pen = 0;
    FT_UInt previous = 0;
    int left = INT_MAX, right = INT_MIN, top = INT_MIN, bottom = INT_MAX;
    for (unsigned char code : text) {
        FT_UInt index = FT_Get_Char_Index(face_, code);
        if (previous && index && FT_HAS_KERNING(face_)) {
            FT_Vector kerning;
            if (!FT_Get_Kerning(face_, previous, index, FT_KERNING_DEFAULT, &kerning))
                pen += static_cast<int>(kerning.x >> 6);
        }
        previous = index;
        Glyph glyph = this->glyph(code);
        if (glyph.width > 0) {
            left = std::min(left, pen + glyph.left);
            right = std::max(right, pen + glyph.left + glyph.width);
            top = std::max(top, glyph.top);
            bottom = std::min(bottom, glyph.top - glyph.rows);
        }
        const int advance = glyph.advance;
        placed.push_back({std::move(glyph), pen});
        pen += advance;
    }
    if (left == INT_MAX) left = right = top = bottom = 0;

    Mask mask(right - left + 2 * pad, top - bottom + 2 * pad);
    *baseline = pad + top;
    for (const Placed& p : placed)
        for (int y = 0; y < p.glyph.rows; ++y)
            for (int x = 0; x < p.glyph.width; ++x) {
                float& cell =
                    mask.at(pad + p.pen + p.glyph.left - left + x, pad + top - p.glyph.top + y);
                // Overlapping neighbours (after kerning) keep the stronger ink.
                cell = std::max(cell, p.glyph.coverage[static_cast<size_t>(y) * p.glyph.width + x] /
                                          255.0f);
            }
    return mask;
}
