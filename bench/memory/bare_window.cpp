// The yardstick of the memory benchmark: a bare SDL window with an OpenGL
// context of the game's kind, cleared and shown every frame and nothing else.
// It prints the seconds from its start to the first frame on screen, then
// runs until it is killed, so its memory can be read beside the game's.
#include <SDL.h>
#include <SDL_opengl.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    int width = argc > 2 ? std::atoi(argv[1]) : 1024;
    int height = argc > 2 ? std::atoi(argv[2]) : 768;
    Uint64 start = SDL_GetPerformanceCounter();
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "bare_window: SDL_Init: %s\n", SDL_GetError());
        return 1;
    }
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
    SDL_Window* window = SDL_CreateWindow("bare window", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, width, height, SDL_WINDOW_OPENGL);
    SDL_GLContext context = window ? SDL_GL_CreateContext(window) : nullptr;
    if (!context) {
        std::fprintf(stderr, "bare_window: no OpenGL window: %s\n", SDL_GetError());
        return 1;
    }
    bool first = true;
    for (;;) {
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            if (event.type == SDL_QUIT) return 0;
        }
        glClearColor(0.2f, 0.3f, 0.5f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        SDL_GL_SwapWindow(window);
        if (first) {
            double seconds = static_cast<double>(SDL_GetPerformanceCounter() - start) /
                             static_cast<double>(SDL_GetPerformanceFrequency());
            std::printf("viewable after %.3f s\n", seconds);
            std::fflush(stdout);
            first = false;
        }
        SDL_Delay(16);
    }
}
