// Screen state: owns game_state.
#include "game/game_state.h"

int game_state = STATE_NONE;
