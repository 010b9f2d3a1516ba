// The shadow pass that lights a newly loaded landscape: rays marched from
// every grid point toward the sun mark the shadowed points, the shade map is
// softened, and the base picture's kept pixels are darkened by it and
// uploaded again, so the shadows stay in the picture for the whole level.
#pragma once

#include <vector>

struct Terrain;
struct Texture;

constexpr int SHADE_LIT = 255;
constexpr int SHADE_SHADOWED = 96;
constexpr int SHADOW_MARCH_STEPS = 128;

// For every grid point, row-major like the heights: SHADE_SHADOWED when some
// of the 128 steps of the ray toward the sun (from the point itself, not
// tested) finds the grid sample under it higher than the ray, else
// SHADE_LIT. The sun stands at elevation below 0 (radians, -85 to -5 degrees
// in play) and azimuth about the y axis from +x toward +z. Empty for an
// empty terrain; all lit for angles that are not finite.
std::vector<int> terrain_shadow_map(const Terrain& land, float elevation, float azimuth);

// Four passes over the inner points of a side x side map, each replaced in
// place by the truncated mean of itself and its four neighbours, so later
// points of a pass see the new values. Border points keep theirs.
void terrain_smooth_shades(std::vector<int>& shade, int side);

// Scales every pixel's colour bytes by the shade of its grid point / 255;
// the alpha of a 32-bit picture is left as it is.
void terrain_darken_picture(Texture& picture, const std::vector<int>& shade, int side);

// The whole pass on the terrain's base picture, ending with every cached
// picture uploaded again. Does nothing without a loaded terrain and picture.
void terrain_shade(Terrain& land, float elevation, float azimuth);
