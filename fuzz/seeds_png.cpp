// Writes a small seed corpus for fuzz_png: one tiny picture of every colour
// type and bit depth the decoder handles, plain and interlaced, with and
// without a gAMA chunk. Usage: fuzz_png_seeds <folder>
#include <png.h>

#include <cstdio>
#include <string>

static bool write_seed(const std::string& path, int colour_type, int bit_depth, bool interlaced,
                       bool gamma) {
    const int width = 5, height = 3;
    std::FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(out);
        return false;
    }
    png_init_io(png, out);
    png_set_IHDR(png, info, width, height, bit_depth, colour_type,
                 interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; i++)
        palette[i] = {png_byte(i), png_byte(255 - i), 128};
    if (colour_type == PNG_COLOR_TYPE_PALETTE) png_set_PLTE(png, info, palette, 1 << bit_depth);
    if (gamma) png_set_gAMA(png, info, 1.0);
    // Plain arrays: a libpng error jumps past this frame's destructors.
    png_byte samples[height][width * 8]; // the widest row: 16-bit RGBA
    png_bytep rows[height];
    for (int y = 0; y < height; y++) {
        for (int i = 0; i < width * 8; i++)
            samples[y][i] = png_byte((i * 37 + y * 11) & 0x33);
        rows[y] = samples[y];
    }
    png_set_rows(png, info, rows);
    png_write_png(png, info, PNG_TRANSFORM_IDENTITY, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(out) == 0;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    struct Kind {
        int colour_type, bit_depth;
    } kinds[] = {
        {PNG_COLOR_TYPE_GRAY, 1},      {PNG_COLOR_TYPE_GRAY, 8},
        {PNG_COLOR_TYPE_GRAY, 16},     {PNG_COLOR_TYPE_PALETTE, 4},
        {PNG_COLOR_TYPE_PALETTE, 8},   {PNG_COLOR_TYPE_RGB, 8},
        {PNG_COLOR_TYPE_RGB, 16},      {PNG_COLOR_TYPE_GRAY_ALPHA, 8},
        {PNG_COLOR_TYPE_RGB_ALPHA, 8}, {PNG_COLOR_TYPE_RGB_ALPHA, 16},
    };
    int written = 0;
    for (const Kind& kind : kinds)
        for (int variant = 0; variant < 3; variant++) {
            char name[256];
            std::snprintf(name, sizeof name, "%s/seed-c%d-d%d-v%d.png", argv[1], kind.colour_type,
                          kind.bit_depth, variant);
            if (!write_seed(name, kind.colour_type, kind.bit_depth, variant == 1, variant == 2)) {
                std::fprintf(stderr, "can't write %s\n", name);
                return 1;
            }
            written++;
        }
    std::printf("%d seeds written to %s\n", written, argv[1]);
    return 0;
}
