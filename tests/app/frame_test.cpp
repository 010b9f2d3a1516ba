// What the frames draw, read back from a real context: the screen states,
// the console panel and its lines, and the frame-rate text.
#include "app/frame_end.h"
#include "overlay/console_overlay.h"
#include "overlay/font.h"
#include "console/output.h"
#include "console/editor.h"
#include "console/registry.h"
#include "support/game_fixture.h"
#include "textures/png.h"
#include "textures/texture.h"

#include <cstdio>
#include <string>

class Frames : public GameFixture {
  protected:
    // The overlay is checked over the dead screen: black around the middle
    // square that holds its picture.
    void SetUp() override {
        GameFixture::SetUp();
        game_state_set(STATE_DEAD);
    }
    void open_console_fully() {
        console_toggle();
        for (int i = 0; i < 50; i++)
            draw_frame(20);
    }
};

TEST_F(Frames, VictoryClearsToYellow) {
    game_state_set(STATE_VICTORY);
    draw_frame();
    Rgb p = virtual_pixel(400, 100);
    EXPECT_EQ(p.r, 255);
    EXPECT_EQ(p.g, 255);
    EXPECT_EQ(p.b, 0);
}

TEST_F(Frames, DeadScreenFillsTheCentredSquare) {
    game_state_set(STATE_DEAD);
    draw_frame();
    // Outside the square (x 150..650, y 50..550 of 800 x 600): black.
    Rgb outside = virtual_pixel(60, 300);
    EXPECT_EQ(outside.r + outside.g + outside.b, 0);
    // Inside: the picture file's own pixel at the same place (decoded
    // bottom-up, as the game uploads it).
    PngImage t;
    std::FILE* file = std::fopen("data/dead.png", "rb");
    ASSERT_NE(file, nullptr) << "data/dead.png";
    ASSERT_TRUE(load_png_image(file, &t));
    std::fclose(file);
    for (float u : {0.25f, 0.5f, 0.75f}) {
        Rgb drawn = virtual_pixel(150 + 500 * u, 50 + 500 * u);
        int px = static_cast<int>(u * t.width), py = static_cast<int>(u * t.height);
        const uint8_t* source = &t.pixels[(py * t.width + px) * t.channels];
        EXPECT_NEAR(drawn.r, source[0], 40) << u;
        EXPECT_NEAR(drawn.g, source[1], 40) << u;
        EXPECT_NEAR(drawn.b, source[2], 40) << u;
    }
}

TEST_F(Frames, ConsolePanelFadesInOverFiftyFramesOf20ms) {
    console_toggle();
    for (int i = 0; i < 25; i++)
        draw_frame(20);
    Rgb half = virtual_pixel(780, 400);
    for (int i = 0; i < 25; i++)
        draw_frame(20);
    Rgb full = virtual_pixel(780, 400);
    // Dark blue (0, 0, 0.3) at 0.7 opacity over the black scene.
    EXPECT_NEAR(console_fade(), 1.0f, 1e-5);
    EXPECT_NEAR(full.b, 0.3 * 0.7 * 255, 3);
    EXPECT_EQ(full.r + full.g, 0);
    EXPECT_NEAR(half.b, 0.3 * 0.35 * 255, 3);
    // Below the panel (rows 21 and on) nothing is drawn.
    EXPECT_EQ(virtual_pixel(780, 250).b, 0);

    console_toggle();
    for (int i = 0; i < 49; i++)
        draw_frame(20);
    EXPECT_GT(virtual_pixel(780, 400).b, 0);
    draw_frame(20);
    EXPECT_EQ(virtual_pixel(780, 400).b, 0);
    draw_frame(20);
    EXPECT_EQ(console_fade(), 0.0f);
}

TEST_F(Frames, GlyphsLandInTheirCells) {
    glClear(GL_COLOR_BUFFER_BIT);
    text_set_alpha(1.0f);
    text_set_color(1.0f, 1.0f, 1.0f);
    text_draw("#", 5, 10); // cell x 80..96, glyph quad y 422..438
    Rgb inside = brightest(80, 422, 96, 438);
    EXPECT_GT(inside.r, 200);
    EXPECT_EQ(brightest(96, 400, 140, 460).r, 0);
    EXPECT_EQ(brightest(40, 400, 80, 460).r, 0);
    EXPECT_EQ(brightest(80, 440, 96, 470).r, 0);
}

TEST_F(Frames, ConsoleLinesAreColouredByTheirFirstCharacter) {
    console_print("!error line");
    console_print(">input line");
    console_print("plain line");
    open_console_fully();
    // Rows from the bottom: 20 typed line, 19 plain, 18 input, 17 error.
    auto row_colour = [](int row) {
        float bottom = 582.0f - 16.0f * row;
        return brightest(16, bottom, 140, bottom + 16);
    };
    Rgb plain = row_colour(19), input = row_colour(18), error = row_colour(17);
    EXPECT_GT(plain.g, plain.r + 60);
    EXPECT_GT(error.r, error.g + 60);
    EXPECT_GT(input.r, 200);
    EXPECT_NEAR(input.r, input.g, 10);
}

TEST_F(Frames, LongConsoleLinesWrapAtTheWindowsWidthInTheirColour) {
    // The panel alone on black; at 4:3 a row holds 66 characters, the last
    // one's cell ending at x 796.
    console_toggle();
    console_fade_step(1000.0f);
    auto glyphs = [](int row, float x0, float x1) {
        float bottom = 582.0f - 16.0f * row;
        return brightest(x0, bottom, x1, bottom + 16);
    };
    auto red = [](Rgb p) { return p.r > 150 && p.r > p.g + 60; };

    console_print_error(std::string(98, '#').c_str()); // 100 characters
    glClear(GL_COLOR_BUFFER_BIT);
    console_draw();
    // Row 18 holds characters 0..65 up to the right edge, row 19 the other 34.
    EXPECT_TRUE(red(glyphs(18, 780, 796))) << "no glyph at the end of the first row";
    EXPECT_TRUE(red(glyphs(19, 384, 412))) << "no 34th character on the second row";
    EXPECT_LT(glyphs(19, 416, 800).r, 30) << "the second row goes on past its 34 characters";

    // 302 characters: four rows from the first slot (rows 15..18), the 47
    // left over in a slot of their own on row 19, red like the rest.
    console_clear();
    console_print_error(std::string(300, '#').c_str());
    glClear(GL_COLOR_BUFFER_BIT);
    console_draw();
    EXPECT_TRUE(red(glyphs(15, 0, 16))) << "the line does not start on row 15";
    EXPECT_TRUE(red(glyphs(19, 540, 560))) << "the second slot is not red to its 47th character";
    EXPECT_LT(glyphs(19, 570, 800).r, 30);
    EXPECT_LT(glyphs(14, 0, 800).r, 30) << "something above the line";
}

TEST_F(Frames, ThePromptIsHiddenWhileScrolledBack) {
    for (int i = 0; i < 5; i++)
        console_print("   ");
    open_console_fully();
    EXPECT_GT(brightest(0, 262, 16, 278).r, 150); // ">" at column 0, row 20
    console_scroll_up();
    draw_frame(20);
    EXPECT_LT(brightest(0, 262, 16, 278).r, 30);
}

TEST_F(Frames, FpsTextShowsOnlyWhenEnabledAndTheFrameTookTime) {
    auto fps_area = [] { return brightest(640, 582, 760, 598); };
    draw_frame(20);
    EXPECT_GT(fps_area().r, 200);
    draw_frame(0);
    EXPECT_EQ(fps_area().r, 0);
    console_execute("show_fps false");
    draw_frame(20);
    EXPECT_EQ(fps_area().r, 0);
}

TEST(FrameRate, CountsFramesPerPassedSecond) {
    show_fps_init();
    console_find_variable("show_fps")->value = 0.0f; // counted, not drawn
    clock_reset();
    for (int i = 0; i < 10; i++)
        frame_overlay(99); // 990 ms: no second yet
    EXPECT_EQ(fps_value(), 0);
    frame_overlay(20); // passes 1000: this frame counts in that second
    EXPECT_EQ(fps_value(), 11);
    clock_reset();
    for (int i = 0; i < 5; i++)
        frame_overlay(1000); // remainder never goes down
    EXPECT_EQ(fps_value(), 11);
}
