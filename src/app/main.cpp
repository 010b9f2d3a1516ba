// Process entry of the game executable. The command line is not read.
#include "app/app.h"

#include <SDL.h>
#include <SDL_main.h>

int main(int, char**) {
    int exit_code = app_main();
    SDL_Quit();
    return exit_code;
}
