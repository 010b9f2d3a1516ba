#include "title_box.h"

#include "mesh.h"
#include "model_pictures.h"

#include <algorithm>
#include <cmath>

void make_title_box_model(const std::filesystem::path& file) {
    MeshBuilder mesh;
    int face = mesh.add_material("title");
    mesh.begin_group("box", face);
    add_box(mesh, Frame{}, {5, 5, 5});
    write_ms3d(file, mesh.finish());
}

void make_title_box_materials(const std::filesystem::path& file) {
    write_text_file(file, "title box: the name, coloured by a sphere-mapped sheen\n"
                          "data/box_face.png\n"
                          "MULTIPLY\n"
                          "ENVMAP OFF\n"
                          "data/box_env.png\n"
                          "MULTIPLY\n"
                          "ENVMAP ON\n");
}

// Black (the title adds two more boxes over the first, frame after frame,
// without clearing: black adds nothing, so only the lines and letters leave
// trails) with a grey rim, a glowing frame, rivets and SHEEP FALL in large
// glowing letters.
void make_title_box_face_png(const std::filesystem::path& file) {
    constexpr int kSize = 512;
    Canvas canvas(kSize, kSize, {});

    Mask rim(kSize, kSize), frame(kSize, kSize);
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            int edge = std::min(std::min(x, y), std::min(kSize - 1 - x, kSize - 1 - y));
            if (edge <= 3) rim.at(x, y) = 1.0f;
            if (edge >= 18 && edge <= 23) frame.at(x, y) = 1.0f;
        }
    canvas.blend(rim, 0, 0, {0.3f, 0.34f, 0.4f});
    canvas.blend(blur(frame, 8), 0, 0, {0.1f, 0.6f, 1.0f}, 0.8f);
    canvas.blend(frame, 0, 0, {0.55f, 0.9f, 1.0f});
    // Rivets in the corners.
    for (int cy : {46, kSize - 47})
        for (int cx : {46, kSize - 47})
            for (int y = cy - 9; y <= cy + 9; y++)
                for (int x = cx - 9; x <= cx + 9; x++) {
                    float d = std::hypot(static_cast<float>(x - cx), static_cast<float>(y - cy));
                    float light = clamp01(1.0f - d / 8.0f);
                    canvas.blend(x, y, Colour{0.35f, 0.4f, 0.45f} * (0.4f + 0.6f * light),
                                 clamp01(8.5f - d));
                }

    Typeface face("DejaVuSans-Bold.ttf", 116);
    int line_top = 118;
    for (const char* word : {"SHEEP", "FALL"}) {
        int baseline = 0;
        Mask text = face.line(word, 24, &baseline);
        int x0 = (kSize - text.width) / 2;
        int y0 = line_top + 80 - baseline;
        canvas.blend(blur(text, 10), x0, y0, {1.0f, 0.45f, 0.05f}, 0.9f);
        canvas.blend(text, x0, y0, {1.0f, 0.85f, 0.3f});
        line_top += 140;
    }
    write_canvas(file, canvas, 3);
}

// The colours the box reflects, multiplied into its letters and lines: cyan
// on one side, magenta on the other, gold above and a white sun, so their
// colour slides as the box turns.
void make_title_box_env_png(const std::filesystem::path& file) {
    constexpr int kSize = 128;
    Canvas canvas(kSize, kSize, {});
    for (int y = 0; y < kSize; y++)
        for (int x = 0; x < kSize; x++) {
            float nx = (static_cast<float>(x) + 0.5f) / kSize * 2.0f - 1.0f;
            float ny = 1.0f - (static_cast<float>(y) + 0.5f) / kSize * 2.0f;
            Colour side = mix(Colour{0.45f, 0.95f, 1.0f}, Colour{1.0f, 0.45f, 0.95f},
                              smoothstep(-0.8f, 0.8f, nx));
            Colour c = mix(side, Colour{1.0f, 0.9f, 0.45f}, smoothstep(0.2f, 0.9f, ny));
            c = c * (0.75f + 0.25f * smoothstep(-1.0f, 0.2f, ny));
            float sun = std::exp(-((nx + 0.3f) * (nx + 0.3f) + (ny - 0.4f) * (ny - 0.4f)) / 0.02f);
            canvas.set(x, y, mix(c, Colour{1.0f, 1.0f, 1.0f}, sun));
        }
    write_canvas(file, canvas, 3);
}
