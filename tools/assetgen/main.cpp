// assetgen: makes the game's data files from code, the same bytes on every run.
//
//   assetgen OUTPUT_FOLDER           the data files
//   assetgen --icons OUTPUT_FOLDER   the desktop icons (sheepfall-48.png ...)
//
// Creates the folder if needed and writes each file into it, printing one line
// per file. Any failure stops the run with a message and exit code 1.
#include "dead.h"
#include "feu.h"
#include "fire_sound.h"
#include "font.h"
#include "icon.h"
#include "landscape.h"
#include "levels.h"
#include "logo.h"
#include "model_pictures.h"
#include "radar.h"
#include "sheep_model.h"
#include "songs.h"
#include "tete.h"
#include "title_box.h"
#include "weapon_model.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
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
    {"music1.ogg", make_music1_ogg},
    {"music2.ogg", make_music2_ogg},
    {"music3.ogg", make_music3_ogg},
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
    {"terrain1.raw", make_terrain1_raw},
    {"terrain2.raw", make_terrain2_raw},
    {"terrain3.raw", make_terrain3_raw},
    {"terrain1.png", make_terrain1_png},
    {"terrain2.png", make_terrain2_png},
    {"terrain3.png", make_terrain3_png},
    {"detail1.png", make_detail1_png},
    {"detail2.png", make_detail2_png},
    {"detail3.png", make_detail3_png},
    {"logo1.png", make_logo1_png},
    {"logo2.png", make_logo2_png},
    {"logo3.png", make_logo3_png},
    {"level1.txt", make_level1_txt},
    {"level2.txt", make_level2_txt},
    {"level3.txt", make_level3_txt},
};
// clang-format on

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
            std::printf("assetgen: wrote %s (%ju bytes)\n", file.c_str(),
                        static_cast<uintmax_t>(std::filesystem::file_size(file)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
