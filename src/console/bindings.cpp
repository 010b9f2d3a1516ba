// Key bindings: owns no state (the table is the action layer's); parses and
// shows bindings, writes their config lines and runs bound console lines.
// Escape (quit) and Enter (start, run the typed line) are the game's fixed
// keys and are never bound; F10 never reaches the game.
#include "console/bindings.h"

#include "console/output.h"
#include "console/registry.h"
#include "console/words.h"
#include "input/actions.h"
#include "input/input.h"
#include "input/key_names.h"

#include <cstring>
#include <strings.h>

static const int KEY_COUNT = 256;
static const int SHOWN_WORD = 32; // longest piece of a bad word an error line repeats

static bool fixed_key(int vk) {
    return vk == VK_ESCAPE || vk == VK_RETURN || vk == VK_F10;
}

static const char* fixed_key_reason(int vk) {
    if (vk == VK_ESCAPE) return "ESCAPE quits the game and cannot be bound";
    if (vk == VK_RETURN)
        return "ENTER runs the typed console line and starts a new game, and cannot be bound";
    return "F10 is kept by the system and cannot be bound";
}

// The key a player named, or -1 with the reason printed.
static int bindable_key(const std::string& word) {
    int vk = key_of_name(word.c_str());
    if (vk < 0) {
        console_print_errorf("Unknown key %.*s (after bind, Tab lists the key names)", SHOWN_WORD,
                             word.c_str());
        return -1;
    }
    if (fixed_key(vk)) {
        console_print_error(fixed_key_reason(vk));
        return -1;
    }
    return vk;
}

static int action_of_any_case(const std::string& word) {
    for (int a = 0; a < ACTION_COUNT; a++)
        if (strcasecmp(action_name(static_cast<Action>(a)), word.c_str()) == 0) return a;
    return -1;
}

static std::string action_names_listed() {
    std::string names;
    for (int a = 0; a < ACTION_COUNT; a++) {
        names += action_name(static_cast<Action>(a));
        names += ", ";
    }
    return names;
}

// "UPARROW : forward", "F5 : \"videomode 640x480x32\"", "W : not bound".
static void show_binding(int vk) {
    const char* line = key_bound_line(vk);
    int action = key_action(vk);
    if (line[0])
        console_printf("%s : \"%s\"", key_name(vk), line);
    else if (action >= 0)
        console_printf("%s : %s", key_name(vk), action_name(static_cast<Action>(action)));
    else
        console_printf("%s : not bound", key_name(vk));
}

static bool key_is_bound(int vk) {
    return key_action(vk) >= 0 || key_bound_line(vk)[0] != '\0';
}

static void print_bind_usage() {
    console_print_error("usage: bind KEY [ACTION | \"console line\"]");
}

// `"LINE"` after the key: the text up to the closing quote, nothing after it.
static void bind_quoted_line(int vk, const char* quoted) {
    const char* start = quoted + 1;
    const char* close = std::strchr(start, '"');
    if (!close) {
        console_print_errorf("The console line for %s has no closing \"", key_name(vk));
        return;
    }
    if (*skip_blanks(close + 1) != '\0') {
        print_bind_usage();
        return;
    }
    std::string line(start, close);
    if (*skip_blanks(line.c_str()) == '\0') {
        console_print_errorf("The console line for %s is empty", key_name(vk));
        return;
    }
    // config.cfg must be able to hold the binding as one console line.
    size_t saved_length = std::strlen("bind ") + std::strlen(key_name(vk)) + 3 + line.size();
    if (saved_length >= CONSOLE_LINE_SIZE) {
        console_print_errorf("The console line for %s is too long to keep", key_name(vk));
        return;
    }
    key_bind_line(vk, line.c_str());
}

static void bind_action_word(int vk, const char* text) {
    const char* end = word_end(text);
    std::string word(text, end);
    if (*skip_blanks(end) != '\0') {
        console_print_errorf("Unknown action %.*s: put a console line in double quotes", SHOWN_WORD,
                             word.c_str());
        return;
    }
    int action = action_of_any_case(word);
    if (action < 0) {
        console_print_errorf("Unknown action %.*s: bind a key to %sor to a console line in "
                             "double quotes",
                             SHOWN_WORD, word.c_str(), action_names_listed().c_str());
        return;
    }
    key_bind_action(vk, action);
}

static void command_bind() {
    const char* key_start = skip_blanks(console_arg_text());
    const char* key_end = word_end(key_start);
    if (key_end == key_start) {
        print_bind_usage();
        return;
    }
    int vk = bindable_key(std::string(key_start, key_end));
    if (vk < 0) return;
    const char* what = skip_blanks(key_end);
    if (*what == '\0')
        show_binding(vk);
    else if (*what == '"')
        bind_quoted_line(vk, what);
    else
        bind_action_word(vk, what);
}

static void command_unbind() {
    if (console_arg_count() < 1 || console_arg(0)[0] == '\0') {
        console_print_error("usage: unbind KEY");
        return;
    }
    int vk = bindable_key(console_arg(0));
    if (vk >= 0) key_bind_action(vk, -1);
}

static void command_bindlist() {
    console_print("  =[Bound keys]=");
    for (int vk = 0; vk < KEY_COUNT; vk++)
        if (key_name(vk) && key_is_bound(vk)) show_binding(vk);
}

void bindings_init() {
    console_add_command("bind", command_bind);
    console_add_command("unbind", command_unbind);
    console_add_command("bindlist", command_bindlist);
}

static bool differs_from_default(int vk) {
    return key_bound_line(vk)[0] != '\0' || key_action(vk) != key_default_action(vk);
}

std::string bindings_config_text() {
    std::string text;
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        const char* name = key_name(vk);
        if (!name || fixed_key(vk) || !differs_from_default(vk)) continue;
        int action = key_action(vk);
        if (key_bound_line(vk)[0])
            text += std::string("bind ") + name + " \"" + key_bound_line(vk) + "\"\n";
        else if (action >= 0)
            text +=
                std::string("bind ") + name + " " + action_name(static_cast<Action>(action)) + "\n";
        else
            text += std::string("unbind ") + name + "\n";
    }
    return text;
}

void bindings_run_lines() {
    for (int vk = 0; vk < KEY_COUNT; vk++) {
        if (!key_went_down(vk) || !key_acts(vk) || key_bound_line(vk)[0] == '\0') continue;
        std::string line = key_bound_line(vk); // the line may bind the key anew
        console_execute_unrecorded(line.c_str());
    }
}
