// libFuzzer target for the PNG decoder: every input is decoded from a memory
// file, so malformed headers, chunks and image data reach libpng and our row
// handling exactly as a damaged texture file on disk would.
#include "textures/png.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;  // fmemopen refuses an empty buffer
    std::FILE* file = fmemopen(const_cast<uint8_t*>(data), size, "rb");
    if (!file) return 0;
    set_png_flip_rows(size % 2 == 1);  // both row orders get exercised
    PngImage image;
    if (load_png_image(file, &image)) {
        // The buffer must hold exactly what the header promised.
        size_t row_bits = size_t(image.width) * image.channels * image.bit_depth;
        if (image.pixels.size() != (row_bits + 7) / 8 * size_t(image.height)) __builtin_trap();
    }
    std::fclose(file);
    return 0;
}
