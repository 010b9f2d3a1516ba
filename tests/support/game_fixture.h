// A started game in a real window: the real start-up, frames run with chosen
// elapsed times, and pixels read back from the frame just drawn.
#pragma once

#include "app/app.h"
#include "app/platform.h"
#include "app/video.h"
#include "console/registry.h"
#include "game/flock.h"
#include "gl.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>

struct Rgb {
    int r, g, b;
};

class GameFixture : public testing::Test {
  protected:
    static inline uint32_t fake_now = 0;
    static uint32_t fake_ticks() { return fake_now; }
    // The frame cap's waits: counted, and the fake clock stands still.
    static inline uint32_t waited_ms = 0;
    static void fake_delay(uint32_t ms) { waited_ms += ms; }

    void SetUp() override {
        // An exact 1024 x 768 window on any test screen.
        video_mode_choose(current_video_mode(), false);
        fake_now = 1000;
        timer_set_source(fake_ticks);
        timer_set_delay(fake_delay);
        SDL_SetEventFilter(only_pushed_focus_events, nullptr);
        ASSERT_TRUE(video_init());
        ASSERT_TRUE(game_init());
        // The pictures tests read back are the window's own pixels: a loaded
        // machine must not make the automatic scale draw them smaller.
        console_find_variable("render_scale")->value = 1.0f;
        main_loop_start();
    }
    void TearDown() override {
        app_shutdown();
        video_shutdown();
        SDL_SetEventFilter(nullptr, nullptr);
        timer_set_source(nullptr);
        timer_set_delay(nullptr);
    }
    // Gives back the variables SetUp changed, for tests of what a player's
    // settings save: then nothing differs from a fresh start.
    static void undo_fixture_settings() {
        console_find_variable("render_scale")->value = 0.0f;
    }
    // The suite's games share one X display, and another test's new window
    // takes the focus at any moment: the game would take that for the
    // player's, and take back the key-ups just before it as the window
    // system's own (a tap pushed by the test is then lost), or pause. The
    // focus events a test pushes carry this mark; the X server's are dropped.
    static constexpr Sint32 PUSHED_BY_TEST = 0x5EEF;
    static int only_pushed_focus_events(void*, SDL_Event* event) {
        if (event->type != SDL_WINDOWEVENT) return 1;
        Uint8 what = event->window.event;
        bool focus = what == SDL_WINDOWEVENT_FOCUS_LOST || what == SDL_WINDOWEVENT_FOCUS_GAINED;
        return !focus || event->window.data1 == PUSHED_BY_TEST;
    }
    static void push_window_event(Uint8 what,
                                  Uint32 window_id = SDL_GetWindowID(SDL_GL_GetCurrentWindow())) {
        SDL_Event event{};
        event.type = SDL_WINDOWEVENT;
        event.window.event = what;
        event.window.windowID = window_id;
        event.window.data1 = PUSHED_BY_TEST;
        SDL_PushEvent(&event);
    }
    // Pushes an event through the same queue the main loop drains.
    static void push_key(Uint32 type, SDL_Scancode scancode) {
        SDL_Event event{};
        event.type = type;
        event.key.keysym.scancode = scancode;
        SDL_PushEvent(&event);
    }
    static void press(SDL_Scancode scancode) {
        push_key(SDL_KEYDOWN, scancode);
        push_key(SDL_KEYUP, scancode);
    }
    static void push_text(const char* text) {
        SDL_Event event{};
        event.type = SDL_TEXTINPUT;
        SDL_strlcpy(event.text.text, text, sizeof event.text.text);
        SDL_PushEvent(&event);
    }
    // One pass of the real main loop, the frame taking the given time.
    static bool step(uint32_t elapsed_ms = 20) {
        fake_now += elapsed_ms;
        return main_loop_step();
    }
    // Sheep dropped just under the ground land at once, each costing a life,
    // as in play.
    static void land_sheep(int count) {
        for (int i = 0; i < count; i++) {
            ASSERT_TRUE(sheep_spawn_at({1.0f, -1.0f, 1.0f}, {0.0f, -1.0f, 0.0f}, 0.0f));
            ASSERT_EQ(sheep_update(), 1);
        }
    }
    // Runs a frame without swapping, so its pixels can be read back.
    static void draw_frame(uint32_t elapsed_ms = 20) { run_frame(elapsed_ms); }
    static void drawable_size(int* width, int* height) {
        SDL_GL_GetDrawableSize(SDL_GL_GetCurrentWindow(), width, height);
    }
    static Rgb pixel(int x, int y) {
        unsigned char p[4] = {};
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
        return {p[0], p[1], p[2]};
    }
    // Pixel at a point of the 800 x 600 virtual screen (y up).
    static Rgb virtual_pixel(float x, float y) {
        int w, h;
        drawable_size(&w, &h);
        return pixel(static_cast<int>(x * w / 800.0f), static_cast<int>(y * h / 600.0f));
    }
    // The brightest pixel (by sum) in a rectangle of the virtual screen.
    static Rgb brightest(float x0, float y0, float x1, float y1) {
        Rgb best{0, 0, 0};
        for (float y = y0; y < y1; y += 1.0f)
            for (float x = x0; x < x1; x += 1.0f) {
                Rgb p = virtual_pixel(x, y);
                if (p.r + p.g + p.b > best.r + best.g + best.b) best = p;
            }
        return best;
    }
};
