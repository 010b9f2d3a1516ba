// The three level themes: music1.ogg, music2.ogg and music3.ogg.
#pragma once

#include <filesystem>

// Each is a stereo Ogg Vorbis loop at 44100 Hz, between 20 and 60 seconds,
// whose last bar leads into its first and whose sound wraps across the seam
// (notes, echoes and reverb that ring past the end carry on at the start).
// Throws std::runtime_error on failure.

// Rolling meadows: G major, 96 beats a minute; flute tune over harp, strings,
// a round bass, brushes and shaker. Light and pastoral.
void make_music1_ogg(const std::filesystem::path& file);
// Steep ridges: E minor, 124 beats a minute; pumping saw bass, synth
// arpeggios, four-to-the-floor drums and a synth lead. Tense and driving.
void make_music2_ogg(const std::filesystem::path& file);
// The basin and its lake: D minor, 138 beats a minute; sixteenth-note bass,
// toms, dark strings, bells over the water and a lead that climbs through
// the harmonic minor. The urgent finale.
void make_music3_ogg(const std::filesystem::path& file);
