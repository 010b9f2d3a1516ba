// What the display offers the drawing code: showing a picture at once, and
// the window's shape.
// Declared here so the game can use it; the platform layer (app/video.cpp)
// implements it for its window.
#pragma once

// Flushes and swaps at once, so a picture shows before a long piece of work.
void present_frame();

// The window's drawable width over its height (1 before there is a window).
float window_aspect();
// The window's drawable size in pixels (0 x 0 before there is a window).
void window_drawable_size(int* width, int* height);
// True when the picture keeps its shape in the window (keep_aspect 1): the
// vertical field of view stays, the horizontal one follows the window and
// the 2-D screens grow rather than stretch. False: the picture stretches
// with the window, as the game always drew it.
bool picture_keeps_aspect();
