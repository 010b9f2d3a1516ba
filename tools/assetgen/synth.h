// Sound-making kit shared by the shot and the music: the sample rate, a
// noise source that gives the same numbers everywhere, oscillators, filters,
// envelopes, the loop buffer whose writes wrap around its end, and the echo
// and reverb that give the music its space.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kSampleRate = 44100;
constexpr float kSecondsPerFrame = 1.0f / kSampleRate;

// Frequency of a MIDI note number (69 is A4, 440 Hz).
float note_hz(float note);

// sin(2 pi phase) from a table, phase in turns (any value; only its fraction
// counts). Much cheaper than std::sin and exact to about 1e-6.
float sine(double phase);

// White noise in -1..1 from a linear congruential generator.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed) {}
    float next();

  private:
    uint32_t state_;
};

// One-pole low-pass filter; its high-pass is the input minus the low-pass.
class OnePole {
  public:
    explicit OnePole(float cutoff_hz = 1000.0f) { set_cutoff(cutoff_hz); }
    void set_cutoff(float hz);
    float low(float x) { return state_ += coefficient_ * (x - state_); }
    float high(float x) { return x - low(x); }

  private:
    float coefficient_ = 0.0f;
    float state_ = 0.0f;
};

// State-variable filter (trapezoidal form): low-, band- and high-pass at
// once, stable while its cutoff moves from sample to sample.
class Svf {
  public:
    struct Out {
        float low, band, high;
    };
    Svf(float cutoff_hz = 1000.0f, float q = 0.707f) { set(cutoff_hz, q); }
    void set(float cutoff_hz, float q);
    Out run(float x);

  private:
    float g_ = 0, k_ = 0, a1_ = 0, a2_ = 0, a3_ = 0;
    float ic1_ = 0, ic2_ = 0;
};

// Band-limited sawtooth and square (-1..1) at a phase in 0..1 that advances
// by dt per sample; the edges are smoothed so high notes do not alias.
float saw_wave(float phase, float dt);
float square_wave(float phase, float dt);

// A phase in turns that advances by a frequency each sample.
struct Phase {
    double turns = 0.0;
    float dt = 0.0f; // the last step, in turns per sample
    float advance(float hz) {
        dt = hz * kSecondsPerFrame;
        turns += dt;
        if (turns >= 1.0) turns -= 1.0;
        return static_cast<float>(turns);
    }
};

// Attack, decay, sustain and release, in seconds and sustain level 0..1.
// at() gives the level t seconds into a note held for `held` seconds; it
// starts and ends at 0 with no corner steep enough to click.
struct Adsr {
    float attack, decay, sustain, release;
    float at(float t, float held) const;
    float length(float held) const { return held + release; }
};

// 0 to 1 along a raised cosine over `seconds`, then 1.
float fade_in(float t, float seconds);
// 1, then down to 0 along a raised cosine over the last `seconds` of `length`.
float fade_out(float t, float length, float seconds);

// A loop of stereo sound. Every write wraps around, so a sound that rings
// past the end goes on at the start, exactly as when the loop repeats.
struct LoopBuffer {
    std::vector<float> left, right;
    explicit LoopBuffer(size_t frames) : left(frames, 0.0f), right(frames, 0.0f) {}
    size_t frames() const { return left.size(); }
    void add(size_t frame, float l, float r) {
        frame %= left.size();
        left[frame] += l;
        right[frame] += r;
    }
};

// An echo that bounces between the left and the right, each repeat darker.
class PingPongDelay {
  public:
    PingPongDelay(float seconds, float feedback, float damping_hz);
    void run(float in, float* l, float* r);

  private:
    std::vector<float> left_, right_;
    size_t at_ = 0;
    float feedback_;
    OnePole damp_l_, damp_r_;
};

// A room: eight damped comb filters and four all-pass filters per side, the
// right side's a little longer than the left's so the room sounds wide.
class Reverb {
  public:
    // size 0..1 sets how long the room rings; damping 0..1 how dark it gets.
    Reverb(float size, float damping);
    void run(float in, float* l, float* r);

  private:
    struct Comb {
        std::vector<float> line;
        size_t at = 0;
        float store = 0;
    };
    struct AllPass {
        std::vector<float> line;
        size_t at = 0;
    };
    float comb(Comb& c, float in) const;
    static float all_pass(AllPass& a, float in);
    Comb combs_[2][8];
    AllPass all_passes_[2][4];
    float feedback_, damping_;
};

// Runs a mono send through an effect over the loop twice and adds the second
// pass, scaled by gain, to out: the effect's echoes then carry across the
// seam exactly as they do while the loop repeats.
template <class Effect>
void add_looped(Effect& effect, const std::vector<float>& send, float gain, LoopBuffer* out) {
    const size_t n = send.size();
    for (size_t i = 0; i < 2 * n; ++i) {
        float l = 0.0f, r = 0.0f;
        effect.run(send[i % n], &l, &r);
        if (i >= n) out->add(i - n, l * gain, r * gain);
    }
}

// Removes any constant offset (a 20 Hz high-pass), run over the loop twice
// like the effects so the filter's state matches across the seam.
void remove_offset(LoopBuffer* loop);

// Scales the loop so its loudest sample reaches `peak`.
void normalise(LoopBuffer* loop, float peak);
