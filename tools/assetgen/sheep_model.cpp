#include "sheep_model.h"

#include "mesh.h"
#include "model_pictures.h"

#include <algorithm>
#include <cmath>
#include <vector>

// The sheep faces +x with y up; its body's long axis is x. Lengths are in
// model units: the game scales them by 0.2 into a hit box of half extent 10.

namespace {

constexpr float kPi = 3.14159265358979f;

// Wool: the body's radius swells in overlapping puffs around evenly spread
// directions, with creases where puffs meet.
class WoolPuffs {
  public:
    WoolPuffs(int count, float size, float height, uint32_t seed) : size_(size), height_(height) {
        const float golden = kPi * (3.0f - std::sqrt(5.0f));
        for (int i = 0; i < count; i++) {
            float z = 1.0f - 2.0f * (static_cast<float>(i) + 0.5f) / static_cast<float>(count);
            float r = std::sqrt(1.0f - z * z);
            float a = golden * static_cast<float>(i) + 0.6f * hash_unit(i, 0, seed);
            centres_.push_back(normalized({r * std::cos(a), r * std::sin(a), z}));
            heights_.push_back(height * (0.7f + 0.6f * hash_unit(i, 1, seed)));
        }
    }
    float operator()(Vec3 direction) const {
        float best = 0.0f;
        for (size_t i = 0; i < centres_.size(); i++) {
            float apart = (1.0f - dot(direction, centres_[i])) / (1.0f - std::cos(size_));
            if (apart < 1.0f) best = std::max(best, heights_[i] * (1.0f - apart) * (2.0f - apart));
        }
        return best - 0.5f * height_;
    }

  private:
    float size_, height_;
    std::vector<Vec3> centres_;
    std::vector<float> heights_;
};

void add_leg(MeshBuilder& mesh, int leg_material, int hoof_material, Vec3 top) {
    Frame frame = Frame::along(top, {0, -1, 0});
    mesh.begin_group("leg", leg_material);
    add_lathe(mesh, frame, {{0, 3.8f, 3.8f}, {19, 2.7f, 2.7f}, {21, 3.0f, 3.0f}, {27, 2.6f, 2.6f}},
              6, false, false);
    mesh.begin_group("hoof", hoof_material);
    add_lathe(mesh, frame, {{27, 2.7f, 2.7f}, {32, 3.4f, 3.2f}}, 6, false, true);
}

} // namespace

// Under 1,200 triangles: ten sheep cost the software renderer little, and
// the wool's curls live in its picture and the sphere-mapped shading, the
// few bumps of the body's outline keep it from looking smooth.
void make_sheep_model(const std::filesystem::path& file) {
    MeshBuilder mesh;
    int wool = mesh.add_material("wool");
    int face = mesh.add_material("face");
    int eye = mesh.add_material("eye");
    int hoof = mesh.add_material("hoof");

    // Body: poles at the tail and the chest, where the tail and the head hide
    // the seams of the mesh.
    mesh.begin_group("body", wool);
    WoolPuffs body_wool(80, 0.42f, 0.2f, 11);
    add_ellipsoid(mesh, Frame::along({-6, 4, 0}, {1, 0, 0}), {20, 20, 28}, 20, 12, body_wool, 3.0f,
                  2.0f);
    mesh.begin_group("tail", wool);
    WoolPuffs tail_wool(14, 0.8f, 0.25f, 12);
    add_ellipsoid(mesh, Frame::along({-35, 12, 0}, {-1, 0.5f, 0}), {5, 5, 7}, 8, 5, tail_wool);

    for (float x : {13.0f, -22.0f})
        for (float z : {-10.0f, 10.0f})
            add_leg(mesh, face, hoof, {x, -8, z});

    // Head: a tapering snout pointing forward and down from the chest.
    Frame head = Frame::along({28, 15, 0}, {1, -0.5f, 0});
    mesh.begin_group("head", face);
    add_lathe(mesh, head,
              {{-9, 1.0f, 1.0f},
               {-7.5f, 6.0f, 6.5f},
               {-4, 8.0f, 9.0f},
               {1, 8.0f, 9.0f},
               {6, 6.6f, 7.6f},
               {10, 5.2f, 6.0f},
               {12.5f, 3.8f, 4.4f},
               {13.6f, 1.5f, 1.8f}},
              10, true, true);
    // Head frame: x across the head (towards -z of the model), y up, z to the nose.
    mesh.begin_group("ears", face);
    for (float side : {-1.0f, 1.0f}) {
        Vec3 root = head.place({side * 7.0f, 5.0f, -3.0f});
        Vec3 out = head.ax * side + head.ay * (-0.35f) + head.az * (-0.45f);
        Frame ear = Frame::along(root, out);
        add_lathe(mesh, ear,
                  {{0, 1.2f, 0.8f},
                   {3, 3.2f, 1.2f},
                   {6.5f, 3.4f, 1.2f},
                   {9.5f, 2.2f, 1.0f},
                   {11, 0.4f, 0.4f}},
                  5, true, true);
    }
    mesh.begin_group("eyes", eye);
    for (float side : {-1.0f, 1.0f}) {
        Vec3 centre = head.place({side * 6.2f, 4.2f, 3.5f});
        Vec3 out = head.ax * side + head.ay * 0.35f + head.az * 0.6f;
        add_ellipsoid(mesh, Frame::along(centre, out), {2.3f, 2.3f, 2.3f}, 6, 4);
    }
    // A woolly cap between the ears.
    mesh.begin_group("cap", wool);
    WoolPuffs cap_wool(18, 0.7f, 0.22f, 13);
    add_ellipsoid(mesh, Frame::along(head.place({0, 7.5f, -3.5f}), {1, 0.2f, 0}),
                  {6.5f, 5.0f, 7.0f}, 8, 6, cap_wool);

    write_ms3d(file, mesh.finish());
}

void make_sheep_materials(const std::filesystem::path& file) {
    write_text_file(file, "wool\n"
                          "data/mouton_wool.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/model_shade.png\n"
                          "MULTIPLY\n"
                          "ENVMAP ON\n"
                          "face\n"
                          "data/mouton_face.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/model_shade.png\n"
                          "MULTIPLY\n"
                          "ENVMAP ON\n"
                          "eye\n"
                          "data/mouton_eye.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "NULL\n"
                          "hoof\n"
                          "data/mouton_hoof.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/model_shade.png\n"
                          "MULTIPLY\n"
                          "ENVMAP ON\n");
}

// Cream wool in tight lumps with grey creases between them.
void make_sheep_wool_png(const std::filesystem::path& file) {
    constexpr int kSize = 256;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float u = (static_cast<float>(x) + 0.5f) / kSize;
            float v = (static_cast<float>(y) + 0.5f) / kSize;
            float lump = tiled_cells(u, v, 14, 21);
            float curl = tiled_cells(u, v, 37, 22);
            float grain = tiled_fractal(u * 32, v * 32, 32, 23);
            float light = 1.0f - 0.24f * smoothstep(0.3f, 0.9f, lump) -
                          0.08f * smoothstep(0.3f, 0.8f, curl) + 0.08f * (grain - 0.5f);
            Colour cream{1.0f, 0.99f, 0.95f};
            canvas.set(x, y, cream * clamp01(light));
        }
    write_canvas(file, canvas, 3);
}

// Short dark hair.
void make_sheep_face_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
            float hair = tiled_fractal(u * 16, v * 64, 16, 31);
            float k = 0.8f + 0.4f * hair;
            canvas.set(x, y, Colour{0.20f, 0.16f, 0.14f} * k);
        }
    write_canvas(file, canvas, 3);
}

// Wrapped around a small sphere whose pole looks out: white, a brown iris
// and a black pupil with a glint around the pole (t near 1).
void make_sheep_eye_png(const std::filesystem::path& file) {
    constexpr int kSize = 64;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float s = (static_cast<float>(x) + 0.5f) / kSize;
            float t = 1.0f - (static_cast<float>(y) + 0.5f) / kSize;
            Colour c{0.93f, 0.92f, 0.86f};
            c = mix(c, Colour{0.45f, 0.30f, 0.12f}, smoothstep(0.62f, 0.66f, t));
            c = mix(c, Colour{0.03f, 0.03f, 0.03f}, smoothstep(0.76f, 0.80f, t));
            bool glint = t > 0.84f && t < 0.92f && s > 0.10f && s < 0.22f;
            if (glint) c = {0.9f, 0.9f, 0.9f};
            canvas.set(x, y, c);
        }
    write_canvas(file, canvas, 3);
}

void make_sheep_hoof_png(const std::filesystem::path& file) {
    constexpr int kSize = 64;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float u = static_cast<float>(x) / kSize, v = static_cast<float>(y) / kSize;
            float k = 0.8f + 0.4f * tiled_fractal(u * 8, v * 8, 8, 41);
            canvas.set(x, y, Colour{0.09f, 0.08f, 0.08f} * k);
        }
    write_canvas(file, canvas, 3);
}
