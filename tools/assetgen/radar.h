// radar.png: the blip that marks a falling sheep on the radar.
#pragma once

#include <filesystem>

// 128 x 128 RGBA: a soft round blip, white so that the colour the game draws
// it with (red or black) shows as it is; a solid core, a glow around it and a
// faint ring, with alpha falling to 0 well inside the picture's edge.
// Throws std::runtime_error on failure.
void make_radar_png(const std::filesystem::path& file);
