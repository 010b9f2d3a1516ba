#include "levels.h"

#include "landscape.h"
#include "model_pictures.h" // write_text_file

#include <charconv>
#include <stdexcept>
#include <string>

namespace {

// The difficulty of each level, tuned by playing: sheep to shoot before the
// next level loads, and their base falling speed in units per second.
struct Difficulty {
    int sheep;
    float speed;
};
constexpr Difficulty kDifficulty[kLandscapeLevels] = {
    {10, 20.0f},
    {15, 26.0f},
    {20, 32.0f},
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

// The nine lines in the order the game reads them; every file lies in data/.
std::string level_text(int level) {
    const Difficulty& difficulty = kDifficulty[level - 1];
    const std::string n = std::to_string(level);
    const std::string size = std::to_string(kLandscapeSize);
    const std::string lines[] = {
        "NB_SHEEP " + std::to_string(difficulty.sheep),
        "SHEEP_SPEED " + decimal(difficulty.speed),
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
    return text;
}

} // namespace

void make_level1_txt(const std::filesystem::path& file) {
    write_text_file(file, level_text(1));
}
void make_level2_txt(const std::filesystem::path& file) {
    write_text_file(file, level_text(2));
}
void make_level3_txt(const std::filesystem::path& file) {
    write_text_file(file, level_text(3));
}
