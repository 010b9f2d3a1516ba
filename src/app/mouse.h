// The mouse in SDL's relative mode, read once per frame into the input
// module's mouse values.
#pragma once

// Clears the key table and takes the mouse (hidden and held while the window
// has the focus). False when relative mode is not available.
bool mouse_init();
void mouse_poll();
void mouse_release();
