// Screen shape: owns no state; it turns the window's aspect and keep_aspect
// (app/video's) into the areas and the aspect that drawing uses.
#include "overlay/screen.h"

#include "gl.h"
#include "platform/display.h"

#include <cmath>

ScreenArea screen_area_for(double width, double height, double aspect, bool keep,
                           ScreenAnchor anchor) {
    ScreenArea area = {0.0, width, 0.0, height};
    if (!keep || !(aspect > 0.0)) return area;
    double grow_x = height * aspect - width; // more units across than the screen has
    double grow_y = width / aspect - height; // more units down
    if (grow_x > 0.0) {
        if (anchor == SCREEN_CENTRED) area.left -= grow_x * 0.5;
        area.right = area.left + height * aspect;
    } else if (grow_y > 0.0) {
        area.bottom -= anchor == SCREEN_CENTRED ? grow_y * 0.5 : grow_y;
        area.top = area.bottom + width / aspect;
    }
    return area;
}

ScreenArea screen_area(double width, double height, ScreenAnchor anchor) {
    return screen_area_for(width, height, window_aspect(), picture_keeps_aspect(), anchor);
}

void screen_begin(const ScreenArea& area) {
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(area.left, area.right, area.bottom, area.top, -500.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

double perspective_aspect() {
    return picture_keeps_aspect() ? static_cast<double>(window_aspect()) : 1.0;
}

float horizontal_field_of_view(float vertical) {
    if (!picture_keeps_aspect()) return vertical; // the stretched view is square
    double half = std::atan(std::tan(vertical * 0.5) * perspective_aspect());
    return static_cast<float>(half * 2.0);
}
