// Console and picture decoding speed: the interpreter on typical lines, a
// print into the full scroll-back buffer (the worst case, every line moves),
// and decoding the font picture the game loads at start-up.
#include "console/builtins.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "textures/png.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

static void start_console_quietly() {
    static bool started = false;
    if (started) return;
    started = true;
    console_init();
    console_find_variable("save_to_log")->value = 0.0f; // measure memory, not the disk
}

static void BM_ExecuteVariableLine(benchmark::State& state) {
    start_console_quietly();
    for (auto _ : state)
        console_execute("save_to_log 0");
}
BENCHMARK(BM_ExecuteVariableLine);

static void noop_command() {}

static void BM_ExecuteCommandWithTenArguments(benchmark::State& state) {
    start_console_quietly();
    if (!console_find_command("bench_noop")) console_add_command("bench_noop", noop_command);
    for (auto _ : state)
        console_execute("bench_noop a b c d e f g h i j k l");
}
BENCHMARK(BM_ExecuteCommandWithTenArguments);

static void BM_PrintIntoFullBuffer(benchmark::State& state) {
    start_console_quietly();
    for (int i = 0; i < CONSOLE_MAX_LINES; i++)
        console_print("filler line");
    for (auto _ : state)
        console_print("a new line pushes the oldest out");
}
BENCHMARK(BM_PrintIntoFullBuffer);

static void BM_DecodeFontPicture(benchmark::State& state) {
    std::ifstream in(SHEEPFALL_DATA_DIR "/font.png", std::ios::binary);
    std::vector<char> bytes{std::istreambuf_iterator<char>(in), {}};
    if (bytes.empty()) {
        state.SkipWithError("data/font.png not found: build the gamedata target first");
        return;
    }
    set_png_flip_rows(true);
    for (auto _ : state) {
        std::FILE* file = fmemopen(bytes.data(), bytes.size(), "rb");
        PngImage image;
        benchmark::DoNotOptimize(load_png_image(file, &image));
        std::fclose(file);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * 256 * 256 * 4);
}
BENCHMARK(BM_DecodeFontPicture);

BENCHMARK_MAIN();
