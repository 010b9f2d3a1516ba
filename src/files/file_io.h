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

// Replaces the file by the text. The text goes to a temporary file beside the
// file (PATH.tmp), which is flushed to the disk and then renamed over the
// file, so a crash or a power cut leaves the old file or the new one, never
// half of one. A symlink stays: the file it leads to is the one replaced
// (TARGET.tmp in the target's folder). The new file keeps the old one's mode
// bits; a new file gets the usual ones (0666 less the umask). On failure the
// old file is untouched, no temporary file is left behind and *reason says
// why ("No space left on device"; through a symlink with the target's path).
bool replace_file(const char* path, const std::string& text, std::string* reason);

// Whether replace_file could write the file now: makes its temporary file
// and removes it again. False with the reason when it could not.
bool check_file_replaceable(const char* path, std::string* reason);

// Removes the file when it exists (a missing file is no failure). A symlink
// stays and the file it leads to is emptied instead, so a link the player
// made keeps pointing where he chose.
bool remove_file(const char* path, std::string* reason);
