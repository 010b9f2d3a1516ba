// Tab completion: the first word of the typed line completed against the
// names of the registered commands and variables; the key after "bind" or
// "unbind" against the key names, and the action after "bind KEY" against
// the action names.
#pragma once

// Completes the typed line into `completed` (at least 256 bytes). One
// matching name replaces the word, followed by a blank; several are printed
// on one line, in the order the registry (or the key table) lists them, and
// the word becomes their longest common prefix. Key and action names match
// in any case. True when `completed` holds a new line to show; false
// (nothing printed) when no name matches, the first word is empty, or the
// word being typed is not one that completes. An empty key or action word
// lists them all.
bool console_complete(const char* typed, char* completed, int size);
