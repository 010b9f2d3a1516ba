// Key bindings on the console: the commands bind, unbind and bindlist over
// the action layer's key table, the config.cfg lines that keep bindings
// differing from today's controls, and the console lines bound keys run.
#pragma once

#include <string>

// Registers "bind", "unbind" and "bindlist".
void bindings_init();

// One line per key whose binding differs from the defaults, in key order:
// "bind KEY ACTION", "bind KEY \"LINE\"" or "unbind KEY".
std::string bindings_config_text();

// Runs the console line of every key bound to one that went down this frame
// (and is not typing into the open console).
void bindings_run_lines();
