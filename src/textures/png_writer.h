// PNG writing with the system's libpng: 8-bit RGB pictures, such as a frame
// read back from OpenGL.
#pragma once

#include <cstdint>
#include <string>

// Encodes width x height RGB pixels (rows of width * 3 bytes, no gaps) as the
// bytes of a PNG file; bottom_up says the first row in memory is the
// picture's bottom row, as OpenGL reads frames back. False on failure, with
// the reason in `reason`.
bool encode_png_rgb(const uint8_t* rgb, int width, int height, bool bottom_up, std::string* bytes,
                    char* reason, int reason_size);
// The same written as a new PNG file. An existing file is never
// overwritten. False on failure, with the reason in `reason`; a half-written
// file is removed.
bool save_png_rgb(const char* path, const uint8_t* rgb, int width, int height, bool bottom_up,
                  char* reason, int reason_size);
