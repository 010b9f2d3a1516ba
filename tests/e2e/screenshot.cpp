// Writes a PNG of the whole X screen (the DISPLAY given in the environment),
// so end-to-end tests and people playing headless can see the game.
// Usage: screenshot out.png [x y]  — with x y it also prints that pixel's
// "r g b" (origin top-left).
//        screenshot --diff a.png b.png  — prints the percentage of pixels
// that differ between two pictures of the same size.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include "textures/png_writer.h"

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The game's own PNG writer never overwrites, and a test takes one picture
// after another under the same name.
static bool write_png(const char* path, int width, int height, const std::vector<png_byte>& rgb) {
    std::remove(path);
    char reason[256];
    if (save_png_rgb(path, rgb.data(), width, height, false, reason, sizeof reason)) return true;
    std::fprintf(stderr, "screenshot: %s\n", reason);
    return false;
}

static bool read_rgb(const char* path, png_image* image, std::vector<png_byte>* rgb) {
    *image = png_image{};
    image->version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(image, path)) return false;
    image->format = PNG_FORMAT_RGB;
    rgb->resize(PNG_IMAGE_SIZE(*image));
    return png_image_finish_read(image, nullptr, rgb->data(), 0, nullptr) != 0;
}

static int print_difference(const char* first, const char* second) {
    png_image a, b;
    std::vector<png_byte> pixels_a, pixels_b;
    if (!read_rgb(first, &a, &pixels_a) || !read_rgb(second, &b, &pixels_b) ||
        a.width != b.width || a.height != b.height) {
        std::fprintf(stderr, "screenshot: cannot compare %s and %s\n", first, second);
        return 1;
    }
    size_t count = static_cast<size_t>(a.width) * a.height, differ = 0;
    for (size_t i = 0; i < count; i++)
        differ += pixels_a[i * 3] != pixels_b[i * 3] || pixels_a[i * 3 + 1] != pixels_b[i * 3 + 1] ||
                  pixels_a[i * 3 + 2] != pixels_b[i * 3 + 2];
    std::printf("%d\n", static_cast<int>(differ * 100 / count));
    return 0;
}

int main(int argc, char** argv) {
    if (argc == 4 && std::string(argv[1]) == "--diff") return print_difference(argv[2], argv[3]);
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: %s out.png [x y] | --diff a.png b.png\n", argv[0]);
        return 2;
    }
    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "screenshot: cannot open the display\n");
        return 1;
    }
    Window root = DefaultRootWindow(display);
    XWindowAttributes attributes;
    XGetWindowAttributes(display, root, &attributes);
    int width = attributes.width, height = attributes.height;
    XImage* image = XGetImage(display, root, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) {
        std::fprintf(stderr, "screenshot: cannot read the screen\n");
        return 1;
    }
    std::vector<png_byte> rgb(static_cast<size_t>(width) * height * 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            unsigned long p = XGetPixel(image, x, y);
            png_byte* out = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            out[0] = (p & image->red_mask) >> 16;
            out[1] = (p & image->green_mask) >> 8;
            out[2] = p & image->blue_mask;
        }
    if (argc == 4) {
        int x = std::atoi(argv[2]), y = std::atoi(argv[3]);
        if (x >= 0 && y >= 0 && x < width && y < height) {
            const png_byte* p = &rgb[(static_cast<size_t>(y) * width + x) * 3];
            std::printf("%d %d %d\n", p[0], p[1], p[2]);
        }
    }
    XDestroyImage(image);
    XCloseDisplay(display);
    return write_png(argv[1], width, height, rgb) ? 0 : 1;
}
