// Pause: while the game is paused, play stands still (no game time passes,
// no sheep, shot or spawn moves, the view stays), the shot sound and the
// music pause, and the play screen shows "Paused"; the console works as
// ever. Only a game in play pauses; leaving play, a new level or a new game
// ends a pause.
#pragma once

#include "input/actions.h"

// Registers the command "pause" (toggles) and the variable
// pause_on_focus_loss (default 1, kept in config.cfg).
void pause_init();

bool game_paused();
// Pauses or resumes, printing "Paused" or "Resumed". Pausing is refused
// (false) outside play and while pausing is forbidden.
bool pause_set(bool paused);
// Ends a pause without a word (a level loads, a new game starts).
void pause_end();
// While a reason is set, no pause is allowed and asking for one prints the
// reason as an error line (a timedemo measures the machine: a pause would
// only spoil its timing). Null allows pausing again.
void pause_forbid(const char* reason);

// Once a frame, before a demo takes or replaces the frame's input record: a
// game that left play is no longer paused, and the record's pause action
// toggles the pause.
void pause_frame_start(const InputRecord& input);
// The window lost the keyboard focus: pauses when pause_on_focus_loss is on.
// Getting the focus back does not resume.
void pause_for_focus_loss();
