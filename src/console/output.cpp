// Console output: owns the scroll-back buffer, the typed line's slot and the
// log file log.txt in the player's folder, written while the switch it
// follows (save_to_log) is on.
#include "console/output.h"

#include "files/folders.h"

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>
#ifdef _WIN32
#include <sys/stat.h>
#endif

static char output_lines[CONSOLE_MAX_LINES + 1][CONSOLE_SLOT_SIZE];
static char output_line_marks[CONSOLE_MAX_LINES + 1];
static int lines_used = 0;
static int scrolled_back = 0; // slots, 0 .. lines_used

static float* log_switch = nullptr; // none yet: every line is logged
static const char* const LOG_FILE = "log.txt";
static const size_t SLOT_CHARACTERS = CONSOLE_LINE_SIZE - 1;
static const size_t FIRST_ERRORS_KEPT = 8;
static std::vector<std::string> first_errors; // since console_output_init, whole

int line_count() {
    return lines_used;
}

int scroll_offset() {
    return scrolled_back;
}

const char* output_line(int slot) {
    return slot >= 0 && slot <= CONSOLE_MAX_LINES ? output_lines[slot] : "";
}

char output_line_mark(int slot) {
    return slot >= 0 && slot <= CONSOLE_MAX_LINES ? output_line_marks[slot] : '\0';
}

void console_scroll_back(int slots) {
    scrolled_back = std::clamp(scrolled_back + slots, 0, lines_used);
}

bool console_output_init() {
    console_clear();
    first_errors.clear();
    scrolled_back = 0;
    // Each run starts a new log; a missing file is fine.
    std::remove(player_file(LOG_FILE).c_str());
    return true;
}

static void fill_slot(int slot, const char* text, size_t length, char mark) {
    std::memset(output_lines[slot], 0, CONSOLE_SLOT_SIZE);
    std::memcpy(output_lines[slot], text, length);
    output_line_marks[slot] = mark;
}

// One slot's worth (at most 255 characters) after the last printed slot.
static void store_slot(const char* text, size_t length, char mark) {
    if (lines_used < CONSOLE_MAX_LINES) {
        fill_slot(lines_used, text, length, mark);
        lines_used++;
        return;
    }
    // Full: the oldest slot goes, everything moves one slot towards slot 0.
    std::memmove(output_lines[0], output_lines[1],
                 (CONSOLE_MAX_LINES - 1) * sizeof output_lines[0]);
    std::memmove(output_line_marks, output_line_marks + 1, CONSOLE_MAX_LINES - 1);
    fill_slot(CONSOLE_MAX_LINES - 1, text, length, mark);
    // The typed line's slot is blank after a print, as it is when not full.
    fill_slot(CONSOLE_MAX_LINES, "", 0, '\0');
}

void console_print(const char* text) {
    scrolled_back = 0;
    size_t length = std::strlen(text);
    size_t start = 0;
    do {
        size_t piece = std::min(length - start, SLOT_CHARACTERS);
        store_slot(text + start, piece, text[0]);
        start += piece;
    } while (start < length);
    if (!log_switch || *log_switch != 0.0f) console_log_append(text);
}

// Error lines go to stderr as well, whole, so a player who started the game
// from a terminal (or a script reading its output) sees what went wrong even
// when the console is never shown or log.txt cannot be written.
static void mirror_error_to_stderr(const char* message) {
    std::fprintf(stderr, "sheepfall: %s\n", message);
}

std::string console_format_text(const char* format, va_list args) {
    va_list measuring;
    va_copy(measuring, args);
    int length = std::vsnprintf(nullptr, 0, format, measuring);
    va_end(measuring);
    if (length <= 0) return "";
    std::string text(static_cast<size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, args);
    text.resize(static_cast<size_t>(length));
    return text;
}

void console_printf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string text = console_format_text(format, args);
    va_end(args);
    console_print(text.c_str());
}

void console_print_errorf(const char* format, ...) {
    va_list args;
    va_start(args, format);
    std::string message = console_format_text(format, args);
    va_end(args);
    console_print_error(message.c_str());
}

void console_print_error(const char* message) {
    mirror_error_to_stderr(message);
    if (first_errors.size() < FIRST_ERRORS_KEPT) first_errors.push_back(message);
    console_print((std::string("!") + message + "!").c_str());
}

const std::vector<std::string>& console_first_errors() {
    return first_errors;
}

void console_print_input(const char* line) {
    console_print((std::string(">") + line).c_str());
}

void console_clear() {
    std::memset(output_lines, 0, sizeof output_lines);
    std::memset(output_line_marks, 0, sizeof output_line_marks);
    lines_used = 0;
}

void console_show_input(const char* text) {
    std::snprintf(output_lines[lines_used], CONSOLE_SLOT_SIZE, ">%s", text);
    output_line_marks[lines_used] = '>';
    scrolled_back = 0;
}

void console_log_follow(float* log_switch_value) {
    log_switch = log_switch_value;
}

// Logging switches itself off after a failure, so its error line is said
// once (on screen and on stderr) rather than for every line that follows.
static void log_failed(const char* what, int error) {
    static float switched_off = 0.0f;
    if (!log_switch) log_switch = &switched_off;
    *log_switch = 0.0f;
    console_print_errorf("%s %s: %s", what, player_file(LOG_FILE).c_str(), std::strerror(error));
}

void console_log_append(const char* text) {
    std::FILE* file = std::fopen(player_file(LOG_FILE).c_str(), "a+");
    if (!file) {
        int error = errno;
#ifdef _WIN32
        // Windows refuses to open a folder as "access denied": say what is in the way.
        struct stat info;
        if (error == EACCES && stat(player_file(LOG_FILE).c_str(), &info) == 0 &&
            S_ISDIR(info.st_mode))
            error = EISDIR;
#endif
        log_failed("Can't open log file", error);
        return;
    }
    bool written = std::fprintf(file, "%s\n", text) >= 0 && std::fflush(file) == 0;
    int error = errno;
    if (std::fclose(file) != 0 && written) {
        written = false;
        error = errno;
    }
    if (!written) log_failed("Can't write log file", error);
}
