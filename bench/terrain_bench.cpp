// Landscape speed: the shadow pass's march (the game's and the direct one)
// at 256 and at 512 under suns from 5 to 85 degrees, building the quadtree
// at 512, and drawing the land from the middle of level 1 at 1024 x 768 in a
// real OpenGL context (the literal immediate-mode drawing, the game's in
// full and the game's with far leaves simplified), each frame finished with
// glFinish; and the land beside its per-pixel floor at 1024 x 768 and
// 1920 x 1080, with the game's pixel error and, at 1024 x 768, with larger
// ones down to every leaf at its coarsest (how far fewer triangles alone
// bring the land towards its floor).
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

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The land measured: the first level's, loaded by the benchmark itself.
Terrain terrain;

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

// The scene in a context of the given size; another size makes a new
// context and uploads the pictures again.
DrawingScene& drawing_scene(int width = 1024, int height = 768) {
    static DrawingScene scene;
    if (scene.gl && scene.gl->width() == width && scene.gl->height() == height) return scene;
    if (scene.gl) {
        texture_delete_all();
        scene.gl.reset();
        scene.gl = std::make_unique<GlContext>(width, height);
        gl_driver_new_context();
        scene.ready = scene.ready && scene.gl->ok();
        if (scene.ready) {
            extensions_probe();
            texture_reload_all();
        }
        return scene;
    }
    scene.gl = std::make_unique<GlContext>(width, height);
    if (!scene.gl->ok()) return scene;
    console_init();
    console_find_variable("save_to_log")->value = 0.0f;
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
    console_find_variable("terrain_lod_error")->value = lod_pixels;
    for (auto _ : state) {
        reference::set_play_view(scene.eye, 0.0f, 0.0f);
        draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
        glFinish();
    }
    terrain_draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
    state.counters["triangles"] = terrain_frame_triangles();
    console_find_variable("terrain_lod_error")->value = LOD_DEFAULT_PIXELS;
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
BENCHMARK(BM_TerrainDrawFull)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_TerrainDrawSimplified(benchmark::State& state) {
    draw_frames<terrain_draw>(state, LOD_DEFAULT_PIXELS);
}
BENCHMARK(BM_TerrainDrawSimplified)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The share of the window the land covered in the frame just drawn: the
// pixels whose depth is nearer than the cleared far plane.
double covered_share(int width, int height) {
    std::vector<float> depth(static_cast<size_t>(width) * height);
    glFinish();
    glReadPixels(0, 0, width, height, GL_DEPTH_COMPONENT, GL_FLOAT, depth.data());
    size_t covered = 0;
    for (float d : depth)
        covered += d < 1.0f;
    return static_cast<double>(covered) / depth.size();
}

// The cheapest land there could be: one ground-like quad with the land's
// texture state (base picture, detail added signed, coordinates generated
// from the points, fog, depth test, culling), rising away from the eye so it
// covers the bottom `share` of the window (the view of set_play_view: a
// square 90-degree frustum, the quad given in eye space).
void draw_floor(double share, const Terrain& land) {
    const float base_scale = 1.0f / static_cast<float>(land.width);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_TEXTURE_2D);
    glColor3f(1.0f, 1.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, land.base_texture ? land.base_texture->gl_name : 0);
    const bool multitexture = land.detail_on_second_unit && gl_driver().multitexture;
    if (multitexture) {
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_REPLACE);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, land.detail_texture ? land.detail_texture->gl_name : 0);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_ADD_SIGNED_ARB);
        terrain_generate_coordinates(10.0f * base_scale);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    terrain_generate_coordinates(base_scale);
    glEnable(GL_CULL_FACE);
    // Near edge just past the near plane and below the window's bottom;
    // far edge 400 units out, at the height of the covered share's top.
    const float near_z = 1.01f, far_z = 400.0f;
    const float top = static_cast<float>(2.0 * share - 1.0) * far_z;
    glBegin(GL_QUADS);
    glVertex3f(-1.2f * near_z, -1.2f * near_z, -near_z);
    glVertex3f(1.2f * near_z, -1.2f * near_z, -near_z);
    glVertex3f(1.2f * far_z, top, -far_z);
    glVertex3f(-1.2f * far_z, top, -far_z);
    glEnd();
    glDisable(GL_CULL_FACE);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    if (multitexture) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
        terrain_texture_units_back_to_modulate();
    }
    glPopMatrix();
}

// The land as the game draws it (far leaves simplified) from the middle of
// level 1, and beside it, frame for frame, its floor: the plane above
// covering the same share of the window. Arguments: window width, height,
// terrain_lod_error in pixels.
void BM_TerrainBesideFloor(benchmark::State& state) {
    const int width = static_cast<int>(state.range(0)), height = static_cast<int>(state.range(1));
    DrawingScene& scene = drawing_scene(width, height);
    if (!scene.ready) return state.SkipWithError("no OpenGL context or no level data");
    console_find_variable("terrain_lod_error")->value = static_cast<float>(state.range(2));
    reference::set_play_view(scene.eye, 0.0f, 0.0f);
    terrain_draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
    const double share = covered_share(width, height);
    reference::set_play_view(scene.eye, 0.0f, 0.0f);
    draw_floor(share, terrain);
    const double floor_share = covered_share(width, height);
    std::vector<double> land_ms, floor_ms;
    using Clock = std::chrono::steady_clock;
    auto ms_since = [](Clock::time_point start) {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    for (auto _ : state) {
        reference::set_play_view(scene.eye, 0.0f, 0.0f);
        glFinish();
        Clock::time_point start = Clock::now();
        terrain_draw(scene.eye, 0.0f, 0.0f, 1.5707964f, terrain);
        glFinish();
        land_ms.push_back(ms_since(start));
        reference::set_play_view(scene.eye, 0.0f, 0.0f);
        glFinish();
        start = Clock::now();
        draw_floor(share, terrain);
        glFinish();
        floor_ms.push_back(ms_since(start));
    }
    std::sort(land_ms.begin(), land_ms.end());
    std::sort(floor_ms.begin(), floor_ms.end());
    const double land = land_ms[land_ms.size() / 2], floor = floor_ms[floor_ms.size() / 2];
    state.counters["land_median_ms"] = land;
    state.counters["floor_median_ms"] = floor;
    state.counters["land_over_floor"] = floor > 0.0 ? land / floor : 0.0;
    state.counters["land_share"] = share;
    state.counters["floor_share"] = floor_share;
    state.counters["triangles"] = terrain_frame_triangles();
    console_find_variable("terrain_lod_error")->value = LOD_DEFAULT_PIXELS;
}
// The game's pixel error at both sizes; at 1024 x 768 also 2, 4 and 100
// pixels (every leaf at its coarsest level).
constexpr int64_t GAME_LOD_PIXELS = static_cast<int64_t>(LOD_DEFAULT_PIXELS);
BENCHMARK(BM_TerrainBesideFloor)
    ->Args({1024, 768, GAME_LOD_PIXELS})
    ->Args({1024, 768, 2})
    ->Args({1024, 768, 4})
    ->Args({1024, 768, 100})
    ->Args({1920, 1080, GAME_LOD_PIXELS})
    ->Iterations(200)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
