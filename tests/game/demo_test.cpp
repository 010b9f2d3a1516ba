// Demos through the real main loop: the aiming bot's games recorded with the
// record command, played back with playdemo at another frame pacing while a
// stray player pushes his own mouse and keys, and timed with timedemo; every
// kind of broken demo file refused with its line while the game stays as it
// was.
#include "console/registry.h"
#include "game/demo.h"
#include "game/flock.h"
#include "game/level.h"
#include "game/player.h"
#include "input/input.h"
#include "math/random.h"
#include "platform/clock.h"
#include "support/aiming_bot.h"
#include "support/console_lines.h"
#include "support/game_fixture.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

namespace {

// What a frame of play left behind: the game as the player sees it.
struct Moment {
    int state, level, lives, sheep_left, shots;
    uint32_t random_state, clock;
    float x, z, yaw, pitch;

    bool operator==(const Moment&) const = default;
};

Moment moment_now() {
    int shot_count = 0;
    for (const Shot* s = shots_in_flight(); s; s = s->next)
        shot_count++;
    const PlayerView p = player_view();
    const FlockView& f = flock();
    return {game_state(),
            current_level(),
            f.lives,
            f.remaining,
            shot_count,
            game_rand_state(),
            game_time_ms(),
            p.x,
            p.z,
            p.yaw,
            p.pitch};
}

std::string describe(const Moment& m) {
    std::ostringstream out;
    out << "state " << m.state << " level " << m.level << " lives " << m.lives << " sheep left "
        << m.sheep_left << " shots " << m.shots << " random " << m.random_state << " clock "
        << m.clock << " at " << m.x << "," << m.z << " yaw " << m.yaw << " pitch " << m.pitch;
    return out.str();
}

// The lines that tell how the game went: level loads, wins, losses, victory.
bool play_line(const std::string& line) {
    return line == "Ya win" || line == "Ya loose" || line == "Victory!" ||
           line.rfind("Loading level", 0) == 0;
}

Lines play_lines_between(const Lines& log, const std::string& first, const std::string& last) {
    auto from = std::find(log.begin(), log.end(), first);
    auto to = std::find(from, log.end(), last);
    Lines lines;
    std::copy_if(from, to, std::back_inserter(lines), play_line);
    return lines;
}

std::string file_bytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_bytes(const char* path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

void put_u32_at(std::string& bytes, size_t at, uint32_t value) {
    for (int i = 0; i < 4; i++)
        bytes[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

class Demos : public GameFixture {
  protected:
    void SetUp() override {
        // 640 x 400: the game is the same, the frames cheaper.
        video_mode_choose(0, video_fullscreen());
        GameFixture::SetUp();
    }

    AimingBot bot;

    // The two ways a pass of the loop ends the game.
    static const char* why_the_loop_ended() {
        return key_is_down(VK_ESCAPE) ? "Escape is held"
                                      : "a quit event came (window closed or a signal)";
    }

    // Records the bot's game with frames of frame_ms until the game ends or
    // max_frames have run; the moment after every recorded frame.
    std::vector<Moment> record(const char* name, uint32_t frame_ms, int max_frames) {
        std::vector<Moment> trace;
        console_execute((std::string("record ") + name).c_str());
        EXPECT_EQ(demo_mode(), DEMO_RECORDING) << "record " << name << ": " << last_line();
        for (int frame = 0; frame < max_frames && game_state() == STATE_PLAY; frame++) {
            bot.aim_and_fire();
            EXPECT_TRUE(step(frame_ms)) << "recording: the loop ended, " << why_the_loop_ended();
            trace.push_back(moment_now());
        }
        if (game_state() == STATE_PLAY)
            console_execute("stop");
        else
            EXPECT_TRUE(step(frame_ms)); // the next frame sees the end and writes the demo
        EXPECT_EQ(demo_mode(), DEMO_IDLE);
        return trace;
    }

    // Plays the demo with loop passes of frame_ms real time while a stray
    // player turns the mouse, fires and walks; the moment after every
    // played frame.
    std::vector<Moment> play_back(const char* name, uint32_t frame_ms) {
        std::vector<Moment> trace;
        console_execute((std::string("playdemo ") + name).c_str());
        EXPECT_EQ(demo_mode(), DEMO_PLAYING) << "playdemo " << name << ": " << last_line();
        for (int frame = 0; demo_mode() == DEMO_PLAYING; frame++) {
            AimingBot::push_mouse_motion(37, -11);
            AimingBot::push_left_button(frame % 3 == 0);
            push_key(frame % 2 ? SDL_KEYDOWN : SDL_KEYUP, SDL_SCANCODE_UP);
            EXPECT_TRUE(step(frame_ms)) << "playback frame " << trace.size() + 1
                                        << ": the loop ended, " << why_the_loop_ended();
            if (demo_mode() != DEMO_PLAYING) break; // that pass ended the playback
            trace.push_back(moment_now());
        }
        return trace;
    }

    static void expect_same_game(const std::vector<Moment>& recorded,
                                 const std::vector<Moment>& played) {
        ASSERT_EQ(played.size(), recorded.size()) << "frames played back";
        for (size_t i = 0; i < recorded.size(); i++)
            ASSERT_EQ(played[i], recorded[i])
                << "frame " << i + 1 << " played back as " << describe(played[i])
                << "\n recorded as " << describe(recorded[i]);
    }
};

// Recorded at 20 frames a second, played at about 140.
TEST_F(Demos, TheBotsWinningGamePlaysBackTheSameAtAnotherPacing) {
    std::vector<Moment> recorded = record("win", 50, 30000);
    ASSERT_FALSE(recorded.empty());
    ASSERT_EQ(recorded.back().state, STATE_VICTORY) << describe(recorded.back());
    char done[CONSOLE_LINE_SIZE];
    std::snprintf(done, sizeof done, "Recorded %zu frames (%.1f s) to demos/win.dem",
                  recorded.size(), recorded.back().clock / 1000.0);
    EXPECT_EQ(last_line(), done);

    std::vector<Moment> played = play_back("win", 7);
    expect_same_game(recorded, played);
    EXPECT_EQ(game_state(), STATE_TITLE);
    EXPECT_EQ(last_line(), "Demo finished");

    Lines log = log_lines();
    Lines recorded_play = play_lines_between(log, "Recording demos/win.dem", done);
    Lines played_play = play_lines_between(log, ">playdemo win", "Demo finished");
    EXPECT_EQ(std::count(recorded_play.begin(), recorded_play.end(), "Ya win"), 3);
    EXPECT_EQ(recorded_play.back(), "Victory!");
    EXPECT_EQ(played_play, recorded_play);
}

// 250 frames a second (the frame cap's default) played at 30: ten seconds of
// the bot's play with its first kills.
TEST_F(Demos, ARecordingAt250FramesASecondPlaysBackToItsOutcome) {
    const uint32_t FRAMES = 2500;
    std::vector<Moment> recorded = record("fast", 4, FRAMES);
    ASSERT_EQ(recorded.size(), FRAMES);
    EXPECT_LT(recorded.back().sheep_left, recorded.front().sheep_left) << describe(recorded.back());
    expect_same_game(recorded, play_back("fast", 33));
    EXPECT_EQ(game_state(), STATE_TITLE);
}

TEST_F(Demos, PlaybackIsPacedToTheRecordingAndTimedemoIsNot) {
    record("paced", 25, 40);
    // A wait moves the fake clock on, as a real wait would.
    timer_set_delay([](uint32_t ms) { fake_now += ms; });
    console_execute("playdemo paced");
    uint32_t first_start = fake_now, last_start = fake_now;
    while (demo_mode() == DEMO_PLAYING) {
        last_start = fake_now; // the pass after the last frame ends the playback
        ASSERT_TRUE(step(0));
    }
    // The pass after the 40th frame starts 39 recorded frame times after the first.
    EXPECT_EQ(last_start - first_start, 39u * 25u);

    timer_set_delay(fake_delay);
    console_execute("timedemo paced");
    for (int pass = 1;; pass++) {
        uint32_t waited_before = waited_ms;
        ASSERT_TRUE(step(10));
        if (demo_mode() != DEMO_TIMING) break; // back on the title screen, capped again
        EXPECT_EQ(waited_ms, waited_before) << "timedemo waited in pass " << pass;
    }
    // The timing line, then the state the game ended in and the frames' hash.
    Lines printed = printed_lines();
    ASSERT_GE(printed.size(), 3u);
    Lines last(printed.end() - 3, printed.end());
    EXPECT_EQ(last[0], "40 frames in 0.40 s: 100.0 fps, median 10.0 ms, slowest 1% 10.0 ms");
    EXPECT_EQ(demo_timing_line(), last[0]);
    EXPECT_EQ(last[1], demo_end_state_line());
    EXPECT_EQ(last[1].rfind("End state: play, level 1, lives 5,", 0), 0u) << last[1];
    EXPECT_EQ(last[2], demo_hash_line());
    EXPECT_EQ(demo_frame_hashes().size(), 41u) << "frame 0 and the 40 played";
    EXPECT_EQ(last[2].rfind("State hash of frames 0 to 40: ", 0), 0u) << last[2];
    EXPECT_EQ(game_state(), STATE_TITLE);
}

TEST_F(Demos, TheLookSettingsOfTheRecordingApplyAndThePlayersComeBack) {
    console_execute("record look");
    for (int frame = 0; frame < 30; frame++) {
        if (frame == 10) console_execute("mouse_sensitivity 0.02");
        if (frame == 20) console_execute("mouse_invert 1");
        AimingBot::push_mouse_motion(3, 2);
        ASSERT_TRUE(step(25));
    }
    float yaw = player_view().yaw, pitch = player_view().pitch;
    console_execute("stop");
    console_execute("mouse_sensitivity 0.5");
    console_execute("mouse_invert 0");
    console_execute("playdemo look");
    EXPECT_EQ(console_find_variable("mouse_sensitivity")->value, 0.01f);
    while (demo_mode() == DEMO_PLAYING)
        ASSERT_TRUE(step(25));
    EXPECT_EQ(player_view().yaw, yaw);
    EXPECT_EQ(player_view().pitch, pitch);
    EXPECT_EQ(console_find_variable("mouse_sensitivity")->value, 0.5f);
    EXPECT_EQ(console_find_variable("mouse_invert")->value, 0.0f);
}

TEST_F(Demos, BrokenDemoFilesAreRefusedWithTheirLineAndTheGameStaysWhereItWas) {
    console_execute("record good");
    for (int frame = 0; frame < 20; frame++) {
        push_key(frame == 5 ? SDL_KEYDOWN : SDL_KEYUP, SDL_SCANCODE_LEFT);
        AimingBot::push_mouse_motion(1, 0);
        ASSERT_TRUE(step(25));
    }
    console_execute("stop");
    const std::string good = file_bytes("demos/good.dem");
    ASSERT_GT(good.size(), DEMO_HEADER_SIZE + 20 * DEMO_MIN_FRAME_SIZE);
    const size_t count_at = DEMO_HEADER_SIZE - 4, frame_at = DEMO_HEADER_SIZE;

    struct Case {
        const char* what;
        std::string bytes;
        const char* problem;
    };
    std::string magic = good, version = good, game = good, elapsed = good, count = good,
                flags = good, level = good, look = good;
    magic[0] = 'X';
    version[4] = 3;
    std::memcpy(&game[6], "Sheepfall 0.9", 13);
    elapsed[frame_at] = 101;
    put_u32_at(count, count_at, 0xFFFFFFFFu);
    flags[frame_at + 1] = static_cast<char>(0x80);
    level[42] = 7;
    put_u32_at(look, 43, 0x40A00000u); // 5.0
    const Case cases[] = {
        {"short header", good.substr(0, 30), "the header is cut short (30 of 52 bytes)"},
        {"wrong magic", magic, "not a demo file"},
        {"other format version", version, "format version 3, this game plays versions 1 to 2"},
        {"other game version", game, "recorded by Sheepfall 0.9, this is Sheepfall 1.0"},
        {"truncated frame", good.substr(0, good.size() - 3), "frame 20 of 20 is cut short"},
        {"no frames after the header", good.substr(0, DEMO_HEADER_SIZE),
         "it ends after frame 0 of 20"},
        {"absurd elapsed time", elapsed, "frame 1 lasts 101 ms, more than 100"},
        {"absurd frame count", count, "it ends after frame 20 of 4294967295"},
        {"unknown flags", flags, "frame 1 has unknown flags 0x80"},
        {"unknown level", level, "it starts at level 8, there are 3"},
        {"absurd look settings", look,
         "its look settings are out of range (mouse_sensitivity 5, mouse_invert 0)"},
        {"bytes after the end", good + "xy", "2 bytes after the last frame"},
    };
    ASSERT_TRUE(step(25));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        write_bytes("demos/bad.dem", c.bytes);
        Moment before = moment_now();
        console_execute("playdemo bad");
        EXPECT_EQ(last_line(), std::string("!Demo demos/bad.dem: ") + c.problem + "!");
        EXPECT_EQ(demo_mode(), DEMO_IDLE);
        EXPECT_EQ(moment_now(), before) << describe(moment_now());
    }
    console_execute("timedemo missing");
    EXPECT_EQ(last_line(), "!Demo demos/missing.dem: no such demo!");
    EXPECT_EQ(demo_mode(), DEMO_IDLE);
    // The good one still plays.
    console_execute("playdemo good.dem");
    EXPECT_EQ(demo_mode(), DEMO_PLAYING) << last_line();
}

// Demos of format 1, recorded before the input record with the game of
// that time, are files players keep: they play to the end that game gave
// them. The bot's fight (walking, firing, and a sensitivity changed near the
// end) and a player who walks about without firing until he is dead.
TEST_F(Demos, Format1DemosPlayToTheEndTheyHadWhenRecorded) {
    struct Case {
        const char* name;
        size_t frames;
        int state, level, lives, sheep_left;
        float x, z, yaw, pitch;
    } cases[] = {
        {"format1_fight", 900, STATE_PLAY, 0, 5, 5, 0x1.a9e16ap+8f, 0x1.5414ccp+8f, 0x1.170a2ep+2f,
         -0x1.733334p+0f},
        {"format1_lose", 334, STATE_DEAD, 0, 0, 10, 0x1.34ec34p+9f, 0x1.cc54f8p+8f, 0x1.f5c28ep-2f,
         0x1.47ae14p-6f},
    };
    fs::create_directories("demos");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string kept = std::string(SHEEPFALL_TEST_DEMOS) + "/" + c.name + ".dem";
        fs::copy_file(kept, std::string("demos/") + c.name + ".dem",
                      fs::copy_options::overwrite_existing);
        ASSERT_EQ(file_bytes(kept.c_str()).substr(4, 2), std::string("\x01\x00", 2))
            << "not a format 1 demo";
        std::vector<Moment> played = play_back(c.name, 30);
        ASSERT_EQ(played.size(), c.frames) << "frames played";
        const Moment& end = played.back();
        EXPECT_EQ(end.state, c.state) << describe(end);
        EXPECT_EQ(end.level, c.level) << describe(end);
        EXPECT_EQ(end.lives, c.lives) << describe(end);
        EXPECT_EQ(end.sheep_left, c.sheep_left) << describe(end);
        EXPECT_EQ(end.x, c.x) << describe(end);
        EXPECT_EQ(end.z, c.z) << describe(end);
        EXPECT_EQ(end.yaw, c.yaw) << describe(end);
        EXPECT_EQ(end.pitch, c.pitch) << describe(end);
        EXPECT_EQ(last_line(), "Demo finished");
    }
}

TEST_F(Demos, RecordTakesOnePlainFileNameAndSaysWhichRuleItBreaks) {
    const char* const FOLDERS = "no folders (/, \\ and : are not allowed)";
    struct Case {
        const char* line;
        std::string error;
    } cases[] = {
        {"record ../escape", std::string("Demo name ../escape: ") + FOLDERS},
        {"record sub/dir", std::string("Demo name sub/dir: ") + FOLDERS},
        {"record a\\b", std::string("Demo name a\\b: ") + FOLDERS},
        {"record c:x", std::string("Demo name c:x: ") + FOLDERS},
        {"record .hidden", "Demo name .hidden: must not start with a dot"},
        {"record a_name_of_thirty_two_characters_",
         "Demo name a_name_of_thirty_two_characters_: too long (at most 31 characters)"},
        // Typed text reaches the console in Latin-1: e-acute is one byte.
        {"record h\xe9llo", "Demo name h\xe9llo: only ASCII letters, digits and punctuation "
                            "(no accents, blanks or control characters)"},
        {"record a b", "usage: record NAME"},
        {"record a  b", "usage: record NAME"},
        {"record", "usage: record NAME"},
        {"stop", "No demo is being recorded or played"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        Moment before = moment_now();
        console_execute(c.line);
        EXPECT_EQ(last_line(), "!" + c.error + "!");
        EXPECT_EQ(demo_mode(), DEMO_IDLE);
        EXPECT_EQ(moment_now(), before);
    }
}

TEST_F(Demos, ADemoThatCannotBeWrittenIsToldBeforeTheGameStarts) {
    // No folder can be made; a folder stands where the file would go.
    for (const char* blocked : {"demos", "demos/blocked.dem/"}) {
        SCOPED_TRACE(blocked);
        fs::remove_all("demos");
        if (std::string(blocked).back() == '/')
            fs::create_directories(blocked);
        else
            write_bytes(blocked, "a file where the folder should be");
        Moment before = moment_now();
        console_execute("record blocked");
        EXPECT_EQ(last_line().rfind("!Can't write demos/blocked.dem: ", 0), 0u) << last_line();
        EXPECT_EQ(demo_mode(), DEMO_IDLE);
        EXPECT_EQ(moment_now(), before);
    }
}
