// The loading pictures data/logo1.png .. logo3.png, shown on a black screen
// while a level loads: a card naming the level and its land over a small
// 3-D view of that land, with sheep already falling toward it.
#pragma once

#include <filesystem>

void make_logo1_png(const std::filesystem::path& file);
void make_logo2_png(const std::filesystem::path& file);
void make_logo3_png(const std::filesystem::path& file);
