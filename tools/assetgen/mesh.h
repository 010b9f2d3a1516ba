// Building models for the data tool: vertices, triangles with texture
// coordinates per corner, groups and materials, and a few solid shapes from
// which the game's models are put together. Normals are worked out at the
// end: smooth shapes share them across their vertices, flat ones get the
// face's own.
#pragma once

#include "ms3d_writer.h"

#include <cmath>
#include <functional>
#include <string>
#include <vector>

struct Vec3 {
    float x = 0, y = 0, z = 0;
};

inline Vec3 operator+(Vec3 a, Vec3 b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec3 operator-(Vec3 a, Vec3 b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec3 operator*(Vec3 a, float k) {
    return {a.x * k, a.y * k, a.z * k};
}
inline float dot(Vec3 a, Vec3 b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec3 cross(Vec3 a, Vec3 b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec3 normalized(Vec3 a) {
    float length = std::sqrt(dot(a, a));
    return length > 0 ? a * (1.0f / length) : Vec3{0, 0, 1};
}

// A placed shape's own axes: local (x, y, z) lands at origin + x*ax + y*ay + z*az.
struct Frame {
    Vec3 origin;
    Vec3 ax{1, 0, 0};
    Vec3 ay{0, 1, 0};
    Vec3 az{0, 0, 1};

    Vec3 place(Vec3 local) const { return origin + ax * local.x + ay * local.y + az * local.z; }
    // The same frame with its z axis along the given direction.
    static Frame along(Vec3 origin, Vec3 direction);
    // Turned about its own x axis by the angle (radians).
    Frame turned_about_x(float angle) const;
};

struct Uv {
    float s = 0, t = 0;
};

class MeshBuilder {
  public:
    int add_material(const std::string& name);
    // Later triangles go into a new group drawn with that material.
    void begin_group(const std::string& name, int material);
    uint16_t vertex(Vec3 position);
    // Corners counter-clockwise seen from outside.
    void triangle(uint16_t a, uint16_t b, uint16_t c, Uv ua, Uv ub, Uv uc, bool smooth = true);
    void quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, Uv ua, Uv ub, Uv uc, Uv ud,
              bool smooth = true);
    size_t triangle_count() const { return triangles_.size(); }
    // The finished file with its normals.
    Ms3dFile finish() const;

  private:
    struct Triangle {
        uint16_t v[3];
        Uv uv[3];
        bool smooth;
        int group;
    };
    std::vector<Vec3> positions_;
    std::vector<Triangle> triangles_;
    std::vector<Ms3dGroup> groups_;
    std::vector<Ms3dMaterial> materials_;
};

// A closed ellipsoid around the frame's origin with the radii along its axes,
// from the pole at -z to the pole at +z. The radius in each direction is
// scaled by 1 + bump(direction), with the direction a unit vector in the
// frame. Texture s runs around (times s_repeat), t from pole to pole.
void add_ellipsoid(MeshBuilder& mesh, const Frame& frame, Vec3 radii, int slices, int stacks,
                   const std::function<float(Vec3)>& bump = nullptr, float s_repeat = 1.0f,
                   float t_repeat = 1.0f);

// One ring of a lathed shape: its position along the frame's z axis and its
// radii across x and y.
struct Ring {
    float z;
    float rx;
    float ry;
};

// A surface of revolution along the frame's z axis through the rings in
// order, closed at either end with a flat cap when asked.
void add_lathe(MeshBuilder& mesh, const Frame& frame, const std::vector<Ring>& rings, int slices,
               bool cap_start, bool cap_end);

// A box of the half extents around the frame's origin, flat faces, each
// face mapped with texture coordinates 0..1 (times repeat).
void add_box(MeshBuilder& mesh, const Frame& frame, Vec3 half, float repeat = 1.0f);

// A box whose edges are cut at 45 degrees by the bevel width: eighteen flat
// faces, so edges catch the light.
void add_bevelled_box(MeshBuilder& mesh, const Frame& frame, Vec3 half, float bevel);
