#include "model_files.h"

#include "app/extensions.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "gl.h"
#include "textures/texture.h"

#include <png.h>

#include <cstring>
#include <fstream>
#include <stdexcept>

Ms3dFile square_model() {
    Ms3dFile file;
    const float corners[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    for (const auto& c : corners) {
        Ms3dVertex vertex;
        vertex.position[0] = c[0];
        vertex.position[1] = c[1];
        file.vertices.push_back(vertex);
    }
    const uint16_t triangles[2][3] = {{0, 1, 2}, {0, 2, 3}};
    for (const auto& t : triangles) {
        Ms3dTriangle triangle;
        for (int k = 0; k < 3; k++) {
            triangle.vertices[k] = t[k];
            triangle.s[k] = (corners[t[k]][0] + 1) / 2;
            triangle.t[k] = (corners[t[k]][1] + 1) / 2;
        }
        file.triangles.push_back(triangle);
    }
    file.groups.push_back({"square", {0, 1}, 0});
    file.materials.push_back({"material", ""});
    return file;
}

void write_rgba_png(const std::string& path, int width, int height,
                    const std::vector<uint8_t>& pixels) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    if (!png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr))
        throw std::runtime_error("can't write " + path + ": " + image.message);
}

void write_solid_png(const std::string& path, uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 8 * 8; i++)
        pixels.insert(pixels.end(), {r, g, b, a});
    write_rgba_png(path, 8, 8, pixels);
}

void write_text(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

std::string one_layer(const std::string& texture, const std::string& env) {
    return "material\n" + texture + "\nMULTIPLY\nENVMAP " + env + "\nNULL\n";
}

std::string two_layers(const std::string& base, const std::string& second,
                       const std::string& combine, const std::string& second_env) {
    return "material\n" + base + "\nMULTIPLY\nENVMAP OFF\n" + second + "\n" + combine +
           "\nENVMAP " + second_env + "\n";
}

void save_frame_png(const std::string& path, int width, int height) {
    std::vector<uint8_t> bottom_up(static_cast<size_t>(width) * height * 4);
    glFinish();
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGBA, GL_UNSIGNED_BYTE, bottom_up.data());
    std::vector<uint8_t> top_down(bottom_up.size());
    size_t row = static_cast<size_t>(width) * 4;
    for (int y = 0; y < height; y++)
        std::memcpy(&top_down[y * row], &bottom_up[(height - 1 - y) * row], row);
    for (size_t i = 3; i < top_down.size(); i += 4)
        top_down[i] = 255;
    write_rgba_png(path, width, height, top_down);
}

void ModelContext::SetUp() {
    gl_ = std::make_unique<GlContext>(width_, height_);
    ASSERT_TRUE(gl_->ok());
    console_init();
    texture_manager_init();
    extensions_start_context();
    ASSERT_TRUE(gl_driver().multitexture) << "the test context needs multitexturing";
    glDepthFunc(GL_LEQUAL);
    flat_view();
}

void ModelContext::flat_view() {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}
