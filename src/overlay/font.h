// Bitmap-font text and 2-D overlay primitives on an 800 x 600 virtual screen
// measured in text cells of 16 x 16 units, rows counted from the top.
#pragma once

struct Texture;

constexpr float TEXT_ADVANCE = 12.0f; // glyph quads are 16 wide but 12 apart

// Loads data/font.png at full size; false when it cannot be loaded.
bool font_init();
Texture* font_texture();

void text_set_color(float red, float green, float blue);
void text_set_alpha(float alpha);
void text_draw(const char* text, int column, int row);
// The text centred across the screen on the row (the widened screen's
// middle with the true aspect).
void text_draw_centred(const char* text, int row);
// Fills columns x0 .. x1, rows row0 .. row1 in the text colour and alpha.
void overlay_fill_rect(int x0, int x1, int row0, int row1);
// The same for a band `columns` wide centred across the screen.
void overlay_fill_centred(int columns, int row0, int row1);
// The text columns the window spans: 50 when the screen stretches, more in
// a window wider than 4:3 with the true aspect.
int text_screen_columns();
// The characters a row of text holds across the window (at TEXT_ADVANCE
// apart, the last glyph's whole cell inside): 66 at 4:3.
int text_row_characters();

// A picture over a 400 x 400 square in the middle of a 640 x 480 screen
// (kept square with the true aspect), in white: the dead screen and the
// loading pictures. Nothing is cleared.
void overlay_draw_centred_picture(const Texture* picture);

// The font cell a character code draws: code - 32 for 32..159, else 0.
int font_cell(unsigned char code);
