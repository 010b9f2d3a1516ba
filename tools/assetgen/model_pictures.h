// Helpers shared by the models' pictures: tileable noise, so textures repeat
// without seams, the shading picture that sphere mapping turns into light on
// a model, and writing a material file.
#pragma once

#include "noise.h" // hash_unit

#include "raster.h"

#include <cstdint>
#include <filesystem>
#include <string>

// Value noise in 0..1 that repeats every period units on both axes.
float tiled_noise(float x, float y, int period, uint32_t seed);
// Four octaves of tiled_noise, 0..1 around 0.5; repeats every period units.
float tiled_fractal(float x, float y, int period, uint32_t seed);
// Distance to the nearest of one random point per cell of a grid of
// cells x cells over the unit square, in cell widths, repeating with the
// square. *cell_id gets a number of the nearest point's cell.
float tiled_cells(float u, float v, int cells, uint32_t seed, uint32_t* cell_id = nullptr);

// Writes the canvas as an RGB (3) or RGBA (4) PNG.
void write_canvas(const std::filesystem::path& file, const Canvas& canvas, int channels);
// Writes text as it stands (LF line ends).
void write_text_file(const std::filesystem::path& file, const std::string& text);

// model_shade.png: soft light from the upper left on a sphere seen from the
// front, in greys from about 0.5 to 1. Sphere-mapped and multiplied over a
// model's base picture it shades the model by the way its faces turn.
void make_model_shade_png(const std::filesystem::path& file);
