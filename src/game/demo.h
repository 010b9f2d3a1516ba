// Demos: a game's inputs recorded frame by frame (the elapsed time, the
// frame's input record and the look settings the play reads), written to
// demos/NAME.dem and played back into the same frames, so the same game
// unfolds again; timed playback measures how fast a machine draws it.
//
// File (little-endian): the header
//   "SFDM", u16 format version, 32-byte game version (NUL-padded),
//   u32 random generator state, u8 first level, f32 mouse_sensitivity,
//   u8 mouse_invert, u32 frame count
// then per frame, in format 2
//   u8 elapsed ms (0 .. 100), u8 flags, i32 turn x, i32 turn y,
//   [u32 held, u32 went down, u32 tapped, u8 start]  when flags has DEMO_FLAG_BUTTONS
//   [f32 sensitivity, u8 invert]                     when flags has DEMO_FLAG_LOOK
// and in format 1 (still played)
//   u8 elapsed ms, u8 flags, i32 mouse dx, i32 mouse dy,
//   [u8 movement keys held]       when flags has DEMO_FLAG_KEYS
//   [f32 sensitivity, u8 invert]  when flags has DEMO_FLAG_LOOK
#pragma once

#include "game/tuning.h"
#include "input/actions.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t DEMO_FORMAT_VERSION = 2;        // what the game writes
constexpr uint16_t DEMO_OLDEST_FORMAT_VERSION = 1; // the oldest it still plays
constexpr int DEMO_GAME_VERSION_SIZE = 32;
constexpr uint32_t DEMO_MAX_FRAME_MS = 100; // no frame advances the game further
constexpr size_t DEMO_HEADER_SIZE = 52;
constexpr size_t DEMO_MIN_FRAME_SIZE = 10;
constexpr size_t DEMO_MAX_FILE_SIZE = 64u << 20; // hours of play at any frame rate

// Bits of a frame's flags byte.
enum DemoFlag : uint8_t {
    DEMO_FLAG_FIRE = 1,    // format 1: the left button is down
    DEMO_FLAG_KEYS = 2,    // format 1: the held movement keys changed: their byte follows
    DEMO_FLAG_BUTTONS = 2, // format 2: the record's buttons changed: they follow
    DEMO_FLAG_LOOK = 4,    // mouse_sensitivity or mouse_invert changed: they follow
};

// Bits of format 1's movement keys byte.
enum DemoKey : uint8_t {
    DEMO_KEY_UP = 1,
    DEMO_KEY_DOWN = 2,
    DEMO_KEY_LEFT = 4,
    DEMO_KEY_RIGHT = 8,
};

// What one frame of play reads, as it was when the frame ran.
struct DemoFrame {
    uint32_t elapsed_ms = 0;
    InputRecord input;
    float mouse_sensitivity = LOOK_PER_COUNT;
    bool mouse_invert = false;
};

struct Demo {
    char game_version[DEMO_GAME_VERSION_SIZE] = {};
    uint32_t random_state = 1;
    int first_level = 0; // index into level_files
    float mouse_sensitivity = LOOK_PER_COUNT;
    bool mouse_invert = false;
    std::vector<DemoFrame> frames;
};

enum DemoMode { DEMO_IDLE, DEMO_RECORDING, DEMO_PLAYING, DEMO_TIMING };

// The file's bytes in format 2; a frame's buttons and look settings are
// written only when they differ from the frame before (none held and the
// header's settings before the first).
std::string demo_encode(const Demo& demo);
// Reads the bytes of format 1 or 2, trusting no count: false with what is
// wrong in *problem ("format version 3, this game plays versions 1 to 2",
// "frame 17 of 300 is cut short", ...).
bool demo_decode(const uint8_t* data, size_t size, Demo* demo, std::string* problem);

// The folder demos are kept in: demos/ in the player's folder.
std::string demo_folder();
// "demos/NAME.dem" for a plain file name (a ".dem" typed with it is not
// doubled); false, with the reason printed, for an empty name, a name of
// 32 characters or more, one with a folder in it, one starting with a dot, or
// one with a character outside printable ASCII.
bool demo_path_of(const char* name, std::string* path);

// Registers the commands record, stop, playdemo and timedemo.
void demo_init();
// Starts a new game at the level (0 = the first) and records it to
// demos/NAME.dem until stop, the game's end or quitting.
bool demo_record(const char* name, int first_level);
// Reads demos/NAME.dem and plays it from a new game; timed, as fast as the
// machine draws. False, with one error line, when it cannot be played: then
// nothing has changed.
bool demo_play(const char* name, bool timed);
// Ends what is going on: a recording is written; a playback returns to the
// title screen with "Demo finished".
void demo_stop();

DemoMode demo_mode();

// The main loop's hook, called once per frame before the frame runs, with
// the elapsed milliseconds it measured, a steady clock in seconds and the
// frame's input record. Recording: the frame's time (at most 100 ms) and
// record are written down. Playing: they are replaced by the recorded ones
// (input_replayed: the player at the machine keeps the console and pause). Paused: neither; the
// playback waits at its frame and its pacing starts again from the frame
// after the pause. Returns the elapsed time the frame is to run with.
uint32_t demo_frame_input(uint32_t elapsed_ms, double now_seconds, InputRecord* input);
// True while a demo decides the frame pacing (instead of max_fps); not
// while paused.
bool demo_paces_frames();
// Milliseconds to wait after a played frame, so the next one starts when it
// did in the recording; 0 when timing or behind.
uint32_t demo_pace_wait_ms(double now_seconds);

// The line of the latest finished timedemo ("N frames in S s: ..."), empty
// before one has finished; the latest demo error line.
const std::string& demo_timing_line();
const std::string& demo_error_line();

// Of the latest playback, once it has ended (a timedemo prints them after
// its timing line): "End state: " and the game's state line as the last
// frame left it, and "State hash of frames 0 to N: H", every frame's hash
// folded together (FNV-1a over them in order).
const std::string& demo_end_state_line();
const std::string& demo_hash_line();
// The state hash of the latest playback's frames: 0 for the game it starts
// from, then one for the state each played frame left.
const std::vector<uint64_t>& demo_frame_hashes();
// Writes them to the file, one line each: the frame's number and its hash
// in 16 hex digits. False, with the error line printed, when it cannot.
bool demo_write_frame_hashes(const char* path);
