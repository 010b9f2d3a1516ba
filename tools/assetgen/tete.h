// tete1.png ... tete5.png: the player's head in the top-left corner, one
// picture per number of lives left.
#pragma once

#include <filesystem>

// 256 x 256 RGBA, transparent around the bust: the same face, healthy with
// five lives (tete1) and worse with every life lost, down to one life
// (tete5). Each throws std::runtime_error on failure.
void make_tete1_png(const std::filesystem::path& file);
void make_tete2_png(const std::filesystem::path& file);
void make_tete3_png(const std::filesystem::path& file);
void make_tete4_png(const std::filesystem::path& file);
void make_tete5_png(const std::filesystem::path& file);
