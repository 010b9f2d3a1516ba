// libFuzzer target for the PNG decoder: every input is decoded from a memory
// file, so malformed headers, chunks and image data reach libpng and our row
// handling exactly as a damaged texture file on disk would.
//
// libpng is the system's uninstrumented library, so the fuzzer cannot learn
// its checksums; the chunk CRCs are recomputed before decoding so mutated
// chunks get past the CRC check and into the chunk handlers.
#include "textures/png.h"

#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <vector>

static uint32_t read_be32(const uint8_t* bytes) {
    return uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | bytes[3];
}

static void write_be32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < 4; i++)
        bytes[i] = uint8_t(value >> (24 - 8 * i));
}

// Walks the chunks after the signature and rewrites each complete chunk's CRC.
static void fix_chunk_crcs(std::vector<uint8_t>& bytes) {
    size_t at = 8;
    while (at + 12 <= bytes.size()) {
        size_t length = read_be32(&bytes[at]);
        if (length > bytes.size() - at - 12) return;
        uLong crc = crc32(0L, &bytes[at + 4], uInt(length + 4));
        write_be32(&bytes[at + 8 + length], uint32_t(crc));
        at += 12 + length;
    }
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0; // fmemopen refuses an empty buffer
    std::vector<uint8_t> bytes(data, data + size);
    fix_chunk_crcs(bytes);
    std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
    if (!file) return 0;
    set_png_flip_rows(size % 2 == 1); // both row orders get exercised
    PngImage image;
    if (load_png_image(file, &image)) {
        // The buffer must hold exactly what the header promised.
        size_t row_bits = size_t(image.width) * image.channels * image.bit_depth;
        if (image.pixels.size() != (row_bits + 7) / 8 * size_t(image.height)) __builtin_trap();
    }
    std::fclose(file);
    return 0;
}
