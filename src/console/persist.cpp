// Files kept between runs: owns nothing but the console's word on writing
// them (the file I/O unit does the writing) and the history file's line
// format.
#include "console/persist.h"

#include "console/history.h"
#include "console/output.h"
#include "files/file_io.h"

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

bool write_file_replacing(const char* path, const std::string& text) {
    std::string reason;
    if (replace_file(path, text, &reason)) return true;
    console_print_errorf("Can't write %s: %s", path, reason.c_str());
    return false;
}

bool remove_file_if_present(const char* path) {
    std::string reason;
    if (remove_file(path, &reason)) return true;
    console_print_errorf("Can't remove %s: %s", path, reason.c_str());
    return false;
}

// One history entry as one text line: the trailing line break of a script
// line goes, any other line break becomes a blank.
static std::string history_text_line(const char* line) {
    std::string text = line;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    for (char& c : text)
        if (c == '\n' || c == '\r') c = ' ';
    return text;
}

bool console_history_save(const char* path) {
    std::string text;
    for (int i = 0; i < console_history_count(); i++) {
        std::string line = history_text_line(console_history_line(i));
        if (!line.empty()) text += line + "\n";
    }
    if (text.empty()) return remove_file_if_present(path);
    return write_file_replacing(path, text);
}

// Reads the rest of an over-long line, so the next read starts a new line.
static void skip_rest_of_line(std::FILE* file) {
    int c;
    while ((c = std::fgetc(file)) != EOF && c != '\n') {
    }
}

void console_history_load(const char* path) {
    std::error_code error;
    if (!fs::exists(path, error)) return;
    // Only plain files: a folder reads nothing and a device may never end.
    std::FILE* file = fs::is_regular_file(path, error) ? std::fopen(path, "r") : nullptr;
    if (!file) {
        console_print_errorf("Can't read %s", path);
        return;
    }
    console_history_read(file);
    std::fclose(file);
}

void console_history_read(std::FILE* file) {
    char buffer[CONSOLE_LINE_SIZE];
    while (std::fgets(buffer, sizeof buffer, file)) {
        size_t length = std::strlen(buffer);
        bool whole_line = length > 0 && buffer[length - 1] == '\n';
        if (!whole_line && length == sizeof buffer - 1) skip_rest_of_line(file);
        std::string line = history_text_line(buffer);
        if (!line.empty()) console_history_add(line.c_str());
    }
}
