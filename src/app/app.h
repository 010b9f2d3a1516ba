// The game's entry: start-up and shutdown order, the event-and-frame loop,
// the top-level screen states and the screens that are not play.
#pragma once

#include "game/game_state.h"

#include <cstdint>

struct Model;
struct Texture;

extern bool app_active; // false while the window is minimised
extern Texture* dead_picture;
extern Model title_model; // the box of the title screen

bool system_init();
bool game_init();
// Loads the first level after a new-game reset and goes into play, or stays
// on the title screen when the level fails to load.
void start_new_game_level();
bool run_frame(uint32_t elapsed_ms);
void title_frame();
void dead_frame();
void app_shutdown();

// Takes the loop's first timestamp (before the window exists).
void main_loop_start();
// One pass of the main loop: every waiting event, then one frame and a swap
// while the window is not minimised. False when the loop is to end.
bool main_loop_step();

// The whole process: command line, start-up, loop, settings saved,
// shutdown. Returns the exit code.
int app_main(int argc, char** argv);
