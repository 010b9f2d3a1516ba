// The music maker: a song is a loop of bars at a tempo. Instruments write
// their notes into the song's buses, wrapping at the loop's end so that a
// note ringing past it sounds over the beginning; the buses then get their
// space (echo and reverb) and are mixed down to one stereo loop.
#pragma once

#include "synth.h"

#include <cstdint>
#include <functional>
#include <vector>

// Where an instrument sits in the mix: loudness, pan (-1 left .. 1 right) and
// how much of it goes to the reverb and to the echo.
struct Placement {
    float gain = 1.0f, pan = 0.0f, reverb = 0.0f, echo = 0.0f;
};

// The room and the echo a song is mixed with.
struct Space {
    float room_size, room_damping, room_gain;
    float echo_beats, echo_feedback, echo_gain;
};

class Song {
  public:
    Song(float beats_per_minute, int bars);
    int bars() const { return bars_; }
    float beat_seconds() const { return beat_seconds_; }
    size_t frame_at(float beat) const;

    // Gains of one placement, worked out once per note.
    struct Strip {
        float left, right, reverb, echo;
    };
    static Strip strip(const Placement& placement);
    // Adds one sample at a frame of the loop (wrapping): mono placed by the
    // strip's pan, or a stereo pair as it is.
    void put(size_t frame, float sample, const Strip& strip);
    void put(size_t frame, float left, float right, const Strip& strip);

    // The mixed loop: dry buses plus reverb and echo, without offset, its
    // loudest sample at `peak`.
    LoopBuffer mix_down(const Space& space, float peak) const;

  private:
    int bars_;
    float beat_seconds_;
    LoopBuffer dry_;
    std::vector<float> reverb_send_, echo_send_;
};

// One note: start and length in beats, MIDI note number, velocity 0..1.
struct Note {
    float beat, beats, pitch, velocity;
};

// Melodic instruments; each plays one note into the song.
void harp(Song& song, const Placement& placement, const Note& note);
void flute(Song& song, const Placement& placement, const Note& note);
void string_pad(Song& song, const Placement& placement, const Note& note);
void round_bass(Song& song, const Placement& placement, const Note& note);
// brightness 0..1 opens the filter of each note's attack.
void saw_bass(Song& song, const Placement& placement, const Note& note, float brightness);
void synth_lead(Song& song, const Placement& placement, const Note& note);
void synth_pluck(Song& song, const Placement& placement, const Note& note);
// ratio: the modulator's frequency over the carrier's (3.5 a bell, 4 a glockenspiel).
void bell(Song& song, const Placement& placement, const Note& note, float ratio);

// Drums; each strikes once at a beat with a velocity 0..1.
void kick(Song& song, const Placement& placement, float beat, float velocity);
void snare(Song& song, const Placement& placement, float beat, float velocity);
void brush(Song& song, const Placement& placement, float beat, float velocity);
void closed_hat(Song& song, const Placement& placement, float beat, float velocity);
void open_hat(Song& song, const Placement& placement, float beat, float velocity);
void shaker(Song& song, const Placement& placement, float beat, float velocity);
void crash(Song& song, const Placement& placement, float beat, float velocity);
// A tom tuned to a MIDI note.
void tom(Song& song, const Placement& placement, float beat, float velocity, float pitch);

// Writing music down.

// MIDI note numbers of a list of names such as "G3 B3 D4" ("C4" is 60;
// sharps "F#3", flats "Bb3"). Throws std::runtime_error on a bad name.
std::vector<float> notes(const char* text);

// Plays a line such as "B4:1.5 A4:.5 G4 D4 | E5:2 -:2" from a beat: each word
// a note name or "-" for a rest, with its length in beats after ":" (else the
// previous word's). "|" marks a bar line and must fall on a whole bar of
// four beats from the start. Returns the beats played; throws
// std::runtime_error on a malformed line.
using Player = std::function<void(const Note&)>;
float play_line(float beat, const char* text, float velocity, const Player& play);

// Plays a bar of sixteenth-note steps from its first beat: 'X' strikes hard,
// 'x' medium, 'o' softly, '.' rests; velocities vary a little from hit to hit.
using Striker = std::function<void(float beat, float velocity)>;
void play_steps(float beat, const char* steps, const Striker& strike);
