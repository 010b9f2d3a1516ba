// The game's icon for desktop menus: the player's head as it looks with all
// five lives left, at the sizes the hicolor icon theme asks for.
#pragma once

#include <filesystem>

constexpr int kIconSizes[] = {48, 128, 256};

// Writes sheepfall-SIZE.png (RGBA, transparent around the bust) for every
// size into the folder. Throws std::runtime_error on failure.
void make_icons(const std::filesystem::path& folder);
