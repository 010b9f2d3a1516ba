// sound/fire.wav: the weapon's rapid fire.
#pragma once

#include <filesystem>

// 16-bit mono PCM at 44100 Hz: four shots 100 ms apart (ten a second, the
// rate the weapon fires at), each a little different, made to loop: the
// last shot's ring carries on over the start of the loop, so its end leads
// into its beginning. Throws std::runtime_error on failure.
void make_fire_wav(const std::filesystem::path& file);
