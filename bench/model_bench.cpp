// Model speed in a real 1024 x 768 OpenGL context: loading each of the
// game's three models (file, material file, joints and display list; the
// pictures are already in the texture cache after the first load), and
// drawing ten sheep as the flock draws them, finished with glFinish.
#include "app/extensions.h"
#include "console/output.h"
#include "gl.h"
#include "model/draw.h"
#include "model/load.h"
#include "support/scratch_game.h"
#include "textures/texture.h"

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// A hidden window with a context set up as the game's, working in a scratch
// folder with data/ linked in (the material files name "data/..." pictures).
bool start_context() {
    static int state = 0; // 0 not tried, 1 ready, 2 failed
    if (state != 0) return state == 1;
    state = 2;
    if (!enter_scratch_folder()) return false;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window =
        SDL_CreateWindow("bench", 0, 0, 1024, 768, SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN);
    if (!window || !SDL_GL_CreateContext(window)) return false;
    glViewport(0, 0, 1024, 768);
    extensions_start_context();
    texture_manager_init();
    static float log_off = 0.0f;
    console_log_follow(&log_off); // measure the models, not the disk
    state = 1;
    return true;
}

bool load(Model* model, const std::string& stem) {
    return model_load(model, ("data/" + stem + ".ms3d").c_str(), ("data/" + stem + ".txt").c_str());
}

} // namespace

static void BM_LoadModel(benchmark::State& state, const char* stem) {
    if (!start_context()) {
        state.SkipWithError("no OpenGL context (run under X or Xvfb)");
        return;
    }
    Model model;
    for (auto _ : state) {
        if (!load(&model, stem)) {
            state.SkipWithError("the model did not load: build the gamedata target first");
            return;
        }
        model_release(&model);
    }
}
BENCHMARK_CAPTURE(BM_LoadModel, sheep, "mouton")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadModel, weapon, "arme")->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_LoadModel, title_box, "box")->Unit(benchmark::kMicrosecond);

static void BM_DrawTenSheep(benchmark::State& state) {
    if (!start_context()) {
        state.SkipWithError("no OpenGL context (run under X or Xvfb)");
        return;
    }
    Model sheep;
    if (!load(&sheep, "mouton")) {
        state.SkipWithError("the sheep did not load: build the gamedata target first");
        return;
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    float angle = 0.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        for (int i = 0; i < 10; i++) {
            glLoadIdentity();
            glTranslatef(-45.0f + 10.0f * static_cast<float>(i), 0.0f, -60.0f);
            glRotatef(angle + 36.0f * static_cast<float>(i), 1.0f, 0.5f, 0.7f);
            glScalef(0.2f, 0.2f, 0.2f);
            model_draw(&sheep);
        }
        glFinish();
        angle += 1.0f;
    }
    state.SetItemsProcessed(state.iterations() * 10);
    model_release(&sheep);
}
BENCHMARK(BM_DrawTenSheep)->Unit(benchmark::kMillisecond);
