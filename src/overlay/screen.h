// The shape of the picture: the aspect the 3-D views are drawn at, and the
// part of a fixed 2-D virtual screen (800 x 600 text, 640 x 480 heads-up
// display, 1920 x 1440 radar) the window shows. Stretched (keep_aspect 0),
// every screen covers the window exactly, as the game always drew it. With
// the true aspect a screen keeps square units and grows to the window's
// shape: wider on both sides in a wide window, taller in a tall one.
#pragma once

// The region of virtual-screen units the window spans.
struct ScreenArea {
    double left, right, bottom, top;
};

enum ScreenAnchor {
    SCREEN_CENTRED,  // the virtual screen stays in the middle (HUD, radar, pictures)
    SCREEN_TOP_LEFT, // it stays in the top-left corner (the console and its text)
};

// The area for a window of the given aspect (width over height); keep false
// gives the virtual screen itself.
ScreenArea screen_area_for(double width, double height, double aspect, bool keep,
                           ScreenAnchor anchor);
// The same for the window as it is now and keep_aspect.
ScreenArea screen_area(double width, double height, ScreenAnchor anchor);
// Projection: an orthographic view of the area (depth -500 .. 500);
// model-view: identity, left as the current matrix.
void screen_begin(const ScreenArea& area);

// The aspect the perspective views use: 1 when the picture stretches, the
// window's when it keeps its shape.
double perspective_aspect();
// The horizontal field of view, in radians, of a view with this vertical one
// at perspective_aspect.
float horizontal_field_of_view(float vertical);
