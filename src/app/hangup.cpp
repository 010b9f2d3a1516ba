// The terminal closing during play: owns the flag the SIGHUP handler sets.
// SDL turns SIGINT and SIGTERM into an SDL_QUIT event the main loop reads;
// SIGHUP gets the same treatment here: the handler only notes it (nothing
// else is safe inside a signal handler) and the main loop ends at its next
// step, through the same saves as any quit.
#include "app/hangup.h"

#include <csignal>

static volatile std::sig_atomic_t hangup = 0;

#ifndef _WIN32
static void note_hangup(int) {
    hangup = 1;
}

// Sets the handler unless the signal was ignored when the game started.
static void handle_unless_ignored(int number, void (*handler)(int)) {
    struct sigaction action = {};
    if (sigaction(number, nullptr, &action) != 0 || action.sa_handler == SIG_IGN) return;
    action = {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART; // a read or write under way goes on, as after SDL's handler
    sigemptyset(&action.sa_mask);
    sigaction(number, &action, nullptr);
}
#endif

// Windows has neither signal: a game without a console never hangs up.
void hangup_watch_start() {
#ifndef _WIN32
    handle_unless_ignored(SIGHUP, note_hangup);
    // With the terminal, the reader of a pipe the output went to may be gone:
    // an error line written there must not end the game before it has saved.
    handle_unless_ignored(SIGPIPE, SIG_IGN);
#endif
}

bool hangup_received() {
    return hangup != 0;
}
