// Tab completion: the first word of the typed line completed against the
// names of the registered commands and variables.
#pragma once

// Completes the typed line into `completed` (at least 256 bytes). One
// matching name replaces the word, followed by a blank; several are printed
// on one line, in the order the registry lists them, and the word becomes
// their longest common prefix. True when `completed` holds a new line to
// show; false (nothing printed) when no name matches, the word is empty or
// the first word is already followed by more text.
bool console_complete(const char* typed, char* completed, int size);
