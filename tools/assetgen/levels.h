// The level files data/level1.txt .. level3.txt: how many sheep to shoot and
// how fast they fall, then the level's loading picture, landscape and music.
#pragma once

#include <filesystem>

void make_level1_txt(const std::filesystem::path& file);
void make_level2_txt(const std::filesystem::path& file);
void make_level3_txt(const std::filesystem::path& file);
