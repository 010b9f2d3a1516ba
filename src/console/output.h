// Console output: the scroll-back buffer of printed lines, the typed line's
// slot after them, the error and input line conventions, and log.txt.
#pragma once

constexpr int CONSOLE_LINE_SIZE = 256; // a line holds at most 255 characters
constexpr int CONSOLE_MAX_LINES = 256;
// A slot holds a printed line, or ">" and a typed line of 255 characters.
constexpr int CONSOLE_SLOT_SIZE = CONSOLE_LINE_SIZE + 1;

// Printed lines in slots 0 .. line_count - 1, oldest first. The extra slot
// after the last one always exists, so the typed line can be shown even when
// all 256 printed slots are in use.
extern char output_lines[CONSOLE_MAX_LINES + 1][CONSOLE_SLOT_SIZE];
extern int line_count;
extern int scroll_offset; // lines scrolled back, 0 .. line_count

// Empties the buffer and deletes the previous log.txt (console_init does
// this and the rest of the console's start).
bool console_output_init();
// Lines go to log.txt while the value is not 0 (the "save_to_log"
// variable's); a log that cannot be opened sets it to 0.
void console_log_follow(float* log_switch_value);

void console_print(const char* text);
// Formats into a 256-byte line (longer results are cut at 255 characters)
// and prints it.
void console_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void console_print_error(const char* message); // "!" + message + "!"
void console_print_errorf(const char* format, ...) __attribute__((format(printf, 1, 2)));
void console_print_input(const char* line); // ">" + line

void console_clear();                      // handler of "cls"
void console_show_input(const char* text); // ">" + typed text after the last line
void console_log_append(const char* text);
