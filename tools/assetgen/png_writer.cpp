#include "png_writer.h"

#include "file_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace {

struct EncodeError {
    char message[256] = "";
};

[[noreturn]] void on_png_error(png_structp png, png_const_charp message) {
    auto* error = static_cast<EncodeError*>(png_get_error_ptr(png));
    std::snprintf(error->message, sizeof error->message, "%s", message);
    png_longjmp(png, 1);
}

void on_png_warning(png_structp, png_const_charp) {}

// libpng reports errors by longjmp out of this function, so it keeps only
// plain locals: nothing here has a destructor that could be skipped.
bool encode(std::FILE* file, int width, int height, int color_type, png_bytep* rows,
            EncodeError* error) {
    png_structp png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, error, on_png_error, on_png_warning);
    if (!png) {
        std::snprintf(error->message, sizeof error->message, "cannot start libpng");
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        std::snprintf(error->message, sizeof error->message, "cannot start libpng");
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    // Fixed settings rather than libpng's defaults, which may change between
    // versions; the best compression costs nothing noticeable at these sizes.
    png_set_compression_level(png, 9);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_ALL_FILTERS);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8,
                 color_type, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

[[noreturn]] void fail(const std::filesystem::path& file, const std::string& reason) {
    throw std::runtime_error("cannot write " + file.string() + ": " + reason);
}

} // namespace

void write_png(const std::filesystem::path& file, int width, int height, int channels,
               std::span<const uint8_t> pixels) {
    if (width <= 0 || height <= 0) fail(file, "empty picture");
    if (channels != 3 && channels != 4) fail(file, "only RGB and RGBA pictures are written");
    const size_t row_bytes = static_cast<size_t>(width) * channels;
    if (pixels.size() != row_bytes * height) fail(file, "pixel buffer does not match the size");

    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(pixels.data() + row_bytes * y);

    const int color_type = channels == 4 ? PNG_COLOR_TYPE_RGB_ALPHA : PNG_COLOR_TYPE_RGB;
    write_file_through(file, [&](std::FILE* out, std::string* reason) {
        EncodeError error;
        if (encode(out, width, height, color_type, rows.data(), &error)) return true;
        *reason = error.message;
        return false;
    });
}
