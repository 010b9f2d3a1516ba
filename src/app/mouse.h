// The mouse in SDL's relative mode. Motion and buttons arrive as events
// through the one event handler; the motion is handed on to the next input
// record once per frame by mouse_poll, the buttons are keys of the key table
// (VK_LBUTTON...).
#pragma once

// Clears the key table and takes the mouse (hidden and held while the window
// has the focus). False when relative mode is not available.
bool mouse_init();
// Motion and button events of the held mouse.
void mouse_motion(int dx, int dy);
void mouse_button(int vk, bool down);
// The motion since the previous poll, handed on to the next input record.
void mouse_poll();
void mouse_release();
