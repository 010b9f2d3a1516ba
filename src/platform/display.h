// What the display offers the drawing code: showing a picture at once.
// Declared here so the game can use it; the platform layer (app/video.cpp)
// implements it for its window.
#pragma once

// Flushes and swaps at once, so a picture shows before a long piece of work.
void present_frame();
