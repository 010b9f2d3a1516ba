// Built-in console commands: owns the "save_to_log" setting and the
// handlers of "?", "cmdlist", "varlist", "exec" and "help"; "toggle_console"
// and "cls" are the editor's and the output's own functions.
#include "console/builtins.h"

#include "console/editor.h"
#include "console/history.h"
#include "console/output.h"
#include "console/registry.h"

#include <string>

static ConsoleVariable* save_to_log = nullptr;

// save_to_log is about this run's log, which every run starts anew from its
// first line: a 0 carried over would silently stop the next run's log.
static const SettingRow SETTINGS[] = {
    {.variable = &save_to_log,
     .name = "save_to_log",
     .default_value = 1.0f,
     .saved = false,
     .help = "append every console line to log.txt (started anew each run)"},
};

static void command_help() {
    console_print("Press PgUp / PgDown to move");
    console_print("Press Up / Down to getback input");
    console_print("type cmdlist to list all commands");
    console_print("type varlist to list all variables");
    console_print("type exec [scriptname] to execute a script");
    console_print("type help [name] to learn about a variable");
}

static void command_cmdlist() {
    console_print("  =[Registred functions]=");
    for (const ConsoleCommand* c = console_commands(); c; c = c->next)
        console_print(c->name);
}

static void command_varlist() {
    console_print("  =[Registred variables]=");
    for (const ConsoleVariable* v = console_variables(); v; v = v->next)
        console_print(v->name);
}

static void command_exec() {
    if (console_arg_count() < 1) {
        console_print_error("usage: exec [scriptname]");
        return;
    }
    // The argument vector is replaced by the script's own lines: keep the name.
    std::string file_name = console_arg(0);
    console_exec_script(file_name.c_str());
}

// "0 to 1000", "at least 10", "none"; whole-number settings say so.
static std::string limits_text(const SettingRow& row) {
    char low[CONSOLE_NAME_SIZE], high[CONSOLE_NAME_SIZE];
    console_format_value(row.min_value, low, sizeof low);
    console_format_value(row.max_value, high, sizeof high);
    bool has_low = row.min_value > -NO_LIMIT, has_high = row.max_value < NO_LIMIT;
    std::string text = has_low && has_high ? std::string(low) + " to " + high
                       : has_low           ? std::string("at least ") + low
                       : has_high          ? std::string("at most ") + high
                                           : "none";
    if (row.whole_numbers) text += ", whole numbers";
    return text;
}

// A variable's row: its help line, then its default, limits and value.
static void print_setting(const ConsoleVariable* variable) {
    const SettingRow& row = *variable->row;
    char default_value[CONSOLE_NAME_SIZE], value[CONSOLE_NAME_SIZE];
    console_format_value(row.default_value, default_value, sizeof default_value);
    console_format_value(variable->value, value, sizeof value);
    console_printf("%s: %s", variable->name, row.help);
    console_printf("  default %s, limits %s, now %s%s", default_value, limits_text(row).c_str(),
                   value, row.saved ? "" : ", not kept in config.cfg");
}

static void command_help_on() {
    if (console_arg_count() < 1) {
        console_print_error("usage: help [name]");
        return;
    }
    std::string name = console_arg(0);
    // A variable hides a command of the same name, as it does on a line.
    if (const ConsoleVariable* variable = console_find_variable(name.c_str()))
        print_setting(variable);
    else if (console_find_command(name.c_str()))
        console_printf("%s is a command (cmdlist lists them)", name.c_str());
    else
        console_print_errorf("help: no variable or command named %s", name.c_str());
}

bool console_init() {
    if (!console_output_init()) return false;
    console_history_clear();
    console_overlay_reset();
    console_add_command("toggle_console", console_toggle);
    console_add_command("cls", console_clear);
    console_add_settings(SETTINGS);
    console_log_follow(&save_to_log->value);
    console_add_command("?", command_help);
    console_add_command("cmdlist", command_cmdlist);
    console_add_command("varlist", command_varlist);
    console_add_command("exec", command_exec);
    console_add_command("help", command_help_on);
    return true;
}
