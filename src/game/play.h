// The play-state frame: the fogged, shaking 3-D view of the land, the shots
// and sheep, the weapon, then the crosshair, the radar and the head picture,
// and finally the player's input and the end of the level.
#pragma once

#include "input/actions.h"

void play_frame(const InputRecord& input);
// Every falling sheep as a blip around the screen centre, heading up; red
// when it is about to land.
void radar_draw();
