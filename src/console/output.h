// Console output: the scroll-back buffer of printed lines, the typed line's
// slot after them, the error and input line conventions, and log.txt.
#pragma once

#include <cstdarg>
#include <string>
#include <vector>

constexpr int CONSOLE_LINE_SIZE = 256; // a line holds at most 255 characters
constexpr int CONSOLE_MAX_LINES = 256;
// A slot holds a printed line, or ">" and a typed line of 255 characters.
constexpr int CONSOLE_SLOT_SIZE = CONSOLE_LINE_SIZE + 1;

// Printed lines in slots 0 .. line_count() - 1, oldest first. The extra slot
// after the last one always exists, so the typed line can be shown even when
// all 256 printed slots are in use. A printed line longer than 255
// characters fills as many slots as it needs, 255 characters to a slot.
int line_count();
// The text of a slot, 0 .. CONSOLE_MAX_LINES; empty outside them.
const char* output_line(int slot);
// The first character of the line a slot holds part of ('!' an error, '>'
// an input line), so every slot of a long line is coloured alike.
char output_line_mark(int slot);
int scroll_offset(); // slots scrolled back, 0 .. line_count()
// Scrolls back by that many slots (forward when negative), staying within
// 0 .. line_count(). Printing a line scrolls to the end.
void console_scroll_back(int slots);

// Empties the buffer and deletes the previous log.txt (console_init does
// this and the rest of the console's start).
bool console_output_init();
// Lines go to log.txt while the value is not 0 (the "save_to_log"
// variable's); a log that cannot be opened sets it to 0.
void console_log_follow(float* log_switch_value);

// Prints a line of any length: whole in log.txt, over several slots on screen.
void console_print(const char* text);
// Formats the whole text, however long, and prints it.
void console_printf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// "!" + message + "!"; the message also goes to stderr as "sheepfall: message".
void console_print_error(const char* message);
void console_print_errorf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// The first error messages printed since the console started (at most 8),
// whole and without their frame: what a failed start-up tells the player.
const std::vector<std::string>& console_first_errors();
void console_print_input(const char* line); // ">" + line
// The whole text of a printf-style format and its arguments.
std::string console_format_text(const char* format, va_list args);

void console_clear();                      // handler of "cls"
void console_show_input(const char* text); // ">" + typed text after the last line
void console_log_append(const char* text);
