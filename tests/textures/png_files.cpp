// Writes the PNG files the texture tests decode.
#include "png_files.h"

#include <png.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

static int samples_per_pixel(int colour_type) {
    switch (colour_type) {
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 1;
    }
}

int png_row_bytes(const PngFile& file) {
    return (file.width * samples_per_pixel(file.colour_type) * file.bit_depth + 7) / 8;
}

std::vector<uint8_t> png_pattern(const PngFile& file) {
    std::vector<uint8_t> samples(static_cast<size_t>(png_row_bytes(file)) * file.height);
    uint32_t state = 12345;
    for (uint8_t& sample : samples) {
        state = state * 1103515245u + 12345u;
        sample = static_cast<uint8_t>(state >> 16);
    }
    return samples;
}

std::vector<uint8_t> reversed_rows(const std::vector<uint8_t>& samples, int row_bytes) {
    std::vector<uint8_t> reversed;
    for (size_t end = samples.size(); end >= size_t(row_bytes); end -= row_bytes)
        reversed.insert(reversed.end(), samples.begin() + (end - row_bytes), samples.begin() + end);
    return reversed;
}

void write_png_file(const std::string& path, const PngFile& file,
                    const std::vector<uint8_t>& samples) {
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) throw std::runtime_error("can't write " + path);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    png_init_io(png, out);
    png_set_IHDR(png, info, file.width, file.height, file.bit_depth, file.colour_type,
                 file.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; i++)
        palette[i] = {png_byte(i), png_byte(i), png_byte(i)};
    if (file.colour_type == PNG_COLOR_TYPE_PALETTE)
        png_set_PLTE(png, info, palette, 1 << file.bit_depth);
    if (file.gamma > 0) png_set_gAMA(png, info, file.gamma);
    std::vector<png_bytep> rows(file.height);
    for (int y = 0; y < file.height; y++)
        rows[y] = const_cast<png_bytep>(samples.data()) + y * png_row_bytes(file);
    png_set_rows(png, info, rows.data());
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    std::fclose(out);
}

std::vector<uint8_t> write_pattern_png(const std::string& path, const PngFile& file) {
    std::vector<uint8_t> samples = png_pattern(file);
    write_png_file(path, file, samples);
    return samples;
}

void write_bytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string read_bytes(const std::string& path) {
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}
