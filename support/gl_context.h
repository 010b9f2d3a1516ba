// A real OpenGL context for drawing tests (Mesa under Xvfb or SDL's offscreen
// driver), with pixel read-back.
#pragma once

#include <cstdint>

struct GlPixel {
    uint8_t r, g, b, a;
};

// Opens a hidden 800 x 600 window with a compatibility context; closes it on
// destruction. ok() is false when no context could be made.
class GlContext {
  public:
    explicit GlContext(int width = 800, int height = 600);
    ~GlContext();
    bool ok() const { return window_ != nullptr; }
    // Pixel of the back buffer, origin bottom-left.
    GlPixel read(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

  private:
    void* window_ = nullptr;
    void* context_ = nullptr;
    int width_, height_;
};
