// Files for the landscape tests: RAW heightmaps and small PNG pictures
// written to the test's scratch folder, and landscapes built in memory.
#pragma once

#include "terrain/quadtree.h"
#include "terrain/terrain.h"

#include <png.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

inline void write_raw(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

// A picture of one colour (3 or 4 channels), written with libpng.
inline void write_picture(const std::string& path, int width, int height,
                          const std::vector<uint8_t>& pixel) {
    const int channels = static_cast<int>(pixel.size());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, width, height, 8,
                 channels == 4 ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<uint8_t> row(static_cast<size_t>(width) * channels);
    for (size_t i = 0; i < row.size(); i++)
        row[i] = pixel[i % channels];
    for (int y = 0; y < height; y++)
        png_write_row(png, row.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(file);
}

// A landscape of the given heights (side x side, in world units) without
// pictures, with its quadtree.
inline void build_land(Terrain& land, int side, const std::vector<float>& heights) {
    land.width = land.height = side;
    land.heights = heights;
    land.root = quad_node_new();
    quad_node_build(land.root, 0.0f, 0.0f, static_cast<float>(side), static_cast<float>(side),
                    land);
}

// Heights from the game's own generator in quarter units: rough land for
// comparing two ways of computing the same thing.
inline std::vector<float> rough_heights(int side, unsigned seed) {
    std::vector<float> heights(static_cast<size_t>(side) * side);
    for (float& h : heights) {
        seed = seed * 214013u + 2531011u;
        h = static_cast<float>((seed >> 16) & 0xFF) * 0.25f;
    }
    return heights;
}
