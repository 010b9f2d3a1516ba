// Writes a well-formed level file into the folder it is given, the seed the
// level file fuzz target mutates.
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    std::string name = std::string(argv[1]) + "/level.txt";
    std::FILE* file = std::fopen(name.c_str(), "w");
    if (!file) return 1;
    std::fputs("NB_SHEEP 10\nSHEEP_SPEED 20\nLOGO data/logo1.png\nWIDTH 512\nHEIGHT 512\n"
               "RAW data/terrain1.raw\nBASE data/terrain1.png\nDETAIL data/detail1.png\n"
               "MUSIC data/music1.ogg\n",
               file);
    return std::fclose(file) == 0 ? 0 : 1;
}
