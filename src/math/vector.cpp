// Vector and matrix operations: the joint matrices and skinning of the models
// and the shot-against-sheep test of game play.
#include "math/vector.h"

#include "math/trig.h"

#include <cmath>

void vector3_copy(Vector3* destination, const Vector3& source) {
    *destination = source;
}

void vector3_normalize(Vector3* v) {
    float length = std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
    if (length < 1e-7f) {
        *v = {0.0f, 0.0f, 0.0f};
        return;
    }
    float r = 1.0f / length;
    *v = {v->x * r, v->y * r, v->z * r};
}

Matrix matrix_identity() {
    return Matrix{};
}

void matrix_set_translation(Matrix* matrix, const Vector3& t) {
    matrix->m[12] = t.x;
    matrix->m[13] = t.y;
    matrix->m[14] = t.z;
}

void matrix_set_rotation_radians(Matrix* matrix, float x, float y, float z) {
    float cr = game_cos(x), sr = game_sin(x);
    float cp = game_cos(y), sp = game_sin(y);
    float cy = game_cos(z), sy = game_sin(z);
    float* m = matrix->m;
    m[0] = cp * cy;
    m[1] = cp * sy;
    m[2] = -sp;
    m[4] = sr * sp * cy - cr * sy;
    m[5] = sr * sp * sy + cr * cy;
    m[6] = sr * cp;
    m[8] = cr * sp * cy + sr * sy;
    m[9] = cr * sp * sy - sr * cy;
    m[10] = cr * cp;
}

void matrix_post_multiply(Matrix* a, const Matrix& b) {
    const float* l = a->m;
    const float* r = b.m;
    Matrix result;
    for (int j = 0; j < 3; j++)
        for (int i = 0; i < 3; i++)
            result.m[4 * j + i] =
                l[i] * r[4 * j] + l[4 + i] * r[4 * j + 1] + l[8 + i] * r[4 * j + 2];
    for (int i = 0; i < 3; i++)
        result.m[12 + i] = l[i] * r[12] + l[4 + i] * r[13] + l[8 + i] * r[14] + l[12 + i];
    *a = result; // its fourth row is the identity's (0, 0, 0, 1)
}

void matrix_inverse_translate_vector(const Matrix& matrix, Vector3* v) {
    *v = {v->x - matrix.m[12], v->y - matrix.m[13], v->z - matrix.m[14]};
}

void matrix_inverse_rotate_vector(const Matrix& matrix, Vector3* v) {
    const float* m = matrix.m;
    float x = v->x, y = v->y, z = v->z;
    *v = {m[0] * x + m[1] * y + m[2] * z, m[4] * x + m[5] * y + m[6] * z,
          m[8] * x + m[9] * y + m[10] * z};
}

Vector4 vector4_from_vector3(const Vector3& v) {
    return {v.x, v.y, v.z, 1.0f};
}

void vector4_transform(Vector4* v, const Matrix& matrix) {
    const float* m = matrix.m;
    float x = v->x, y = v->y, z = v->z;
    *v = {m[0] * x + m[4] * y + m[8] * z + m[12], m[1] * x + m[5] * y + m[9] * z + m[13],
          m[2] * x + m[6] * y + m[10] * z + m[14], m[3] * x + m[7] * y + m[11] * z + m[15]};
}

void vector4_rotate(Vector4* v, const Matrix& matrix) {
    const float* m = matrix.m;
    float x = v->x, y = v->y, z = v->z;
    *v = {m[0] * x + m[4] * y + m[8] * z, m[1] * x + m[5] * y + m[9] * z,
          m[2] * x + m[6] * y + m[10] * z, 1.0f};
}

// Each test is written as "within the limit" so that a NaN, which compares
// false with everything, fails it.
static bool within(float value, float limit) {
    return std::fabs(value) <= limit;
}

bool segment_intersects_box(const HitBox& box, const Vector3& direction, const Vector3& midpoint,
                            float half_length) {
    const Vector3& d = direction;
    const Vector3& e = box.half_extents;
    Vector3 t{box.centre.x - midpoint.x, box.centre.y - midpoint.y, box.centre.z - midpoint.z};
    float ax = std::fabs(d.x), ay = std::fabs(d.y), az = std::fabs(d.z);
    return within(t.x, e.x + half_length * ax) && within(t.y, e.y + half_length * ay) &&
           within(t.z, e.z + half_length * az) &&
           within(t.y * d.z - t.z * d.y, e.y * az + e.z * ay) &&
           within(t.z * d.x - t.x * d.z, e.x * az + e.z * ax) &&
           within(t.x * d.y - t.y * d.x, e.x * ay + e.y * ax);
}
