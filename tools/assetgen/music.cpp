#include "music.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr float kQuarterPi = 0.78539816339745f;

// Seeds for the noise of drums and breath: every hit gets its own, taken
// from where it falls, so the result does not depend on the order of calls.
uint32_t seed_at(size_t frame, uint32_t salt) {
    return static_cast<uint32_t>(frame) * 2654435761u + salt * 40503u + 1u;
}

// Runs `sample(n, t)` for `seconds` from a beat and puts each value into the
// song. Every sound here fades out over its last 30 ms, so none is cut.
template <class Sample>
void render_mono(Song& song, const Placement& placement, float beat, float seconds, Sample sample) {
    const Song::Strip strip = Song::strip(placement);
    const size_t start = song.frame_at(beat);
    const int frames = static_cast<int>(seconds * kSampleRate);
    for (int n = 0; n < frames; ++n) {
        const float t = n * kSecondsPerFrame;
        song.put(start + n, sample(n, t) * fade_out(t, seconds, 0.03f), strip);
    }
}

float seconds_of(const Song& song, float beats) {
    return beats * song.beat_seconds();
}

} // namespace

Song::Song(float beats_per_minute, int bars)
    : bars_(bars), beat_seconds_(60.0f / beats_per_minute),
      dry_(static_cast<size_t>(std::lround(bars * 4.0 * 60.0 / beats_per_minute * kSampleRate))),
      reverb_send_(dry_.frames(), 0.0f), echo_send_(dry_.frames(), 0.0f) {}

size_t Song::frame_at(float beat) const {
    return static_cast<size_t>(
        std::lround(static_cast<double>(beat) * beat_seconds_ * kSampleRate));
}

Song::Strip Song::strip(const Placement& placement) {
    // Equal-power pan, scaled so the middle keeps the full gain on each side.
    const float angle = (placement.pan + 1.0f) * kQuarterPi;
    const float k = placement.gain * 1.41421356f;
    return {k * std::cos(angle), k * std::sin(angle), placement.gain * placement.reverb,
            placement.gain * placement.echo};
}

void Song::put(size_t frame, float sample, const Strip& strip) {
    frame %= dry_.frames();
    dry_.left[frame] += sample * strip.left;
    dry_.right[frame] += sample * strip.right;
    reverb_send_[frame] += sample * strip.reverb;
    echo_send_[frame] += sample * strip.echo;
}

void Song::put(size_t frame, float left, float right, const Strip& strip) {
    frame %= dry_.frames();
    // Stereo sources keep their own image: the strip's pan is not applied.
    const float gain = (strip.left + strip.right) * 0.5f;
    dry_.left[frame] += left * gain;
    dry_.right[frame] += right * gain;
    const float middle = (left + right) * 0.5f;
    reverb_send_[frame] += middle * strip.reverb;
    echo_send_[frame] += middle * strip.echo;
}

LoopBuffer Song::mix_down(const Space& space, float peak) const {
    LoopBuffer out = dry_;
    Reverb room(space.room_size, space.room_damping);
    add_looped(room, reverb_send_, space.room_gain, &out);
    PingPongDelay echo(space.echo_beats * beat_seconds_, space.echo_feedback, 3500.0f);
    add_looped(echo, echo_send_, space.echo_gain, &out);
    remove_offset(&out);
    normalise(&out, peak);
    return out;
}

// A plucked string: harmonics that die away, the higher ones faster.
void harp(Song& song, const Placement& placement, const Note& note) {
    constexpr int kPartials = 6;
    const float hz = note_hz(note.pitch);
    const float ring = 1.6f;
    float level[kPartials], fall[kPartials];
    for (int k = 0; k < kPartials; ++k) {
        level[k] = note.velocity * std::pow(0.5f, static_cast<float>(k)) / (1.0f + 0.2f * k);
        // Damped enough that one chord's notes have faded before the next's.
        const float per_second = (2.2f + 1.2f * k) * (0.6f + hz / 900.0f);
        fall[k] = std::exp(-per_second * kSecondsPerFrame);
    }
    render_mono(song, placement, note.beat, ring, [&](int n, float t) {
        const double turns = static_cast<double>(hz) * n * kSecondsPerFrame;
        float s = 0.0f;
        for (int k = 0; k < kPartials; ++k) {
            s += level[k] * sine(turns * (k + 1));
            level[k] *= fall[k];
        }
        return s * fade_in(t, 0.002f);
    });
}

// A soft flute: a nearly pure tone with a breathy start and a slow vibrato.
void flute(Song& song, const Placement& placement, const Note& note) {
    const float hz = note_hz(note.pitch);
    const float held = seconds_of(song, note.beats) * 0.95f;
    const Adsr envelope{0.06f, 0.3f, 0.85f, 0.2f};
    Phase phase;
    Phase vibrato;
    Noise breath_noise(seed_at(song.frame_at(note.beat), 7));
    Svf breath_filter(hz * 2.0f, 2.0f);
    render_mono(song, placement, note.beat, envelope.length(held), [&](int, float t) {
        const float depth = 0.004f * fade_in(t - 0.25f, 0.3f);
        const float turns = phase.advance(hz * (1.0f + depth * sine(vibrato.advance(5.2f))));
        const float tone = sine(turns) + 0.22f * sine(2.0 * turns) + 0.07f * sine(3.0 * turns);
        const float chiff = 0.4f + 0.6f * std::exp(-t / 0.08f);
        const float breath = breath_filter.run(breath_noise.next()).band * 0.5f * chiff;
        return (tone + breath) * envelope.at(t, held) * note.velocity;
    });
}

// Three slightly detuned saws, left, middle and right, through a gentle
// low-pass: a warm string section that swells in and out.
void string_pad(Song& song, const Placement& placement, const Note& note) {
    const float hz = note_hz(note.pitch);
    const float held = seconds_of(song, note.beats);
    const Adsr envelope{0.6f, 0.8f, 0.75f, 1.2f};
    const float cutoff = 700.0f + 900.0f * note.velocity;
    const float detune[3] = {0.996f, 1.0f, 1.004f};
    Phase saws[3];
    // Different starting phases keep chords from starting with one spike.
    for (int i = 0; i < 3; ++i)
        saws[i].turns = std::fmod(0.31 * (i + 1) + note.pitch * 0.137, 1.0);
    Svf left_filter(cutoff, 0.6f), right_filter(cutoff, 0.6f);
    const Song::Strip strip = Song::strip(placement);
    const size_t start = song.frame_at(note.beat);
    const float seconds = envelope.length(held);
    const int frames = static_cast<int>(seconds * kSampleRate);
    for (int n = 0; n < frames; ++n) {
        const float t = n * kSecondsPerFrame;
        float v[3];
        for (int i = 0; i < 3; ++i) {
            const float turns = saws[i].advance(hz * detune[i]);
            v[i] = saw_wave(turns, saws[i].dt);
        }
        const float level = envelope.at(t, held) * note.velocity * 0.5f;
        const float l = left_filter.run(0.8f * v[0] + 0.55f * v[1] + 0.3f * v[2]).low;
        const float r = right_filter.run(0.3f * v[0] + 0.55f * v[1] + 0.8f * v[2]).low;
        song.put(start + n, l * level, r * level, strip);
    }
}

// A round, soft bass: a sine with a little of its octave and twelfth.
void round_bass(Song& song, const Placement& placement, const Note& note) {
    const float hz = note_hz(note.pitch);
    const float held = seconds_of(song, note.beats) * 0.9f;
    const Adsr envelope{0.008f, 0.4f, 0.6f, 0.12f};
    Phase phase;
    render_mono(song, placement, note.beat, envelope.length(held), [&](int, float t) {
        const float turns = phase.advance(hz);
        const float s = sine(turns) + 0.25f * sine(2.0 * turns) + 0.08f * sine(3.0 * turns);
        return std::tanh(1.2f * s) * envelope.at(t, held) * note.velocity;
    });
}

// A saw bass with a sub-octave sine; the filter opens on the attack.
void saw_bass(Song& song, const Placement& placement, const Note& note, float brightness) {
    const float hz = note_hz(note.pitch);
    const float held = seconds_of(song, note.beats) * 0.85f;
    const Adsr envelope{0.003f, 0.12f, 0.65f, 0.06f};
    Phase phase, sub;
    Svf filter;
    render_mono(song, placement, note.beat, envelope.length(held), [&](int n, float t) {
        if (n % 8 == 0) filter.set(hz * 2.0f + brightness * 2200.0f * std::exp(-t / 0.09f), 1.1f);
        const float turns = phase.advance(hz);
        const float raw = saw_wave(turns, phase.dt) + 0.6f * sine(sub.advance(hz * 0.5f));
        return filter.run(raw).low * envelope.at(t, held) * note.velocity;
    });
}

// A singing synth lead: two detuned saws and a square, a filter that closes
// a little after the attack, and vibrato on held notes.
void synth_lead(Song& song, const Placement& placement, const Note& note) {
    const float hz = note_hz(note.pitch);
    const float held = seconds_of(song, note.beats) * 0.92f;
    const Adsr envelope{0.015f, 0.25f, 0.75f, 0.18f};
    Phase a, b, c, vibrato;
    Svf filter;
    render_mono(song, placement, note.beat, envelope.length(held), [&](int n, float t) {
        if (n % 8 == 0) filter.set(1400.0f + hz + 2200.0f * std::exp(-t / 0.25f), 0.9f);
        const float bend = 1.0f + 0.005f * fade_in(t - 0.3f, 0.3f) * sine(vibrato.advance(5.5f));
        const float ta = a.advance(hz * bend * 0.997f);
        const float tb = b.advance(hz * bend * 1.003f);
        const float tc = c.advance(hz * bend);
        const float raw =
            0.5f * (saw_wave(ta, a.dt) + saw_wave(tb, b.dt)) + 0.35f * square_wave(tc, c.dt);
        return filter.run(raw).low * envelope.at(t, held) * note.velocity * 0.6f;
    });
}

// A short synth pluck for arpeggios: bright at the attack, quickly darker.
void synth_pluck(Song& song, const Placement& placement, const Note& note) {
    const float hz = note_hz(note.pitch);
    const float decay = 0.16f;
    Phase a, b;
    Svf filter;
    render_mono(song, placement, note.beat, decay * 4.0f, [&](int n, float t) {
        if (n % 8 == 0) filter.set(500.0f + hz + 3500.0f * std::exp(-t / 0.05f), 1.4f);
        const float raw =
            saw_wave(a.advance(hz), a.dt) + 0.5f * square_wave(b.advance(hz * 1.002f), b.dt);
        return filter.run(raw).low * fade_in(t, 0.002f) * std::exp(-t / decay) * note.velocity *
               0.5f;
    });
}

// Two-operator FM: a sine whose phase is swung by another; the swing dies
// away faster than the tone, so the strike is bright and the ring pure.
void bell(Song& song, const Placement& placement, const Note& note, float ratio) {
    const float hz = note_hz(note.pitch);
    const float ring = 3.0f;
    Phase carrier, modulator;
    // High bells swing less, so their sidebands stay below the Nyquist limit.
    const float depth = std::min(1.0f, 1200.0f / hz) / 6.2831853f;
    render_mono(song, placement, note.beat, ring, [&](int, float t) {
        const float index = (2.5f * std::exp(-t / 0.35f) + 0.3f) * depth;
        const float swing = index * sine(modulator.advance(hz * ratio));
        const float s = sine(carrier.advance(hz) + swing);
        return s * fade_in(t, 0.002f) * std::exp(-t / 1.1f) * note.velocity;
    });
}

// A kick: a sine whose pitch falls from about 150 Hz, and a click on top.
void kick(Song& song, const Placement& placement, float beat, float velocity) {
    Phase phase;
    Noise click(seed_at(song.frame_at(beat), 1));
    OnePole click_filter(4000.0f);
    render_mono(song, placement, beat, 0.45f, [&](int, float t) {
        const float body = sine(phase.advance(42.0f + 110.0f * std::exp(-t / 0.03f)));
        const float tick = click_filter.low(click.next()) * std::exp(-t / 0.002f) * 0.5f;
        const float s = (body * std::exp(-t / 0.25f) + tick) * fade_in(t, 0.001f);
        return std::tanh(1.6f * s) * velocity;
    });
}

// A snare: a short tuned knock and a longer rattle of high noise.
void snare(Song& song, const Placement& placement, float beat, float velocity) {
    Phase low, high;
    Noise noise(seed_at(song.frame_at(beat), 2));
    OnePole rattle_filter(1500.0f);
    render_mono(song, placement, beat, 0.35f, [&](int, float t) {
        const float tone = 0.5f * sine(low.advance(190.0f)) * std::exp(-t / 0.05f) +
                           0.25f * sine(high.advance(330.0f)) * std::exp(-t / 0.03f);
        const float rattle = rattle_filter.high(noise.next()) * std::exp(-t / 0.11f) * 0.7f;
        return (tone + rattle) * fade_in(t, 5e-4f) * velocity;
    });
}

// A brushed snare: a soft swish instead of a crack.
void brush(Song& song, const Placement& placement, float beat, float velocity) {
    Noise noise(seed_at(song.frame_at(beat), 3));
    Svf filter(3000.0f, 0.8f);
    render_mono(song, placement, beat, 0.3f, [&](int, float t) {
        return filter.run(noise.next()).band * fade_in(t, 0.01f) * std::exp(-t / 0.08f) * velocity;
    });
}

namespace {

void hat(Song& song, const Placement& placement, float beat, float velocity, float decay,
         uint32_t salt) {
    Noise noise(seed_at(song.frame_at(beat), salt));
    Svf filter(8000.0f, 0.9f);
    render_mono(song, placement, beat, decay * 5.0f, [&](int, float t) {
        return filter.run(noise.next()).high * fade_in(t, 3e-4f) * std::exp(-t / decay) * velocity;
    });
}

} // namespace

void closed_hat(Song& song, const Placement& placement, float beat, float velocity) {
    hat(song, placement, beat, velocity, 0.025f, 4);
}

void open_hat(Song& song, const Placement& placement, float beat, float velocity) {
    hat(song, placement, beat, velocity, 0.16f, 5);
}

void shaker(Song& song, const Placement& placement, float beat, float velocity) {
    Noise noise(seed_at(song.frame_at(beat), 6));
    Svf filter(6000.0f, 0.8f);
    render_mono(song, placement, beat, 0.2f, [&](int, float t) {
        const float shape = fade_in(t, 0.012f) * std::exp(-std::max(0.0f, t - 0.012f) / 0.04f);
        return filter.run(noise.next()).high * shape * velocity;
    });
}

// A crash cymbal: high noise and a cluster of clashing square waves.
void crash(Song& song, const Placement& placement, float beat, float velocity) {
    static constexpr float kMetal[6] = {205.3f, 304.4f, 369.6f, 522.7f, 540.0f, 800.0f};
    Noise noise(seed_at(song.frame_at(beat), 8));
    Phase metal[6];
    Svf filter(5000.0f, 0.7f);
    render_mono(song, placement, beat, 3.0f, [&](int, float t) {
        float clang = 0.0f;
        for (int i = 0; i < 6; ++i) {
            const float turns = metal[i].advance(kMetal[i] * 2.0f);
            clang += square_wave(turns, metal[i].dt);
        }
        const float s = filter.run(noise.next() + clang * 0.15f).high;
        return s * fade_in(t, 0.001f) * std::exp(-t / 0.8f) * velocity;
    });
}

void tom(Song& song, const Placement& placement, float beat, float velocity, float pitch) {
    const float hz = note_hz(pitch);
    Phase phase;
    Noise noise(seed_at(song.frame_at(beat), 9));
    OnePole thud(800.0f);
    render_mono(song, placement, beat, 0.6f, [&](int, float t) {
        const float body = sine(phase.advance(hz * (1.0f + 0.5f * std::exp(-t / 0.05f))));
        const float skin = thud.low(noise.next()) * std::exp(-t / 0.03f) * 0.4f;
        return (body * std::exp(-t / 0.25f) + skin) * fade_in(t, 0.001f) * velocity;
    });
}

std::vector<float> notes(const char* text) {
    static constexpr int kSemitone[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    std::vector<float> result;
    const std::string line = text;
    size_t at = 0;
    while (at < line.size()) {
        if (line[at] == ' ') {
            ++at;
            continue;
        }
        const size_t end = std::min(line.find(' ', at), line.size());
        const std::string name = line.substr(at, end - at);
        at = end;
        if (name[0] < 'A' || name[0] > 'G') throw std::runtime_error("bad note name " + name);
        int semitone = kSemitone[name[0] - 'A'];
        size_t digits = 1;
        if (digits < name.size() && (name[digits] == '#' || name[digits] == 'b')) {
            semitone += name[digits] == '#' ? 1 : -1;
            ++digits;
        }
        if (digits >= name.size() || !std::isdigit(static_cast<unsigned char>(name[digits])) ||
            digits + 1 != name.size())
            throw std::runtime_error("bad note name " + name);
        const int octave = name[digits] - '0';
        result.push_back(static_cast<float>((octave + 1) * 12 + semitone));
    }
    return result;
}

float play_line(float beat, const char* text, float velocity, const Player& play) {
    const std::string line = text;
    float at = 0.0f, length = 1.0f;
    size_t pos = 0;
    while (pos < line.size()) {
        if (line[pos] == ' ') {
            ++pos;
            continue;
        }
        const size_t end = std::min(line.find(' ', pos), line.size());
        const std::string word = line.substr(pos, end - pos);
        pos = end;
        if (word == "|") {
            if (std::fmod(at, 4.0f) != 0.0f)
                throw std::runtime_error("bar line at beat " + std::to_string(at) + " in " + line);
            continue;
        }
        const size_t colon = word.find(':');
        if (colon != std::string::npos) length = std::stof(word.substr(colon + 1));
        const std::string name = word.substr(0, colon);
        if (name != "-") play({beat + at, length, notes(name.c_str()).at(0), velocity});
        at += length;
    }
    return at;
}

void play_steps(float beat, const char* steps, const Striker& strike) {
    Noise wobble(static_cast<uint32_t>(beat * 16.0f) + 77u);
    for (int i = 0; steps[i] != '\0' && i < 16; ++i) {
        float velocity = 0.0f;
        switch (steps[i]) {
        case 'X': velocity = 1.0f; break;
        case 'x': velocity = 0.75f; break;
        case 'o': velocity = 0.45f; break;
        case '.': continue;
        default: throw std::runtime_error(std::string("bad drum step in ") + steps);
        }
        strike(beat + i * 0.25f, velocity * (1.0f + 0.06f * wobble.next()));
    }
}
