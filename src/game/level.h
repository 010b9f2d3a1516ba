// The sequence of the three levels and loading one of them: the loading
// picture shown at once, the music, the landscape with its sun and shadows,
// the sheep count and speed, and the player placed in the middle of the land.
#pragma once

constexpr int LEVEL_COUNT = 3;
extern const char* const level_files[LEVEL_COUNT];
extern int current_level; // index into level_files; -1 before the first level

// The next level, or the victory screen after the last; a level that fails
// to load leads to the title screen. Every advance frees the sheep slots and
// gives the player five lives.
void level_advance();
// Loads one level file; false, with the reason printed, when it cannot.
bool level_load(const char* path);
