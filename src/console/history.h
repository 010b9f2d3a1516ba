// Console history: the last 32 executed lines, oldest first, and the
// cursor of Up and Down over them. history.txt keeps them between runs
// (console/persist).
#pragma once

constexpr int HISTORY_SIZE = 32;

// Zeroes all history slots; the counters are left as they are.
void console_history_clear();

void console_history_add(const char* line);
const char* console_history_older();
const char* console_history_newer();
// The executed lines held, oldest first: index 0 .. console_history_count() - 1.
int console_history_count();
const char* console_history_line(int index);
