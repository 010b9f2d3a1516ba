// Writes a seed corpus for fuzz_material: a material count byte followed by
// material files of one and two layers, with Windows line ends, blank words
// and a texture that is missing. Usage: seeds_material <folder>
#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const std::string one = "wool\ndata/t.png\nMULTIPLY\nENVMAP OFF\nNULL\n";
    const std::string two = "metal\ndata/t.png\nADD\nENVMAP OFF\ndata/shine.png\nADD_SIGNED\n"
                            "ENVMAP ON\n";
    const std::string seeds[] = {
        std::string(1, '\0'),
        "\x01" + one,
        "\x02" + two + one,
        "\x01" + std::string("a\r\n  data/t.png  x\r\nALPHA\r\n  ENVMAP ON\r\nNULL\r\n"),
        "\x01" + std::string("a\ndata/t.png\n\nENVMAP\nNULL\n"),
        "\x01" + std::string("a\nmissing.png\nADD\nENVMAP ON\nNULL\n"),
    };
    int written = 0;
    for (const std::string& seed : seeds) {
        std::string name = std::string(argv[1]) + "/seed-" + std::to_string(written++) + ".txt";
        std::FILE* out = std::fopen(name.c_str(), "wb");
        if (!out) return 1;
        std::fwrite(seed.data(), 1, seed.size(), out);
        if (std::fclose(out) != 0) return 1;
    }
    std::printf("%d seeds written to %s\n", written, argv[1]);
    return 0;
}
