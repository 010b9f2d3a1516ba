// The top-level screen state of the game and the screens' frames dispatch
// on it: title, play, dead and victory.
#pragma once

enum GameState {
    STATE_NONE = 0,
    STATE_TITLE = 1,
    STATE_PLAY = 2,
    STATE_DEAD = 3,
    STATE_VICTORY = 4,
};

// The screen the game is on; STATE_NONE until start-up has finished.
GameState game_state();
// Moves the game to another screen.
void game_state_set(GameState state);
