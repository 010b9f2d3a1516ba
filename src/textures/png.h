// PNG decoding with the system's libpng: one pixel buffer with the picture's
// size, bit depth and channel count, corrected for the display's gamma.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

struct PngImage {
    int width = 0;
    int height = 0;
    int bit_depth = 0; // bits per sample; 16-bit files are reduced to 8
    int channels = 0;  // from the colour type: grey 1, RGB 3, palette 1, grey+alpha 2, RGBA 4
    std::vector<uint8_t> pixels; // height rows of the decoded row size, no gaps
};

// Decodes an open file positioned at its start; the file is read, not closed.
// False when no result is given, the file is not a PNG, or libpng fails;
// *reason, when given, then says why in a player's words: "not a PNG file
// (0 bytes)", "cut off at byte 812", libpng's own complaint ("IDAT: CRC
// error"), or the system's reason a read failed.
bool load_png_image(std::FILE* file, PngImage* result, std::string* reason = nullptr);

// Store rows bottom-up (the file's first row last), as OpenGL expects.
void set_png_flip_rows(bool flip);

// The display gamma used for correction; VIEWING_GAMMA updates it before
// every decode. 2.2 at start.
double png_screen_gamma();
