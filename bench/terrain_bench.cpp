// Landscape speed: the shadow pass's march (the game's and the direct one)
// at 256 and at 512 under suns from 5 to 85 degrees, building the quadtree
// at 512, and drawing the land from the middle of level 1 at 1024 x 768 in a
// real OpenGL context (the literal immediate-mode drawing, the game's in
// full and the game's with far leaves simplified), each frame finished with
// glFinish.
// The drawing benchmarks need a display: run under xvfb-run.
#include "app/extensions.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "support/gl_context.h"
#include "support/terrain_reference.h"
#include "terrain/draw.h"
#include "terrain/lod.h"
#include "terrain/quadtree.h"
#include "terrain/shadow.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>

namespace {

constexpr float DEGREE = 0.017453292f;

// Level 1's heights at full size, or every other sample for a 256 grid.
Terrain level_heights(int side) {
    Terrain land;
    std::FILE* file = std::fopen(SHEEPFALL_DATA_DIR "/terrain1.raw", "rb");
    if (!file) return land;
    Terrain full;
    if (terrain_read_heights(file, "terrain1.raw", 512, 512, full)) {
        land.width = land.height = side;
        land.heights.resize(static_cast<size_t>(side) * side);
        const int step = 512 / side;
        for (int z = 0; z < side; z++)
            for (int x = 0; x < side; x++)
                land.heights[z * side + x] = full.heights[(z * step) * 512 + x * step];
    }
    std::fclose(file);
    return land;
}

// Arguments: grid side, sun elevation in degrees above the horizon.
void BM_ShadowMap(benchmark::State& state) {
    const Terrain land = level_heights(static_cast<int>(state.range(0)));
    if (land.heights.empty()) return state.SkipWithError("data/terrain1.raw not found");
    const float elevation = -static_cast<float>(state.range(1)) * DEGREE;
    for (auto _ : state)
        benchmark::DoNotOptimize(terrain_shadow_map(land, elevation, 0.7f));
}
BENCHMARK(BM_ShadowMap)
    ->Args({256, 30})
    ->Args({512, 5})
    ->Args({512, 30})
    ->Args({512, 60})
    ->Args({512, 85})
    ->Unit(benchmark::kMillisecond);

void BM_ShadowMapDirect(benchmark::State& state) {
    const Terrain land = level_heights(static_cast<int>(state.range(0)));
    if (land.heights.empty()) return state.SkipWithError("data/terrain1.raw not found");
    const float elevation = -static_cast<float>(state.range(1)) * DEGREE;
    for (auto _ : state)
        benchmark::DoNotOptimize(reference::march_shadows(land, elevation, 0.7f));
}
BENCHMARK(BM_ShadowMapDirect)
    ->Args({256, 30})
    ->Args({512, 5})
    ->Args({512, 30})
    ->Args({512, 60})
    ->Args({512, 85})
    ->Unit(benchmark::kMillisecond);

void BM_QuadNodeBuild(benchmark::State& state) {
    const Terrain land = level_heights(512);
    if (land.heights.empty()) return state.SkipWithError("data/terrain1.raw not found");
    for (auto _ : state) {
        QuadNode* root = quad_node_new();
        quad_node_build(root, 0.0f, 0.0f, 512.0f, 512.0f, land);
        quad_node_free(root);
        delete root;
    }
}
BENCHMARK(BM_QuadNodeBuild)->Unit(benchmark::kMillisecond);

// Level 1 loaded and shaded in a 1024 x 768 context, kept for all drawing
// benchmarks of the run.
struct DrawingScene {
    std::unique_ptr<GlContext> gl;
    bool ready = false;
    Vector3 eye{};
};

DrawingScene& drawing_scene() {
    static DrawingScene scene;
    if (scene.gl) return scene;
    scene.gl = std::make_unique<GlContext>(1024, 768);
    if (!scene.gl->ok()) return scene;
    console_init();
    console_get_variable("save_to_log", 1.0f)->value = 0.0f;
    texture_manager_init();
    extensions_probe();
    terrain_lod_init();
    scene.ready =
        terrain_load(SHEEPFALL_DATA_DIR "/terrain1.raw", terrain, 512, 512,
                     SHEEPFALL_DATA_DIR "/terrain1.png", SHEEPFALL_DATA_DIR "/detail1.png");
    if (scene.ready) {
        terrain_shade(terrain, -30.0f * DEGREE, 2.0f);
        scene.eye = {256.0f, terrain_height_at(256.0f, 256.0f, terrain) + 10.0f, 256.0f};
    }
    return scene;
}

// The game's drawing with terrain_lod_error at the given pixels (0 draws
// every leaf in full), or the literal strips; triangles counted per frame.
template <void (*draw)(Vector3, float, float, float, const Terrain&)>
void draw_frames(benchmark::State& state, float lod_pixels) {
    DrawingScene& scene = drawing_scene();
    if (!scene.ready) return state.SkipWithError("no OpenGL context or no level data");
    terrain_lod_error->value = lod_pixels;
    for (auto _ : state) {
        reference::set_play_view(scene.eye, 0.0f, 0.0f);
        draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
        glFinish();
    }
    terrain_draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
    state.counters["triangles"] = terrain_frame_triangles();
    terrain_lod_error->value = LOD_DEFAULT_PIXELS;
}

// llvmpipe rasterises on threads of its own: real time is what a player
// waits, CPU time (of the whole process) what the machine spends.
void BM_TerrainDrawLiteral(benchmark::State& state) {
    draw_frames<reference::terrain_draw>(state, 0.0f);
}
BENCHMARK(BM_TerrainDrawLiteral)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_TerrainDrawFull(benchmark::State& state) {
    draw_frames<terrain_draw>(state, 0.0f);
}
BENCHMARK(BM_TerrainDrawFull)->MeasureProcessCPUTime()->UseRealTime()->Unit(benchmark::kMillisecond);

void BM_TerrainDrawSimplified(benchmark::State& state) {
    draw_frames<terrain_draw>(state, LOD_DEFAULT_PIXELS);
}
BENCHMARK(BM_TerrainDrawSimplified)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
