// Keyboard table over Windows virtual-key codes (the mouse buttons among
// them). The platform layer feeds it from key events; the frame's input
// record (input/actions.h) and the console read it.
#pragma once

// Windows virtual-key codes, the numbers the key table is indexed by;
// letters and digits are their capital ASCII codes.
enum VirtualKey {
    // The mouse buttons share the table with the keys.
    VK_LBUTTON = 1,
    VK_RBUTTON = 2,
    VK_MBUTTON = 4,
    VK_XBUTTON1 = 5,
    VK_XBUTTON2 = 6,
    VK_BACK = 8,
    VK_TAB = 9,
    VK_CLEAR = 12,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_PAUSE = 19,
    VK_CAPITAL = 20,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_SNAPSHOT = 44,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_LWIN = 91,
    VK_RWIN = 92,
    VK_APPS = 93,
    VK_NUMPAD0 = 96,
    VK_NUMPAD1 = 97,
    VK_NUMPAD2 = 98,
    VK_NUMPAD3 = 99,
    VK_NUMPAD4 = 100,
    VK_NUMPAD5 = 101,
    VK_NUMPAD6 = 102,
    VK_NUMPAD7 = 103,
    VK_NUMPAD8 = 104,
    VK_NUMPAD9 = 105,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F10 = 121,
    VK_F12 = 123,
    VK_NUMLOCK = 144,
    VK_SCROLL = 145,
    VK_OEM_1 = 186,
    VK_OEM_PLUS = 187,
    VK_OEM_COMMA = 188,
    VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190,
    VK_OEM_2 = 191,
    VK_OEM_3 = 192,
    VK_OEM_4 = 219,
    VK_OEM_5 = 220,
    VK_OEM_6 = 221,
    VK_OEM_7 = 222,
    VK_OEM_102 = 226,
};

bool key_is_down(int vk);
// True once for the key that went down after every other key and has since
// been released.
bool key_was_pressed(int vk);
void key_release(int vk);
// True during the frame after the key went down from released; a held key's
// repeats do not count again.
bool key_went_down(int vk);
// Marks the key held and remembers it as the last pressed key.
void key_down(int vk);

// Ends a frame for the key table: a key that went down and up before the
// frame saw it has been shown as held for that one frame and is released now.
void keys_frame_done();
// Takes back a key's release as a press: the key is no longer held and does
// not count as pressed (for keys released only because the focus went away).
void key_unpress(int vk);
// Releases every key; the last pressed key stays (new window, new mouse).
void keys_clear();
