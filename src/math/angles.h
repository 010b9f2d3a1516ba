// Angles: the game holds them in radians and hands OpenGL degrees. The
// values are written out to the digits the game has always used, so every
// conversion gives the same bits everywhere.
#pragma once

constexpr double PI = 3.141592653589793;
constexpr float HALF_PI = 1.5707963267948966f;
constexpr float DEGREES_PER_RADIAN = 57.29577951308232f;
constexpr double RADIANS_PER_DEGREE = 0.017453292519943295;
