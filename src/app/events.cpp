// SDL event handling and the one table that turns SDL scancodes into the
// Windows virtual-key codes the key table is indexed by.
#include "app/events.h"

#include "app/app.h"
#include "app/mouse.h"
#include "app/video.h"
#include "console/editor.h"
#include "input/input.h"

// SDL releases every held key right before it reports a lost focus, so the
// key-ups that come straight before FOCUS_LOST are not the player's: they
// must not count as presses (Insert held while switching away would open
// the console). The latest run of key-ups is kept until then.
static int focus_release_run[256];
static int focus_release_count = 0;

struct KeyMapping {
    SDL_Scancode scancode;
    int vk;
};

// Letters, digits and F1..F12 are ranges and handled in code; this table
// holds everything else.
static const KeyMapping KEY_TABLE[] = {
    {SDL_SCANCODE_BACKSPACE, 8},
    {SDL_SCANCODE_TAB, 9},
    {SDL_SCANCODE_CLEAR, 12},
    {SDL_SCANCODE_RETURN, 13},
    {SDL_SCANCODE_KP_ENTER, 13},
    {SDL_SCANCODE_LSHIFT, 16},
    {SDL_SCANCODE_RSHIFT, 16},
    {SDL_SCANCODE_LCTRL, 17},
    {SDL_SCANCODE_RCTRL, 17},
    {SDL_SCANCODE_PAUSE, 19},
    {SDL_SCANCODE_CAPSLOCK, 20},
    {SDL_SCANCODE_ESCAPE, 27},
    {SDL_SCANCODE_SPACE, 32},
    {SDL_SCANCODE_PAGEUP, 33},
    {SDL_SCANCODE_PAGEDOWN, 34},
    {SDL_SCANCODE_END, 35},
    {SDL_SCANCODE_HOME, 36},
    {SDL_SCANCODE_LEFT, 37},
    {SDL_SCANCODE_UP, 38},
    {SDL_SCANCODE_RIGHT, 39},
    {SDL_SCANCODE_DOWN, 40},
    {SDL_SCANCODE_PRINTSCREEN, 44},
    {SDL_SCANCODE_INSERT, 45},
    {SDL_SCANCODE_DELETE, 46},
    {SDL_SCANCODE_LGUI, 91},
    {SDL_SCANCODE_RGUI, 92},
    {SDL_SCANCODE_APPLICATION, 93},
    {SDL_SCANCODE_KP_0, 96},
    {SDL_SCANCODE_KP_1, 97},
    {SDL_SCANCODE_KP_2, 98},
    {SDL_SCANCODE_KP_3, 99},
    {SDL_SCANCODE_KP_4, 100},
    {SDL_SCANCODE_KP_5, 101},
    {SDL_SCANCODE_KP_6, 102},
    {SDL_SCANCODE_KP_7, 103},
    {SDL_SCANCODE_KP_8, 104},
    {SDL_SCANCODE_KP_9, 105},
    {SDL_SCANCODE_KP_MULTIPLY, 106},
    {SDL_SCANCODE_KP_PLUS, 107},
    {SDL_SCANCODE_KP_MINUS, 109},
    {SDL_SCANCODE_KP_PERIOD, 110},
    {SDL_SCANCODE_KP_DIVIDE, 111},
    {SDL_SCANCODE_NUMLOCKCLEAR, 144},
    {SDL_SCANCODE_SCROLLLOCK, 145},
    {SDL_SCANCODE_SEMICOLON, 186},
    {SDL_SCANCODE_EQUALS, 187},
    {SDL_SCANCODE_COMMA, 188},
    {SDL_SCANCODE_MINUS, 189},
    {SDL_SCANCODE_PERIOD, 190},
    {SDL_SCANCODE_SLASH, 191},
    {SDL_SCANCODE_GRAVE, 192},
    {SDL_SCANCODE_LEFTBRACKET, 219},
    {SDL_SCANCODE_BACKSLASH, 220},
    {SDL_SCANCODE_RIGHTBRACKET, 221},
    {SDL_SCANCODE_APOSTROPHE, 222},
    {SDL_SCANCODE_NONUSBACKSLASH, 226},
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
        return 112 + (scancode - SDL_SCANCODE_F1);
    if (!num_lock) {
        int navigation = keypad_navigation_key(scancode);
        if (navigation >= 0) return navigation;
    }
    for (const KeyMapping& mapping : KEY_TABLE)
        if (mapping.scancode == scancode) return mapping.vk;
    return -1;
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
    case 8: return 8;
    case 9: return 9;
    case 13: return 13;
    case 27: return 27;
    default: return 0;
    }
}

static void handle_key_down(const SDL_KeyboardEvent& key) {
    // Alt combinations and F10 were system keys: they never reach the table.
    if (key.keysym.mod & KMOD_ALT) return;
    int vk = virtual_key_of(key.keysym);
    if (vk < 0 || vk == VK_F10) return;
    key_down(vk);
    console_key_down(vk); // the table is updated whether or not the console is open
    if (int code = control_char_of(vk)) console_char(code);
}

static void handle_text(const char* text) {
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

static void handle_window_event(const SDL_WindowEvent& window) {
    switch (window.event) {
    case SDL_WINDOWEVENT_SIZE_CHANGED: window_resize_to_drawable(); break;
    case SDL_WINDOWEVENT_MINIMIZED: app_active = false; break;
    case SDL_WINDOWEVENT_FOCUS_LOST: take_back_focus_releases(); break;
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
        if (event.button.button == SDL_BUTTON_LEFT)
            mouse_left_button(event.type == SDL_MOUSEBUTTONDOWN);
        break;
    case SDL_WINDOWEVENT: handle_window_event(event.window); break;
    default: break;
    }
    if (event.type != SDL_KEYUP) focus_release_count = 0; // the run of key-ups ends
    return true;
}
