// The sequence of levels and loading one of them: the loading picture shown
// at once, the music, the landscape with its sun and shadows, the sheep count
// and speed, and the player placed in the middle of the land.
//
// The levels are the files data/level1.txt, data/level2.txt, ... up to the
// first one missing, counted when a new game starts its first level.
#pragma once

int level_count();   // levels of the game being played
int current_level(); // zero-based; -1 before the first level

// The next level_advance goes to the zero-based level next_level; 0 starts
// a new game's sequence, which counts the level files first.
void level_sequence_restart(int next_level);

// The next level, or the victory screen after the last; a level that fails
// to load leads to the title screen. Every advance frees the sheep slots and
// gives the player five lives (the flock keeps both).
void level_advance();
// Loads one level file; false, with the reason printed, when it cannot.
bool level_load(const char* path);
