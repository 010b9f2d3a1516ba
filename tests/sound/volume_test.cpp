// The volume variables applied at once to what reaches the output (SDL's
// disk driver writes the mixed sound to a file).
#include "app/sound.h"
#include "console/registry.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

std::vector<int16_t> read_samples(const char* file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> samples;
    int16_t sample;
    while (in.read(reinterpret_cast<char*>(&sample), sizeof sample))
        samples.push_back(sample);
    return samples;
}

// Stereo frames the disk driver has written so far.
size_t written_frames() {
    std::error_code ec;
    auto bytes = std::filesystem::file_size("output.raw", ec);
    return ec ? 0 : static_cast<size_t>(bytes / 4);
}

// Waits (up to ten seconds) until the file holds the frames.
bool wait_for_frames(size_t frames) {
    for (int waited = 0; waited < 10000 && written_frames() < frames; waited += 5)
        SDL_Delay(5);
    return written_frames() >= frames;
}

} // namespace

TEST(SoundVolume, VariablesApplyAtOnceToMusicAndShot) {
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", "output.raw", 1);
    ASSERT_TRUE(sound_init());
    sound_volume_init();
    ASSERT_STREQ(SDL_GetCurrentAudioDriver(), "disk");

    // Four spans: the shot at full volume, at a quarter, the music muted,
    // the music at full volume. What is mixed but not yet in the file lies
    // within kMargin of each change.
    constexpr size_t kMargin = 4096, kSpan = 22050;
    const char* changes[] = {"volume_sfx 1", "volume_sfx 0.25", "volume_music 0", "volume_music 1"};
    std::vector<size_t> starts;
    shot_sound_start();
    for (const char* change : changes) {
        if (change == changes[2]) {
            shot_sound_stop();
            music_play_file("data/music1.ogg");
        }
        console_execute(change);
        sound_volume_update(); // as the next frame does
        starts.push_back(written_frames());
        ASSERT_TRUE(wait_for_frames(starts.back() + kSpan)) << change;
    }
    sound_shutdown();

    std::vector<int16_t> samples = read_samples("output.raw");
    auto loudest = [&](size_t span) {
        int peak = 0;
        for (size_t i = (starts[span] + kMargin) * 2; i < (starts[span] + kSpan) * 2; ++i)
            peak = std::max(peak, std::abs(static_cast<int>(samples[i])));
        return peak;
    };
    int full = loudest(0), quarter = loudest(1);
    EXPECT_GT(full, 8000);
    EXPECT_NEAR(quarter, full / 4, full / 20) << "the shot at volume_sfx 0.25";
    EXPECT_EQ(loudest(2), 0) << "music at volume_music 0";
    EXPECT_GT(loudest(3), 1000) << "music at volume_music 1";
}
