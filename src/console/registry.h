// Console registry and interpreter: the named commands and the settings
// (float variables declared as rows) that subsystems register at start-up,
// the line interpreter with its argument splitting, and the built-in
// commands "?", "cmdlist", "varlist", "help" and "exec" (script files).
#pragma once

#include <cstddef>
#include <cstdio>
#include <limits>
#include <string>

constexpr int CONSOLE_NAME_SIZE = 32; // names hold at most 31 characters
constexpr int CONSOLE_MAX_ARGS = 10;
constexpr int SCRIPT_MAX_NESTING = 16;

using ConsoleHandler = void (*)();

struct ConsoleCommand {
    char name[CONSOLE_NAME_SIZE];
    ConsoleHandler handler;
    ConsoleCommand* next;
};

struct ConsoleVariable;

// A setting's limit on the side where it has none.
constexpr float NO_LIMIT = std::numeric_limits<float>::infinity();

// One setting as its module declares it, once: everything the console's
// lists, range checks, help and config.cfg know about it comes from here.
// Each module keeps its rows in a static table and registers them with one
// console_add_settings call.
struct SettingRow {
    ConsoleVariable** variable; // where the module keeps the record (may be null)
    const char* name;
    float default_value;
    // A console line that sets a value outside them (or, with whole_numbers,
    // a fraction) gets the nearest allowed value, and the console says so.
    float min_value = -NO_LIMIT;
    float max_value = NO_LIMIT;
    bool whole_numbers = false;
    bool saved = true;     // config.cfg keeps a value that differs from the default
    const char* help = ""; // one line, as "help NAME" shows it
};

struct ConsoleVariable {
    char name[CONSOLE_NAME_SIZE];
    float value;
    ConsoleVariable* next;
    const SettingRow* row; // its declaration; rows live as long as the process
};

// Registers a command at the head of the command list; a second command of
// the same name is refused with "Function already defined".
void console_add_command(const char* name, ConsoleHandler handler);

// Creates the row's variable at its default, at the head of the variable
// list, and stores it where the row says. A name registered before keeps its
// record and value (a second start-up in the same process finds them).
// Records live for the whole process.
ConsoleVariable* console_add_setting(const SettingRow& row);
// The rows of a module's table, in order.
template <std::size_t N> void console_add_settings(const SettingRow (&rows)[N]) {
    for (const SettingRow& row : rows)
        console_add_setting(row);
}

ConsoleVariable* console_find_variable(const char* name);
ConsoleCommand* console_find_command(const char* name);

// The heads of the two lists, newest first, as cmdlist and varlist show them.
const ConsoleCommand* console_commands();
const ConsoleVariable* console_variables();

// The shortest decimal text that reads back (console_parse_number) to exactly
// the value, e.g. "0.01", "250", "1e-05"; infinities give "1e39" and "-1e39".
void console_format_value(float value, char* out, int size);

// Executes one line of at most 255 characters (not counting the line break
// a script line ends with): shows or sets a variable, or runs a command with
// the rest of the line as its arguments. A longer line is refused whole with
// an error line; nothing of it runs.
void console_execute(const char* line);
// True for a line console_execute refuses as too long.
bool console_line_too_long(const char* line);

// The longest decimal number at the start of the text (after blanks): sign,
// digits, point, exponent; 0 when there is none.
float console_parse_number(const char* text);

// Arguments of the command being run; console_arg gives "" out of range.
int console_arg_count();
const char* console_arg(int index);
// The same arguments as the one text they were split from (everything after
// the command's name and the character that follows it), for commands that
// read more than blank-separated words, such as a line in double quotes.
const char* console_arg_text();

// Executes a line the game runs for the player (a key's bound line): echoed
// like any line, but kept out of the history.
void console_execute_unrecorded(const char* line);

// Runs the script file of that name line by line (the "exec" command).
void console_exec_script(const char* file_name);
// The same for the game's own settings files (config.cfg, autoexec.cfg):
// their lines, and those of scripts they run, stay out of the history.
void console_exec_script_unrecorded(const char* file_name);
// Runs the lines of an open script; the caller closes it. The name is the
// file's, for the error line of a line too long to run ("NAME:3: ...").
void console_run_script(std::FILE* file, const char* name);

enum ScriptLine { SCRIPT_LINE_READ, SCRIPT_LINE_TOO_LONG, SCRIPT_LINE_ERROR };
// Reads the next line of the file, its line break kept. A line too long for
// console_execute is read to its end and given back empty as
// SCRIPT_LINE_TOO_LONG; at the end of the file the line is empty.
ScriptLine console_read_line(std::FILE* file, std::string* line);
