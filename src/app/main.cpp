// Process entry of the game executable.
#include "app/app.h"

#include <SDL.h>
#include <SDL_main.h>

int main(int argc, char** argv) {
    int exit_code = app_main(argc, argv);
    SDL_Quit();
    return exit_code;
}
