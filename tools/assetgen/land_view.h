// A small 3-D view of a level's land for the pictures that preview it: the
// heightmap as a block of ground seen from above at a slant, in the colours
// of its base picture, lit by a low sun that casts soft shadows, the far side
// a little hazy. The block's sides show layers of earth, so it reads as a
// piece cut out of the world.
#pragma once

#include "landscape.h"
#include "raster.h"
#include "sdf.h"

#include <cstdint>
#include <vector>

// A point of the view's space: world x and z, and heights scaled by the
// view's relief.
struct Point3 {
    float x = 0, y = 0, z = 0;
};

// A camera looking down at the middle of the land.
struct LandCamera {
    float yaw = 0;       // radians from +x toward +z, the way it looks
    float pitch = 0;     // radians below the horizon
    float distance = 0;  // from the eye to the land's middle, world units
    float focal = 0;     // pixels a unit spans at a distance of one unit
    sdf::Vec centre;     // where the land's middle falls on the picture
    float relief = 1.0f; // heights are drawn this many times as high
};

// How the view is lit.
struct LandLight {
    Point3 sun;   // toward the sun, need not be of unit length
    Colour tint;  // colour of the sunlight
    Colour haze;  // colour the far side fades toward
    float ground; // depth of the block below height 0, in units
};

class LandView {
  public:
    LandView(const LandRecipe& land, const LandCamera& camera);

    // Where a point falls on the picture and how far it lies ahead of the
    // eye; false when it is not in front of it.
    bool project(Point3 point, sdf::Vec* picture, float* depth) const;
    // The drawn height of the ground at a world point inside the land.
    float ground_height(float x, float z) const;
    // Paints the block over the canvas, its edges anti-aliased.
    void paint(Canvas& canvas, const LandLight& light) const;

  private:
    struct Eye {
        Point3 position, forward, right, up;
    };
    struct Surfaces;

    void rasterise(Surfaces& surfaces, const LandLight& light) const;
    Colour shade_top(const Point3& p, float depth, const LandLight& light,
                     const std::vector<float>& shadow) const;
    Colour shade_side(const Point3& p, int side, float depth, const LandLight& light) const;
    std::vector<float> sun_shadow(const LandLight& light) const;
    float height_sample(int x, int z) const;
    Colour base_colour(float x, float z) const;

    uint32_t seed_; // the land's picture noise
    LandCamera camera_;
    Eye eye_;
    std::vector<uint8_t> heights_; // the RAW file's bytes
    std::vector<uint8_t> base_;    // the base picture at one pixel a unit
};
