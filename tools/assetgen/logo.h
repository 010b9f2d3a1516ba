// The loading pictures data/logoN.png, shown on a black screen while a level
// loads: a card naming the level and its land over a small 3-D view of that
// land, with sheep already falling toward it.
#pragma once

#include "land_view.h"
#include "landscape.h"
#include "raster.h"

#include <filesystem>

// What sets one level's card apart.
struct CardStyle {
    Colour sky_top, sky_low; // the sky from the card's top down to the land
    Colour accent;           // the land's name and the frame
    LandLight light;
    float yaw;    // the way the camera looks, radians from +x toward +z
    float pitch;  // how steeply it looks down, radians
    float relief; // how many times as high the land is drawn
};

// The card of level `number`, captioned with its land's name. Throws
// std::runtime_error on failure.
void make_logo_png(int number, const char* land_name, const CardStyle& style,
                   const LandRecipe& land, const std::filesystem::path& file);
