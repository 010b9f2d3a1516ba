// The game's two sounds: one looping music stream per level and the looping
// shot sample that plays while the fire button is held. Declared here so the
// game can call them; the platform layer (app/sound.cpp) implements them.
#pragma once

// Opens the audio output and loads data/sound/fire.wav; false when even a
// silent output cannot be opened or the shot sound cannot be loaded (an
// error line names the file and why).
bool sound_init();
// Replaces the music by the file's, looping from its start; a file that
// cannot be played gives an error line naming it and why, and silence.
void music_play_file(const char* file_name);
// Start and stop the looping shot; repeated calls do nothing more.
void shot_sound_start();
void shot_sound_stop();
// Pauses every sound where it is (the shot and the music), or resumes them
// from there.
void sound_pause(bool paused);
void sound_shutdown();
