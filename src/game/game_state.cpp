// Screen state: owns the screen the game is on.
#include "game/game_state.h"

static GameState current = STATE_NONE;

GameState game_state() {
    return current;
}

void game_state_set(GameState state) {
    current = state;
}
