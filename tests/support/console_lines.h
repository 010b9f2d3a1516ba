// Reading back what the console printed and what reached log.txt.
#pragma once

#include "console/output.h"

#include <fstream>
#include <string>
#include <vector>

inline std::vector<std::string> printed_lines() {
    std::vector<std::string> lines;
    for (int i = 0; i < line_count(); i++)
        lines.emplace_back(output_line(i));
    return lines;
}

inline std::string last_line() {
    return line_count() > 0 ? output_line(line_count() - 1) : "";
}

inline std::vector<std::string> log_lines(const char* path = "log.txt") {
    std::vector<std::string> lines;
    std::ifstream file(path);
    for (std::string line; std::getline(file, line);)
        lines.push_back(line);
    return lines;
}

// Lines printed since a mark taken with line_count.
inline std::vector<std::string> lines_since(int mark) {
    std::vector<std::string> lines;
    for (int i = mark; i < line_count(); i++)
        lines.emplace_back(output_line(i));
    return lines;
}
