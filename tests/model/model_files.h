// Files and a drawing context for the model tests: models written with the
// data tool's MilkShape 3D writer, material files, solid-colour pictures, and
// a real OpenGL context set up like the game's window.
#pragma once

#include "assetgen/ms3d_writer.h"
#include "support/gl_context.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// A square of two triangles over x, y in -1..1 at z = 0, facing +z, with
// texture coordinates 0..1; one group using material 0, one material.
Ms3dFile square_model();

// Writes an RGBA picture whose pixels all have this colour.
void write_solid_png(const std::string& path, uint8_t r, uint8_t g, uint8_t b, uint8_t a = 255);
// Writes an RGBA picture of width x height from top-row-first pixels.
void write_rgba_png(const std::string& path, int width, int height,
                    const std::vector<uint8_t>& pixels);
void write_text(const std::string& path, const std::string& text);

// A one-layer material block for the texture.
std::string one_layer(const std::string& texture, const std::string& env = "OFF");
// A two-layer material block.
std::string two_layers(const std::string& base, const std::string& second,
                       const std::string& combine, const std::string& second_env = "OFF");

// The back buffer of the current context as top-row-first RGB, written as a
// PNG.
void save_frame_png(const std::string& path, int width, int height);

// A hidden window with a real context, probed and set up as the game's
// window is (sphere-map generation on both units), with the console and the
// texture cache started.
class ModelContext : public testing::Test {
  protected:
    explicit ModelContext(int width = 256, int height = 256) : width_(width), height_(height) {}
    void SetUp() override;
    // Identity projection and model-view: x and y of -1..1 fill the window.
    static void flat_view();
    GlPixel read(int x, int y) const { return gl_->read(x, y); }
    GlPixel centre() const { return gl_->read(width_ / 2, height_ / 2); }
    int width_, height_;
    std::unique_ptr<GlContext> gl_;
};
