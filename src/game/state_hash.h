// The fingerprint of a frame's game: everything a demo's playback decides
// (the screen state, the level, the flock with its lives and sheep still to
// kill, the player, the shots in flight, the game clock and the random
// generator), hashed in a fixed order. Two systems that play the same demo
// to the same game give the same hash at every frame; the first frame where
// the hashes part is where their games did.
#pragma once

#include <cstdint>
#include <string>

// FNV-1a (64 bits) over the values' bytes, little-endian whatever the
// machine, floats by their bits.
uint64_t game_state_hash();

// The same state as one line for a person to compare: "play, level 3,
// lives 4, sheep left 2, ...". Floats are written with the digits that give
// back their exact value.
std::string game_state_line();

// Adds a value to an FNV-1a hash (start from FNV_OFFSET): the low `bytes`
// bytes of value, lowest first.
constexpr uint64_t FNV_OFFSET = 14695981039346656037ull;
uint64_t hash_add(uint64_t hash, uint64_t value, int bytes);
