// PNG decoding: owns the row order switch and the display gamma, and turns an
// open file into one pixel buffer through libpng. The only transformations
// are gamma correction and 16-to-8-bit reduction; palettes stay indices and
// grey stays grey, so callers see the file's own layout.
#include "textures/png.h"

#include <png.h>

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

static bool flip_rows = false;
static double screen_gamma = 2.2;

static constexpr double DEFAULT_FILE_GAMMA = 1.0 / 2.2;
// Outside this range libpng either rejects the screen gamma or reads it as a
// fixed-point number, so such viewing gammas are not taken.
static constexpr double MIN_SCREEN_GAMMA = 0.01;
static constexpr double MAX_SCREEN_GAMMA = 100.0;
// Nothing the game draws comes near these; they stop a hostile header from
// making us allocate gigabytes.
static constexpr png_uint_32 MAX_SIDE = 16384;
static constexpr size_t MAX_PIXEL_BYTES = size_t{256} << 20;
static constexpr int SIGNATURE_SIZE = 8;

void set_png_flip_rows(bool flip) {
    flip_rows = flip;
}

double png_screen_gamma() {
    return screen_gamma;
}

// VIEWING_GAMMA holds the gamma the viewer's display already applies; the
// whole text must be a positive number or it is ignored.
static void update_screen_gamma_from_environment() {
    const char* text = std::getenv("VIEWING_GAMMA");
    if (!text || text[0] == '\0') return;
    char* end = nullptr;
    double viewing = std::strtod(text, &end);
    if (*end != '\0' || !std::isfinite(viewing) || viewing <= 0.0) return;
    double gamma = 2.2 / viewing;
    if (gamma < MIN_SCREEN_GAMMA || gamma > MAX_SCREEN_GAMMA) return;
    screen_gamma = gamma;
}

// The file's size in bytes, for saying how much of it there is; -1 when
// it cannot be told (a pipe). Leaves the read position where it was.
static long file_size(std::FILE* file) {
    long at = std::ftell(file);
    if (at < 0 || std::fseek(file, 0, SEEK_END) != 0) return -1;
    long size = std::ftell(file);
    std::fseek(file, at, SEEK_SET);
    return size;
}

// Why a read of the file stopped short: the system's reason, or where the
// file ends.
static std::string short_read_reason(std::FILE* file) {
    if (std::ferror(file)) return std::strerror(errno);
    return "cut off at byte " + std::to_string(std::ftell(file));
}

static bool has_png_signature(std::FILE* file, std::string* reason) {
    png_byte signature[SIGNATURE_SIZE];
    size_t got = std::fread(signature, 1, SIGNATURE_SIZE, file);
    if (got == SIGNATURE_SIZE && png_sig_cmp(signature, 0, SIGNATURE_SIZE) == 0) return true;
    if (std::ferror(file)) {
        *reason = std::strerror(errno); // a folder, say
        return false;
    }
    long size = file_size(file);
    *reason = size < 0 ? "not a PNG file" : "not a PNG file (" + std::to_string(size) + " bytes)";
    return false;
}

static int channels_of_colour_type(int colour_type) {
    switch (colour_type) {
    case PNG_COLOR_TYPE_GRAY: return 1;
    case PNG_COLOR_TYPE_RGB: return 3;
    case PNG_COLOR_TYPE_PALETTE: return 1;
    case PNG_COLOR_TYPE_GRAY_ALPHA: return 2;
    case PNG_COLOR_TYPE_RGB_ALPHA: return 4;
    default: return 0;
    }
}

namespace {

// Everything one decode allocates. It lives in the caller of the setjmp
// frame, so a libpng error that jumps back still releases it on return.
struct PngDecode {
    png_structp png = nullptr;
    png_infop info = nullptr;
    png_infop end_info = nullptr;
    std::vector<uint8_t> pixels;
    std::vector<png_bytep> rows;
    char libpng_error[128] = {}; // libpng's reason for the last error, if any

    ~PngDecode() {
        if (png) png_destroy_read_struct(&png, &info, &end_info);
    }
};

} // namespace

// libpng's error handler: keeps the reason for the caller instead of
// printing it, then jumps back to decode_png.
static void keep_libpng_error(png_structp png, png_const_charp message) {
    auto* decode = static_cast<PngDecode*>(png_get_error_ptr(png));
    std::snprintf(decode->libpng_error, sizeof decode->libpng_error, "%s", message);
    png_longjmp(png, 1);
}

static bool create_read_structs(PngDecode& decode) {
    decode.png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &decode, keep_libpng_error, nullptr);
    if (!decode.png) return false;
    decode.info = png_create_info_struct(decode.png);
    decode.end_info = png_create_info_struct(decode.png);
    return decode.info && decode.end_info;
}

// libpng reads text, profile and other ancillary chunks whole into memory,
// trusting the length in the file (a forged one costs up to 2 GiB). None of
// them matters here except gAMA, so the rest are skipped unread.
static void skip_unused_chunks(png_structp png) {
    static const png_byte GAMMA_CHUNK[] = {'g', 'A', 'M', 'A', '\0'};
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_keep_unknown_chunks(png, PNG_HANDLE_CHUNK_AS_DEFAULT, GAMMA_CHUNK, 1);
}

static void set_gamma_correction(png_structp png, png_infop info) {
    update_screen_gamma_from_environment();
    png_fixed_point file_gamma = 0;
    if (!png_get_gAMA_fixed(png, info, &file_gamma))
        file_gamma = static_cast<png_fixed_point>(std::lround(DEFAULT_FILE_GAMMA * PNG_FP_1));
    // The fixed-point call takes every gAMA value libpng accepts as it is;
    // libpng leaves the pixels alone when the two gammas nearly cancel.
    png_set_gamma_fixed(png, static_cast<png_fixed_point>(std::lround(screen_gamma * PNG_FP_1)),
                        file_gamma);
}

// Sizes the pixel buffer and points each picture row at its place in it,
// bottom-up when rows are flipped. False for pictures too big to hold.
static bool prepare_rows(PngDecode& decode, size_t row_bytes, png_uint_32 height) {
    if (row_bytes == 0 || height == 0 || row_bytes > MAX_PIXEL_BYTES / height) return false;
    decode.pixels.resize(row_bytes * height);
    decode.rows.resize(height);
    for (png_uint_32 i = 0; i < height; i++) {
        size_t slot = flip_rows ? height - 1 - i : i;
        decode.rows[i] = decode.pixels.data() + slot * row_bytes;
    }
    return true;
}

// The libpng part of a decode. Holds no objects with destructors, because a
// libpng error returns here through longjmp.
static bool decode_png(PngDecode& decode, std::FILE* file, PngImage* result) {
    png_structp png = decode.png;
    png_infop info = decode.info;
    if (setjmp(png_jmpbuf(png))) return false;

    png_set_user_limits(png, MAX_SIDE, MAX_SIDE);
    skip_unused_chunks(png);
    png_init_io(png, file);
    png_set_sig_bytes(png, SIGNATURE_SIZE);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    int colour_type = png_get_color_type(png, info);

    set_gamma_correction(png, info);
    png_set_strip_16(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);

    if (!prepare_rows(decode, png_get_rowbytes(png, info), height)) return false;
    png_read_image(png, decode.rows.data());
    png_read_end(png, decode.end_info);

    result->width = static_cast<int>(width);
    result->height = static_cast<int>(height);
    result->bit_depth = png_get_bit_depth(png, info);
    result->channels = channels_of_colour_type(colour_type);
    return true;
}

// Why decode_png failed: the file ended or could not be read (libpng only
// says "Read Error" then), libpng's own reason, or a picture too big to hold.
static std::string decode_failure_reason(const PngDecode& decode, std::FILE* file) {
    if (std::feof(file) || std::ferror(file)) return short_read_reason(file);
    if (decode.libpng_error[0]) return decode.libpng_error;
    return "picture too big";
}

bool load_png_image(std::FILE* file, PngImage* result, std::string* reason) {
    std::string unused;
    if (!reason) reason = &unused;
    if (!result || !file) return false;
    if (!has_png_signature(file, reason)) return false;
    PngDecode decode;
    if (!create_read_structs(decode)) {
        *reason = "out of memory";
        return false;
    }
    try {
        if (!decode_png(decode, file, result)) {
            *reason = decode_failure_reason(decode, file);
            return false;
        }
    } catch (const std::bad_alloc&) {
        *reason = "out of memory";
        return false;
    }
    result->pixels = std::move(decode.pixels);
    return true;
}
