// PNG files for the texture tests, written with libpng so the decoder is
// checked against files it did not make itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct PngFile {
    int width = 1;
    int height = 1;
    int colour_type = 2; // libpng's PNG_COLOR_TYPE_* value
    int bit_depth = 8;
    bool interlaced = false;
    double gamma = 0.0; // written as a gAMA chunk when positive
};

// Bytes per sample row of the file, before any decoding.
int png_row_bytes(const PngFile& file);

// Distinct sample bytes for every row, top row first, no padding.
std::vector<uint8_t> png_pattern(const PngFile& file);

// The same rows in the opposite order.
std::vector<uint8_t> reversed_rows(const std::vector<uint8_t>& samples, int row_bytes);

// Writes the samples (top row first) as a PNG; palette files get a 256-entry
// grey ramp.
void write_png_file(const std::string& path, const PngFile& file,
                    const std::vector<uint8_t>& samples);

// Writes the file with the pattern and returns the pattern.
std::vector<uint8_t> write_pattern_png(const std::string& path, const PngFile& file);

void write_bytes(const std::string& path, const std::string& bytes);
std::string read_bytes(const std::string& path);
