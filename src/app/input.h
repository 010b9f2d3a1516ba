// Keyboard table over Windows virtual-key codes, and the mouse in relative
// mode read once per frame.
#pragma once

enum VirtualKey {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
};

extern int mouse_dx;
extern int mouse_dy;
extern bool mouse_left_down;

bool key_is_down(int vk);
bool key_was_pressed(int vk);
void key_release(int vk);
// Key-down handling: table, last pressed key, then the console.
void key_down(int vk);

bool mouse_init();
void mouse_poll();
void mouse_release();
