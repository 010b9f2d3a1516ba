// Demos: owns the demo being recorded or played, where its playback stands,
// the pacing and timing of a playback, the state hash of each of its frames
// and the state it ended with, the look settings the player had before one,
// and the commands record, stop, playdemo and timedemo. A demo
// stores the frame's input record whole and plays it back whole; format 1's
// fire and walking bits are read as the record's actions.
#include "game/demo.h"

#include "console/output.h"
#include "console/registry.h"
#include "console/words.h"
#include "files/file_io.h"
#include "files/folders.h"
#include "game/game_state.h"
#include "game/level.h"
#include "game/pause.h"
#include "game/player.h"
#include "game/state_hash.h"
#include "game/tuning.h"
#include "game/version.h"
#include "input/actions.h"
#include "math/random.h"
#include "open_file.h"
#include "platform/clock.h"
#include "platform/sound.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

static DemoMode mode = DEMO_IDLE;
static Demo demo;                        // the one being recorded or played
static std::string demo_file;            // its path
static size_t next_frame = 0;            // playback: the frame the next loop pass plays
static double pace_origin = 0.0;         // playback: when its first frame started, seconds
static uint64_t paced_ms = 0;            // recorded ms from the first frame's start to the latest's
static bool pace_lost = false;           // playback: paused since the latest frame
static std::vector<double> frame_starts; // timed playback: every frame's start, then the end
static LookSettings player_look;         // the player's own, back after a playback
static std::vector<uint64_t> frame_hashes; // playback: the start, then after every frame
static std::string timing_line;
static std::string end_state_line;
static std::string hash_line;
static std::string error_line;

static const char MAGIC[4] = {'S', 'F', 'D', 'M'};
static const int NAME_SIZE = 32;
// Format 1 kept the four walking actions as bits of their own.
static const Action FORMAT1_WALKING[4] = {ACTION_FORWARD, ACTION_BACK, ACTION_LEFT, ACTION_RIGHT};
static const uint8_t FORMAT1_KEY_BITS[4] = {DEMO_KEY_UP, DEMO_KEY_DOWN, DEMO_KEY_LEFT,
                                            DEMO_KEY_RIGHT};

// ---- the file's bytes

static void put_u8(std::string& out, uint32_t value) {
    out.push_back(static_cast<char>(value & 0xFF));
}

static void put_u16(std::string& out, uint32_t value) {
    put_u8(out, value);
    put_u8(out, value >> 8);
}

static void put_u32(std::string& out, uint32_t value) {
    put_u16(out, value);
    put_u16(out, value >> 16);
}

static void put_f32(std::string& out, float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    put_u32(out, bits);
}

static bool same_look(float sensitivity_a, bool invert_a, float sensitivity_b, bool invert_b) {
    return sensitivity_a == sensitivity_b && invert_a == invert_b;
}

static bool same_buttons(const InputRecord& a, const InputRecord& b) {
    return a.held == b.held && a.went_down == b.went_down && a.tapped == b.tapped &&
           a.start == b.start;
}

static void put_buttons(std::string& out, const InputRecord& input) {
    put_u32(out, input.held);
    put_u32(out, input.went_down);
    put_u32(out, input.tapped);
    put_u8(out, input.start ? 1 : 0);
}

std::string demo_encode(const Demo& d) {
    std::string out(MAGIC, sizeof MAGIC);
    put_u16(out, DEMO_FORMAT_VERSION);
    out.append(d.game_version, DEMO_GAME_VERSION_SIZE);
    put_u32(out, d.random_state);
    put_u8(out, static_cast<uint32_t>(d.first_level));
    put_f32(out, d.mouse_sensitivity);
    put_u8(out, d.mouse_invert ? 1 : 0);
    put_u32(out, static_cast<uint32_t>(d.frames.size()));
    InputRecord buttons; // nothing held before the first frame
    float sensitivity = d.mouse_sensitivity;
    bool invert = d.mouse_invert;
    for (const DemoFrame& f : d.frames) {
        bool buttons_changed = !same_buttons(f.input, buttons);
        bool look_changed = !same_look(f.mouse_sensitivity, f.mouse_invert, sensitivity, invert);
        put_u8(out, f.elapsed_ms);
        put_u8(out,
               (buttons_changed ? DEMO_FLAG_BUTTONS : 0) | (look_changed ? DEMO_FLAG_LOOK : 0));
        put_u32(out, static_cast<uint32_t>(f.input.turn_x));
        put_u32(out, static_cast<uint32_t>(f.input.turn_y));
        if (buttons_changed) put_buttons(out, f.input);
        if (look_changed) {
            put_f32(out, f.mouse_sensitivity);
            put_u8(out, f.mouse_invert ? 1 : 0);
        }
        buttons = f.input;
        sensitivity = f.mouse_sensitivity;
        invert = f.mouse_invert;
    }
    return out;
}

namespace {

// Reads little-endian values from a buffer; a read past its end fails and
// leaves the value alone.
struct ByteReader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;

    size_t left() const { return size - at; }
    bool bytes(void* out, size_t count) {
        if (left() < count) return false;
        std::memcpy(out, data + at, count);
        at += count;
        return true;
    }
    bool u8(uint32_t* value) {
        uint8_t b;
        if (!bytes(&b, 1)) return false;
        *value = b;
        return true;
    }
    bool u16(uint32_t* value) {
        uint8_t b[2];
        if (!bytes(b, 2)) return false;
        *value = static_cast<uint32_t>(b[0] | (b[1] << 8));
        return true;
    }
    bool u32(uint32_t* value) {
        uint8_t b[4];
        if (!bytes(b, 4)) return false;
        *value = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                 static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
        return true;
    }
    bool f32(float* value) {
        uint32_t bits;
        if (!u32(&bits)) return false;
        std::memcpy(value, &bits, sizeof bits);
        return true;
    }
};

} // namespace

static bool fail(std::string* problem, const char* format, ...)
    __attribute__((format(printf, 2, 3)));

static bool fail(std::string* problem, const char* format, ...) {
    char text[CONSOLE_LINE_SIZE];
    va_list args;
    va_start(args, format);
    std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    *problem = text;
    return false;
}

// A version text is printable and ends within its field.
static bool readable_version(const char* text) {
    size_t length = strnlen(text, DEMO_GAME_VERSION_SIZE);
    if (length == 0 || length == DEMO_GAME_VERSION_SIZE) return false;
    for (size_t i = 0; i < length; i++)
        if (text[i] < 32 || text[i] > 126) return false;
    return true;
}

static bool valid_look(float sensitivity, uint32_t invert) {
    return sensitivity >= LOOK_PER_COUNT_MIN && sensitivity <= LOOK_PER_COUNT_MAX && invert <= 1;
}

static bool decode_header(ByteReader& in, Demo* d, uint32_t* version, uint32_t* frame_count,
                          std::string* problem) {
    char magic[sizeof MAGIC];
    uint32_t first_level = 0, invert = 0;
    if (in.size < DEMO_HEADER_SIZE)
        return fail(problem, "the header is cut short (%zu of %zu bytes)", in.size,
                    DEMO_HEADER_SIZE);
    in.bytes(magic, sizeof magic);
    if (std::memcmp(magic, MAGIC, sizeof MAGIC) != 0) return fail(problem, "not a demo file");
    in.u16(version);
    if (*version < DEMO_OLDEST_FORMAT_VERSION || *version > DEMO_FORMAT_VERSION)
        return fail(problem, "format version %u, this game plays versions %u to %u", *version,
                    DEMO_OLDEST_FORMAT_VERSION, DEMO_FORMAT_VERSION);
    in.bytes(d->game_version, DEMO_GAME_VERSION_SIZE);
    if (!readable_version(d->game_version)) return fail(problem, "the game version is unreadable");
    if (std::strcmp(d->game_version, GAME_VERSION) != 0)
        return fail(problem, "recorded by %s, this is %s", d->game_version, GAME_VERSION);
    in.u32(&d->random_state);
    in.u8(&first_level);
    if (first_level >= static_cast<uint32_t>(level_count()))
        return fail(problem, "it starts at level %u, there are %d", first_level + 1, level_count());
    d->first_level = static_cast<int>(first_level);
    in.f32(&d->mouse_sensitivity);
    in.u8(&invert);
    if (!valid_look(d->mouse_sensitivity, invert))
        return fail(problem,
                    "its look settings are out of range (mouse_sensitivity %g, mouse_invert %u)",
                    static_cast<double>(d->mouse_sensitivity), invert);
    d->mouse_invert = invert != 0;
    in.u32(frame_count);
    return true;
}

// A frame's buttons as the file has them; what the bytes hold is checked by
// check_buttons.
struct FrameButtons {
    uint32_t flags = 0;
    uint32_t keys = 0;                            // format 1
    uint32_t held = 0, went_down = 0, tapped = 0; // format 2
    uint32_t start = 0;
};

static bool read_buttons(ByteReader& in, uint32_t version, FrameButtons* b) {
    if (version == 1) return !(b->flags & DEMO_FLAG_KEYS) || in.u8(&b->keys);
    return !(b->flags & DEMO_FLAG_BUTTONS) ||
           (in.u32(&b->held) && in.u32(&b->went_down) && in.u32(&b->tapped) && in.u8(&b->start));
}

static bool check_buttons(uint32_t version, size_t number, const FrameButtons& b,
                          std::string* problem) {
    uint32_t known = version == 1 ? DEMO_FLAG_FIRE | DEMO_FLAG_KEYS | DEMO_FLAG_LOOK
                                  : DEMO_FLAG_BUTTONS | DEMO_FLAG_LOOK;
    if (b.flags & ~known)
        return fail(problem, "frame %zu has unknown flags 0x%02X", number, b.flags);
    if (b.keys > 0xF) return fail(problem, "frame %zu holds unknown keys 0x%02X", number, b.keys);
    uint32_t actions = b.held | b.went_down | b.tapped;
    if (actions & ~ALL_ACTION_BITS)
        return fail(problem, "frame %zu holds unknown actions 0x%X", number, actions);
    if (b.start > 1)
        return fail(problem, "frame %zu has an unknown start byte %u", number, b.start);
    return true;
}

// Format 1's fire flag and walking keys as the record's held actions; an
// action held now and not in the frame before went down in this one.
static void buttons_of_format1(const FrameButtons& b, InputRecord* input) {
    uint32_t held = b.flags & DEMO_FLAG_FIRE ? action_bit(ACTION_FIRE) : 0;
    for (int i = 0; i < 4; i++)
        if (b.keys & FORMAT1_KEY_BITS[i]) held |= action_bit(FORMAT1_WALKING[i]);
    input->went_down = held & ~input->held;
    input->held = held;
}

static void set_buttons(uint32_t version, const FrameButtons& b, InputRecord* input) {
    if (version == 1) {
        buttons_of_format1(b, input);
    } else if (b.flags & DEMO_FLAG_BUTTONS) {
        input->held = b.held;
        input->went_down = b.went_down;
        input->tapped = b.tapped;
        input->start = b.start != 0;
    }
}

// One frame after the previous one's buttons and look settings (*f holds
// them; *keys holds format 1's walking keys).
static bool decode_frame(ByteReader& in, uint32_t version, size_t number, uint32_t count,
                         DemoFrame* f, uint32_t* keys, std::string* problem) {
    if (in.left() == 0) return fail(problem, "it ends after frame %zu of %u", number - 1, count);
    uint32_t elapsed = 0, dx = 0, dy = 0, invert = f->mouse_invert;
    FrameButtons buttons;
    buttons.keys = *keys;
    bool whole =
        in.u8(&elapsed) && in.u8(&buttons.flags) && in.u32(&dx) && in.u32(&dy) &&
        read_buttons(in, version, &buttons) &&
        (!(buttons.flags & DEMO_FLAG_LOOK) || (in.f32(&f->mouse_sensitivity) && in.u8(&invert)));
    if (!whole) return fail(problem, "frame %zu of %u is cut short", number, count);
    if (elapsed > DEMO_MAX_FRAME_MS)
        return fail(problem, "frame %zu lasts %u ms, more than %u", number, elapsed,
                    DEMO_MAX_FRAME_MS);
    if (!check_buttons(version, number, buttons, problem)) return false;
    if (!valid_look(f->mouse_sensitivity, invert))
        return fail(problem, "frame %zu sets look settings out of range", number);
    f->elapsed_ms = elapsed;
    set_buttons(version, buttons, &f->input);
    f->input.turn_x = static_cast<int32_t>(dx);
    f->input.turn_y = static_cast<int32_t>(dy);
    f->mouse_invert = invert != 0;
    *keys = buttons.keys;
    return true;
}

bool demo_decode(const uint8_t* data, size_t size, Demo* d, std::string* problem) {
    ByteReader in{data, size};
    Demo read;
    uint32_t version = 0, count = 0, keys = 0;
    if (!decode_header(in, &read, &version, &count, problem)) return false;
    // The count is checked frame by frame, never trusted for the memory.
    read.frames.reserve(std::min<size_t>(count, in.left() / DEMO_MIN_FRAME_SIZE));
    DemoFrame frame;
    frame.mouse_sensitivity = read.mouse_sensitivity;
    frame.mouse_invert = read.mouse_invert;
    for (size_t number = 1; number <= count; number++) {
        if (!decode_frame(in, version, number, count, &frame, &keys, problem)) return false;
        read.frames.push_back(frame);
    }
    if (in.left() > 0) return fail(problem, "%zu bytes after the last frame", in.left());
    *d = std::move(read);
    return true;
}

// ---- names and files

std::string demo_folder() {
    return player_file("demos");
}

static void report_error(const char* format, ...) __attribute__((format(printf, 1, 2)));

// The whole line, however long (a deep player's folder makes long paths).
static void report_error(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = console_format_text(format, args);
    va_end(args);
    console_print_error(text.c_str());
    error_line = "!" + text + "!";
}

// Why the name cannot be a demo's file name, or nullptr when it can: a plain
// file name of printable ASCII that stays in the demo folder.
static const char* name_problem(const std::string& name) {
    static_assert(NAME_SIZE == 32, "the reason below names the longest name");
    if (name.empty()) return "a name is needed";
    if (name.size() >= static_cast<size_t>(NAME_SIZE)) return "too long (at most 31 characters)";
    for (char c : name)
        if (c == '/' || c == '\\' || c == ':') return "no folders (/, \\ and : are not allowed)";
    if (name[0] == '.') return "must not start with a dot";
    for (char c : name)
        if (c <= ' ' || c > '~')
            return "only ASCII letters, digits and punctuation (no accents, blanks or control "
                   "characters)";
    return nullptr;
}

bool demo_path_of(const char* name, std::string* path) {
    std::string stem = name;
    if (stem.size() > 4 && stem.compare(stem.size() - 4, 4, ".dem") == 0)
        stem.resize(stem.size() - 4);
    if (const char* problem = name_problem(stem)) {
        report_error("Demo name %.64s: %s", name, problem);
        return false;
    }
    *path = demo_folder() + "/" + stem + ".dem";
    return true;
}

static bool read_demo_file(const std::string& path, Demo* d, std::string* problem) {
    std::error_code error;
    if (!fs::exists(path, error)) return fail(problem, "no such demo");
    if (!fs::is_regular_file(path, error)) return fail(problem, "not a file");
    uintmax_t size = fs::file_size(path, error);
    if (error) return fail(problem, "%s", error.message().c_str());
    if (size > DEMO_MAX_FILE_SIZE) return fail(problem, "too large (%ju bytes)", size);
    OpenFile file(path.c_str(), "rb");
    if (!file.file()) return fail(problem, "%s", std::strerror(errno));
    std::vector<uint8_t> bytes(static_cast<size_t>(size));
    if (std::fread(bytes.data(), 1, bytes.size(), file.file()) != bytes.size())
        return fail(problem, "it could not be read whole");
    return demo_decode(bytes.data(), bytes.size(), d, problem);
}

// Through a temporary file and a rename: a crash leaves no half demo.
static bool write_demo_file(const std::string& path, const std::string& bytes) {
    std::error_code error;
    fs::create_directories(demo_folder(), error);
    std::string reason = error.message();
    if (!error && replace_file(path.c_str(), bytes, &reason)) return true;
    report_error("Can't write %s: %s", path.c_str(), reason.c_str());
    return false;
}

// ---- the game a demo starts with and the input of its frames

// A new game from a known start: the generator's state, the clock at 0,
// no shots in flight, the player reset, the level loaded.
static void start_demo_game(uint32_t random_state, int first_level) {
    game_rand_set_state(random_state);
    clock_restart();
    player_settle();
    new_game_reset();
    level_sequence_restart(first_level);
    level_advance();
    if (game_state() != STATE_TITLE) game_state_set(STATE_PLAY);
}

static DemoFrame frame_input_now(const InputRecord& input) {
    DemoFrame f;
    f.input = input;
    LookSettings look = player_look_settings();
    f.mouse_sensitivity = look.per_count;
    f.mouse_invert = look.invert;
    return f;
}

static void apply_frame_input(const DemoFrame& f, InputRecord* input) {
    *input = input_replayed(*input, f.input);
    player_set_look_settings({f.mouse_sensitivity, f.mouse_invert});
}

// ---- recording and playing

static double recorded_seconds(const Demo& d) {
    uint64_t ms = 0;
    for (const DemoFrame& f : d.frames)
        ms += f.elapsed_ms;
    return static_cast<double>(ms) / 1000.0;
}

static void finish_recording() {
    mode = DEMO_IDLE;
    if (write_demo_file(demo_file, demo_encode(demo)))
        console_printf("Recorded %zu frames (%.1f s) to %s", demo.frames.size(),
                       recorded_seconds(demo), demo_file.c_str());
    demo.frames.clear();
}

// "N frames in S s: F fps, median M ms, slowest 1% P ms" from the frames'
// start times and the end; the slowest 1% is the 99th percentile frame.
static std::string timing_summary(const std::vector<double>& starts) {
    std::vector<double> ms;
    for (size_t i = 1; i < starts.size(); i++)
        ms.push_back((starts[i] - starts[i - 1]) * 1000.0);
    double seconds = starts.size() > 1 ? starts.back() - starts.front() : 0.0;
    double fps = seconds > 0.0 ? static_cast<double>(ms.size()) / seconds : 0.0;
    double median = 0.0, slowest = 0.0;
    std::sort(ms.begin(), ms.end());
    if (!ms.empty()) {
        size_t n = ms.size();
        median = n % 2 ? ms[n / 2] : (ms[n / 2 - 1] + ms[n / 2]) / 2.0;
        slowest = ms[(n * 99 + 99) / 100 - 1];
    }
    char line[CONSOLE_LINE_SIZE];
    std::snprintf(line, sizeof line,
                  "%zu frames in %.2f s: %.1f fps, median %.1f ms, slowest 1%% %.1f ms", ms.size(),
                  seconds, fps, median, slowest);
    return line;
}

// "State hash of frames 0 to N: H", H the frame hashes folded together.
static std::string folded_hash_line() {
    uint64_t folded = FNV_OFFSET;
    for (uint64_t hash : frame_hashes)
        folded = hash_add(folded, hash, 8);
    char line[CONSOLE_LINE_SIZE];
    std::snprintf(line, sizeof line, "State hash of frames 0 to %zu: %016llx",
                  frame_hashes.size() - 1, static_cast<unsigned long long>(folded));
    return line;
}

// Back to the title screen; a finished timing prints its line, the state the
// demo's game ended in and the hash of all its frames.
static void finish_playback(bool timing_done) {
    bool timed = mode == DEMO_TIMING;
    end_state_line = "End state: " + game_state_line();
    hash_line = folded_hash_line();
    mode = DEMO_IDLE;
    pause_forbid(nullptr);
    player_set_look_settings(player_look);
    shot_sound_stop();
    game_state_set(STATE_TITLE);
    if (timed && timing_done) {
        timing_line = timing_summary(frame_starts);
        console_print(timing_line.c_str());
        console_print(end_state_line.c_str());
        console_print(hash_line.c_str());
    } else {
        console_print("Demo finished");
    }
    demo.frames.clear();
}

bool demo_record(const char* name, int first_level) {
    std::string path;
    if (!demo_path_of(name, &path)) return false;
    // A demo that cannot be written (no folder, a read-only one, a folder
    // in the file's place) is told now, not after the game.
    std::error_code error;
    fs::create_directories(demo_folder(), error);
    std::string reason = error.message();
    if (error || !check_file_replaceable(path.c_str(), &reason)) {
        report_error("Can't write %s: %s", path.c_str(), reason.c_str());
        return false;
    }
    demo_stop();
    demo = Demo{};
    std::snprintf(demo.game_version, sizeof demo.game_version, "%s", GAME_VERSION);
    demo.random_state = game_rand_state();
    demo.first_level = std::clamp(first_level, 0, level_count() - 1);
    LookSettings look = player_look_settings();
    demo.mouse_sensitivity = look.per_count;
    demo.mouse_invert = look.invert;
    demo_file = path;
    console_printf("Recording %s", path.c_str());
    start_demo_game(demo.random_state, demo.first_level);
    mode = DEMO_RECORDING;
    return true;
}

bool demo_play(const char* name, bool timed) {
    std::string path, problem;
    if (!demo_path_of(name, &path)) return false;
    Demo read;
    if (!read_demo_file(path, &read, &problem)) {
        report_error("Demo %s: %s", path.c_str(), problem.c_str());
        return false;
    }
    demo_stop();
    player_look = player_look_settings();
    demo = std::move(read);
    demo_file = path;
    next_frame = 0;
    paced_ms = 0;
    pace_lost = false;
    frame_starts.clear();
    player_set_look_settings({demo.mouse_sensitivity, demo.mouse_invert});
    start_demo_game(demo.random_state, demo.first_level);
    frame_hashes.assign(1, game_state_hash());
    mode = timed ? DEMO_TIMING : DEMO_PLAYING;
    if (timed) pause_forbid("A timedemo runs without pauses");
    return true;
}

void demo_stop() {
    if (mode == DEMO_RECORDING) finish_recording();
    if (mode == DEMO_PLAYING || mode == DEMO_TIMING) finish_playback(false);
}

DemoMode demo_mode() {
    return mode;
}

static uint32_t record_frame(uint32_t elapsed_ms, const InputRecord& input) {
    if (game_state() != STATE_PLAY) { // won, lost, or the level did not load
        finish_recording();
        return elapsed_ms;
    }
    DemoFrame f = frame_input_now(input);
    f.elapsed_ms = std::min(elapsed_ms, DEMO_MAX_FRAME_MS);
    demo.frames.push_back(f);
    return f.elapsed_ms;
}

static uint32_t play_frame_input(uint32_t elapsed_ms, double now_seconds, InputRecord* input) {
    if (mode == DEMO_TIMING) frame_starts.push_back(now_seconds);
    if (next_frame > 0) frame_hashes.push_back(game_state_hash()); // what the frame before left
    // A game that left play early has gone its own way: no more frames for it.
    if (next_frame >= demo.frames.size() || game_state() != STATE_PLAY) {
        finish_playback(true);
        return elapsed_ms;
    }
    const DemoFrame& f = demo.frames[next_frame];
    if (next_frame == 0)
        pace_origin = now_seconds;
    else
        paced_ms += f.elapsed_ms;
    if (pace_lost) { // after a pause the pacing goes on from this frame, now
        pace_origin = now_seconds - static_cast<double>(paced_ms) / 1000.0;
        pace_lost = false;
    }
    next_frame++;
    apply_frame_input(f, input);
    return f.elapsed_ms;
}

uint32_t demo_frame_input(uint32_t elapsed_ms, double now_seconds, InputRecord* input) {
    // A paused game is not play: nothing is recorded, and a playback waits
    // at the frame it has reached until the pause ends.
    if (game_paused()) {
        pace_lost = true;
        return elapsed_ms;
    }
    if (mode == DEMO_RECORDING) return record_frame(elapsed_ms, *input);
    if (mode == DEMO_PLAYING || mode == DEMO_TIMING)
        return play_frame_input(elapsed_ms, now_seconds, input);
    return elapsed_ms;
}

bool demo_paces_frames() {
    return (mode == DEMO_PLAYING || mode == DEMO_TIMING) && !game_paused();
}

uint32_t demo_pace_wait_ms(double now_seconds) {
    if (mode != DEMO_PLAYING || next_frame == 0 || next_frame >= demo.frames.size()) return 0;
    uint64_t due_ms = paced_ms + demo.frames[next_frame].elapsed_ms;
    double ahead_ms = (pace_origin + static_cast<double>(due_ms) / 1000.0 - now_seconds) * 1000.0;
    // Less than a microsecond ahead is the clock's rounding, not a wait.
    if (!(ahead_ms > 0.001)) return 0;
    ahead_ms -= 0.001;
    return static_cast<uint32_t>(
        std::min(std::ceil(ahead_ms), static_cast<double>(DEMO_MAX_FRAME_MS)));
}

const std::string& demo_timing_line() {
    return timing_line;
}

const std::string& demo_error_line() {
    return error_line;
}

const std::string& demo_end_state_line() {
    return end_state_line;
}

const std::string& demo_hash_line() {
    return hash_line;
}

const std::vector<uint64_t>& demo_frame_hashes() {
    return frame_hashes;
}

bool demo_write_frame_hashes(const char* path) {
    std::string text;
    char line[40];
    for (size_t i = 0; i < frame_hashes.size(); i++) {
        std::snprintf(line, sizeof line, "%zu %016llx\n", i,
                      static_cast<unsigned long long>(frame_hashes[i]));
        text += line;
    }
    std::string reason;
    if (replace_file(path, text, &reason)) return true;
    report_error("Can't write the frame hashes to %s: %s", path, reason.c_str());
    return false;
}

// ---- console commands

// The one argument of a demo command, or its usage as an error when there
// is none or more than one.
static const char* demo_name_argument(const char* command) {
    const char* name = skip_blanks(console_arg_text());
    if (*name == '\0' || *skip_blanks(word_end(name)) != '\0') {
        report_error("usage: %s NAME", command);
        return nullptr;
    }
    return console_arg(0);
}

static void command_record() {
    if (const char* name = demo_name_argument("record")) demo_record(name, 0);
}

static void command_playdemo() {
    if (const char* name = demo_name_argument("playdemo")) demo_play(name, false);
}

static void command_timedemo() {
    if (const char* name = demo_name_argument("timedemo")) demo_play(name, true);
}

static void command_stop() {
    if (mode == DEMO_IDLE) {
        report_error("No demo is being recorded or played");
        return;
    }
    demo_stop();
}

void demo_init() {
    console_add_command("record", command_record);
    console_add_command("stop", command_stop);
    console_add_command("playdemo", command_playdemo);
    console_add_command("timedemo", command_timedemo);
}
