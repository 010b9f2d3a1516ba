// Console line input: owns visibility and fade and the typed line; Up and
// Down walk the history (console/history).
#include "console/editor.h"

#include "console/completion.h"
#include "console/history.h"
#include "console/output.h"
#include "console/registry.h"
#include "input/actions.h"
#include "input/input.h"

#include <cstdio>
#include <cstring>

static bool console_visible = false;
static float fade = 0.0f; // opacity 0 .. 1

static char input_line[CONSOLE_LINE_SIZE];
static int input_length = 0;

void console_overlay_reset() {
    console_visible = false;
    fade = 0.0f;
    actions_console_open(false);
}

static void set_input(const char* text) {
    std::memset(input_line, 0, sizeof input_line);
    std::snprintf(input_line, sizeof input_line, "%s", text);
    input_length = static_cast<int>(std::strlen(input_line));
    console_show_input(input_line);
}

void console_key_down(int key) {
    if (!console_visible) return;
    if (key == VK_UP)
        set_input(console_history_older());
    else if (key == VK_DOWN)
        set_input(console_history_newer());
}

// Tab: the typed line's first word completed; the line is shown again, also
// when the matching names were printed over its place.
static void complete_input() {
    char completed[CONSOLE_LINE_SIZE];
    if (console_complete(input_line, completed, sizeof completed)) set_input(completed);
}

static void clear_input() {
    std::memset(input_line, 0, sizeof input_line);
    input_length = 0;
}

void console_char(int code) {
    if (!console_visible) return;
    switch (code) {
    case VK_BACK:
        if (input_length > 0) input_length--;
        input_line[input_length] = '\0';
        console_show_input(input_line);
        break;
    case VK_TAB: complete_input(); break;
    case '\n': break; // line feed
    case VK_RETURN: { // Enter: the echo takes the typed line's slot
        char line[CONSOLE_LINE_SIZE];
        std::memcpy(line, input_line, sizeof line);
        clear_input();
        console_execute(line);
        break;
    }
    case VK_ESCAPE: // cleared, but the old text stays shown until the next change
        clear_input();
        break;
    default:
        if (input_length >= CONSOLE_LINE_SIZE - 1) break; // the line is full
        input_line[input_length] = static_cast<char>(code);
        console_show_input(input_line);
        input_length++;
        break;
    }
}

void console_toggle() {
    console_scroll_back(-scroll_offset());
    console_visible = !console_visible;
    actions_console_open(console_visible); // its typing keys stop acting in the game
}

bool console_is_visible() {
    return console_visible;
}

float console_fade() {
    return fade;
}

void console_fade_step(float elapsed_ms) {
    fade += (console_visible ? elapsed_ms : -elapsed_ms) * 0.001f;
    fade = fade > 1.0f ? 1.0f : fade < 0.0f ? 0.0f : fade;
}

void console_scroll_up() {
    console_scroll_back(1);
}

void console_scroll_down() {
    console_scroll_back(-1);
}

const char* console_input_line() {
    return input_line;
}
