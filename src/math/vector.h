// Vector and matrix math for models and game play: plain single-precision
// records. Matrices are column-major like OpenGL's: the element in row i and
// column j is at index 4 * j + i.
#pragma once

struct Vector3 {
    float x, y, z;
};

struct Vector4 {
    float x, y, z, w;
};

struct Matrix {
    float m[16];
};

// An axis-aligned box: centre and half extents.
struct HitBox {
    Vector3 centre;
    Vector3 half_extents;
};
