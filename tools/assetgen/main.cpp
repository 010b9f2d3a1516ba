// assetgen: makes the game's data files from code, the same bytes on every run.
//
//   assetgen OUTPUT_FOLDER           the data files
//   assetgen --icons OUTPUT_FOLDER   the desktop icons (sheepfall-48.png ...)
//
// Creates the folder if needed and writes each file into it, printing one line
// per file: the files every level shares, then each level's own files for
// every row of the level table. Any failure stops the run with a message and
// exit code 1.
#include "dead.h"
#include "feu.h"
#include "fire_sound.h"
#include "font.h"
#include "icon.h"
#include "levels.h"
#include "model_pictures.h"
#include "radar.h"
#include "sheep_model.h"
#include "tete.h"
#include "title_box.h"
#include "weapon_model.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <string_view>

namespace {

struct DataFile {
    const char* name;
    void (*make)(const std::filesystem::path& file);
};

// One file a line, kept so by hand:
// clang-format off
constexpr DataFile kDataFiles[] = {
    {"font.png", make_font_png},
    {"FONT-LICENSE", make_font_licence},
    {"dead.png", make_dead_png},
    {"radar.png", make_radar_png},
    {"feu.png", make_feu_png},
    {"tete1.png", make_tete1_png},
    {"tete2.png", make_tete2_png},
    {"tete3.png", make_tete3_png},
    {"tete4.png", make_tete4_png},
    {"tete5.png", make_tete5_png},
    {"sound/fire.wav", make_fire_wav},
    {"model_shade.png", make_model_shade_png},
    {"mouton_wool.png", make_sheep_wool_png},
    {"mouton_face.png", make_sheep_face_png},
    {"mouton_eye.png", make_sheep_eye_png},
    {"mouton_hoof.png", make_sheep_hoof_png},
    {"mouton.ms3d", make_sheep_model},
    {"mouton.txt", make_sheep_materials},
    {"arme_metal.png", make_weapon_metal_png},
    {"arme_shine.png", make_weapon_shine_png},
    {"arme_grip.png", make_weapon_grip_png},
    {"arme.ms3d", make_weapon_model},
    {"arme.txt", make_weapon_materials},
    {"box_face.png", make_title_box_face_png},
    {"box_env.png", make_title_box_env_png},
    {"box.ms3d", make_title_box_model},
    {"box.txt", make_title_box_materials},
};
// clang-format on

// One kind of file every level gets, named stem + the level's number + extension.
struct LevelFile {
    const char* stem;
    const char* extension;
    void (*make)(const LevelRecipe& level, int number, const std::filesystem::path& file);
};

constexpr LevelFile kLevelFiles[] = {
    {"terrain", ".raw",
     [](const LevelRecipe& level, int, const std::filesystem::path& file) {
         make_terrain_raw(level.land, file);
     }},
    {"terrain", ".png",
     [](const LevelRecipe& level, int, const std::filesystem::path& file) {
         make_terrain_png(level.land, file);
     }},
    {"detail", ".png",
     [](const LevelRecipe& level, int, const std::filesystem::path& file) {
         make_detail_png(level.land, file);
     }},
    {"logo", ".png",
     [](const LevelRecipe& level, int number, const std::filesystem::path& file) {
         make_logo_png(number, level.name, level.card, level.land, file);
     }},
    {"music", ".ogg",
     [](const LevelRecipe& level, int number, const std::filesystem::path& file) {
         make_music_ogg(level.music, number, file);
     }},
    {"level", ".txt", make_level_txt},
};

void report(const std::filesystem::path& file) {
    std::printf("assetgen: wrote %s (%ju bytes)\n", file.c_str(),
                static_cast<uintmax_t>(std::filesystem::file_size(file)));
}

// Makes the folder when it is missing; false when there is no folder then.
bool make_folder(const std::filesystem::path& folder) {
    std::filesystem::create_directories(folder);
    if (std::filesystem::is_directory(folder)) return true;
    std::fprintf(stderr, "assetgen: %s is not a folder\n", folder.c_str());
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const bool icons = argc == 3 && std::string_view(argv[1]) == "--icons";
    if ((argc != 2 && !icons) || argv[argc - 1][0] == '\0') {
        std::fprintf(stderr, "usage: assetgen [--icons] OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[argc - 1];
    try {
        if (!make_folder(folder)) return 1;
        if (icons) {
            make_icons(folder);
            std::printf("assetgen: wrote the icons in %s\n", folder.c_str());
            return 0;
        }
        for (const DataFile& data : kDataFiles) {
            const std::filesystem::path file = folder / data.name;
            std::filesystem::create_directories(file.parent_path()); // names may hold a subfolder
            data.make(file);
            report(file);
        }
        int number = 0;
        for (const LevelRecipe& level : level_table()) {
            ++number;
            for (const LevelFile& kind : kLevelFiles) {
                const std::filesystem::path file =
                    folder / (kind.stem + std::to_string(number) + kind.extension);
                kind.make(level, number, file);
                report(file);
            }
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
