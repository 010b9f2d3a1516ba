// Platform edge: message boxes through SDL (mirrored to stderr) and the
// replaceable millisecond timer.
#include "app/platform.h"

#include <SDL.h>
#include <cstdio>

static TicksSource ticks_source = nullptr;
static DelaySink delay_sink = nullptr;
static SDL_Window* message_box_parent = nullptr;

void message_box_set_parent(SDL_Window* window) { message_box_parent = window; }

static Uint32 icon_flags(MessageIcon icon) {
    switch (icon) {
    case ICON_WARNING: return SDL_MESSAGEBOX_WARNING;
    case ICON_ERROR: return SDL_MESSAGEBOX_ERROR;
    case ICON_INFORMATION: return SDL_MESSAGEBOX_INFORMATION;
    }
    return SDL_MESSAGEBOX_INFORMATION;
}

static bool display_available() {
    return SDL_WasInit(SDL_INIT_VIDEO) != 0;
}

void message_box(const char* caption, const char* text, MessageIcon icon) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    if (!display_available()) return;
    if (SDL_ShowSimpleMessageBox(icon_flags(icon), caption, text, message_box_parent) != 0)
        std::fprintf(stderr, "(no message box: %s)\n", SDL_GetError());
}

bool message_box_yes_no(const char* caption, const char* text) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    SDL_MessageBoxData data{
        SDL_MESSAGEBOX_WARNING, message_box_parent, caption, text, 2, buttons, nullptr};
    int answer = 0;
    if (!display_available() || SDL_ShowMessageBox(&data, &answer) != 0) {
        // Nobody can be asked: take the answer that keeps the game running.
        std::fprintf(stderr, "(no message box can be shown: answered Yes)\n");
        return true;
    }
    return answer == 1;
}

uint32_t timer_ticks() {
    return ticks_source ? ticks_source() : SDL_GetTicks();
}

double timer_seconds() {
    if (ticks_source) return static_cast<double>(ticks_source()) / 1000.0;
    return static_cast<double>(SDL_GetPerformanceCounter()) /
           static_cast<double>(SDL_GetPerformanceFrequency());
}

void timer_set_source(TicksSource source) {
    ticks_source = source;
}

void timer_delay(uint32_t ms) {
    if (delay_sink)
        delay_sink(ms);
    else
        SDL_Delay(ms);
}

void timer_set_delay(DelaySink sink) {
    delay_sink = sink;
}

