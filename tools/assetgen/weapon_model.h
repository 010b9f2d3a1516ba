// The player's weapon: data/arme.ms3d, data/arme.txt and their pictures. A
// pistol seen from behind, its barrel along -z with the muzzle's mouth at
// (0, 10, -18), where the game draws the flash; the game draws it at 0.1.
#pragma once

#include <filesystem>

void make_weapon_model(const std::filesystem::path& file);
void make_weapon_materials(const std::filesystem::path& file);
void make_weapon_metal_png(const std::filesystem::path& file);
void make_weapon_shine_png(const std::filesystem::path& file);
void make_weapon_grip_png(const std::filesystem::path& file);
