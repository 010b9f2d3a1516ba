// Small painting kit shared by the picture makers: float colours, coverage
// masks, an RGBA canvas with source-over blending, and FreeType text.
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

inline float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

inline float smoothstep(float edge0, float edge1, float x) {
    float t = clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3.0f - 2.0f * t);
}

// A colour with channels 0..1 as they go into the file (no gamma handling).
struct Colour {
    float r = 0, g = 0, b = 0;
};

inline Colour operator+(Colour a, Colour b) {
    return {a.r + b.r, a.g + b.g, a.b + b.b};
}
inline Colour operator*(Colour c, float k) {
    return {c.r * k, c.g * k, c.b * k};
}
inline Colour operator*(Colour a, Colour b) {
    return {a.r * b.r, a.g * b.g, a.b * b.b};
}
inline Colour mix(Colour a, Colour b, float t) {
    return a * (1.0f - t) + b * t;
}

// Coverage per pixel, 0 (empty) to 1 (full), rows top first.
struct Mask {
    int width = 0;
    int height = 0;
    std::vector<float> value;

    Mask(int w, int h) : width(w), height(h), value(static_cast<size_t>(w) * h, 0.0f) {}
    float& at(int x, int y) { return value[static_cast<size_t>(y) * width + x]; }
    // Outside the mask counts as empty.
    float get(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0.0f;
        return value[static_cast<size_t>(y) * width + x];
    }
};

// Softens a mask with three box blurs of the given radius, which comes close
// to a Gaussian; the result has the same size, so leave room around the ink.
Mask blur(const Mask& mask, int radius);

// An RGBA picture being painted, channels 0..1, colour not premultiplied.
struct Canvas {
    int width = 0;
    int height = 0;
    std::vector<float> rgba;

    Canvas(int w, int h, Colour fill, float alpha = 1.0f);
    Colour colour(int x, int y) const;
    void set(int x, int y, Colour c);
    // Paints a colour over one pixel with the given coverage, source over.
    void blend(int x, int y, Colour c, float coverage);
    // Paints a colour through a mask whose top left pixel lands on (x0, y0);
    // the parts outside the canvas are dropped.
    void blend(const Mask& mask, int x0, int y0, Colour c, float opacity = 1.0f);
    // Rounds to 8 bits per sample; 3 channels drops the alpha.
    std::vector<uint8_t> bytes(int channels) const;
};

// One anti-aliased glyph: coverage 0..255, rows top first. left and top place
// the bitmap from the pen position on the baseline (top counts upwards).
struct Glyph {
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    int advance = 0;
    std::vector<uint8_t> coverage;
};

// A font from the system font folder, at one pixel size.
class Typeface {
  public:
    // Throws std::runtime_error when the file cannot be opened or sized.
    Typeface(const std::string& file_name, int pixel_size);
    ~Typeface();
    Typeface(const Typeface&) = delete;
    Typeface& operator=(const Typeface&) = delete;

    // Hinted and rendered with FreeType's normal (8-bit grey) anti-aliasing.
    Glyph glyph(char32_t code) const;
    // The line's glyphs side by side with kerning, tightly around the ink
    // plus pad empty pixels on every side. *baseline gets the baseline row.
    Mask line(std::string_view text, int pad, int* baseline) const;

  private:
    std::string path_;
    FT_LibraryRec_* library_ = nullptr;
    FT_FaceRec_* face_ = nullptr;
};
