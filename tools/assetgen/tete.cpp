#include "tete.h"

#include "png_writer.h"
#include "tete_parts.h"

// Every stage is painted from scratch in the same layers: the bust, the
// wounds on the skin, the features, the wounds on top. A wound appears at
// one stage and stays for all later ones, and the look below goes from a
// cocky grin to a pale, green, slack-jawed wreck.

namespace tete {

namespace {

// clang-format off
constexpr Look kLooks[kStages] = {
    // skin                 shadow                 left   right  pupil gaze            brows   mouth           lost
    {{0.96f, 0.74f, 0.58f}, {0.62f, 0.48f, 0.46f}, 0.85f, 0.85f, 3.4f, {1.5f, 0.0f},   0.35f, MOUTH_GRIN,     0},
    {{0.94f, 0.72f, 0.57f}, {0.62f, 0.48f, 0.46f}, 0.80f, 0.80f, 3.4f, {0.0f, 0.0f},   1.00f, MOUTH_CLENCHED, 0},
    {{0.90f, 0.70f, 0.58f}, {0.60f, 0.49f, 0.47f}, 0.85f, 0.40f, 3.2f, {0.0f, 0.5f},   0.90f, MOUTH_CLENCHED, 0},
    {{0.84f, 0.72f, 0.62f}, {0.58f, 0.52f, 0.50f}, 0.80f, 0.00f, 3.0f, {-1.0f, 1.0f},  0.20f, MOUTH_GRIMACE,  1},
    {{0.74f, 0.79f, 0.60f}, {0.53f, 0.56f, 0.50f}, 0.50f, 0.00f, 2.2f, {-2.5f, -1.5f}, -1.00f, MOUTH_SLACK,    2},
};
// clang-format on

void make_stage_png(const std::filesystem::path& file, int stage) {
    write_png(file, kSize, kSize, 4, paint_stage(stage).bytes(4));
}

} // namespace

Canvas paint_stage(int stage) {
    const Look& look = look_of(stage);
    // Transparent pixels carry the outline's colour, so filtering at the
    // edge of the bust never pulls in a light fringe.
    Canvas canvas(kSize, kSize, kInk, 0.0f);
    paint_bust(canvas, look);
    paint_wounds_on_skin(canvas, stage);
    paint_features(canvas, look);
    paint_wounds_on_top(canvas, stage);
    return canvas;
}

const Look& look_of(int stage) {
    return kLooks[std::clamp(stage, 0, kStages - 1)];
}

} // namespace tete

void make_tete1_png(const std::filesystem::path& file) {
    tete::make_stage_png(file, 0);
}
void make_tete2_png(const std::filesystem::path& file) {
    tete::make_stage_png(file, 1);
}
void make_tete3_png(const std::filesystem::path& file) {
    tete::make_stage_png(file, 2);
}
void make_tete4_png(const std::filesystem::path& file) {
    tete::make_stage_png(file, 3);
}
void make_tete5_png(const std::filesystem::path& file) {
    tete::make_stage_png(file, 4);
}
