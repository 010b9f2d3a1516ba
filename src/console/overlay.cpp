// Console overlay: owns visibility and fade, the typed line, the history ring
// of executed lines, and draws the translucent panel with the last lines of
// the output buffer.
#include "console/overlay.h"

#include "app/clock.h"
#include "app/input.h"
#include "console/font.h"
#include "console/output.h"
#include "console/registry.h"

#include <cstdio>
#include <cstring>

bool console_visible = false;
float console_fade = 0.0f;

static char history[HISTORY_SIZE][CONSOLE_LINE_SIZE];
static int history_count = 0;
static int history_cursor = 0; // 0: nothing recalled; the next Up gives the newest line
static char input_line[CONSOLE_LINE_SIZE];
static int input_length = 0;

static const int PANEL_ROWS = 21;
static const int BOTTOM_ROW = 20;

void console_overlay_reset() {
    console_visible = false;
    console_fade = 0.0f;
}

void console_history_clear() {
    std::memset(history, 0, sizeof history);
}

void console_history_add(const char* line) {
    history_cursor = 0;
    if (history_count < HISTORY_SIZE) {
        std::snprintf(history[history_count], CONSOLE_LINE_SIZE, "%s", line);
        history_count++;
        return;
    }
    std::memmove(history[0], history[1], (HISTORY_SIZE - 1) * sizeof history[0]);
    std::snprintf(history[HISTORY_SIZE - 1], CONSOLE_LINE_SIZE, "%s", line);
}

static const char* history_at_cursor() {
    if (history_cursor == 0) return "";
    return history[history_count - history_cursor];
}

const char* console_history_older() {
    if (history_cursor + 1 <= history_count) history_cursor++;
    return history_at_cursor();
}

const char* console_history_newer() {
    if (history_cursor - 1 >= 0) history_cursor--;
    return history_at_cursor();
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

static void clear_input() {
    std::memset(input_line, 0, sizeof input_line);
    input_length = 0;
}

void console_char(int code) {
    if (!console_visible) return;
    switch (code) {
    case 8: // backspace
        if (input_length > 0) input_length--;
        input_line[input_length] = '\0';
        console_show_input(input_line);
        break;
    case 9:  // tab
    case 10: // line feed
        break;
    case 13: { // Enter: the echo takes the typed line's slot
        char line[CONSOLE_LINE_SIZE];
        std::memcpy(line, input_line, sizeof line);
        clear_input();
        console_execute(line);
        break;
    }
    case 27: // escape: cleared, but the old text stays shown until the next change
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
    scroll_offset = 0;
    console_visible = !console_visible;
}

bool console_is_visible() {
    return console_visible;
}

void console_scroll_up() {
    if (scroll_offset + 1 <= line_count) scroll_offset++;
}

void console_scroll_down() {
    if (scroll_offset - 1 >= 0) scroll_offset--;
}

const char* console_input_line() {
    return input_line;
}

void console_frame() {
    if (key_was_pressed(VK_INSERT)) console_toggle();
    if (key_is_down(VK_NEXT)) console_scroll_down();
    if (key_is_down(VK_PRIOR)) console_scroll_up();
    if (console_visible) {
        console_fade += frame_time * 0.001f;
        if (console_fade > 1.0f) console_fade = 1.0f;
        console_draw();
    } else {
        console_fade -= frame_time * 0.001f;
        if (console_fade < 0.0f) console_fade = 0.0f;
        if (console_fade > 0.0f) console_draw();
    }
}

static void set_line_color(char first) {
    if (first == '>')
        text_set_color(1.0f, 1.0f, 1.0f);
    else if (first == '!')
        text_set_color(1.0f, 0.5f, 0.5f);
    else
        text_set_color(0.5f, 1.0f, 0.5f);
}

void console_draw() {
    text_set_alpha(console_fade * 0.7f);
    text_set_color(0.0f, 0.0f, 0.3f);
    overlay_fill_rect(0, 50, 0, PANEL_ROWS);

    text_set_alpha(console_fade);
    text_set_color(1.0f, 1.0f, 1.0f);
    if (scroll_offset == 0) text_draw(">", 0, BOTTOM_ROW);

    // The newest visible slot on the bottom row, older ones above it.
    int slot = line_count - scroll_offset;
    for (int row = BOTTOM_ROW; row >= 0 && slot >= 0; row--, slot--) {
        set_line_color(output_lines[slot][0]);
        text_draw(output_lines[slot], 0, row);
    }
}
