#include "synth.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kSineTableSize = 4096;

std::array<float, kSineTableSize + 1> make_sine_table() {
    std::array<float, kSineTableSize + 1> table{};
    for (int i = 0; i <= kSineTableSize; ++i)
        table[i] = static_cast<float>(std::sin(2.0 * kPi * i / kSineTableSize));
    return table;
}

const std::array<float, kSineTableSize + 1> sine_table = make_sine_table();

// The smoothing of a band-limited edge at phase t (polyBLEP).
float blep(float t, float dt) {
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

} // namespace

float note_hz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

float sine(double phase) {
    double turns = phase - std::floor(phase);
    if (turns >= 1.0) turns = 0.0; // a tiny negative phase rounds up to a whole turn
    double position = turns * kSineTableSize;
    int index = static_cast<int>(position);
    float fraction = static_cast<float>(position - index);
    return sine_table[index] + (sine_table[index + 1] - sine_table[index]) * fraction;
}

float Noise::next() {
    state_ = state_ * 1664525u + 1013904223u;
    return static_cast<float>(state_ >> 8) * (2.0f / 16777216.0f) - 1.0f;
}

void OnePole::set_cutoff(float hz) {
    coefficient_ = 1.0f - std::exp(-2.0f * static_cast<float>(kPi) * hz * kSecondsPerFrame);
}

void Svf::set(float cutoff_hz, float q) {
    cutoff_hz = std::clamp(cutoff_hz, 10.0f, kSampleRate * 0.45f);
    g_ = static_cast<float>(std::tan(kPi * cutoff_hz / kSampleRate));
    k_ = 1.0f / q;
    a1_ = 1.0f / (1.0f + g_ * (g_ + k_));
    a2_ = g_ * a1_;
    a3_ = g_ * a2_;
}

Svf::Out Svf::run(float x) {
    float v3 = x - ic2_;
    float v1 = a1_ * ic1_ + a2_ * v3;
    float v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    return {v2, v1, x - k_ * v1 - v2};
}

float saw_wave(float phase, float dt) {
    return 2.0f * phase - 1.0f - blep(phase, dt);
}

float square_wave(float phase, float dt) {
    float half = phase + 0.5f;
    if (half >= 1.0f) half -= 1.0f;
    return (phase < 0.5f ? 1.0f : -1.0f) + blep(phase, dt) - blep(half, dt);
}

float fade_in(float t, float seconds) {
    if (t >= seconds) return 1.0f;
    if (t <= 0.0f) return 0.0f;
    // 0.5 - 0.5 cos(pi t / seconds), the cosine read from the sine table.
    return 0.5f - 0.5f * sine(0.5 * t / seconds + 0.25);
}

float fade_out(float t, float length, float seconds) {
    return fade_in(length - t, seconds);
}

float Adsr::at(float t, float held) const {
    if (t < 0.0f || t >= held + release) return 0.0f;
    // The level the note had reached when it was let go, then the release.
    auto holding = [this](float s) {
        if (s < attack) return fade_in(s, attack);
        return sustain + (1.0f - sustain) * std::exp(-(s - attack) / std::max(decay, 1e-4f));
    };
    if (t < held) return holding(t);
    return holding(held) * fade_out(t - held, release, release);
}

PingPongDelay::PingPongDelay(float seconds, float feedback, float damping_hz)
    : left_(static_cast<size_t>(seconds * kSampleRate), 0.0f),
      right_(static_cast<size_t>(seconds * kSampleRate), 0.0f), feedback_(feedback),
      damp_l_(damping_hz), damp_r_(damping_hz) {}

void PingPongDelay::run(float in, float* l, float* r) {
    float from_left = left_[at_];
    float from_right = right_[at_];
    // The input enters on the left; each echo crosses to the other side.
    left_[at_] = in + damp_l_.low(from_right) * feedback_;
    right_[at_] = damp_r_.low(from_left) * feedback_;
    if (++at_ == left_.size()) at_ = 0;
    *l = from_left;
    *r = from_right;
}

Reverb::Reverb(float size, float damping)
    : feedback_(0.7f + 0.28f * size), damping_(damping * 0.4f) {
    static constexpr int kCombLengths[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
    static constexpr int kAllPassLengths[4] = {556, 441, 341, 225};
    static constexpr int kSpread = 23;
    for (int side = 0; side < 2; ++side) {
        for (int i = 0; i < 8; ++i)
            combs_[side][i].line.assign(kCombLengths[i] + side * kSpread, 0.0f);
        for (int i = 0; i < 4; ++i)
            all_passes_[side][i].line.assign(kAllPassLengths[i] + side * kSpread, 0.0f);
    }
}

float Reverb::comb(Comb& c, float in) const {
    float out = c.line[c.at];
    c.store = out * (1.0f - damping_) + c.store * damping_;
    c.line[c.at] = in + c.store * feedback_;
    if (++c.at == c.line.size()) c.at = 0;
    return out;
}

float Reverb::all_pass(AllPass& a, float in) {
    float delayed = a.line[a.at];
    a.line[a.at] = in + delayed * 0.5f;
    if (++a.at == a.line.size()) a.at = 0;
    return delayed - in;
}

void Reverb::run(float in, float* l, float* r) {
    float* outs[2] = {l, r};
    for (int side = 0; side < 2; ++side) {
        float sum = 0.0f;
        for (Comb& c : combs_[side])
            sum += comb(c, in);
        for (AllPass& a : all_passes_[side])
            sum = all_pass(a, sum);
        *outs[side] = sum * 0.125f;
    }
}

void remove_offset(LoopBuffer* loop) {
    const size_t n = loop->frames();
    for (std::vector<float>* channel : {&loop->left, &loop->right}) {
        std::vector<float> out(n);
        OnePole slow(20.0f);
        for (size_t i = 0; i < 2 * n; ++i) {
            float high = slow.high((*channel)[i % n]);
            if (i >= n) out[i - n] = high;
        }
        *channel = std::move(out);
    }
}

void normalise(LoopBuffer* loop, float peak) {
    float loudest = 0.0f;
    for (size_t i = 0; i < loop->frames(); ++i)
        loudest = std::max({loudest, std::abs(loop->left[i]), std::abs(loop->right[i])});
    if (loudest <= 0.0f) return;
    const float scale = peak / loudest;
    for (size_t i = 0; i < loop->frames(); ++i) {
        loop->left[i] *= scale;
        loop->right[i] *= scale;
    }
}
