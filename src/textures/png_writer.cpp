// PNG writing: owns nothing between calls; turns a pixel buffer into PNG
// bytes through libpng, collecting libpng's own error text as the reason.
#include "textures/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

namespace {

// What one write holds; released by its destructor, also after libpng has
// jumped back from an error.
struct PngWrite {
    png_structp png = nullptr;
    png_infop info = nullptr;
    char message[128] = "";
    std::string* bytes = nullptr; // where the encoded bytes go

    ~PngWrite() {
        if (png) png_destroy_write_struct(&png, &info);
    }
};

} // namespace

static void on_png_error(png_structp png, png_const_charp message) {
    auto* write = static_cast<PngWrite*>(png_get_error_ptr(png));
    std::snprintf(write->message, sizeof write->message, "%s", message);
    png_longjmp(png, 1);
}

static void on_png_warning(png_structp, png_const_charp) {}

static void on_png_write(png_structp png, png_bytep data, png_size_t length) {
    auto* write = static_cast<PngWrite*>(png_get_io_ptr(png));
    write->bytes->append(reinterpret_cast<const char*>(data), length);
}

static void on_png_flush(png_structp) {}

// The libpng part. Holds no objects with destructors, because a libpng error
// returns here through longjmp.
static bool encode_png(PngWrite& write, const uint8_t* rgb, int width, int height, bool bottom_up) {
    png_structp png = write.png;
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &write, on_png_write, on_png_flush);
    png_set_IHDR(png, write.info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height),
                 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, write.info);
    size_t row_bytes = static_cast<size_t>(width) * 3;
    for (int i = 0; i < height; i++) {
        int row = bottom_up ? height - 1 - i : i;
        png_write_row(png, const_cast<png_bytep>(rgb + static_cast<size_t>(row) * row_bytes));
    }
    png_write_end(png, nullptr);
    return true;
}

bool encode_png_rgb(const uint8_t* rgb, int width, int height, bool bottom_up, std::string* bytes,
                    char* reason, int reason_size) {
    if (!rgb || width <= 0 || height <= 0) {
        std::snprintf(reason, static_cast<size_t>(reason_size), "empty picture");
        return false;
    }
    bytes->clear();
    PngWrite write;
    write.bytes = bytes;
    write.png =
        png_create_write_struct(PNG_LIBPNG_VER_STRING, &write, on_png_error, on_png_warning);
    if (write.png) write.info = png_create_info_struct(write.png);
    if (!write.info) {
        std::snprintf(reason, static_cast<size_t>(reason_size), "out of memory");
        return false;
    }
    if (encode_png(write, rgb, width, height, bottom_up)) return true;
    std::snprintf(reason, static_cast<size_t>(reason_size), "%s", write.message);
    return false;
}

bool save_png_rgb(const char* path, const uint8_t* rgb, int width, int height, bool bottom_up,
                  char* reason, int reason_size) {
    std::string bytes;
    if (!encode_png_rgb(rgb, width, height, bottom_up, &bytes, reason, reason_size)) return false;
    std::FILE* file = std::fopen(path, "wbx"); // never over an existing file
    if (!file) {
        std::snprintf(reason, static_cast<size_t>(reason_size), "%s", std::strerror(errno));
        return false;
    }
    bool ok =
        std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size() && std::fflush(file) == 0;
    if (!ok) std::snprintf(reason, static_cast<size_t>(reason_size), "%s", std::strerror(errno));
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        std::snprintf(reason, static_cast<size_t>(reason_size), "%s", std::strerror(errno));
    }
    if (!ok) std::remove(path);
    return ok;
}
