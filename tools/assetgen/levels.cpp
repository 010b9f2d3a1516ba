#include "levels.h"

#include "model_pictures.h" // write_text_file

#include <charconv>
#include <stdexcept>
#include <string>

namespace {

// The difficulty was tuned by playing. The land's seed picks the noise of
// its pictures; its shape keeps its own. The meadows' card is under a fresh
// spring sky, the ridges' in cold clear air, the dry lake's in the haze of a
// hot afternoon with the sun high above it.
const LevelRecipe kLevels[] = {
    {.name = "Rolling Meadows",
     .sheep = 10,
     .sheep_speed = 20.0f,
     .land = {.height = meadow_height,
              .feature = meadow_track,
              .colour = meadow_colour,
              .grain = grass_grain,
              .detail_amplitude = 24.0f,
              .seed = 1},
     .card = {.sky_top = {0.27f, 0.47f, 0.80f},
              .sky_low = {0.76f, 0.85f, 0.93f},
              .accent = {0.86f, 0.94f, 0.60f},
              .light = {.sun = {-0.55f, 0.75f, -0.85f},
                        .tint = {1.0f, 0.96f, 0.84f},
                        .haze = {0.74f, 0.83f, 0.92f},
                        .ground = 56.0f},
              .yaw = 0.62f,
              .pitch = 0.62f,
              .relief = 1.7f},
     .music = {.compose = compose_meadows,
               .beats_per_minute = 96.0f,
               .bars = 16,
               .space = {0.8f, 0.5f, 0.32f, 0.75f, 0.35f, 1.5f},
               .title = "Rolling Meadows"}},
    {.name = "Steep Ridges",
     .sheep = 15,
     .sheep_speed = 26.0f,
     .land = {.height = ridge_height,
              .feature = ridge_stream,
              .colour = ridge_colour,
              .grain = rock_grain,
              .detail_amplitude = 30.0f,
              .seed = 2},
     .card = {.sky_top = {0.14f, 0.26f, 0.52f},
              .sky_low = {0.66f, 0.76f, 0.88f},
              .accent = {0.76f, 0.88f, 1.00f},
              .light = {.sun = {-0.45f, 0.62f, -0.95f},
                        .tint = {1.0f, 0.95f, 0.88f},
                        .haze = {0.64f, 0.74f, 0.86f},
                        .ground = 56.0f},
              .yaw = 0.52f,
              .pitch = 0.62f,
              .relief = 1.6f},
     .music = {.compose = compose_ridges,
               .beats_per_minute = 124.0f,
               .bars = 20,
               .space = {0.6f, 0.5f, 0.5f, 0.75f, 0.4f, 1.4f},
               .title = "Steep Ridges"}},
    {.name = "The Dry Lake",
     .sheep = 20,
     .sheep_speed = 32.0f,
     .land = {.height = basin_height,
              .feature = basin_lake_bed,
              .colour = basin_colour,
              .grain = sand_grain,
              .detail_amplitude = 24.0f,
              .seed = 3},
     .card = {.sky_top = {0.30f, 0.40f, 0.60f},
              .sky_low = {0.94f, 0.80f, 0.60f},
              .accent = {1.00f, 0.84f, 0.56f},
              .light = {.sun = {-0.60f, 1.20f, -0.50f},
                        .tint = {1.0f, 0.90f, 0.74f},
                        .haze = {0.90f, 0.78f, 0.62f},
                        .ground = 56.0f},
              .yaw = 0.70f,
              .pitch = 0.85f,
              .relief = 1.4f},
     .music = {.compose = compose_basin,
               .beats_per_minute = 138.0f,
               .bars = 24,
               .space = {0.9f, 0.35f, 0.3f, 0.5f, 0.35f, 1.6f},
               .title = "The Basin"}},
};

// The shortest plain decimal that reads back as the same float: "20", "26.5".
std::string decimal(float value) {
    char text[64];
    const auto [end, error] =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed);
    if (error != std::errc())
        throw std::runtime_error("cannot write the number " + std::to_string(value));
    return std::string(text, end);
}

} // namespace

std::span<const LevelRecipe> level_table() {
    return kLevels;
}

// The nine lines in the order the game reads them.
void make_level_txt(const LevelRecipe& level, int number, const std::filesystem::path& file) {
    const std::string n = std::to_string(number);
    const std::string size = std::to_string(kLandscapeSize);
    const std::string lines[] = {
        "NB_SHEEP " + std::to_string(level.sheep),
        "SHEEP_SPEED " + decimal(level.sheep_speed),
        "LOGO data/logo" + n + ".png",
        "WIDTH " + size,
        "HEIGHT " + size,
        "RAW data/terrain" + n + ".raw",
        "BASE data/terrain" + n + ".png",
        "DETAIL data/detail" + n + ".png",
        "MUSIC data/music" + n + ".ogg",
    };
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    write_text_file(file, text);
}
