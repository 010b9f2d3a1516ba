// PNG output for the data tool: 8 bits per sample, RGB or RGBA, written the
// same way on every run (no time stamps, fixed compression settings) so the
// data files only change when the code that makes them changes.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

// Writes a picture whose rows are stored top row first without padding;
// channels is 3 (RGB) or 4 (RGBA). The file is written under a temporary name
// and renamed into place, so a failed run never leaves a half-written file.
// Throws std::runtime_error with the file name and the reason on failure.
void write_png(const std::filesystem::path& file, int width, int height, int channels,
               std::span<const uint8_t> pixels);
