// SDL event handling and the one table that turns SDL scancodes into the
// Windows virtual-key codes the key table is indexed by.
#include "app/events.h"

#include "app/gamepad.h"
#include "app/mouse.h"
#include "app/platform.h"
#include "app/video.h"
#include "console/editor.h"
#include "game/pause.h"
#include "input/actions.h"
#include "input/input.h"
#include "input/key_names.h"

// SDL releases every held key right before it reports a lost focus, so the
// key-ups that come straight before FOCUS_LOST are not the player's: they
// must not count as presses (Insert held while switching away would open
// the console). The latest run of key-ups is kept until then.
static bool app_active = true; // false while the window is minimised

static int focus_release_run[256];
static int focus_release_count = 0;
// A typing key bound to the console went down in the open console: the
// character it types, which SDL sends right after, is not typed (the key
// closes the console instead).
static bool drop_next_text = false;

// A lost focus pauses the game only when it lasts: the game's own question
// boxes and new windows take the focus for a moment and give it back, and
// the window system may report that after the game's work is done.
static const uint32_t FOCUS_LOSS_DELAY_MS = 250;
static bool focus_loss_pending = false;
static uint32_t focus_lost_at = 0;
static uint32_t focus_quiet_until = 0; // losses before this are the game's own doing

struct KeyMapping {
    SDL_Scancode scancode;
    int vk;
};

// Letters, digits and F1..F12 are ranges and handled in code; this table
// holds everything else.
static const KeyMapping KEY_TABLE[] = {
    {SDL_SCANCODE_BACKSPACE, VK_BACK},
    {SDL_SCANCODE_TAB, VK_TAB},
    {SDL_SCANCODE_CLEAR, VK_CLEAR},
    {SDL_SCANCODE_RETURN, VK_RETURN},
    {SDL_SCANCODE_KP_ENTER, VK_RETURN},
    {SDL_SCANCODE_LSHIFT, VK_SHIFT},
    {SDL_SCANCODE_RSHIFT, VK_SHIFT},
    {SDL_SCANCODE_LCTRL, VK_CONTROL},
    {SDL_SCANCODE_RCTRL, VK_CONTROL},
    {SDL_SCANCODE_PAUSE, VK_PAUSE},
    {SDL_SCANCODE_CAPSLOCK, VK_CAPITAL},
    {SDL_SCANCODE_ESCAPE, VK_ESCAPE},
    {SDL_SCANCODE_SPACE, VK_SPACE},
    {SDL_SCANCODE_PAGEUP, VK_PRIOR},
    {SDL_SCANCODE_PAGEDOWN, VK_NEXT},
    {SDL_SCANCODE_END, VK_END},
    {SDL_SCANCODE_HOME, VK_HOME},
    {SDL_SCANCODE_LEFT, VK_LEFT},
    {SDL_SCANCODE_UP, VK_UP},
    {SDL_SCANCODE_RIGHT, VK_RIGHT},
    {SDL_SCANCODE_DOWN, VK_DOWN},
    {SDL_SCANCODE_PRINTSCREEN, VK_SNAPSHOT},
    {SDL_SCANCODE_INSERT, VK_INSERT},
    {SDL_SCANCODE_DELETE, VK_DELETE},
    {SDL_SCANCODE_LGUI, VK_LWIN},
    {SDL_SCANCODE_RGUI, VK_RWIN},
    {SDL_SCANCODE_APPLICATION, VK_APPS},
    {SDL_SCANCODE_KP_0, VK_NUMPAD0},
    {SDL_SCANCODE_KP_1, VK_NUMPAD1},
    {SDL_SCANCODE_KP_2, VK_NUMPAD2},
    {SDL_SCANCODE_KP_3, VK_NUMPAD3},
    {SDL_SCANCODE_KP_4, VK_NUMPAD4},
    {SDL_SCANCODE_KP_5, VK_NUMPAD5},
    {SDL_SCANCODE_KP_6, VK_NUMPAD6},
    {SDL_SCANCODE_KP_7, VK_NUMPAD7},
    {SDL_SCANCODE_KP_8, VK_NUMPAD8},
    {SDL_SCANCODE_KP_9, VK_NUMPAD9},
    {SDL_SCANCODE_KP_MULTIPLY, VK_MULTIPLY},
    {SDL_SCANCODE_KP_PLUS, VK_ADD},
    {SDL_SCANCODE_KP_MINUS, VK_SUBTRACT},
    {SDL_SCANCODE_KP_PERIOD, VK_DECIMAL},
    {SDL_SCANCODE_KP_DIVIDE, VK_DIVIDE},
    {SDL_SCANCODE_NUMLOCKCLEAR, VK_NUMLOCK},
    {SDL_SCANCODE_SCROLLLOCK, VK_SCROLL},
    {SDL_SCANCODE_SEMICOLON, VK_OEM_1},
    {SDL_SCANCODE_EQUALS, VK_OEM_PLUS},
    {SDL_SCANCODE_COMMA, VK_OEM_COMMA},
    {SDL_SCANCODE_MINUS, VK_OEM_MINUS},
    {SDL_SCANCODE_PERIOD, VK_OEM_PERIOD},
    {SDL_SCANCODE_SLASH, VK_OEM_2},
    {SDL_SCANCODE_GRAVE, VK_OEM_3},
    {SDL_SCANCODE_LEFTBRACKET, VK_OEM_4},
    {SDL_SCANCODE_BACKSLASH, VK_OEM_5},
    {SDL_SCANCODE_RIGHTBRACKET, VK_OEM_6},
    {SDL_SCANCODE_APOSTROPHE, VK_OEM_7},
    {SDL_SCANCODE_NONUSBACKSLASH, VK_OEM_102},
};

// With NumLock off the keypad is the navigation block, as the keyboard
// itself reports it: 0 Insert, 1 End, 2 Down, 3 Page Down, 4 Left, 5 Clear,
// 6 Right, 7 Home, 8 Up, 9 Page Up, the point Delete.
static int keypad_navigation_key(SDL_Scancode scancode) {
    switch (scancode) {
    case SDL_SCANCODE_KP_0: return VK_INSERT;
    case SDL_SCANCODE_KP_1: return VK_END;
    case SDL_SCANCODE_KP_2: return VK_DOWN;
    case SDL_SCANCODE_KP_3: return VK_NEXT;
    case SDL_SCANCODE_KP_4: return VK_LEFT;
    case SDL_SCANCODE_KP_5: return VK_CLEAR;
    case SDL_SCANCODE_KP_6: return VK_RIGHT;
    case SDL_SCANCODE_KP_7: return VK_HOME;
    case SDL_SCANCODE_KP_8: return VK_UP;
    case SDL_SCANCODE_KP_9: return VK_PRIOR;
    case SDL_SCANCODE_KP_PERIOD: return VK_DELETE;
    default: return -1;
    }
}

int virtual_key_of(SDL_Scancode scancode, bool num_lock) {
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z)
        return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9)
        return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    if (scancode >= SDL_SCANCODE_F1 && scancode <= SDL_SCANCODE_F12)
        return VK_F1 + (scancode - SDL_SCANCODE_F1);
    if (!num_lock) {
        int navigation = keypad_navigation_key(scancode);
        if (navigation >= 0) return navigation;
    }
    for (const KeyMapping& mapping : KEY_TABLE)
        if (mapping.scancode == scancode) return mapping.vk;
    return -1;
}

static int virtual_key_of_button(Uint8 button) {
    switch (button) {
    case SDL_BUTTON_LEFT: return VK_LBUTTON;
    case SDL_BUTTON_RIGHT: return VK_RBUTTON;
    case SDL_BUTTON_MIDDLE: return VK_MBUTTON;
    case SDL_BUTTON_X1: return VK_XBUTTON1;
    case SDL_BUTTON_X2: return VK_XBUTTON2;
    default: return 0;
    }
}

static int virtual_key_of(const SDL_Keysym& keysym) {
    return virtual_key_of(keysym.scancode, (keysym.mod & KMOD_NUM) != 0);
}

int utf8_to_latin1(const char* text, unsigned char* out, int capacity) {
    int written = 0;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    while (*p && written < capacity) {
        unsigned code;
        int extra;
        if (*p < 0x80) {
            code = *p;
            extra = 0;
        } else if ((*p & 0xE0) == 0xC0) {
            code = *p & 0x1F;
            extra = 1;
        } else if ((*p & 0xF0) == 0xE0) {
            code = *p & 0x0F;
            extra = 2;
        } else if ((*p & 0xF8) == 0xF0) {
            code = *p & 0x07;
            extra = 3;
        } else {
            p++; // a stray continuation byte
            continue;
        }
        p++;
        bool complete = true;
        for (int i = 0; i < extra; i++, p++) {
            if ((*p & 0xC0) != 0x80) {
                complete = false;
                break;
            }
            code = (code << 6) | (*p & 0x3F);
        }
        if (complete && code <= 0xFF) out[written++] = static_cast<unsigned char>(code);
    }
    return written;
}

// Keys that also arrive as characters, as the keyboard's own messages did.
static int control_char_of(int vk) {
    switch (vk) {
    case VK_BACK:
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE: return vk; // the control character is the key's own number
    default: return 0;
    }
}

static void handle_key_down(const SDL_KeyboardEvent& key) {
    // Alt combinations and F10 were system keys: they never reach the table.
    if (key.keysym.mod & KMOD_ALT) return;
    int vk = virtual_key_of(key.keysym);
    if (vk < 0 || vk == VK_F10) return;
    key_down(vk);
    drop_next_text =
        console_is_visible() && key_types_in_console(vk) && key_action(vk) == ACTION_CONSOLE;
    if (drop_next_text) return;
    console_key_down(vk); // the table is updated whether or not the console is open
    if (int code = control_char_of(vk)) console_char(code);
}

static void handle_text(const char* text) {
    if (drop_next_text) {
        drop_next_text = false;
        return;
    }
    unsigned char bytes[SDL_TEXTINPUTEVENT_TEXT_SIZE];
    int count = utf8_to_latin1(text, bytes, static_cast<int>(sizeof bytes));
    for (int i = 0; i < count; i++)
        console_char(bytes[i]);
}

static void note_key_up(int vk) {
    if (focus_release_count < 256) focus_release_run[focus_release_count++] = vk;
}

static void take_back_focus_releases() {
    for (int i = 0; i < focus_release_count; i++)
        key_unpress(focus_release_run[i]);
}

// Events of windows already destroyed (the one before a video mode change)
// still come in after the new one exists.
static bool of_game_window(const SDL_WindowEvent& window) {
    SDL_Window* current = SDL_GL_GetCurrentWindow();
    return current && window.windowID == SDL_GetWindowID(current);
}

static void note_focus_lost(const SDL_WindowEvent& window) {
    uint32_t now = timer_ticks();
    if (!of_game_window(window) || static_cast<int32_t>(now - focus_quiet_until) < 0) return;
    focus_loss_pending = true;
    focus_lost_at = now;
}

void focus_loss_ignore_for(uint32_t ms) {
    focus_loss_pending = false;
    focus_quiet_until = timer_ticks() + ms;
}

void focus_loss_check() {
    if (!focus_loss_pending || timer_ticks() - focus_lost_at < FOCUS_LOSS_DELAY_MS) return;
    focus_loss_pending = false;
    pause_for_focus_loss();
}

bool app_is_active() {
    return app_active;
}

static void handle_window_event(const SDL_WindowEvent& window) {
    switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED: window_resize_to_drawable(); break;
    case SDL_WINDOWEVENT_MINIMIZED: app_active = false; break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        take_back_focus_releases();
        note_focus_lost(window);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED: focus_loss_pending = false; break;
    case SDL_WINDOWEVENT_RESTORED:
    case SDL_WINDOWEVENT_SHOWN:
    case SDL_WINDOWEVENT_MAXIMIZED: app_active = true; break;
    default: break;
    }
}

static void handle_key_up(const SDL_KeyboardEvent& key) {
    int vk = virtual_key_of(key.keysym);
    key_release(vk);
    note_key_up(vk);
}

bool handle_event(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT: return false;
    case SDL_KEYDOWN: handle_key_down(event.key); break;
    case SDL_KEYUP: handle_key_up(event.key); break;
    case SDL_TEXTINPUT: handle_text(event.text.text); break;
    case SDL_MOUSEMOTION: mouse_motion(event.motion.xrel, event.motion.yrel); break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (int vk = virtual_key_of_button(event.button.button))
            mouse_button(vk, event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_WINDOWEVENT: handle_window_event(event.window); break;
    case SDL_CONTROLLERDEVICEADDED:
    case SDL_CONTROLLERDEVICEREMOVED:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: gamepad_event(event); break;
    default: break;
    }
    if (event.type != SDL_KEYUP) focus_release_count = 0; // the run of key-ups ends
    return true;
}
