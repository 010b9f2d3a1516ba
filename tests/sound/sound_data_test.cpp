// The data tool's sounds as the game plays them: the level music decoded by
// SDL_mixer and the shot loop read by SDL, each checked for length, for
// sound throughout, and for a seam that does not click when the loop repeats.
#include "platform/sound.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

namespace {

constexpr int kRate = 44100;

// Channels of samples -1..1.
using Channels = std::vector<std::vector<float>>;

Channels split(const int16_t* samples, size_t count, int channel_count) {
    Channels channels(channel_count);
    for (size_t i = 0; i < count; ++i)
        channels[i % channel_count].push_back(samples[i] / 32768.0f);
    return channels;
}

// The whole file decoded by SDL_mixer into the open output's format.
Channels decode_music(const char* file) {
    int rate = 0, channel_count = 0;
    Uint16 format = 0;
    if (!Mix_QuerySpec(&rate, &format, &channel_count) || rate != kRate || format != AUDIO_S16SYS) {
        ADD_FAILURE() << "the output is not 16-bit at 44100 Hz";
        return {};
    }
    Mix_Chunk* chunk = Mix_LoadWAV(file);
    if (!chunk) {
        ADD_FAILURE() << file << ": " << Mix_GetError();
        return {};
    }
    Channels channels =
        split(reinterpret_cast<const int16_t*>(chunk->abuf), chunk->alen / 2, channel_count);
    Mix_FreeChunk(chunk);
    return channels;
}

float percentile(std::vector<float> values, double fraction) {
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

// The loop's end played into its start: the step across the seam and the
// change of slope there must not stand out from what the sound does in the
// 4096 samples on either side (its 99th percentile), or the seam clicks.
void expect_seamless(const std::vector<float>& s, const std::string& what) {
    const long n = static_cast<long>(s.size());
    ASSERT_GT(n, 3 * 4096) << what;
    auto at = [&](long i) { return s[static_cast<size_t>((i % n + n) % n)]; };
    auto step = [&](long i) { return std::abs(at(i) - at(i - 1)); };
    auto bend = [&](long i) { return std::abs(at(i) - 2.0f * at(i - 1) + at(i - 2)); };
    std::vector<float> steps, bends;
    for (long i = -4096; i < 4096; ++i) {
        if (i == 0 || i == 1) continue; // these reach across the seam
        steps.push_back(step(i));
        bends.push_back(bend(i));
    }
    EXPECT_LE(step(0), percentile(steps, 0.99)) << what << ": the value jumps at the seam";
    EXPECT_LE(std::max(bend(0), bend(1)), percentile(bends, 0.99))
        << what << ": the slope breaks at the seam";
}

float rms(const std::vector<float>& s, size_t from, size_t to) {
    double sum = 0.0;
    for (size_t i = from; i < to; ++i)
        sum += static_cast<double>(s[i]) * s[i];
    return static_cast<float>(std::sqrt(sum / static_cast<double>(to - from)));
}

class Music : public testing::TestWithParam<const char*> {
  protected:
    void SetUp() override {
        ASSERT_TRUE(sound_init());
        channels = decode_music(GetParam());
        ASSERT_EQ(channels.size(), 2u) << "stereo";
    }
    void TearDown() override { sound_shutdown(); }
    Channels channels;
};

INSTANTIATE_TEST_SUITE_P(Levels, Music,
                         testing::Values("data/music1.ogg", "data/music2.ogg", "data/music3.ogg"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return std::string("music") + std::to_string(info.index + 1);
                         });

TEST_P(Music, LastsTwentyToSixtySeconds) {
    const float seconds = static_cast<float>(channels[0].size()) / kRate;
    EXPECT_GE(seconds, 20.0f);
    EXPECT_LE(seconds, 60.0f);
}

TEST_P(Music, SoundsThroughoutWithoutClipping) {
    for (const std::vector<float>& channel : channels) {
        // Every two seconds hold music, not a gap (-40 dB is very quiet).
        for (size_t at = 0; at + 2 * kRate <= channel.size(); at += 2 * kRate)
            EXPECT_GT(rms(channel, at, at + 2 * kRate), 0.01f) << "second " << at / kRate;
        const float peak = std::max(*std::max_element(channel.begin(), channel.end()),
                                    -*std::min_element(channel.begin(), channel.end()));
        EXPECT_LT(peak, 0.99f);
    }
}

TEST_P(Music, EndJoinsStart) {
    expect_seamless(channels[0], std::string(GetParam()) + " left");
    expect_seamless(channels[1], std::string(GetParam()) + " right");
}

// The shot loop exactly as it is stored.
class ShotLoop : public testing::Test {
  protected:
    void SetUp() override {
        SDL_AudioSpec wav_format;
        Uint8* buffer = nullptr;
        Uint32 length = 0;
        ASSERT_NE(SDL_LoadWAV("data/sound/fire.wav", &wav_format, &buffer, &length), nullptr)
            << SDL_GetError();
        format = wav_format.format;
        rate = wav_format.freq;
        channels = split(reinterpret_cast<const int16_t*>(buffer), length / 2, wav_format.channels);
        SDL_FreeWAV(buffer);
    }
    Channels channels;
    SDL_AudioFormat format = 0;
    int rate = 0;
};

TEST_F(ShotLoop, Is16BitAt44100HzAndAWholeNumberOfShotsLong) {
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(rate, kRate);
    ASSERT_TRUE(channels.size() == 1 || channels.size() == 2) << channels.size();
    const size_t frames = channels[0].size();
    EXPECT_GT(frames, 0u);
    EXPECT_EQ(frames % (kRate / 10), 0u) << "not a whole number of 100 ms shots";
}

TEST_F(ShotLoop, FiresTenShotsASecond) {
    constexpr size_t kShot = kRate / 10;
    for (const std::vector<float>& channel : channels)
        for (size_t at = 0; at + kShot <= channel.size(); at += kShot) {
            // Each 100 ms opens with a bang and has died down before the next.
            const float bang = rms(channel, at, at + kShot / 10);
            const float before_next = rms(channel, at + kShot * 7 / 10, at + kShot);
            EXPECT_GT(bang, 0.15f) << "frame " << at;
            EXPECT_GT(bang, 4.0f * before_next) << "frame " << at;
        }
}

TEST_F(ShotLoop, EndJoinsStart) {
    for (const std::vector<float>& channel : channels)
        expect_seamless(channel, "fire.wav");
}

} // namespace
