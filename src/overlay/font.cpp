// Bitmap-font text and 2-D primitives: owns the font texture and the shared
// colour state. Both calls set up their own 800 x 600 orthographic screen,
// which grows to the right and downwards with the true aspect, so text stays
// in the top-left corner at its own shape.
#include "overlay/font.h"

#include "gl.h"
#include "overlay/screen.h"
#include "textures/texture.h"

#include <cmath>

static Texture* font = nullptr;
static float color[4] = {1.0f, 1.0f, 1.0f, 1.0f};

static const float VIRTUAL_WIDTH = 800.0f;
static const float VIRTUAL_HEIGHT = 600.0f;
// The centred pictures (loading, dead) are laid out on a 640 x 480 screen.
static const double PICTURE_SCREEN_WIDTH = 640.0, PICTURE_SCREEN_HEIGHT = 480.0;
static const float CELL = 16.0f;
static const float GLYPH_UV = 0.0625f; // one cell of the 16 x 16 glyph grid

bool font_init() {
    font = texture_load("data/font.png", true);
    return font != nullptr;
}

Texture* font_texture() {
    return font;
}

void text_set_color(float red, float green, float blue) {
    color[0] = red;
    color[1] = green;
    color[2] = blue;
}

void text_set_alpha(float alpha) {
    color[3] = alpha;
}

int font_cell(unsigned char code) {
    if (code < 32 || code >= 160) return 0;
    return code - 32;
}

static ScreenArea text_area() {
    return screen_area(VIRTUAL_WIDTH, VIRTUAL_HEIGHT, SCREEN_TOP_LEFT);
}

int text_screen_columns() {
    ScreenArea area = text_area();
    return static_cast<int>(std::ceil((area.right - area.left) / CELL - 1e-6));
}

int text_row_characters() {
    ScreenArea area = text_area();
    float after_first = area.right - area.left - CELL;
    int characters = static_cast<int>(std::floor(after_first / TEXT_ADVANCE + 1e-4f)) + 1;
    return characters < 1 ? 1 : characters;
}

// Both matrices replaced (nothing saved) by the 800 x 600 screen, y up.
static void begin_virtual_screen() {
    ScreenArea area = text_area();
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glMatrixMode(GL_PROJECTION);
    gluOrtho2D(area.left, area.right, area.bottom, area.top);
    glMatrixMode(GL_MODELVIEW);
}

static void draw_text_at(const char* text, float x, int row) {
    begin_virtual_screen();
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, font ? font->gl_name : 0);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(color[0], color[1], color[2], color[3]);

    float bottom = 582.0f - CELL * static_cast<float>(row);
    float top = bottom + CELL;
    glBegin(GL_QUADS);
    for (const char* p = text; *p; p++) {
        int cell = font_cell(static_cast<unsigned char>(*p));
        float s = static_cast<float>(cell % 16) * GLYPH_UV;
        float t = static_cast<float>(15 - cell / 16) * GLYPH_UV;
        glTexCoord2f(s, t);
        glVertex2f(x, bottom);
        glTexCoord2f(s + GLYPH_UV, t);
        glVertex2f(x + CELL, bottom);
        glTexCoord2f(s + GLYPH_UV, t + GLYPH_UV);
        glVertex2f(x + CELL, top);
        glTexCoord2f(s, t + GLYPH_UV);
        glVertex2f(x, top);
        x += TEXT_ADVANCE;
    }
    glEnd();

    glDisable(GL_BLEND);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    GL_CHECK("text_draw");
}

void text_draw(const char* text, int column, int row) {
    draw_text_at(text, CELL * static_cast<float>(column), row);
}

// The middle of the text screen across: it grows to the right in a wide
// window with the true aspect, so its middle moves with it.
static float screen_middle_x() {
    ScreenArea area = text_area();
    return static_cast<float>((area.left + area.right) * 0.5);
}

void text_draw_centred(const char* text, int row) {
    float width = 0.0f;
    for (const char* p = text; *p; p++)
        width += p[1] ? TEXT_ADVANCE : CELL;
    draw_text_at(text, screen_middle_x() - width * 0.5f, row);
}

// The corners go clockwise on the screen, so a 3-D scene that left face
// culling on (the land does) would cull the panel: it is off while it draws.
static void fill_units(float left, float right, int row0, int row1) {
    GLboolean culling = glIsEnabled(GL_CULL_FACE);
    glDisable(GL_CULL_FACE);
    begin_virtual_screen();
    glDisable(GL_TEXTURE_2D);
    glColor4f(color[0], color[1], color[2], color[3]);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    float top = VIRTUAL_HEIGHT - CELL * static_cast<float>(row0);
    float bottom = VIRTUAL_HEIGHT - CELL * static_cast<float>(row1);
    glBegin(GL_QUADS);
    glVertex2f(left, top);
    glVertex2f(right, top);
    glVertex2f(right, bottom);
    glVertex2f(left, bottom);
    glEnd();
    glDisable(GL_BLEND);
    glEnable(GL_TEXTURE_2D);
    if (culling) glEnable(GL_CULL_FACE);
    GL_CHECK("overlay_fill_rect");
}

void overlay_fill_rect(int x0, int x1, int row0, int row1) {
    fill_units(CELL * static_cast<float>(x0), CELL * static_cast<float>(x1), row0, row1);
}

void overlay_fill_centred(int columns, int row0, int row1) {
    float half = CELL * static_cast<float>(columns) * 0.5f;
    fill_units(screen_middle_x() - half, screen_middle_x() + half, row0, row1);
}

void overlay_draw_centred_picture(const Texture* picture) {
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture ? picture->gl_name : 0);
    screen_begin(screen_area(PICTURE_SCREEN_WIDTH, PICTURE_SCREEN_HEIGHT, SCREEN_CENTRED));
    glColor3f(1.0f, 1.0f, 1.0f);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(120.0f, 40.0f);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(520.0f, 40.0f);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(520.0f, 440.0f);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(120.0f, 440.0f);
    glEnd();
    GL_CHECK("overlay_draw_centred_picture");
}
