// The state hash takes in every part of the game a demo decides: a hash
// that left one out would let two systems' games part unseen.
#include "game/flock.h"
#include "game/game_state.h"
#include "game/player.h"
#include "game/state_hash.h"
#include "math/random.h"
#include "platform/clock.h"
#include "support/flat_land.h"

#include <gtest/gtest.h>

#include <set>

TEST(StateHash, EveryPartOfThePlayedGameChangesIt) {
    player_settings_init();
    load_flat_land(20.0f);
    player_place(256.0f, 256.0f);
    player_settle();
    sheep_reset();
    game_state_set(STATE_PLAY);
    struct Change {
        const char* what;
        void (*apply)();
    } changes[] = {
        {"the screen", [] { game_state_set(STATE_DEAD); }},
        {"the player's place", [] { player_place(300.0f, 256.0f); }},
        {"the yaw", [] { player_place(300.0f, 256.0f, 0.5f); }},
        {"the pitch", [] { player_place(300.0f, 256.0f, 0.5f, 0.25f); }},
        {"the camera shake", [] { player_shake_for_landings(1); }},
        {"a sheep",
         [] {
             sheep_spawn_at({10.0f, 100.0f, 10.0f}, {0.0f, -1.0f, 0.0f}, 50.0f);
         }},
        {"a shot",
         [] {
             shot_fire({256.0f, 25.0f, 256.0f}, 0.0f, 0.0f);
         }},
        {"the clock", [] { clock_advance(10); }},
        {"the shots' flight", [] { shots_update(); }},
        {"the sheep's flight", [] { sheep_update(); }},
        {"the random generator", [] { game_rand(); }},
        {"the next sheep's time", [] { flock_next_spawn_at(123456); }},
        {"the level's sheep and speed", [] { flock_start_level(7, 30.0f); }},
        {"a sheep landing, a life lost",
         [] {
             sheep_spawn_at({1.0f, -1.0f, 1.0f}, {0.0f, -1.0f, 0.0f}, 0.0f), sheep_update();
         }},
    };
    std::set<uint64_t> seen = {game_state_hash()};
    for (const Change& c : changes) {
        uint64_t before = game_state_hash();
        EXPECT_EQ(game_state_hash(), before) << "the same state hashed twice differs";
        c.apply();
        EXPECT_TRUE(seen.insert(game_state_hash()).second)
            << c.what << " changed and the hash is one seen before: " << game_state_line();
    }
    shots_clear();
}
