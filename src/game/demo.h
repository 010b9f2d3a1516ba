// Demos: a game's inputs recorded frame by frame (the elapsed time, the mouse,
// the fire button, the movement keys and the look settings the play reads),
// written to demos/NAME.dem and played back into the same frames, so the same
// game unfolds again; timed playback measures how fast a machine draws it.
//
// File (little-endian): the header
//   "SFDM", u16 format version, 32-byte game version (NUL-padded),
//   u32 random generator state, u8 first level, f32 mouse_sensitivity,
//   u8 mouse_invert, u32 frame count
// then per frame
//   u8 elapsed ms (0 .. 100), u8 flags, i32 mouse dx, i32 mouse dy,
//   [u8 movement keys held]       when flags has DEMO_FLAG_KEYS
//   [f32 sensitivity, u8 invert]  when flags has DEMO_FLAG_LOOK
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

constexpr uint16_t DEMO_FORMAT_VERSION = 1;
constexpr int DEMO_GAME_VERSION_SIZE = 32;
constexpr uint32_t DEMO_MAX_FRAME_MS = 100; // no frame advances the game further
constexpr size_t DEMO_HEADER_SIZE = 52;
constexpr size_t DEMO_MIN_FRAME_SIZE = 10;
constexpr size_t DEMO_MAX_FILE_SIZE = 64u << 20; // hours of play at any frame rate

// Bits of a frame's flags byte.
enum DemoFlag : uint8_t {
    DEMO_FLAG_FIRE = 1, // the left button is down
    DEMO_FLAG_KEYS = 2, // the held movement keys changed: their byte follows
    DEMO_FLAG_LOOK = 4, // mouse_sensitivity or mouse_invert changed: they follow
};

// Bits of the movement keys byte.
enum DemoKey : uint8_t {
    DEMO_KEY_UP = 1,
    DEMO_KEY_DOWN = 2,
    DEMO_KEY_LEFT = 4,
    DEMO_KEY_RIGHT = 8,
};

// What one frame of play reads, as it was when the frame ran.
struct DemoFrame {
    uint32_t elapsed_ms = 0;
    int32_t mouse_dx = 0, mouse_dy = 0;
    bool fire = false;
    uint8_t keys = 0; // DemoKey bits held
    float mouse_sensitivity = 0.01f;
    bool mouse_invert = false;
};

struct Demo {
    char game_version[DEMO_GAME_VERSION_SIZE] = {};
    uint32_t random_state = 1;
    int first_level = 0; // index into level_files
    float mouse_sensitivity = 0.01f;
    bool mouse_invert = false;
    std::vector<DemoFrame> frames;
};

enum DemoMode { DEMO_IDLE, DEMO_RECORDING, DEMO_PLAYING, DEMO_TIMING };

// The file's bytes; a frame's keys and look settings are written only when
// they differ from the frame before (the header's settings before the first).
std::string demo_encode(const Demo& demo);
// Reads the bytes, trusting no count: false with what is wrong in *problem
// ("format version 2, this game plays version 1", "frame 17 of 300 is cut
// short", ...).
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
// the elapsed milliseconds it measured and a steady clock in seconds.
// Recording: the frame's time (at most 100 ms) and input are written down.
// Playing: they are replaced by the recorded ones. Paused: neither; the
// playback waits at its frame and its pacing starts again from the frame
// after the pause. Returns the elapsed time the frame is to run with.
uint32_t demo_frame_input(uint32_t elapsed_ms, double now_seconds);
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
