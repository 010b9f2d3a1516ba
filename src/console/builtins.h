// The console's own commands and its one variable, and the one call that
// starts the console: output, history, the hidden panel and those commands.
#pragma once

// Empties the output and deletes the previous log.txt, clears the history,
// hides the console, then registers "toggle_console", "cls", "save_to_log",
// "?", "cmdlist", "varlist", "exec" and "help", in that order.
bool console_init();
