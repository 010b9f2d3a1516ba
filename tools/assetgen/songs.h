// The level music, musicN.ogg, and the kit's three songs.
#pragma once

#include "music.h"

#include <filesystem>

// How a level's music is made: the song written into it, its tempo and
// length, the room it is mixed in and the title the file carries.
struct SongRecipe {
    void (*compose)(Song& song);
    float beats_per_minute;
    int bars; // the loop's length; the song fills every bar
    Space space;
    const char* title;
};

// Rolling meadows: G major, 16 bars at 96 beats a minute; flute tune over
// harp, strings, a round bass, brushes and shaker. Light and pastoral.
void compose_meadows(Song& song);
// Steep ridges: E minor, 20 bars at 124 beats a minute; pumping saw bass,
// synth arpeggios, four-to-the-floor drums and a synth lead. Tense and driving.
void compose_ridges(Song& song);
// The basin and its lake: D minor, 24 bars at 138 beats a minute;
// sixteenth-note bass, toms, dark strings, bells over the water and a lead
// that climbs through the harmonic minor. The urgent finale.
void compose_basin(Song& song);

// Writes the music of level `number`: a stereo Ogg Vorbis loop at 44100 Hz,
// between 20 and 60 seconds, whose last bar leads into its first and whose
// sound wraps across the seam (notes, echoes and reverb that ring past the
// end carry on at the start). Throws std::runtime_error on failure.
void make_music_ogg(const SongRecipe& recipe, int number, const std::filesystem::path& file);
