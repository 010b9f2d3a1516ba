// What the SDL_mixer side of the sound keeps, for the mixer's own queries
// (position, tags); the game's calls are in platform/sound.h.
#pragma once

#include "platform/sound.h"

#include <SDL_mixer.h>

// The music stream of the current level; nullptr when there is none.
Mix_Music* current_music();

// The mixer channel kept for the shot.
constexpr int SHOT_CHANNEL = 0;

// Creates volume_music and volume_sfx (0 .. 1, default 1).
void sound_volume_init();
// Once a frame: a volume variable that changed goes to the mixer at once
// (the music, and the shot's channel).
void sound_volume_update();
