// The screens of the game: the title with its turning boxes, play, the dead
// picture and the victory; owns the title model and the dead picture, and
// runs the current screen's frame.
#pragma once

#include "input/actions.h"

// Loads the dead picture and the title model (the box of the title screen);
// false when either fails.
bool screens_init();
// Lets go of the dead picture and the title model; screens_init loads them
// again.
void screens_release();
// A new game from the first level: the level sequence and the player reset,
// then the first level; false, on the title screen, when the weapon or the
// pictures cannot load.
bool start_new_game();
// Loads the first level after a new-game reset and goes into play, or stays
// on the title screen when the level fails to load.
void start_new_game_level();
// The current screen state's frame, with the frame's input record. On the
// title, dead and victory screens the record's start (Enter, the pad's Start
// or A) starts a new game.
void screen_frame(const InputRecord& input);
void title_frame(const InputRecord& input);
void dead_frame(const InputRecord& input);
