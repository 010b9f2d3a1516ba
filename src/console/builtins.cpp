// Built-in console commands: owns the "save_to_log" variable and the
// handlers of "?", "cmdlist", "varlist" and "exec"; "toggle_console" and
// "cls" are the editor's and the output's own functions.
#include "console/builtins.h"

#include "console/editor.h"
#include "console/history.h"
#include "console/output.h"
#include "console/registry.h"

#include <string>

// save_to_log is about this run's log, which every run starts anew from its
// first line: a 0 carried over would silently stop the next run's log.
static const bool LOG_SETTING_SAVED = false;

static void command_help() {
    console_print("Press PgUp / PgDown to move");
    console_print("Press Up / Down to getback input");
    console_print("type cmdlist to list all commands");
    console_print("type varlist to list all variables");
    console_print("type exec [scriptname] to execute a script");
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

bool console_init() {
    if (!console_output_init()) return false;
    console_history_clear();
    console_overlay_reset();
    console_add_command("toggle_console", console_toggle);
    console_add_command("cls", console_clear);
    console_log_follow(&console_get_variable("save_to_log", 1.0f, LOG_SETTING_SAVED)->value);
    console_add_command("?", command_help);
    console_add_command("cmdlist", command_cmdlist);
    console_add_command("varlist", command_varlist);
    console_add_command("exec", command_exec);
    return true;
}
