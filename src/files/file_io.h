// Whole files in and out: reading a file into memory, and replacing a file
// through a temporary name and a rename. Reports problems as text for the
// caller to print; prints nothing itself.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file into *bytes. False when it cannot be opened or read;
// *bytes is then unspecified and *reason, when given, says why ("No such
// file or directory").
bool read_whole_file(const char* path, std::vector<uint8_t>* bytes, std::string* reason = nullptr);

// Why the file cannot be opened for reading ("Permission denied"), or empty
// when it can: for readers whose library only says that it failed.
std::string file_open_problem(const char* path);

// Replaces the file by the text. The text goes to PATH.tmp first, which is
// then renamed over the file, so a crash while writing leaves the old file or
// the new one, never half of one. On failure the old file is untouched, no
// PATH.tmp is left behind and *reason says why ("No space left on device").
bool replace_file(const char* path, const std::string& text, std::string* reason);

// Removes the file when it exists (a missing file is no failure).
bool remove_file(const char* path, std::string* reason);
