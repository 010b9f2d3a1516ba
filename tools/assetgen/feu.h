// feu.png: the muzzle flash in front of the weapon.
#pragma once

#include <filesystem>

// 128 x 128 RGB on black: a white-hot core with orange flame spikes fading
// to black, black over the whole border. The game adds it onto the scene, so
// black is invisible. Throws std::runtime_error on failure.
void make_feu_png(const std::filesystem::path& file);
