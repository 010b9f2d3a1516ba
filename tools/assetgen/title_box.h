// The title screen's box: data/box.ms3d, data/box.txt and their pictures. A
// cube with the game's name on every face, coloured by a second,
// sphere-mapped layer.
#pragma once

#include <filesystem>

void make_title_box_model(const std::filesystem::path& file);
void make_title_box_materials(const std::filesystem::path& file);
void make_title_box_face_png(const std::filesystem::path& file);
void make_title_box_env_png(const std::filesystem::path& file);
