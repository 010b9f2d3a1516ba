// A file held open for the length of a scope and closed on every way out of
// it, for every reader of the game's files.
#pragma once

#include <cstdio>

class OpenFile {
  public:
    // mode as for fopen: "rb" for bytes, "r" for text. file() is null when
    // the file could not be opened.
    explicit OpenFile(const char* name, const char* mode = "rb") : file_(std::fopen(name, mode)) {}
    ~OpenFile() {
        if (file_) std::fclose(file_);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    std::FILE* file() const { return file_; }

  private:
    std::FILE* file_;
};
