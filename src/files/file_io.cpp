// Whole files in and out: owns nothing between calls; reads files whole and
// writes them whole through a temporary file and a rename.
#include "files/file_io.h"

#include "open_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

// errno's reason, when the caller asked for one; always false.
static bool failed_with_errno(std::string* reason) {
    if (reason) *reason = std::strerror(errno);
    return false;
}

bool read_whole_file(const char* path, std::vector<uint8_t>* bytes, std::string* reason) {
    OpenFile open_file(path);
    if (!open_file.file()) return failed_with_errno(reason);
    bytes->clear();
    uint8_t buffer[4096];
    for (;;) {
        size_t count = std::fread(buffer, 1, sizeof buffer, open_file.file());
        bytes->insert(bytes->end(), buffer, buffer + count);
        if (count == sizeof buffer) continue;
        if (std::ferror(open_file.file())) return failed_with_errno(reason); // a folder, say
        return true;
    }
}

std::string file_open_problem(const char* path) {
    OpenFile open_file(path);
    if (open_file.file()) return {};
    return std::strerror(errno);
}

// Writes the whole text and closes the file; errno's reason on failure.
static bool write_and_close(std::FILE* file, const std::string& text, std::string* reason) {
    bool ok =
        std::fwrite(text.data(), 1, text.size(), file) == text.size() && std::fflush(file) == 0;
    if (!ok) *reason = std::strerror(errno);
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        *reason = std::strerror(errno);
    }
    return ok;
}

bool replace_file(const char* path, const std::string& text, std::string* reason) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* file = std::fopen(temporary.c_str(), "w");
    if (!file) {
        *reason = std::strerror(errno);
        return false;
    }
    if (!write_and_close(file, text, reason)) {
        std::remove(temporary.c_str());
        return false;
    }
    std::error_code error;
    fs::rename(temporary, path, error);
    if (error) {
        std::remove(temporary.c_str());
        *reason = error.message();
        return false;
    }
    return true;
}

bool remove_file(const char* path, std::string* reason) {
    std::error_code error;
    fs::remove(path, error);
    if (!error) return true;
    *reason = error.message();
    return false;
}
