// The mouse in SDL's relative mode. Motion and the left button arrive as
// events through the one event handler and are handed to the game once per
// frame by mouse_poll, as the counts and button of that frame.
#pragma once

// Clears the key table and takes the mouse (hidden and held while the window
// has the focus). False when relative mode is not available.
bool mouse_init();
// Motion and left-button events of the held mouse.
void mouse_motion(int dx, int dy);
void mouse_left_button(bool down);
// The motion since the previous poll and the left button into the input
// module; a click that began and ended between two polls shows as held.
void mouse_poll();
void mouse_release();
