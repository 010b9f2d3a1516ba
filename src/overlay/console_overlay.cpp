// Console overlay: reads Page Up / Down, moves
// the fade, and draws the panel with the output lines coloured by the first
// character of their line and wrapped at the window's width.
#include "overlay/console_overlay.h"

#include "console/editor.h"
#include "console/output.h"
#include "input/input.h"
#include "overlay/font.h"

#include <cstdio>
#include <cstring>

static const int PANEL_ROWS = 21;
static const int BOTTOM_ROW = 20;

void console_frame(float elapsed_ms) {
    if (key_is_down(VK_NEXT)) console_scroll_down();
    if (key_is_down(VK_PRIOR)) console_scroll_up();
    console_fade_step(elapsed_ms);
    if (console_is_visible() || console_fade() > 0.0f) console_draw();
}

static void set_line_color(char first) {
    if (first == '>')
        text_set_color(1.0f, 1.0f, 1.0f);
    else if (first == '!')
        text_set_color(1.0f, 0.5f, 0.5f);
    else
        text_set_color(0.5f, 1.0f, 0.5f);
}

// The characters of a slot that show: a script line's line break does not.
static int shown_length(const char* text) {
    int length = static_cast<int>(std::strlen(text));
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r'))
        length--;
    return length;
}

// Draws a slot's text over as many rows as the window's width needs, its
// last row on bottom_row (rows above the panel are skipped); returns the row
// above its first.
static int draw_slot_wrapped(const char* text, int bottom_row, int per_row) {
    int length = shown_length(text);
    int rows = length == 0 ? 1 : (length + per_row - 1) / per_row;
    int top_row = bottom_row - rows + 1;
    for (int i = 0; i < rows; i++) {
        if (top_row + i < 0) continue;
        char piece[CONSOLE_SLOT_SIZE];
        std::snprintf(piece, sizeof piece, "%.*s", per_row, text + i * per_row);
        text_draw(piece, 0, top_row + i);
    }
    return top_row - 1;
}

void console_draw() {
    text_set_alpha(console_fade() * 0.7f);
    text_set_color(0.0f, 0.0f, 0.3f);
    overlay_fill_rect(0, text_screen_columns(), 0, PANEL_ROWS); // the window's width

    // The prompt, while the typed line's slot is blank (typed text brings
    // its own ">").
    text_set_alpha(console_fade());
    text_set_color(1.0f, 1.0f, 1.0f);
    if (scroll_offset() == 0 && output_line(line_count())[0] == '\0') text_draw(">", 0, BOTTOM_ROW);

    // The newest visible slot ends on the bottom row, older ones above it,
    // each wrapped at the window's width.
    int per_row = text_row_characters();
    int slot = line_count() - scroll_offset();
    for (int row = BOTTOM_ROW; row >= 0 && slot >= 0; slot--) {
        set_line_color(output_line_mark(slot));
        row = draw_slot_wrapped(output_line(slot), row, per_row);
    }
}
