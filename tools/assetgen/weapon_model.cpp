#include "weapon_model.h"

#include "mesh.h"
#include "model_pictures.h"

#include <algorithm>
#include <cmath>

// Model units, y up, the barrel's axis at x = 0, y = 10 pointing to -z; the
// grip hangs below the back of the slide.

namespace {

Frame at(Vec3 origin) {
    Frame frame;
    frame.origin = origin;
    return frame;
}

} // namespace

void make_weapon_model(const std::filesystem::path& file) {
    MeshBuilder mesh;
    int metal = mesh.add_material("blued steel");
    int grip = mesh.add_material("grip");
    int bore = mesh.add_material("bore");

    mesh.begin_group("slide", metal);
    add_bevelled_box(mesh, at({0, 10.6f, -6.0f}), {2.0f, 2.0f, 8.6f}, 0.5f);
    add_bevelled_box(mesh, at({0, 7.6f, -5.5f}), {1.85f, 1.1f, 7.2f}, 0.3f); // frame
    // Grip serrations at the back of the slide.
    for (int i = 0; i < 5; i++)
        for (float side : {-1.0f, 1.0f})
            add_box(mesh, at({side * 2.02f, 10.7f, -1.4f + 0.75f * static_cast<float>(i)}),
                    {0.12f, 1.3f, 0.15f});
    add_box(mesh, at({0, 13.05f, -13.6f}), {0.25f, 0.45f, 0.5f}); // front sight
    for (float side : {-1.0f, 1.0f})                              // rear sight, notched
        add_box(mesh, at({side * 0.9f, 13.1f, 1.8f}), {0.45f, 0.5f, 0.45f});
    add_bevelled_box(mesh, at({0, 11.2f, 3.0f}), {0.55f, 0.9f, 0.6f}, 0.15f); // hammer

    mesh.begin_group("barrel", metal);
    Frame barrel = Frame::along({0, 10, -14.0f}, {0, 0, -1});
    add_lathe(mesh, barrel,
              {{0, 0.95f, 0.95f}, {2.8f, 0.95f, 0.95f}, {2.9f, 1.25f, 1.25f}, {4.0f, 1.25f, 1.25f}},
              16, false, false);
    mesh.begin_group("ejection port", bore);
    add_box(mesh, at({2.03f, 11.3f, -5.0f}), {0.06f, 0.8f, 1.6f});
    mesh.begin_group("muzzle", bore);
    add_lathe(mesh, barrel, {{4.0f, 1.25f, 1.25f}, {4.0f, 0.55f, 0.55f}, {3.7f, 0.55f, 0.55f}}, 16,
              false, true);

    mesh.begin_group("trigger guard", metal);
    add_box(mesh, at({0, 4.6f, -4.6f}), {0.4f, 0.3f, 3.2f});
    add_box(mesh, at({0, 5.6f, -7.5f}), {0.4f, 1.1f, 0.3f});
    add_bevelled_box(mesh, at({0, 5.7f, -4.2f}).turned_about_x(0.3f), {0.28f, 1.0f, 0.32f}, 0.1f);

    // The grip leans back: its bottom is further from the muzzle than its top.
    Frame grip_frame = at({0, 0.6f, 0.5f}).turned_about_x(-0.27f);
    mesh.begin_group("grip", grip);
    add_bevelled_box(mesh, grip_frame, {1.75f, 6.6f, 2.6f}, 0.6f);
    mesh.begin_group("magazine plate", metal);
    Frame plate = grip_frame;
    plate.origin = grip_frame.place({0, -6.9f, 0});
    add_bevelled_box(mesh, plate, {1.9f, 0.4f, 2.8f}, 0.15f);

    write_ms3d(file, mesh.finish());
}

void make_weapon_materials(const std::filesystem::path& file) {
    write_text_file(file, "blued steel with a sphere-mapped shine\n"
                          "data/arme_metal.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/arme_shine.png\n"
                          "ADD\n"
                          "ENVMAP ON\n"
                          "grip\n"
                          "data/arme_grip.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/model_shade.png\n"
                          "MULTIPLY\n"
                          "ENVMAP ON\n"
                          "bore\n"
                          "data/arme_grip.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "NULL\n");
}

// Dark blued steel brushed along one direction.
void make_weapon_metal_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
            float streak = tiled_fractal(u * 2, v * 64, 2, 51);
            float speck = tiled_noise(u * 64, v * 64, 64, 52);
            float k = 0.85f + 0.3f * streak + 0.06f * (speck - 0.5f);
            canvas.set(x, y, Colour{0.17f, 0.19f, 0.23f} * k);
        }
    write_canvas(file, canvas, 3);
}

// What the steel reflects, added over it: a bright sky and a soft-box strip
// above, a pale horizon, a dark floor; about black in between so the steel
// keeps its colour there.
void make_weapon_shine_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float nx = (static_cast<float>(x) + 0.5f) / kSize * 2.0f - 1.0f;
            float ny = 1.0f - (static_cast<float>(y) + 0.5f) / kSize * 2.0f;
            float sky = smoothstep(0.25f, 0.8f, ny) * 0.22f;
            float strip = std::exp(-std::pow((nx + ny * 0.6f - 0.35f) / 0.09f, 2.0f)) *
                          smoothstep(-0.3f, 0.3f, ny) * 0.55f;
            float spot =
                std::exp(-((nx + 0.35f) * (nx + 0.35f) + (ny - 0.45f) * (ny - 0.45f)) / 0.02f) *
                0.7f;
            float horizon = std::exp(-std::pow(ny / 0.08f, 2.0f)) * 0.08f;
            Colour c = Colour{0.75f, 0.85f, 1.0f} * (sky + horizon) +
                       Colour{1.0f, 1.0f, 0.95f} * (strip + spot);
            canvas.set(x, y, c);
        }
    write_canvas(file, canvas, 3);
}

// Black polymer with a diamond checkering.
void make_weapon_grip_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float u = static_cast<float>(x) / kSize * 12, v = static_cast<float>(y) / kSize * 12;
            float a = std::fabs(std::fmod(u + v, 1.0f) - 0.5f);
            float b = std::fabs(std::fmod(u - v + 12.0f, 1.0f) - 0.5f);
            float groove = smoothstep(0.38f, 0.5f, std::max(a, b));
            float k = 1.0f + 0.6f * groove;
            canvas.set(x, y, Colour{0.10f, 0.10f, 0.11f} * k);
        }
    write_canvas(file, canvas, 3);
}
