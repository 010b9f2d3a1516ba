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

extern int game_state; // a GameState; STATE_NONE until start-up has finished
