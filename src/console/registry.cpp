// Console registry and interpreter: owns the command and variable lists
// (newest first, never freed; each variable points at the row that declared
// it), the argument vector of the running command, the script nesting depth
// and whether executed lines enter the history.
#include "console/registry.h"

#include "console/output.h"
#include "console/words.h"
#include "console/history.h"
#include "files/folders.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <strings.h>

static ConsoleCommand* commands = nullptr;
static ConsoleVariable* variables = nullptr;
static std::string args[CONSOLE_MAX_ARGS];
static int arg_count = 0;
static std::string arg_text; // the running command's arguments as one text
static int script_depth = 0;
// Above 0 while the game's own settings files run: their lines (and those of
// the scripts they run) were not typed by the player, so Up does not recall
// them and history.txt does not keep them.
static int unrecorded_depth = 0;
// How much of an over-long line its error line shows.
static const int LONG_LINE_SHOWN = 40;

static void copy_name(char (&dest)[CONSOLE_NAME_SIZE], const char* name) {
    std::snprintf(dest, sizeof dest, "%s", name);
}

void console_add_command(const char* name, ConsoleHandler handler) {
    if (console_find_command(name)) {
        console_print_error("Function already defined");
        return;
    }
    auto* command = new ConsoleCommand{};
    copy_name(command->name, name);
    command->handler = handler;
    command->next = commands;
    commands = command;
}

ConsoleVariable* console_add_setting(const SettingRow& row) {
    ConsoleVariable* variable = console_find_variable(row.name);
    if (!variable) {
        variable = new ConsoleVariable{};
        copy_name(variable->name, row.name);
        variable->value = row.default_value;
        variable->row = &row;
        variable->next = variables;
        variables = variable;
    }
    if (row.variable) *row.variable = variable;
    return variable;
}

ConsoleVariable* console_find_variable(const char* name) {
    for (ConsoleVariable* v = variables; v; v = v->next)
        if (std::strcmp(v->name, name) == 0) return v;
    return nullptr;
}

ConsoleCommand* console_find_command(const char* name) {
    for (ConsoleCommand* c = commands; c; c = c->next)
        if (std::strcmp(c->name, name) == 0) return c;
    return nullptr;
}

const ConsoleCommand* console_commands() {
    return commands;
}

const ConsoleVariable* console_variables() {
    return variables;
}

int console_arg_count() {
    return arg_count;
}

const char* console_arg_text() {
    return arg_text.c_str();
}

const char* console_arg(int index) {
    if (index < 0 || index >= arg_count) return "";
    return args[index].c_str();
}

static bool is_digit(char c) {
    return c >= '0' && c <= '9';
}

// The length of the longest decimal number at the start of the text: an
// optional sign, digits with an optional point, and an exponent only when
// digits follow it. Hex, "inf" and "nan" are not numbers here.
static size_t decimal_prefix_length(const char* text) {
    size_t i = 0;
    if (text[i] == '+' || text[i] == '-') i++;
    size_t digits = 0;
    while (is_digit(text[i])) i++, digits++;
    if (text[i] == '.') {
        i++;
        while (is_digit(text[i])) i++, digits++;
    }
    if (digits == 0) return 0;
    size_t mantissa_end = i;
    if (text[i] == 'e' || text[i] == 'E') {
        i++;
        if (text[i] == '+' || text[i] == '-') i++;
        if (!is_digit(text[i])) return mantissa_end;
        while (is_digit(text[i])) i++;
    }
    return i;
}

float console_parse_number(const char* text) {
    text = skip_blanks(text);
    char number[CONSOLE_LINE_SIZE] = {};
    size_t length = decimal_prefix_length(text);
    if (length == 0 || length >= sizeof number) return 0.0f;
    std::memcpy(number, text, length);
    return static_cast<float>(std::strtod(number, nullptr));
}

void console_format_value(float value, char* out, int size) {
    if (size <= 0) return;
    size_t capacity = static_cast<size_t>(size);
    double wide = static_cast<double>(value);
    if (std::isinf(value)) { // beyond the largest float: reads back as infinity
        std::snprintf(out, capacity, "%s", value > 0.0f ? "1e39" : "-1e39");
        return;
    }
    // The fewest significant digits that read back; nine always do.
    char scientific[32];
    int digits = 1;
    for (; digits < 9; digits++) {
        std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, wide);
        if (console_parse_number(scientific) == value) break;
    }
    std::snprintf(scientific, sizeof scientific, "%.*e", digits - 1, wide);
    const char* e = std::strchr(scientific, 'e');
    int exponent = e ? std::atoi(e + 1) : 0;
    // Whole numbers below a billion are written out ("250", not "2.5e+02").
    int precision = exponent >= digits && exponent < 9 ? exponent + 1 : digits;
    std::snprintf(out, capacity, "%.*g", precision, wide);
    if (console_parse_number(out) != value) std::snprintf(out, capacity, "%.9g", wide);
}

// A line set the variable: a value outside its limits becomes the nearest
// allowed one, once, with a line that says so.
static void keep_within_limits(ConsoleVariable* variable) {
    const SettingRow& row = *variable->row;
    float value = variable->value;
    if (row.whole_numbers) value = std::round(value);
    if (value < row.min_value) value = row.min_value;
    if (value > row.max_value) value = row.max_value;
    if (value == variable->value) return;
    variable->value = value;
    char text[CONSOLE_NAME_SIZE];
    console_format_value(value, text, sizeof text);
    console_printf("%s clamped to %s", variable->name, text);
}

// The text without the blanks around it.
static std::string trimmed(const char* text) {
    const char* start = skip_blanks(text);
    const char* end = start + std::strlen(start);
    while (end > start && is_blank(end[-1]))
        end--;
    return std::string(start, end);
}

// A value a line may give a variable: "true" or "false" in any case, or a
// decimal number and nothing else (no hex, no inf or nan, no trailing text).
static bool read_value(const std::string& text, float* value) {
    if (strcasecmp(text.c_str(), "true") == 0 || strcasecmp(text.c_str(), "false") == 0) {
        *value = strcasecmp(text.c_str(), "true") == 0 ? 1.0f : 0.0f;
        return true;
    }
    if (text.empty() || decimal_prefix_length(text.c_str()) != text.size()) return false;
    *value = console_parse_number(text.c_str());
    return true;
}

// Shows a variable, or sets it from the text; text that is not a value
// leaves it unchanged with an error line.
static void console_variable_command(ConsoleVariable* variable, const char* text) {
    std::string value_text = trimmed(text);
    if (!value_text.empty()) {
        float value = 0.0f;
        if (!read_value(value_text, &value)) {
            console_print_errorf("%s: %s is not a number", variable->name, value_text.c_str());
            return;
        }
        variable->value = value;
        keep_within_limits(variable);
        return;
    }
    float value = variable->value;
    // Only values an int can hold are shown as integers.
    bool integral = std::isfinite(value) && value >= -2147483648.0f && value < 2147483648.0f &&
                    static_cast<float>(static_cast<int>(value)) == value;
    if (!integral) {
        console_printf("%s = %f", variable->name, static_cast<double>(value));
        return;
    }
    int i = static_cast<int>(value);
    if (i == 0)
        console_printf("%s = %d (false)", variable->name, i);
    else if (i == 1)
        console_printf("%s = %d (true)", variable->name, i);
    else
        console_printf("%s = %d", variable->name, i);
}

// Splits the text into at most ten words and runs the handler. The text
// advances by each word's length plus one, not by the blanks skipped before
// the word, so a run of blanks can make part of a word appear again.
static void console_run_command(ConsoleCommand* command, const char* text) {
    for (int i = 0; i < arg_count; i++)
        args[i].clear();
    arg_count = 0;
    arg_text = text;
    size_t remaining = std::strlen(text);
    while (remaining > 0) {
        const char* start = skip_blanks(text);
        const char* end = word_end(start);
        size_t word_length = static_cast<size_t>(end - start);
        args[arg_count++].assign(start, word_length);
        if (arg_count == CONSOLE_MAX_ARGS) break;
        size_t advance = word_length + 1;
        if (advance >= remaining) break;
        text += advance;
        remaining -= advance;
    }
    command->handler();
}

// The line's length without the line break a script line ends with.
static size_t text_length(const char* line, size_t length) {
    if (length > 0 && line[length - 1] == '\n') length--;
    if (length > 0 && line[length - 1] == '\r') length--;
    return length;
}

bool console_line_too_long(const char* line) {
    // Two more than fit are enough to tell: a line break is at most two.
    size_t length = strnlen(line, CONSOLE_LINE_SIZE + 2);
    return text_length(line, length) >= CONSOLE_LINE_SIZE;
}

void console_execute(const char* input) {
    if (console_line_too_long(input)) {
        console_print_errorf("Line longer than %d characters, not run: %.*s...",
                             CONSOLE_LINE_SIZE - 1, LONG_LINE_SHOWN, input);
        return;
    }
    std::string line = input;
    if (line.empty()) {
        console_print("type ? for help");
        return;
    }
    if (unrecorded_depth == 0) console_history_add(line.c_str());
    console_print_input(line.c_str());

    const char* name_start = skip_blanks(line.c_str());
    const char* name_end = word_end(name_start);
    std::string name(name_start, name_end);

    // The arguments begin one character after the name's length, counted
    // from the start of the line.
    size_t position = name.size() + 1;
    std::string arguments = position < line.size() ? line.substr(position) : "";

    if (ConsoleVariable* variable = console_find_variable(name.c_str()))
        console_variable_command(variable, arguments.c_str());
    else if (ConsoleCommand* command = console_find_command(name.c_str()))
        console_run_command(command, arguments.c_str());
    else
        console_print_error("Command not found");
}

// A script named by a relative path is looked for in the player's folder
// first, then in the working folder (the game's own). Only plain files count:
// a folder reads nothing and a device such as /dev/zero never ends.
static std::string script_path(const char* file_name) {
    std::error_code error;
    std::string in_player_folder = player_file(file_name);
    if (file_name[0] != '/' && std::filesystem::is_regular_file(in_player_folder, error))
        return in_player_folder;
    return file_name;
}

void console_exec_script(const char* file_name) {
    if (script_depth >= SCRIPT_MAX_NESTING) {
        console_print_error("Script nesting too deep");
        return;
    }
    std::string path = script_path(file_name);
    std::error_code error;
    std::FILE* file =
        std::filesystem::is_regular_file(path, error) ? std::fopen(path.c_str(), "r") : nullptr;
    if (!file) {
        console_print_error("Can't open script");
        return;
    }
    console_run_script(file, path.c_str());
    std::fclose(file);
}

void console_execute_unrecorded(const char* line) {
    unrecorded_depth++;
    console_execute(line);
    unrecorded_depth--;
}

void console_exec_script_unrecorded(const char* file_name) {
    unrecorded_depth++;
    console_exec_script(file_name);
    unrecorded_depth--;
}

ScriptLine console_read_line(std::FILE* file, std::string* line) {
    line->clear();
    bool overflow = false;
    int c;
    while ((c = std::fgetc(file)) != EOF) {
        // Room for the longest line that fits and its line break; the rest
        // of a longer line is read past, not kept.
        if (line->size() < CONSOLE_LINE_SIZE + 1)
            line->push_back(static_cast<char>(c));
        else
            overflow = true;
        if (c == '\n') break;
    }
    if (c == EOF && std::ferror(file)) return SCRIPT_LINE_ERROR;
    if (overflow || console_line_too_long(line->c_str())) {
        line->clear();
        return SCRIPT_LINE_TOO_LONG;
    }
    return SCRIPT_LINE_READ;
}

void console_run_script(std::FILE* file, const char* name) {
    console_print("Executing script");
    script_depth++;
    std::string line;
    // The read that meets the end of the file leaves the line empty and that
    // empty line runs too. A read error ends the script instead of
    // repeating forever. A line too long to run is refused whole, so no
    // piece of it runs as a command of its own.
    for (int number = 1; !std::feof(file); number++) {
        ScriptLine read = console_read_line(file, &line);
        if (read == SCRIPT_LINE_ERROR) break;
        if (read == SCRIPT_LINE_TOO_LONG)
            console_print_errorf("%s:%d: line longer than %d characters, not run", name, number,
                                 CONSOLE_LINE_SIZE - 1);
        else
            console_execute(line.c_str());
    }
    script_depth--;
}
