// The volume variables applied at once to what reaches the output (SDL's
// disk driver writes the mixed sound to a file).
#include "app/sound.h"
#include "console/registry.h"
#include "support/disk_audio.h"
#include "support/environment.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

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
        return loudest_sample(samples, starts[span] + kMargin, starts[span] + kSpan);
    };
    int full = loudest(0), quarter = loudest(1);
    EXPECT_GT(full, 8000);
    EXPECT_NEAR(quarter, full / 4, full / 20) << "the shot at volume_sfx 0.25";
    EXPECT_EQ(loudest(2), 0) << "music at volume_music 0";
    EXPECT_GT(loudest(3), 1000) << "music at volume_music 1";
}
