// Console output: owns the scroll-back buffer, the typed line's slot and the
// log file log.txt in the player's folder, written while the switch it
// follows (save_to_log) is on.
#include "console/output.h"

#include "files/folders.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

char output_lines[CONSOLE_MAX_LINES + 1][CONSOLE_SLOT_SIZE];
int line_count = 0;
int scroll_offset = 0;

static float* log_switch = nullptr; // none yet: every line is logged
static const char* const LOG_FILE = "log.txt";

bool console_output_init() {
    std::memset(output_lines, 0, sizeof output_lines);
    line_count = 0;
    scroll_offset = 0;
    // Each run starts a new log; a missing file is fine.
    std::remove(player_file(LOG_FILE).c_str());
    return true;
}

static void store_line(const char* text, size_t length) {
    if (line_count < CONSOLE_MAX_LINES) {
        std::memset(output_lines[line_count], 0, CONSOLE_SLOT_SIZE);
        std::memcpy(output_lines[line_count], text, length);
        line_count++;
        return;
    }
    // Full: the oldest line goes, everything moves one slot towards slot 0.
    std::memmove(output_lines[0], output_lines[1],
                 (CONSOLE_MAX_LINES - 1) * sizeof output_lines[0]);
    std::memset(output_lines[CONSOLE_MAX_LINES - 1], 0, CONSOLE_SLOT_SIZE);
    std::memcpy(output_lines[CONSOLE_MAX_LINES - 1], text, length);
    // The typed line's slot is blank after a print, as it is when not full.
    std::memset(output_lines[CONSOLE_MAX_LINES], 0, CONSOLE_SLOT_SIZE);
}

void console_print(const char* text) {
    scroll_offset = 0;
    size_t length = strnlen(text, CONSOLE_LINE_SIZE);
    if (length >= CONSOLE_LINE_SIZE) return; // over-long lines are dropped whole
    store_line(text, length);
    if (!log_switch || *log_switch != 0.0f) console_log_append(text);
}

// Error lines go to stderr as well, whole, so a player who started the game
// from a terminal (or a script reading its output) sees what went wrong even
// when the console is never shown or log.txt cannot be written.
static void mirror_error_to_stderr(const char* message) {
    std::fprintf(stderr, "sheepfall: %s\n", message);
}

static void print_formatted(const char* prefix, const char* suffix, const char* format,
                            va_list args) {
    char message[CONSOLE_LINE_SIZE];
    std::vsnprintf(message, sizeof message, format, args);
    if (prefix[0] == '!') mirror_error_to_stderr(message);
    // Room for the frame around a full message, so a framed line that is too
    // long reaches console_print whole and is dropped there.
    char line[CONSOLE_LINE_SIZE + 4];
    std::snprintf(line, sizeof line, "%s%s%s", prefix, message, suffix);
    console_print(line);
}

void console_printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    print_formatted("", "", format, args);
    va_end(args);
}

void console_print_errorf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    print_formatted("!", "!", format, args);
    va_end(args);
}

static void print_framed(const char* prefix, const char* text, const char* suffix) {
    size_t length = std::strlen(prefix) + strnlen(text, CONSOLE_LINE_SIZE) + std::strlen(suffix);
    if (length >= CONSOLE_LINE_SIZE) {
        scroll_offset = 0; // dropped like any over-long line
        return;
    }
    char line[CONSOLE_LINE_SIZE];
    std::snprintf(line, sizeof line, "%s%s%s", prefix, text, suffix);
    console_print(line);
}

void console_print_error(const char* message) {
    mirror_error_to_stderr(message);
    print_framed("!", message, "!");
}

void console_print_input(const char* line) {
    print_framed(">", line, "");
}

void console_clear() {
    std::memset(output_lines, 0, sizeof output_lines);
    line_count = 0;
}

void console_show_input(const char* text) {
    std::snprintf(output_lines[line_count], CONSOLE_SLOT_SIZE, ">%s", text);
    scroll_offset = 0;
}

void console_log_follow(float* log_switch_value) {
    log_switch = log_switch_value;
}

void console_log_append(const char* text) {
    std::FILE* file = std::fopen(player_file(LOG_FILE).c_str(), "a+");
    if (!file) {
        // Logging switches itself off, so this error line is only shown.
        static float switched_off = 0.0f;
        if (!log_switch) log_switch = &switched_off;
        *log_switch = 0.0f;
        console_print_error("Can't open log file");
        return;
    }
    std::fprintf(file, "%s\n", text);
    std::fclose(file);
}
