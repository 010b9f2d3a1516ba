// assetgen: makes the game's data files from code, the same bytes on every run.
//
//   assetgen OUTPUT_FOLDER
//
// Creates the folder if needed and writes each file into it, printing one line
// per file. Any failure stops the run with a message and exit code 1.
#include "dead.h"
#include "font.h"
#include "landscape.h"

#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>

namespace {

struct DataFile {
    const char* name;
    void (*make)(const std::filesystem::path& file);
};

constexpr DataFile kDataFiles[] = {
    {"font.png", make_font_png},         {"dead.png", make_dead_png},
    {"terrain1.raw", make_terrain1_raw}, {"terrain2.raw", make_terrain2_raw},
    {"terrain3.raw", make_terrain3_raw}, {"terrain1.png", make_terrain1_png},
    {"terrain2.png", make_terrain2_png}, {"terrain3.png", make_terrain3_png},
    {"detail1.png", make_detail1_png},   {"detail2.png", make_detail2_png},
    {"detail3.png", make_detail3_png},
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: assetgen OUTPUT_FOLDER\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    try {
        std::filesystem::create_directories(folder);
        if (!std::filesystem::is_directory(folder)) {
            std::fprintf(stderr, "assetgen: %s is not a folder\n", folder.c_str());
            return 1;
        }
        for (const DataFile& data : kDataFiles) {
            const std::filesystem::path file = folder / data.name;
            data.make(file);
            std::printf("assetgen: wrote %s (%ju bytes)\n", file.c_str(),
                        static_cast<uintmax_t>(std::filesystem::file_size(file)));
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "assetgen: %s\n", error.what());
        return 1;
    }
    return 0;
}
