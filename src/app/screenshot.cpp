// Screenshots: owns the pending request; reads the finished frame back from OpenGL, encodes it
// with the PNG writer and saves it under the next free number through a temporary file and a
// rename (a failed or killed write leaves no file under the number, so it stays free), making
// the folder (in the player's folder) on demand.
#include "app/screenshot.h"

#include "console/output.h"
#include "console/registry.h"
#include "files/file_io.h"
#include "files/folders.h"
#include "gl.h"
#include "textures/png_writer.h"

#include <SDL.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

static bool requested = false;

static const char* const FOLDER = "screenshots";
static constexpr int HIGHEST_NUMBER = 9999;

void screenshot_request() {
    requested = true;
}

void screenshot_init() {
    console_add_command("screenshot", screenshot_request);
}

void screenshot_frame_done() {
    if (!requested) return;
    requested = false;
    screenshot_take();
}

// The first number from 0000 without a file; false when all are taken.
static bool next_free_name(const std::string& folder, std::string* path) {
    std::error_code error;
    for (int number = 0; number <= HIGHEST_NUMBER; number++) {
        char name[32];
        std::snprintf(name, sizeof name, "/sheepfall-%04d.png", number);
        *path = folder + name;
        if (!fs::exists(*path, error) && !error) return true;
    }
    return false;
}

// The back buffer's RGB pixels, bottom row first.
static std::vector<uint8_t> read_back_frame(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * static_cast<size_t>(height) * 3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadBuffer(GL_BACK);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);
    return rgb;
}

bool screenshot_take() {
    SDL_Window* window = SDL_GL_GetCurrentWindow();
    int width = 0, height = 0;
    if (window) SDL_GL_GetDrawableSize(window, &width, &height);
    if (width <= 0 || height <= 0) {
        console_print_error("Can't take a screenshot: no window");
        return false;
    }
    std::string folder = player_file(FOLDER);
    std::error_code error;
    fs::create_directories(folder, error);
    if (error) {
        console_print_errorf("Can't make folder %s: %s", folder.c_str(), error.message().c_str());
        return false;
    }
    std::string path;
    if (!next_free_name(folder, &path)) {
        console_print_errorf("Can't take a screenshot: %s is full", folder.c_str());
        return false;
    }
    std::vector<uint8_t> rgb = read_back_frame(width, height);
    std::string png;
    char reason[128];
    if (!encode_png_rgb(rgb.data(), width, height, true, &png, reason, sizeof reason)) {
        console_print_errorf("Can't write %s: %s", path.c_str(), reason);
        return false;
    }
    std::string why;
    if (!replace_file(path.c_str(), png, &why)) {
        console_print_errorf("Can't write %s: %s", path.c_str(), why.c_str());
        return false;
    }
    console_printf("Wrote %s", path.c_str());
    return true;
}
