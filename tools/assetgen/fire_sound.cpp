#include "fire_sound.h"

#include "audio_writer.h"
#include "synth.h"

#include <cmath>
#include <cstdint>

// One shot is a sharp crack of high noise, a thump whose pitch drops fast
// (the punch), a darker blast of noise that dies away within a few tens of
// milliseconds, and the small clack of the mechanism halfway to the next
// shot. By the next shot it has fallen some 30 dB, so the shots stay apart.

namespace {

constexpr int kShotFrames = kSampleRate / 10;
constexpr float kShotRing = 0.25f; // seconds; a shot's tail overlaps the next

struct ShotVariation {
    float pitch, crack, body;
    uint32_t seed;
};

constexpr ShotVariation kShots[] = {
    {1.00f, 1.00f, 1.00f, 11},
    {0.96f, 0.85f, 0.93f, 23},
    {1.03f, 0.95f, 0.97f, 37},
    {0.98f, 0.90f, 0.91f, 41},
};

void add_shot(LoopBuffer* loop, size_t start, const ShotVariation& shot) {
    Noise noise(shot.seed);
    Svf crack_filter(3200.0f, 0.7f);
    Svf blast_filter(2200.0f, 0.7f);
    Svf clack_filter(3200.0f, 4.0f);
    Phase body;
    const int frames = static_cast<int>(kShotRing * kSampleRate);
    for (int n = 0; n < frames; ++n) {
        const float t = n * kSecondsPerFrame;
        const float white = noise.next();
        const float crack =
            crack_filter.run(white).band * 2.4f * std::exp(-t / 0.008f) * shot.crack;
        const float hz = (70.0f + 160.0f * std::exp(-t / 0.008f)) * shot.pitch;
        const float thump = sine(body.advance(hz)) * std::exp(-t / 0.018f) * 0.8f * shot.body;
        const float blast =
            blast_filter.run(white).low * std::exp(-t / 0.03f) * 0.9f * fade_in(t, 0.002f);
        const float clack_t = t - 0.055f;
        const float clack_noise = clack_filter.run(white).band;
        const float clack = clack_t > 0.0f ? clack_noise * std::exp(-clack_t / 0.004f) *
                                                 fade_in(clack_t, 5e-4f) * 0.3f
                                           : 0.0f;
        // A rise of 0.4 ms: as sharp as a shot, but no step from silence.
        float s = fade_in(t, 4e-4f) * (crack + thump) + blast + clack;
        s = std::tanh(2.2f * s); // squeezes the peaks: a fuller, punchier shot
        s *= fade_out(t, kShotRing, 0.02f);
        loop->add(start + n, s, s);
    }
}

} // namespace

void make_fire_wav(const std::filesystem::path& file) {
    constexpr int kShotCount = sizeof kShots / sizeof kShots[0];
    LoopBuffer loop(static_cast<size_t>(kShotCount) * kShotFrames);
    for (int i = 0; i < kShotCount; ++i)
        add_shot(&loop, static_cast<size_t>(i) * kShotFrames, kShots[i]);
    remove_offset(&loop);
    normalise(&loop, 0.7f);
    write_wav(file, {loop.left});
}
