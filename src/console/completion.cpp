// Tab completion: owns no state; matches the typed word against the command
// list, then the variable list, newest first as cmdlist and varlist show them.
#include "console/completion.h"

#include "console/output.h"
#include "console/registry.h"
#include "console/words.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

static bool starts_with(const char* name, const std::string& word) {
    return std::strncmp(name, word.c_str(), word.size()) == 0;
}

// Every name that begins with the word, a name that is both a command and a
// variable only once.
static std::vector<const char*> names_beginning_with(const std::string& word) {
    std::vector<const char*> names;
    auto add = [&names, &word](const char* name) {
        if (!starts_with(name, word)) return;
        for (const char* known : names)
            if (std::strcmp(known, name) == 0) return;
        names.push_back(name);
    };
    for (const ConsoleCommand* c = console_commands(); c; c = c->next)
        add(c->name);
    for (const ConsoleVariable* v = console_variables(); v; v = v->next)
        add(v->name);
    return names;
}

static std::string common_prefix(const std::vector<const char*>& names) {
    std::string prefix = names[0];
    for (const char* name : names) {
        size_t same = 0;
        while (same < prefix.size() && name[same] == prefix[same])
            same++;
        prefix.resize(same);
    }
    return prefix;
}

// The names on one console line, separated by blanks; names that would not
// fit in 255 characters are left out.
static void print_names(const std::vector<const char*>& names) {
    std::string line;
    for (const char* name : names) {
        size_t length = line.size() + (line.empty() ? 0 : 1) + std::strlen(name);
        if (length >= CONSOLE_LINE_SIZE) break;
        if (!line.empty()) line += ' ';
        line += name;
    }
    console_print(line.c_str());
}

bool console_complete(const char* typed, char* completed, int size) {
    const char* start = skip_blanks(typed);
    const char* end = word_end(start);
    if (*end != '\0' || end == start) return false;
    std::string word(start, end);
    std::vector<const char*> names = names_beginning_with(word);
    if (names.empty()) return false;
    if (names.size() == 1) {
        std::snprintf(completed, static_cast<size_t>(size), "%s ", names[0]);
        return true;
    }
    print_names(names);
    std::snprintf(completed, static_cast<size_t>(size), "%s", common_prefix(names).c_str());
    return true;
}
