// Console overlay: reads the console action and Page Up / Down, moves
// the fade, and draws the panel with the output lines coloured by their
// first character.
#include "overlay/console_overlay.h"

#include "console/editor.h"
#include "console/output.h"
#include "input/actions.h"
#include "input/input.h"
#include "overlay/font.h"

static const int PANEL_ROWS = 21;
static const int BOTTOM_ROW = 20;

void console_frame(float elapsed_ms) {
    if (action_was_pressed(ACTION_CONSOLE)) console_toggle();
    if (key_is_down(VK_NEXT)) console_scroll_down();
    if (key_is_down(VK_PRIOR)) console_scroll_up();
    if (console_visible) {
        console_fade += elapsed_ms * 0.001f;
        if (console_fade > 1.0f) console_fade = 1.0f;
        console_draw();
    } else {
        console_fade -= elapsed_ms * 0.001f;
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
    overlay_fill_rect(0, text_screen_columns(), 0, PANEL_ROWS); // the window's width

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
