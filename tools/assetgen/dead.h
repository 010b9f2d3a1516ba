// dead.png: the picture shown when the player dies.
#pragma once

#include <filesystem>

// 512 x 512 RGB: a horned sheep skull over a blood-red glow with dripping
// blood and "GAME OVER" beneath. Throws std::runtime_error on failure.
void make_dead_png(const std::filesystem::path& file);
