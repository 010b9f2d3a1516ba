// What SDL's disk audio driver writes: the sound tests start the game's sound
// with SDL_AUDIODRIVER=disk and SDL_DISKAUDIOFILE=output.raw, then read back
// the mixed signed 16-bit stereo frames.
#pragma once

#include <SDL.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

inline std::vector<int16_t> read_samples(const char* file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> samples;
    int16_t sample;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(sample);
    return samples;
}

// Stereo frames the disk driver has written to output.raw so far.
inline size_t written_frames() {
    std::error_code ec;
    auto bytes = std::filesystem::file_size("output.raw", ec);
    return ec ? 0 : static_cast<size_t>(bytes / 4);
}

// Waits (up to ten seconds) until output.raw holds the frames.
inline bool wait_for_frames(size_t frames) {
    for (int waited = 0; waited < 10000 && written_frames() < frames; waited += 5)
        SDL_Delay(5);
    return written_frames() >= frames;
}

// The largest sample, either channel, of frames [from, to).
inline int loudest_sample(const std::vector<int16_t>& samples, size_t from, size_t to) {
    int peak = 0;
    for (size_t i = from * 2; i < to * 2 && i < samples.size(); ++i)
        peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
    return peak;
}
