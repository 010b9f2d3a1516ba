// Process entry of the game executable.
#include "app/app.h"
#include "app/platform.h"

#include <SDL.h>
#include <SDL_main.h>

int main(int argc, char** argv) {
    console_output_attach();
    int exit_code = app_main(argc, argv);
    SDL_Quit();
    return exit_code;
}
