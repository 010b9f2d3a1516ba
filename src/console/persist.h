// Files that outlive a run: replacing or removing one with its failure said
// on the console, and the console history kept in a text file between runs.
#pragma once

#include <cstdio>
#include <string>

// Replaces the file by the text. The text goes to PATH.tmp first, which is
// then renamed over the file, so a crash while writing leaves the old file or
// the new one, never half of one. A failure prints its reason
// ("Can't write config.cfg: No space left on device") and gives false.
bool write_file_replacing(const char* path, const std::string& text);
// Removes the file when it exists; a failure prints its reason.
bool remove_file_if_present(const char* path);

// Writes the executed lines of the history, oldest first, one per text line;
// the line break a script line was read with is dropped. With no lines the
// file is removed.
bool console_history_save(const char* path);
// Adds every non-empty line of the file to the history, in order; the last
// 32 stay. A missing file adds nothing; a line longer than 255 characters is
// cut there.
void console_history_load(const char* path);
// The same for a file already open; the caller closes it.
void console_history_read(std::FILE* file);
