// Key names: owns the table of names over virtual-key codes. Letters,
// digits and F1..F12 are ranges worked out in code; the table holds every
// other key the keyboard and the mouse can put into the key table.
#include "input/key_names.h"

#include "input/input.h"

#include <cstdio>
#include <strings.h>

namespace {

struct KeyName {
    const char* name;
    int vk;
};

// The name each key is shown with.
const KeyName NAMES[] = {
    {"UPARROW", VK_UP},
    {"DOWNARROW", VK_DOWN},
    {"LEFTARROW", VK_LEFT},
    {"RIGHTARROW", VK_RIGHT},
    {"MOUSE1", VK_LBUTTON},
    {"MOUSE2", VK_RBUTTON},
    {"MOUSE3", VK_MBUTTON},
    {"MOUSE4", VK_XBUTTON1},
    {"MOUSE5", VK_XBUTTON2},
    {"SPACE", VK_SPACE},
    {"ENTER", VK_RETURN},
    {"TAB", VK_TAB},
    {"BACKSPACE", VK_BACK},
    {"ESCAPE", VK_ESCAPE},
    {"INS", VK_INSERT},
    {"DEL", VK_DELETE},
    {"HOME", VK_HOME},
    {"END", VK_END},
    {"PGUP", VK_PRIOR},
    {"PGDN", VK_NEXT},
    {"PAUSE", VK_PAUSE},
    {"SHIFT", VK_SHIFT},
    {"CTRL", VK_CONTROL},
    {"CAPSLOCK", VK_CAPITAL},
    {"NUMLOCK", VK_NUMLOCK},
    {"SCROLLLOCK", VK_SCROLL},
    {"PRINTSCREEN", VK_SNAPSHOT},
    {"LWIN", VK_LWIN},
    {"RWIN", VK_RWIN},
    {"MENU", VK_APPS},
    {"KP_0", VK_NUMPAD0},
    {"KP_1", VK_NUMPAD1},
    {"KP_2", VK_NUMPAD2},
    {"KP_3", VK_NUMPAD3},
    {"KP_4", VK_NUMPAD4},
    {"KP_5", VK_NUMPAD5},
    {"KP_6", VK_NUMPAD6},
    {"KP_7", VK_NUMPAD7},
    {"KP_8", VK_NUMPAD8},
    {"KP_9", VK_NUMPAD9},
    {"KP_MULTIPLY", VK_MULTIPLY},
    {"KP_PLUS", VK_ADD},
    {"KP_MINUS", VK_SUBTRACT},
    {"KP_PERIOD", VK_DECIMAL},
    {"KP_SLASH", VK_DIVIDE},
    // With NumLock off the keypad's 5 is its own key.
    {"KP_CLEAR", VK_CLEAR},
    {"SEMICOLON", VK_OEM_1},
    {"EQUALS", VK_OEM_PLUS},
    {"COMMA", VK_OEM_COMMA},
    {"MINUS", VK_OEM_MINUS},
    {"PERIOD", VK_OEM_PERIOD},
    {"SLASH", VK_OEM_2},
    {"BACKQUOTE", VK_OEM_3},
    {"LBRACKET", VK_OEM_4},
    {"BACKSLASH", VK_OEM_5},
    {"RBRACKET", VK_OEM_6},
    {"APOSTROPHE", VK_OEM_7},
    {"OEM_102", VK_OEM_102},
};

// Other spellings players write; never shown.
const KeyName SPELLINGS[] = {
    {"INSERT", VK_INSERT}, {"DELETE", VK_DELETE}, {"PAGEUP", VK_PRIOR},    {"PAGEDOWN", VK_NEXT},
    {"ESC", VK_ESCAPE},    {"RETURN", VK_RETURN}, {"CONTROL", VK_CONTROL}, {";", VK_OEM_1},
    {"=", VK_OEM_PLUS},    {",", VK_OEM_COMMA},   {"-", VK_OEM_MINUS},     {".", VK_OEM_PERIOD},
    {"/", VK_OEM_2},       {"`", VK_OEM_3},       {"[", VK_OEM_4},         {"\\", VK_OEM_5},
    {"]", VK_OEM_6},       {"'", VK_OEM_7},
};

constexpr int SHOWN_NAMES = static_cast<int>(sizeof NAMES / sizeof NAMES[0]);
constexpr int F_KEYS = 12;

// "A".."Z", "0".."9" and "F1".."F12", built once.
char letter_names[26][2];
char digit_names[10][2];
char f_key_names[F_KEYS][4];
bool range_names_ready = false;

void make_range_names() {
    if (range_names_ready) return;
    for (int i = 0; i < 26; i++)
        letter_names[i][0] = static_cast<char>('A' + i);
    for (int i = 0; i < 10; i++)
        digit_names[i][0] = static_cast<char>('0' + i);
    for (int i = 0; i < F_KEYS; i++)
        std::snprintf(f_key_names[i], sizeof f_key_names[i], "F%d", i + 1);
    range_names_ready = true;
}

} // namespace

int key_name_count() {
    return 26 + 10 + F_KEYS + SHOWN_NAMES;
}

// Letters, then digits, then F1..F12, then the table's shown names.
const char* key_name_at(int index) {
    make_range_names();
    if (index < 0 || index >= key_name_count()) return nullptr;
    if (index < 26) return letter_names[index];
    index -= 26;
    if (index < 10) return digit_names[index];
    index -= 10;
    if (index < F_KEYS) return f_key_names[index];
    return NAMES[index - F_KEYS].name;
}

static int key_at(int index) {
    if (index < 26) return 'A' + index;
    index -= 26;
    if (index < 10) return '0' + index;
    index -= 10;
    if (index < F_KEYS) return VK_F1 + index;
    return NAMES[index - F_KEYS].vk;
}

int key_of_name(const char* name) {
    for (int i = 0; i < key_name_count(); i++)
        if (strcasecmp(key_name_at(i), name) == 0) return key_at(i);
    for (const KeyName& row : SPELLINGS)
        if (strcasecmp(row.name, name) == 0) return row.vk;
    return -1;
}

const char* key_name(int vk) {
    for (int i = 0; i < key_name_count(); i++)
        if (key_at(i) == vk) return key_name_at(i);
    return nullptr;
}

bool key_types_in_console(int vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) return true;
    if (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) return true; // keypad digits and signs
    if (vk >= VK_OEM_1 && vk <= VK_OEM_3) return true;
    if (vk >= VK_OEM_4 && vk <= VK_OEM_7) return true;
    return vk == VK_SPACE || vk == VK_OEM_102 || vk == VK_BACK || vk == VK_TAB;
}
