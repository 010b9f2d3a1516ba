// The game's icon for desktop menus: the player's head as it looks with all
// five lives left, at the sizes the hicolor icon theme asks for, and as the
// Windows executable's icon file.
#pragma once

#include <filesystem>

constexpr int kIconSizes[] = {48, 128, 256};
// The sizes in sheepfall.ico, from the smallest Windows shows to its largest.
constexpr int kWindowsIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

// Writes sheepfall-SIZE.png (RGBA, transparent around the bust) for every
// size into the folder, and sheepfall.ico: one PNG-coded picture per Windows
// size. Throws std::runtime_error on failure.
void make_icons(const std::filesystem::path& folder);
