// Platform edge: message boxes through SDL (mirrored to stderr), what ends
// the game while one waits for its answer, the replaceable millisecond
// timer, and on Windows the console a windowed program prints to.
#include "app/platform.h"

#include <SDL.h>
#include <cstdio>

#ifdef _WIN32
#include <windows.h>
#endif
#ifdef __linux__
#include <pthread.h>
#include <signal.h>
#include <sys/prctl.h>
#include <unistd.h>
#endif

static TicksSource ticks_source = nullptr;
static DelaySink delay_sink = nullptr;
static SDL_Window* message_box_parent = nullptr;
#ifdef __linux__
static volatile sig_atomic_t box_waiting = 0; // a box is up and waits for its answer
static pid_t box_owner = 0;                   // the game's process while it is
static struct sigaction signals_before_box[2];
static const int BOX_ENDING_SIGNALS[2] = {SIGTERM, SIGINT};
#endif

void message_box_set_parent(SDL_Window* window) { message_box_parent = window; }

#ifdef _WIN32
// A windowed program starts without standard output; started from a console
// it prints there. Output already sent to a file or a pipe stays there.
void console_output_attach() {
    bool out_missing = GetFileType(GetStdHandle(STD_OUTPUT_HANDLE)) == FILE_TYPE_UNKNOWN;
    bool err_missing = GetFileType(GetStdHandle(STD_ERROR_HANDLE)) == FILE_TYPE_UNKNOWN;
    if (!(out_missing || err_missing) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    if (out_missing && std::freopen("CONOUT$", "w", stdout)) std::setvbuf(stdout, nullptr, _IONBF, 0);
    if (err_missing && std::freopen("CONOUT$", "w", stderr)) std::setvbuf(stderr, nullptr, _IONBF, 0);
}
#else
void console_output_attach() {}
#endif

static Uint32 icon_flags(MessageIcon icon) {
    switch (icon) {
    case ICON_WARNING: return SDL_MESSAGEBOX_WARNING;
    case ICON_ERROR: return SDL_MESSAGEBOX_ERROR;
    case ICON_INFORMATION: return SDL_MESSAGEBOX_INFORMATION;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

static bool display_available() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

#ifdef __linux__
// In a process forked while a box is up (SDL shows its X11 boxes from a
// child): the child dies with the game, so a game killed even with SIGKILL
// leaves no box behind. A game already gone by then is seen at once.
static void box_child_dies_with_game() {
    if (!box_waiting) return;
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (getppid() != box_owner) _exit(1);
}

// SIGTERM or SIGINT while a box waits (SDL's own handlers would only queue a
// quit event that nobody reads then): the game ends at once with exit 1,
// and the box's child with it.
static void end_while_box_waits(int) {
    _exit(1);
}
#endif

// The time a box waits for its answer, from showing it to its answer.
static void box_wait_begins() {
#ifdef __linux__
    static bool fork_handler_set = false;
    if (!fork_handler_set)
        fork_handler_set = pthread_atfork(nullptr, nullptr, box_child_dies_with_game) == 0;
    box_owner = getpid();
    box_waiting = 1;
    struct sigaction ending {};
    ending.sa_handler = end_while_box_waits;
    sigemptyset(&ending.sa_mask);
    // A signal the game was started to ignore (SIGINT in a shell's
    // background job, say) stays ignored.
    for (int i = 0; i < 2; i++) {
        sigaction(BOX_ENDING_SIGNALS[i], nullptr, &signals_before_box[i]);
        if (signals_before_box[i].sa_handler != SIG_IGN)
            sigaction(BOX_ENDING_SIGNALS[i], &ending, nullptr);
    }
#endif
}

static void box_wait_ends() {
#ifdef __linux__
    for (int i = 0; i < 2; i++)
        sigaction(BOX_ENDING_SIGNALS[i], &signals_before_box[i], nullptr);
    box_waiting = 0;
#endif
}

void message_box(const char* caption, const char* text, MessageIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (!display_available()) return;
    box_wait_begins();
    int shown = SDL_ShowSimpleMessageBox(icon_flags(icon), caption, text, message_box_parent);
    box_wait_ends();
    if (shown != 0) std::fprintf(stderr, "(no message box: %s)\n", SDL_GetError());
}

bool message_box_yes_no(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxData data{
        SDL_MESSAGEBOX_WARNING, message_box_parent, caption, text, 2, buttons, nullptr};
    int answer = 0;
    int shown = -1;
    if (display_available()) {
        box_wait_begins();
        shown = SDL_ShowMessageBox(&data, &answer);
        box_wait_ends();
    }
    if (shown != 0) {
        // Nobody can be asked: take the answer that keeps the game running.
        std::fprintf(stderr, "(no message box can be shown: answered Yes)\n");
        return true;
    }
    return answer == 1;
}

uint32_t timer_ticks() {
    return ticks_source ? ticks_source() : SDL_GetTicks();
}

double timer_seconds() {
    if (ticks_source) return static_cast<double>(ticks_source()) / 1000.0;
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void timer_set_source(TicksSource source) {
    ticks_source = source;
}

void timer_delay(uint32_t ms) {
    if (delay_sink)
        delay_sink(ms);
    else
        SDL_Delay(ms);
}

void timer_set_delay(DelaySink sink) {
    delay_sink = sink;
}

