// Tab completion: owns no state. The first word is matched against the
// command list, then the variable list, newest first as cmdlist and varlist
// show them; after "bind " or "unbind " the key names (any case), and after
// "bind KEY " the action names.
#include "console/completion.h"

#include "console/output.h"
#include "console/registry.h"
#include "console/words.h"
#include "input/actions.h"
#include "input/key_names.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

static bool starts_with(const char* name, const std::string& word, bool any_case) {
    return any_case ? strncasecmp(name, word.c_str(), word.size()) == 0
                    : std::strncmp(name, word.c_str(), word.size()) == 0;
}

// The candidates that begin with the word, each name once.
static std::vector<const char*> names_beginning_with(const std::vector<const char*>& candidates,
                                                     const std::string& word, bool any_case) {
    std::vector<const char*> names;
    for (const char* name : candidates) {
        if (!starts_with(name, word, any_case)) continue;
        bool known = false;
        for (const char* n : names)
            known = known || std::strcmp(n, name) == 0;
        if (!known) names.push_back(name);
    }
    return names;
}

static std::vector<const char*> command_and_variable_names() {
    std::vector<const char*> names;
    for (const ConsoleCommand* c = console_commands(); c; c = c->next)
        names.push_back(c->name);
    for (const ConsoleVariable* v = console_variables(); v; v = v->next)
        names.push_back(v->name);
    return names;
}

static std::vector<const char*> key_names() {
    std::vector<const char*> names;
    for (int i = 0; i < key_name_count(); i++)
        names.push_back(key_name_at(i));
    return names;
}

static std::vector<const char*> action_names() {
    std::vector<const char*> names;
    for (int a = 0; a < ACTION_COUNT; a++)
        names.push_back(action_name(static_cast<Action>(a)));
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

// The names separated by blanks on one console line, where names that
// would not fit in 255 characters are left out; or, with wrap, on as many
// lines as they take.
static void print_names(const std::vector<const char*>& names, bool wrap) {
    std::string line;
    for (const char* name : names) {
        size_t length = line.size() + (line.empty() ? 0 : 1) + std::strlen(name);
        if (length >= CONSOLE_LINE_SIZE) {
            if (!wrap) break;
            console_print(line.c_str());
            line.clear();
        }
        if (!line.empty()) line += ' ';
        line += name;
    }
    console_print(line.c_str());
}

// The typed line's last word, which starts at `word`, completed from the
// candidates; the text before it is kept as typed. Key and action names
// (any_case) are few enough to be listed whole.
static bool complete_word(const char* typed, const char* word,
                          const std::vector<const char*>& candidates, bool any_case,
                          char* completed, int size) {
    std::string before(typed, word);
    std::vector<const char*> names = names_beginning_with(candidates, word, any_case);
    if (names.empty()) return false;
    std::string line;
    if (names.size() == 1) {
        line = before + names[0] + " ";
    } else {
        print_names(names, any_case);
        std::string prefix = common_prefix(names);
        // A prefix that differs only in case from the typed word keeps the typed word.
        line = before + (prefix.size() > std::strlen(word) ? prefix : std::string(word));
    }
    std::snprintf(completed, static_cast<size_t>(size), "%s", line.c_str());
    return true;
}

// The words of a typed line: where each starts, and whether the line ends
// right after the last one (it is being typed) or with blanks (a new word
// is due, empty so far).
static std::vector<const char*> word_starts(const char* typed) {
    std::vector<const char*> starts;
    const char* p = skip_blanks(typed);
    while (*p) {
        starts.push_back(p);
        p = skip_blanks(word_end(p));
    }
    if (p != typed && (starts.empty() || word_end(starts.back()) != p)) starts.push_back(p);
    return starts;
}

bool console_complete(const char* typed, char* completed, int size) {
    std::vector<const char*> words = word_starts(typed);
    if (words.empty()) return false;
    if (words.size() == 1) {
        if (*words[0] == '\0') return false;
        // Blanks before the first word are dropped.
        return complete_word(words[0], words[0], command_and_variable_names(), false, completed,
                             size);
    }
    std::string command(words[0], word_end(words[0]));
    bool bind = command == "bind", unbind = command == "unbind";
    if ((bind || unbind) && words.size() == 2)
        return complete_word(typed, words[1], key_names(), true, completed, size);
    if (bind && words.size() == 3 && *words[2] != '"')
        return complete_word(typed, words[2], action_names(), true, completed, size);
    return false;
}
