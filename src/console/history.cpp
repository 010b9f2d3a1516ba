// Console history: owns the ring of the last executed lines and the cursor
// that Up and Down move through it.
#include "console/history.h"

#include "console/output.h"

#include <cstdio>
#include <cstring>

static char history[HISTORY_SIZE][CONSOLE_LINE_SIZE];
static int history_count = 0;
static int history_cursor = 0; // 0: nothing recalled; the next Up gives the newest line

void console_history_clear() {
    std::memset(history, 0, sizeof history);
}

void console_history_add(const char* line) {
    history_cursor = 0;
    if (history_count < HISTORY_SIZE) {
        std::snprintf(history[history_count], CONSOLE_LINE_SIZE, "%s", line);
        history_count++;
        return;
    }
    std::memmove(history[0], history[1], (HISTORY_SIZE - 1) * sizeof history[0]);
    std::snprintf(history[HISTORY_SIZE - 1], CONSOLE_LINE_SIZE, "%s", line);
}

int console_history_count() {
    return history_count;
}

const char* console_history_line(int index) {
    if (index < 0 || index >= history_count) return "";
    return history[index];
}

static const char* history_at_cursor() {
    if (history_cursor == 0) return "";
    return history[history_count - history_cursor];
}

const char* console_history_older() {
    if (history_cursor + 1 <= history_count) history_cursor++;
    return history_at_cursor();
}

const char* console_history_newer() {
    if (history_cursor - 1 >= 0) history_cursor--;
    return history_at_cursor();
}
