// Writing the data tool's files: every file goes under a temporary name and
// is renamed into place only when it is complete, so a failed run never
// leaves a half-written file for the game to load.
#pragma once

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <span>
#include <stdexcept>
#include <string>
#include <system_error>

// Opens the temporary file, lets write fill it (it returns false with a
// reason when it cannot), closes it and renames it into place. Throws
// std::runtime_error("cannot write FILE: REASON") on any failure.
inline void write_file_through(const std::filesystem::path& file,
                               const std::function<bool(std::FILE*, std::string*)>& write) {
    std::filesystem::path temporary = file;
    temporary += ".tmp";
    auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw std::runtime_error("cannot write " + file.string() + ": " + reason);
    };
    std::FILE* out = std::fopen(temporary.string().c_str(), "wb");
    if (!out) fail(std::system_category().message(errno));
    std::string reason;
    bool written = write(out, &reason);
    // fclose flushes, so a full disk may only show up here.
    bool closed = std::fclose(out) == 0;
    if (!written || !closed) fail(written ? std::system_category().message(errno) : reason);
    std::error_code renamed;
    std::filesystem::rename(temporary, file, renamed);
    if (renamed) fail(renamed.message());
}

inline void write_file_bytes(const std::filesystem::path& file, std::span<const uint8_t> bytes) {
    write_file_through(file, [&](std::FILE* out, std::string* reason) {
        // An empty span may have no data pointer, which fwrite must not see.
        if (bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size())
            return true;
        *reason = std::system_category().message(errno);
        return false;
    });
}
