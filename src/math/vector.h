// Vector and matrix math for models and game play: plain single-precision
// records. Matrices are column-major like OpenGL's: the element in row i and
// column j is at index 4 * j + i. Angles are in radians. Every operation
// computes its whole result before storing it, so an operand may also be the
// destination; none allocates or checks its arguments.
#pragma once

struct Vector3 {
    float x, y, z;
};

struct Vector4 {
    float x, y, z, w;
};

// A new Matrix is the identity. Elements 0-2, 4-6 and 8-10 hold the rotation
// (the turned x, y and z axes), 12-14 the translation.
struct Matrix {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

// An axis-aligned box: centre and half extents.
struct HitBox {
    Vector3 centre;
    Vector3 half_extents;
};

void vector3_copy(Vector3* destination, const Vector3& source);
// Unit length, or (0, 0, 0) when the vector is shorter than 1e-7.
void vector3_normalize(Vector3* v);

Matrix matrix_identity();
// Elements 12, 13, 14 = t; nothing else changes.
void matrix_set_translation(Matrix* matrix, const Vector3& t);
// Overwrites the rotation part with Rz(z) * Ry(y) * Rx(x): a point turns about
// x first, then y, then z, each counter-clockwise seen from the positive axis.
// The translation and the fourth row are left as they were.
void matrix_set_rotation_radians(Matrix* matrix, float x, float y, float z);
// a = a * b as affine transforms (b applies first); the fourth row of the
// result is always (0, 0, 0, 1).
void matrix_post_multiply(Matrix* a, const Matrix& b);
// v = v - translation.
void matrix_inverse_translate_vector(const Matrix& matrix, Vector3* v);
// v = transpose(rotation part) * v: the inverse of a pure rotation.
void matrix_inverse_rotate_vector(const Matrix& matrix, Vector3* v);

Vector4 vector4_from_vector3(const Vector3& v); // (x, y, z, 1)
// Full transform of (x, y, z, 1); writes all four components.
void vector4_transform(Vector4* v, const Matrix& matrix);
// Rotation part only; w becomes 1.
void vector4_rotate(Vector4* v, const Matrix& matrix);

// Separating-axis test of the segment midpoint +- half_length * direction
// (direction of unit length) against the box. Touching counts as a hit; a
// NaN anywhere makes it a miss.
bool segment_intersects_box(const HitBox& box, const Vector3& direction, const Vector3& midpoint,
                            float half_length);
