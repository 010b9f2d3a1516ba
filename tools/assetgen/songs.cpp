#include "songs.h"

#include "audio_writer.h"
#include "music.h"

#include <vector>

// Each song is written bar by bar: a chord per bar (voiced around middle C),
// a bass line, a tune and drum patterns in sixteenth-note steps. The last bar
// of each is a dominant or a fill that leads back into the first.

namespace {

constexpr float kQuality = 0.3f; // about 100 kbit/s: clean enough for synthesised music
constexpr float kPeak = 0.5f;    // headroom for the shot sound mixed on top
constexpr int kSerialBase = 0x53686565;

struct Bar {
    const char* chord; // pad voicing
    float root;        // bass root, MIDI
};

// Chord tones and their octaves above, for arpeggios.
std::vector<float> arpeggio_notes(const char* chord) {
    std::vector<float> tones = notes(chord);
    const size_t count = tones.size();
    for (size_t i = 0; i < count; ++i)
        tones.push_back(tones[i] + 12.0f);
    return tones;
}

// Plays chord tones by index (into arpeggio_notes) every `step` beats.
void arpeggio(float beat, const char* chord, const std::vector<int>& pattern, float step,
              float velocity, const Player& play) {
    const std::vector<float> tones = arpeggio_notes(chord);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const float accent = i % 4 == 0 ? 1.0f : 0.8f;
        play({beat + i * step, step, tones.at(pattern[i]), velocity * accent});
    }
}

void pad_chord(Song& song, const Placement& placement, float beat, float beats, const char* chord,
               float velocity) {
    for (float pitch : notes(chord))
        string_pad(song, placement, {beat, beats, pitch, velocity});
}

} // namespace

void compose_meadows(Song& song) {
    // G D/F# Em C G D C D, then C G/B Am D Em C Am7 D7; the bass walks its own line.
    static const char* const kChords[16] = {
        "G3 B3 D4", "F#3 A3 D4", "G3 B3 E4", "G3 C4 E4",  "G3 B3 D4", "F#3 A3 D4",
        "G3 C4 E4", "F#3 A3 D4", "G3 C4 E4", "G3 B3 D4",  "A3 C4 E4", "F#3 A3 D4",
        "G3 B3 E4", "G3 C4 E4",  "G3 C4 E4", "F#3 A3 C4",
    };
    const Placement harp_place{0.4f, -0.35f, 0.35f, 0.0f};
    const Placement flute_place{0.5f, 0.15f, 0.3f, 0.2f};
    const Placement pad_place{0.35f, 0.0f, 0.55f, 0.0f};
    const Placement bass_place{0.55f, 0.0f, 0.05f, 0.0f};
    const Placement glock_place{0.3f, 0.35f, 0.55f, 0.3f};
    const Placement kick_place{0.45f, 0.0f, 0.05f, 0.0f};
    const Placement shaker_place{0.45f, 0.4f, 0.15f, 0.0f};
    const Placement brush_place{0.8f, -0.15f, 0.3f, 0.0f};

    const std::vector<int> rising = {0, 1, 2, 3, 4, 3, 2, 1};
    const std::vector<int> rolling = {0, 2, 3, 2, 4, 2, 3, 1};
    for (int bar = 0; bar < 16; ++bar) {
        const float beat = bar * 4.0f;
        pad_chord(song, pad_place, beat, 4.0f, kChords[bar], 0.5f);
        arpeggio(beat, kChords[bar], bar < 8 ? rising : rolling, 0.5f, 0.55f,
                 [&](const Note& n) { harp(song, harp_place, n); });
        play_steps(beat, "x.......x.......",
                   [&](float b, float v) { kick(song, kick_place, b, v); });
        play_steps(beat, "o.x.o.x.o.x.o.x.",
                   [&](float b, float v) { shaker(song, shaker_place, b, v); });
        if (bar >= 4)
            play_steps(beat, bar % 8 == 7 ? "....x.......x.o." : "....x.......x...",
                       [&](float b, float v) { brush(song, brush_place, b, v); });
    }
    play_line(0.0f,
              "G2:2 D3:2 | F#2:2 A2:2 | E2:2 B2:2 | C3:2 G2:2 | G2:2 D3:2 | D2:2 A2:2 | "
              "C3:2 G2:2 | D2:2 F#2:1 A2:1 | C3:2 G2:2 | B2:2 G2:2 | A2:2 E2:2 | D2:2 F#2:2 | "
              "E2:2 B2:2 | C3:2 G2:2 | A2:2 E2:2 | D2:1 F#2:1 A2:1 C3:1",
              0.8f, [&](const Note& n) { round_bass(song, bass_place, n); });
    play_line(0.0f,
              "B4:1.5 A4:.5 G4:1 D4:1 | A4:1.5 B4:.5 A4:1 F#4:1 | G4:1.5 A4:.5 B4:1 E5:1 | "
              "E5:2 D5:1 C5:1 | B4:1.5 C5:.5 D5:1 G5:1 | F#5:1.5 E5:.5 D5:1 A4:1 | "
              "E5:1 D5:1 C5:1 B4:.5 A4:.5 | A4:2.5 -:.5 B4:.5 C5:.5 | "
              "E5:1.5 D5:.5 C5:1 G4:1 | D5:1.5 C5:.5 B4:1 G4:1 | C5:1 B4:.5 A4:.5 E5:1 C5:1 | "
              "D5:2 A4:1 F#4:1 | G4:1 B4:1 E5:1.5 D5:.5 | C5:1 E5:1 G5:1.5 E5:.5 | "
              "E5:1.5 D5:.5 C5:1 A4:1 | A4:1.5 F#4:.5 A4:1 C5:1",
              0.75f, [&](const Note& n) { flute(song, flute_place, n); });
    // A glockenspiel joins for the second half.
    play_line(32.0f,
              "G6:2 E6:2 | D6:2 B5:2 | E6:2 C6:2 | F#6:2 D6:2 | B5:2 E6:2 | G6:2 E6:2 | "
              "E6:2 C6:2 | C6:2 A5:2",
              0.6f, [&](const Note& n) { bell(song, glock_place, n, 4.0f); });
}

void compose_ridges(Song& song) {
    static const Bar kBars[20] = {
        // Riding out: drums and arpeggios, then the riff.
        {"G3 B3 E4", 40},
        {"G3 C4 E4", 36},
        {"F#3 A3 D4", 38},
        {"F#3 B3 D4", 35},
        {"G3 B3 E4", 40},
        {"G3 C4 E4", 36},
        {"A3 C4 E4", 33},
        {"F#3 B3 D#4", 35},
        // The climb: the lead takes the tune.
        {"G3 C4 E4", 36},
        {"F#3 A3 D4", 38},
        {"F#3 B3 D4", 35},
        {"G3 B3 E4", 40},
        {"G3 C4 E4", 36},
        {"F#3 A3 D4", 38},
        {"G3 B3 E4", 40},
        {"G3 B3 E4", 40},
        // The ledge: thinner, then a snare roll back to the top.
        {"A3 C4 E4", 33},
        {"A3 C4 E4", 33},
        {"F#3 B3 D#4", 35},
        {"F#3 B3 D#4", 35},
    };
    const Placement bass_place{0.35f, 0.0f, 0.03f, 0.0f};
    const Placement arp_place{0.9f, 0.3f, 0.2f, 0.35f};
    const Placement riff_place{1.0f, -0.25f, 0.2f, 0.3f};
    const Placement lead_place{0.85f, 0.1f, 0.25f, 0.3f};
    const Placement pad_place{0.27f, 0.0f, 0.45f, 0.0f};
    const Placement kick_place{0.45f, 0.0f, 0.03f, 0.0f};
    const Placement snare_place{0.93f, 0.05f, 0.25f, 0.0f};
    const Placement hat_place{0.35f, -0.3f, 0.08f, 0.0f};
    const Placement crash_place{0.33f, 0.3f, 0.3f, 0.0f};

    const std::vector<int> climb = {0, 1, 2, 3, 4, 3, 2, 1, 0, 1, 2, 3, 5, 4, 3, 1};
    const std::vector<int> octaves = {0, 0, 12, 0, 0, 12, 0, 12};
    for (int bar = 0; bar < 20; ++bar) {
        const float beat = bar * 4.0f;
        const bool ledge = bar == 16 || bar == 17;
        pad_chord(song, pad_place, beat, 4.0f, kBars[bar].chord, ledge ? 0.7f : 0.45f);
        for (int i = 0; i < 8; ++i) {
            const float pitch = kBars[bar].root + (ledge ? 0 : octaves[i]);
            saw_bass(song, bass_place, {beat + i * 0.5f, 0.5f, pitch, i % 2 ? 0.7f : 0.9f},
                     ledge ? 0.3f : 0.7f);
        }
        if (!ledge)
            arpeggio(beat, kBars[bar].chord, climb, 0.25f, 0.6f,
                     [&](const Note& n) { synth_pluck(song, arp_place, n); });
        auto kick_at = [&](float b, float v) { kick(song, kick_place, b, v); };
        auto snare_at = [&](float b, float v) { snare(song, snare_place, b, v); };
        auto hat_at = [&](float b, float v) { closed_hat(song, hat_place, b, v); };
        if (ledge) {
            play_steps(beat, "x.......x.......", kick_at);
            play_steps(beat, "..x...x...x...x.", hat_at);
            continue;
        }
        play_steps(beat, "x...x...x...x...", kick_at);
        if (bar < 4) {
            play_steps(beat, "..x...x...x...x.", hat_at);
            continue;
        }
        play_steps(beat, "o.x.o.x.o.x.o.x.", hat_at);
        if (bar == 18)
            play_steps(beat, "o.o.o.o.x.x.x.x.", snare_at);
        else if (bar == 19)
            play_steps(beat, "oooooooxxxxxXXXX", snare_at);
        else
            play_steps(beat, bar == 15 ? "....x.......xoxx" : "....x.......x...", snare_at);
        if (bar % 4 == 3 && bar < 16)
            play_steps(beat, "..............x.",
                       [&](float b, float v) { open_hat(song, hat_place, b, v); });
    }
    crash(song, crash_place, 0.0f, 0.9f);
    crash(song, crash_place, 32.0f, 0.8f);
    // The riff, bars 5 to 8.
    play_line(16.0f,
              "E5:.5 -:.5 E5:.5 G5:.5 B5:1 A5:.5 G5:.5 | E5:.5 -:.5 E5:.5 G5:.5 C6:1 B5:.5 G5:.5 | "
              "A5:.5 -:.5 A5:.5 E5:.5 C5:1 D5:.5 E5:.5 | F#5:.5 -:.5 F#5:.5 D#5:.5 B4:2",
              0.8f, [&](const Note& n) { synth_pluck(song, riff_place, n); });
    // The tune, bars 9 to 20.
    play_line(32.0f,
              "G5:1.5 E5:.5 C5:1 E5:1 | F#5:1.5 A5:.5 F#5:1 D5:1 | D5:1.5 F#5:.5 B5:1.5 A5:.5 | "
              "G5:3 -:1 | G5:1.5 E5:.5 C5:1 E5:1 | A5:1.5 F#5:.5 D5:1 F#5:.5 A5:.5 | "
              "B5:2 A5:1 G5:1 | E5:3 -:1 | C5:1 E5:1 A5:2 | G5:1 E5:1 C5:2 | F#5:2 D#5:2 | "
              "B4:1 D#5:1 F#5:1 A5:1",
              0.75f, [&](const Note& n) { synth_lead(song, lead_place, n); });
}

void compose_basin(Song& song) {
    static const Bar kBars[24] = {
        // Still water: bells over a pulse.
        {"A3 D4 F4", 38},
        {"A3 D4 F4", 38},
        {"Bb3 D4 F4", 34},
        {"Bb3 D4 F4", 34},
        {"G3 Bb3 D4", 31},
        {"G3 Bb3 D4", 31},
        {"A3 C#4 E4", 33},
        {"A3 C#4 E4", 33},
        // The chase: the lead climbs through the harmonic minor.
        {"A3 D4 F4", 38},
        {"G3 C4 E4", 36},
        {"Bb3 D4 F4", 34},
        {"A3 C#4 E4", 33},
        {"A3 D4 F4", 38},
        {"G3 C4 E4", 36},
        {"G3 Bb3 D4", 31},
        {"A3 C#4 E4", 33},
        // The storm: strings rise, E flat darkens the way back to the dominant.
        {"Bb3 D4 F4", 34},
        {"G3 C4 E4", 36},
        {"A3 D4 F4", 38},
        {"A3 D4 F4", 38},
        {"G3 Bb3 Eb4", 39},
        {"G3 Bb3 Eb4", 39},
        {"A3 C#4 E4", 33},
        {"A3 C#4 G4", 33},
    };
    const Placement bass_place{0.35f, 0.0f, 0.03f, 0.0f};
    const Placement pad_place{0.3f, 0.0f, 0.6f, 0.0f};
    const Placement bell_place{0.3f, 0.3f, 0.75f, 0.35f};
    const Placement lead_place{0.6f, -0.1f, 0.35f, 0.25f};
    const Placement arp_place{0.5f, -0.35f, 0.25f, 0.3f};
    const Placement kick_place{0.45f, 0.0f, 0.03f, 0.0f};
    const Placement snare_place{0.75f, 0.05f, 0.3f, 0.0f};
    const Placement hat_place{0.3f, 0.3f, 0.08f, 0.0f};
    const Placement tom_place{0.4f, -0.2f, 0.3f, 0.0f};
    const Placement crash_place{0.25f, -0.3f, 0.35f, 0.0f};

    const std::vector<int> pulse = {0, 0, 12, 0, 0, 0, 12, 0, 0, 0, 12, 0, 0, 12, 0, 12};
    const std::vector<int> storm = {0, 2, 1, 3, 2, 4, 3, 5, 4, 2, 3, 1, 2, 0, 1, 2};
    auto kick_at = [&](float b, float v) { kick(song, kick_place, b, v); };
    auto snare_at = [&](float b, float v) { snare(song, snare_place, b, v); };
    auto hat_at = [&](float b, float v) { closed_hat(song, hat_place, b, v); };
    for (int bar = 0; bar < 24; ++bar) {
        const float beat = bar * 4.0f;
        const bool still = bar < 4;
        const bool storm_section = bar >= 16;
        pad_chord(song, pad_place, beat, 4.0f, kBars[bar].chord, storm_section ? 0.75f : 0.45f);
        // Eighths while the water is still, sixteenths once the chase is on.
        const float step = still ? 0.5f : 0.25f;
        for (int i = 0; i < (still ? 8 : 16); ++i) {
            const float pitch = kBars[bar].root + pulse[i % 16];
            const float accent = i % (still ? 2 : 4) == 0 ? 0.9f : 0.6f;
            saw_bass(song, bass_place, {beat + i * step, step, pitch, accent}, 0.5f);
        }
        if (storm_section)
            arpeggio(beat, kBars[bar].chord, storm, 0.25f, 0.55f,
                     [&](const Note& n) { synth_pluck(song, arp_place, n); });
        if (still) {
            play_steps(beat, "x.......x.......", kick_at);
            play_steps(beat, "x.x.x.x.x.x.x.x.", hat_at);
            continue;
        }
        play_steps(beat, "x.....x.x.....x.", kick_at);
        play_steps(beat, "xoxoxoxoxoxoxoxo", hat_at);
        play_steps(beat, bar == 23 ? "....x...xxxxXXXX" : "....x.......x...", snare_at);
        if (storm_section && bar % 2 == 0) tom(song, tom_place, beat, 0.9f, 36.0f); // a taiko
    }
    // Tom fills close each eight-bar phrase.
    for (float end_bar : {7.0f, 15.0f}) {
        const float fill[6][2] = {{2.0f, 52},  {2.5f, 50}, {3.0f, 47},
                                  {3.25f, 45}, {3.5f, 43}, {3.75f, 41}};
        for (const auto& hit : fill)
            tom(song, tom_place, end_bar * 4.0f + hit[0], 0.8f, hit[1]);
    }
    for (float bar : {0.0f, 8.0f, 16.0f})
        crash(song, crash_place, bar * 4.0f, 0.85f);
    play_line(0.0f,
              "D6:1.5 A5:1 F5:1.5 | -:4 | D6:1.5 Bb5:1 F5:1.5 | -:4 | D6:1.5 Bb5:1 G5:1.5 | -:4 | "
              "C#6:1.5 A5:1 E5:1.5 | -:4",
              0.7f, [&](const Note& n) { bell(song, bell_place, n, 3.5f); });
    play_line(64.0f,
              "F6:1.5 D6:1 Bb5:1.5 | G6:1.5 E6:1 C6:1.5 | A6:1.5 F6:1 D6:1.5 | -:4 | "
              "G6:1.5 Eb6:1 Bb5:1.5 | -:4 | E6:1.5 C#6:1 A5:1.5 | -:4",
              0.45f, [&](const Note& n) { bell(song, bell_place, n, 3.5f); });
    play_line(32.0f,
              "D5:.5 E5:.5 F5:1 A5:1.5 F5:.5 | G5:1.5 E5:.5 C5:1 E5:1 | "
              "F5:1 D5:1 Bb4:1 D5:.5 F5:.5 | E5:2 C#5:1 A4:1 | D5:.5 E5:.5 F5:1 A5:1.5 D6:.5 | "
              "C6:1.5 G5:.5 E5:1 C5:1 | Bb5:1.5 A5:.5 G5:1 D5:1 | C#5:1 E5:1 A5:1.5 G5:.5 | "
              "F5:4 | E5:2 G5:2 | F5:3 E5:1 | D5:4 | Eb5:2 G5:2 | Bb5:3 G5:1 | A5:2 E5:1 C#5:1 | "
              "A4:1 C#5:1 E5:1 G5:1",
              0.75f, [&](const Note& n) { synth_lead(song, lead_place, n); });
}

void make_music_ogg(const SongRecipe& recipe, int number, const std::filesystem::path& file) {
    Song song(recipe.beats_per_minute, recipe.bars);
    recipe.compose(song);
    const LoopBuffer loop = song.mix_down(recipe.space, kPeak);
    write_ogg_vorbis(file, loop.left, loop.right, kSerialBase + number, kQuality, recipe.title);
}
