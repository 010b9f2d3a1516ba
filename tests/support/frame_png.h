// Whole frames read back from OpenGL, compared and written as PNG files.
#pragma once

#include "gl.h"
#include "textures/png_writer.h"


#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

// The back buffer's RGB pixels, bottom row first.
inline std::vector<uint8_t> read_frame(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

// Writes a frame of read_frame as an RGB PNG, replacing any older file; false
// when the file cannot be written.
inline bool write_frame_png(const std::string& path, const std::vector<uint8_t>& rgb, int width,
                            int height) {
    std::remove(path.c_str());
    char reason[256];
    return save_png_rgb(path.c_str(), rgb.data(), width, height, true, reason, sizeof reason);
}
