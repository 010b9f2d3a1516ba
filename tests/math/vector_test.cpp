// Vector and matrix operations: rotation direction and order, the order of a
// post-multiplication, the moves into a joint's frame, and every test of the
// segment-against-box check with its edge cases.
#include "math/vector.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kHalfPi = 1.5707963267948966f;

Vector3 rotated(const Matrix& m, Vector3 v) {
    Vector4 r = vector4_from_vector3(v);
    vector4_rotate(&r, m);
    return {r.x, r.y, r.z};
}

Vector3 transformed(const Matrix& m, Vector3 v) {
    Vector4 r = vector4_from_vector3(v);
    vector4_transform(&r, m);
    return {r.x, r.y, r.z};
}

void expect_near(Vector3 actual, Vector3 expected, const char* what = "") {
    EXPECT_NEAR(actual.x, expected.x, 1e-5f) << what;
    EXPECT_NEAR(actual.y, expected.y, 1e-5f) << what;
    EXPECT_NEAR(actual.z, expected.z, 1e-5f) << what;
}

Matrix rotation(float x, float y, float z) {
    Matrix m = matrix_identity();
    matrix_set_rotation_radians(&m, x, y, z);
    return m;
}

} // namespace

TEST(Vector3Normalize, ScalesToUnitLengthOrZeroesWhatIsTooShort) {
    struct Case {
        Vector3 in, out;
    } cases[] = {
        {{0, 0, 0}, {0, 0, 0}},     {{5e-8f, 0, 0}, {0, 0, 0}},   {{0, -9e-8f, 0}, {0, 0, 0}},
        {{2e-7f, 0, 0}, {1, 0, 0}}, {{3, 4, 0}, {0.6f, 0.8f, 0}}, {{0, 0, -2}, {0, 0, -1}},
    };
    for (const Case& c : cases) {
        Vector3 v = c.in;
        vector3_normalize(&v);
        expect_near(v, c.out);
    }
}

TEST(MatrixRotation, ZeroAnglesWriteTheIdentityIntoTheRotationPartOnly) {
    Matrix m;
    for (float& element : m.m)
        element = 7.0f;
    matrix_set_rotation_radians(&m, 0, 0, 0);
    for (int i = 0; i < 16; i++) {
        bool rotation_part = i % 4 != 3 && i < 12;
        float expected = rotation_part ? (i % 5 == 0 ? 1.0f : 0.0f) : 7.0f;
        EXPECT_EQ(m.m[i], expected) << "element " << i;
    }
}

TEST(MatrixRotation, TurnsCounterClockwiseAboutXThenYThenZ) {
    struct Case {
        Vector3 angles, in, out;
    } cases[] = {
        {{0, 0, kHalfPi}, {1, 0, 0}, {0, 1, 0}},
        {{kHalfPi, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {{0, kHalfPi, 0}, {0, 0, 1}, {1, 0, 0}},
        // x first: (0, 1, 0) -> (0, 0, 1), which z leaves alone; z first
        // would have given (-1, 0, 0).
        {{kHalfPi, 0, kHalfPi}, {0, 1, 0}, {0, 0, 1}},
        {{kHalfPi, kHalfPi, 0}, {0, 1, 0}, {1, 0, 0}},
    };
    for (const Case& c : cases)
        expect_near(rotated(rotation(c.angles.x, c.angles.y, c.angles.z), c.in), c.out);
}

TEST(MatrixPostMultiply, TheRightOperandAppliesFirst) {
    Matrix translate = matrix_identity();
    matrix_set_translation(&translate, {10, 0, 0});
    Matrix turn = rotation(0, 0, kHalfPi);

    Matrix a = translate;
    matrix_post_multiply(&a, turn); // turn, then move
    expect_near(transformed(a, {1, 0, 0}), {10, 1, 0});
    Matrix b = turn;
    matrix_post_multiply(&b, translate); // move, then turn
    expect_near(transformed(b, {1, 0, 0}), {0, 11, 0});
}

TEST(MatrixPostMultiply, KeepsAnAffineMatrixUnderTheIdentityAndResetsTheFourthRow) {
    Matrix a = rotation(0.3f, -0.7f, 1.1f);
    matrix_set_translation(&a, {1, 2, 3});
    Matrix expected = a;
    a.m[3] = 5.0f;
    a.m[7] = -2.0f;
    a.m[15] = 3.0f;
    matrix_post_multiply(&a, matrix_identity());
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(a.m[i], expected.m[i]) << "element " << i;
}

TEST(MatrixPostMultiply, AMatrixMayBeMultipliedByItself) {
    Matrix a = rotation(0.2f, 0.4f, -0.6f);
    matrix_set_translation(&a, {4, -5, 6});
    Matrix product = a;
    Matrix copy = a;
    matrix_post_multiply(&product, copy);
    matrix_post_multiply(&a, a);
    for (int i = 0; i < 16; i++)
        EXPECT_FLOAT_EQ(a.m[i], product.m[i]) << "element " << i;
}

TEST(MatrixInverse, TranslateThenRotateUndoesTheTransform) {
    Matrix m = rotation(0.3f, -0.7f, 1.1f);
    matrix_set_translation(&m, {1, 2, 3});
    Vector3 point{4, -5, 6};
    Vector3 moved = transformed(m, point);
    matrix_inverse_translate_vector(m, &moved);
    matrix_inverse_rotate_vector(m, &moved);
    expect_near(moved, point);
}

TEST(Vector4, TransformAddsTheTranslationAndRotateLeavesItOut) {
    Matrix m = matrix_identity();
    matrix_set_translation(&m, {1, -2, 3});
    Vector4 v{4, 5, 6, 9};
    vector4_transform(&v, m);
    EXPECT_EQ(v.x, 5);
    EXPECT_EQ(v.y, 3);
    EXPECT_EQ(v.z, 9);
    EXPECT_EQ(v.w, 1); // the input w is taken as 1
    Vector4 r{4, 5, 6, 9};
    vector4_rotate(&r, m);
    EXPECT_EQ(r.x, 4);
    EXPECT_EQ(r.y, 5);
    EXPECT_EQ(r.z, 6);
    EXPECT_EQ(r.w, 1);
}

TEST(SegmentIntersectsBox, EachSeparatingTestAndItsEdge) {
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float d = 0.70710678f; // 1 / sqrt(2)
    const HitBox big{{0, 0, 0}, {10, 10, 10}};
    const HitBox unit{{0, 0, 0}, {1, 1, 1}};
    struct Case {
        const char* name;
        HitBox box;
        Vector3 direction, midpoint;
        float half_length;
        bool hit;
    } cases[] = {
        {"reaches the face exactly", big, {1, 0, 0}, {13, 0, 0}, 3.0f, true},
        {"stops short of the face", big, {1, 0, 0}, {13, 0, 0}, 2.9f, false},
        {"beside on x (test 1)", big, {0, 1, 0}, {20, 0, 0}, 3.0f, false},
        {"beside on y (test 2)", big, {1, 0, 0}, {0, 20, 0}, 3.0f, false},
        {"beside on z (test 3)", big, {1, 0, 0}, {0, 0, 20}, 3.0f, false},
        {"a point inside", big, {0, 0, 0}, {9, -9, 9}, 0.0f, true},
        {"a point on the surface", big, {0, 0, 0}, {10, 0, 0}, 0.0f, true},
        {"a point just outside", big, {0, 0, 0}, {10.01f, 0, 0}, 0.0f, false},
        {"past an edge in y-z (test 4)", unit, {0, d, -d}, {0, 1.8f, 1.8f}, 3.0f, false},
        {"past an edge in z-x (test 5)", unit, {d, 0, -d}, {1.8f, 0, 1.8f}, 3.0f, false},
        {"past an edge in x-y (test 6)", unit, {d, -d, 0}, {1.8f, 1.8f, 0}, 3.0f, false},
        {"across a corner in x-y", unit, {d, -d, 0}, {0.9f, 0.9f, 0}, 3.0f, true},
        {"grazing an edge in x-y", unit, {0.5f, 0.5f, 0}, {2, 0, 0}, 4.0f, true},
        {"just past that edge", unit, {0.5f, 0.5f, 0}, {2.001f, 0, 0}, 4.0f, false},
        {"NaN midpoint", big, {1, 0, 0}, {nan, 0, 0}, 3.0f, false},
        {"NaN direction", big, {nan, 0, 0}, {0, 0, 0}, 3.0f, false},
        {"NaN half length", big, {1, 0, 0}, {0, 0, 0}, nan, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(segment_intersects_box(c.box, c.direction, c.midpoint, c.half_length), c.hit)
            << c.name;
}
