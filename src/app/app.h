// The game's entry: start-up and shutdown order and the event-and-frame loop.
#pragma once

#include "app/events.h" // app_is_active
#include "game/game_state.h"
#include "game/screens.h"
#include "input/actions.h"

#include <cstdint>


bool system_init();
bool game_init();
// The current screen's frame with the frame's input record, then the
// end-of-frame work; false when Escape is held.
bool run_frame(uint32_t elapsed_ms, const InputRecord& input = {});
void app_shutdown();

// Takes the loop's first timestamp (before the window exists).
void main_loop_start();
// One pass of the main loop: every waiting event, then one frame and a swap
// while the window is not minimised. False when the loop is to end.
bool main_loop_step();

// The whole process: command line, start-up, loop, settings saved,
// shutdown. Returns the exit code.
int app_main(int argc, char** argv);
