// What the display offers the drawing code: showing a picture at once and
// the shared sphere. Declared here so the game can use them; the platform
// layer (app/video.cpp) implements them for its window and context.
#pragma once

// Display list of a sphere of radius 10 (14 slices, 14 stacks), rebuilt for
// every new OpenGL context.
extern unsigned int sphere_list;

// Flushes and swaps at once, so a picture shows before a long piece of work.
void present_frame();
