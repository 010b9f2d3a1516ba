// The sheep: data/mouton.ms3d, its material file data/mouton.txt and its
// pictures. A woolly white body with a dark face, ears and legs, modelled to
// fit a box of half extent 50 around its origin (the game draws it at 0.2).
#pragma once

#include <filesystem>

void make_sheep_model(const std::filesystem::path& file);
void make_sheep_materials(const std::filesystem::path& file);
void make_sheep_wool_png(const std::filesystem::path& file);
void make_sheep_face_png(const std::filesystem::path& file);
void make_sheep_eye_png(const std::filesystem::path& file);
void make_sheep_hoof_png(const std::filesystem::path& file);
