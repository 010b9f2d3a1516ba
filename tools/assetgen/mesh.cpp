#include "mesh.h"

#include <stdexcept>

namespace {

constexpr float kPi = 3.14159265358979f;

// Adds a flat convex polygon around the shape's centre (the frame's origin),
// turning its corners so that it faces away from the centre. Texture
// coordinates come from the positions across the face, scaled by tile.
void add_flat_polygon(MeshBuilder& mesh, const Frame& frame, std::vector<Vec3> local, float tile) {
    Vec3 centre;
    for (Vec3 p : local)
        centre = centre + p;
    centre = centre * (1.0f / static_cast<float>(local.size()));
    Vec3 normal = cross(local[1] - local[0], local[2] - local[0]);
    if (dot(normal, centre) < 0) {
        std::vector<Vec3> reversed(local.rbegin(), local.rend());
        local = reversed;
        normal = normal * -1.0f;
    }
    // Planar mapping on the two axes the face spreads over most.
    Vec3 n = normalized(normal);
    Vec3 up = std::fabs(n.y) > 0.7f ? Vec3{0, 0, -1} : Vec3{0, 1, 0};
    Vec3 right = normalized(cross(up, n));
    up = cross(n, right);
    std::vector<uint16_t> index;
    std::vector<Uv> uv;
    for (Vec3 p : local) {
        index.push_back(mesh.vertex(frame.place(p)));
        uv.push_back({dot(p, right) / tile + 0.5f, dot(p, up) / tile + 0.5f});
    }
    for (size_t i = 1; i + 1 < local.size(); i++)
        mesh.triangle(index[0], index[i], index[i + 1], uv[0], uv[i], uv[i + 1], false);
}

} // namespace

Frame Frame::along(Vec3 origin, Vec3 direction) {
    Frame frame;
    frame.origin = origin;
    frame.az = normalized(direction);
    Vec3 helper = std::fabs(frame.az.y) < 0.9f ? Vec3{0, 1, 0} : Vec3{1, 0, 0};
    frame.ax = normalized(cross(helper, frame.az));
    frame.ay = cross(frame.az, frame.ax);
    return frame;
}

Frame Frame::turned_about_x(float angle) const {
    Frame frame = *this;
    float c = std::cos(angle), s = std::sin(angle);
    frame.ay = ay * c + az * s;
    frame.az = az * c - ay * s;
    return frame;
}

int MeshBuilder::add_material(const std::string& name) {
    materials_.push_back({name, ""});
    return static_cast<int>(materials_.size()) - 1;
}

void MeshBuilder::begin_group(const std::string& name, int material) {
    Ms3dGroup group;
    group.name = name;
    group.material = static_cast<int8_t>(material);
    groups_.push_back(group);
}

uint16_t MeshBuilder::vertex(Vec3 position) {
    if (positions_.size() >= 65535) throw std::runtime_error("model has too many vertices");
    positions_.push_back(position);
    return static_cast<uint16_t>(positions_.size() - 1);
}

void MeshBuilder::triangle(uint16_t a, uint16_t b, uint16_t c, Uv ua, Uv ub, Uv uc, bool smooth) {
    if (groups_.empty()) throw std::runtime_error("triangle outside a group");
    if (triangles_.size() >= 65535) throw std::runtime_error("model has too many triangles");
    triangles_.push_back({{a, b, c}, {ua, ub, uc}, smooth, static_cast<int>(groups_.size()) - 1});
}

void MeshBuilder::quad(uint16_t a, uint16_t b, uint16_t c, uint16_t d, Uv ua, Uv ub, Uv uc, Uv ud,
                       bool smooth) {
    triangle(a, b, c, ua, ub, uc, smooth);
    triangle(a, c, d, ua, uc, ud, smooth);
}

Ms3dFile MeshBuilder::finish() const {
    // Smooth normals: the area-weighted sum of the smooth faces around a vertex.
    std::vector<Vec3> vertex_normals(positions_.size());
    auto face_normal = [&](const Triangle& t) {
        return cross(positions_[t.v[1]] - positions_[t.v[0]],
                     positions_[t.v[2]] - positions_[t.v[0]]);
    };
    for (const Triangle& t : triangles_)
        if (t.smooth)
            for (uint16_t v : t.v)
                vertex_normals[v] = vertex_normals[v] + face_normal(t);

    Ms3dFile file;
    file.comment = "Made by the Sheepfall data tool";
    for (Vec3 p : positions_) {
        Ms3dVertex vertex;
        vertex.position[0] = p.x;
        vertex.position[1] = p.y;
        vertex.position[2] = p.z;
        file.vertices.push_back(vertex);
    }
    file.groups = groups_;
    for (size_t i = 0; i < triangles_.size(); i++) {
        const Triangle& t = triangles_[i];
        Ms3dTriangle out;
        Vec3 flat = normalized(face_normal(t));
        for (int corner = 0; corner < 3; corner++) {
            out.vertices[corner] = t.v[corner];
            Vec3 n = t.smooth ? normalized(vertex_normals[t.v[corner]]) : flat;
            out.normals[corner][0] = n.x;
            out.normals[corner][1] = n.y;
            out.normals[corner][2] = n.z;
            out.s[corner] = t.uv[corner].s;
            out.t[corner] = t.uv[corner].t;
        }
        out.group = static_cast<uint8_t>(t.group);
        file.groups[t.group].triangles.push_back(static_cast<uint16_t>(i));
        file.triangles.push_back(out);
    }
    file.materials = materials_;
    return file;
}

void add_ellipsoid(MeshBuilder& mesh, const Frame& frame, Vec3 radii, int slices, int stacks,
                   const std::function<float(Vec3)>& bump, float s_repeat, float t_repeat) {
    auto point = [&](Vec3 direction) {
        float scale = 1.0f + (bump ? bump(direction) : 0.0f);
        return frame.place({direction.x * radii.x * scale, direction.y * radii.y * scale,
                            direction.z * radii.z * scale});
    };
    uint16_t south = mesh.vertex(point({0, 0, -1}));
    std::vector<uint16_t> rings; // (stacks - 1) rings of slices vertices
    for (int j = 1; j < stacks; j++) {
        float polar = kPi * static_cast<float>(j) / static_cast<float>(stacks);
        for (int i = 0; i < slices; i++) {
            float around = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(slices);
            Vec3 d{std::sin(polar) * std::cos(around), std::sin(polar) * std::sin(around),
                   -std::cos(polar)};
            rings.push_back(mesh.vertex(point(d)));
        }
    }
    uint16_t north = mesh.vertex(point({0, 0, 1}));
    auto at = [&](int j, int i) { return rings[static_cast<size_t>(j - 1) * slices + i % slices]; };
    auto uv = [&](int j, int i) {
        return Uv{s_repeat * static_cast<float>(i) / static_cast<float>(slices),
                  t_repeat * static_cast<float>(j) / static_cast<float>(stacks)};
    };
    for (int i = 0; i < slices; i++) {
        Uv pole = uv(0, i);
        pole.s += 0.5f * s_repeat / static_cast<float>(slices);
        mesh.triangle(south, at(1, i + 1), at(1, i), pole, uv(1, i + 1), uv(1, i));
        for (int j = 1; j + 1 < stacks; j++)
            mesh.quad(at(j, i), at(j, i + 1), at(j + 1, i + 1), at(j + 1, i), uv(j, i),
                      uv(j, i + 1), uv(j + 1, i + 1), uv(j + 1, i));
        Uv top = uv(stacks, i);
        top.s += 0.5f * s_repeat / static_cast<float>(slices);
        mesh.triangle(north, at(stacks - 1, i), at(stacks - 1, i + 1), top, uv(stacks - 1, i),
                      uv(stacks - 1, i + 1));
    }
}

void add_lathe(MeshBuilder& mesh, const Frame& frame, const std::vector<Ring>& rings, int slices,
               bool cap_start, bool cap_end) {
    std::vector<std::vector<uint16_t>> ring_vertices;
    for (const Ring& ring : rings) {
        std::vector<uint16_t> ring_indices;
        for (int i = 0; i < slices; i++) {
            float around = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(slices);
            ring_indices.push_back(mesh.vertex(
                frame.place({ring.rx * std::cos(around), ring.ry * std::sin(around), ring.z})));
        }
        ring_vertices.push_back(ring_indices);
    }
    float length = std::fabs(rings.back().z - rings.front().z);
    auto uv = [&](size_t r, int i) {
        return Uv{static_cast<float>(i) / static_cast<float>(slices),
                  length > 0 ? std::fabs(rings[r].z - rings.front().z) / length : 0.0f};
    };
    bool increasing = rings.back().z >= rings.front().z;
    for (size_t r = 0; r + 1 < rings.size(); r++)
        for (int i = 0; i < slices; i++) {
            int n = (i + 1) % slices;
            // Low z to high z, then around: counter-clockwise seen from outside.
            size_t low = increasing ? r : r + 1, high = increasing ? r + 1 : r;
            mesh.quad(ring_vertices[low][i], ring_vertices[low][n], ring_vertices[high][n],
                      ring_vertices[high][i], uv(low, i), uv(low, i + 1), uv(high, i + 1),
                      uv(high, i));
        }
    auto cap = [&](size_t r, bool facing_plus_z) {
        const Ring& ring = rings[r];
        uint16_t centre = mesh.vertex(frame.place({0, 0, ring.z}));
        Uv middle{0.5f, 0.5f};
        for (int i = 0; i < slices; i++) {
            int n = (i + 1) % slices;
            float a0 = 2.0f * kPi * static_cast<float>(i) / static_cast<float>(slices);
            float a1 = 2.0f * kPi * static_cast<float>(n) / static_cast<float>(slices);
            Uv u0{0.5f + 0.5f * std::cos(a0), 0.5f + 0.5f * std::sin(a0)};
            Uv u1{0.5f + 0.5f * std::cos(a1), 0.5f + 0.5f * std::sin(a1)};
            if (facing_plus_z)
                mesh.triangle(centre, ring_vertices[r][i], ring_vertices[r][n], middle, u0, u1,
                              false);
            else
                mesh.triangle(centre, ring_vertices[r][n], ring_vertices[r][i], middle, u1, u0,
                              false);
        }
    };
    if (cap_start) cap(0, !increasing);
    if (cap_end) cap(rings.size() - 1, increasing);
}

void add_box(MeshBuilder& mesh, const Frame& frame, Vec3 half, float repeat) {
    // Each face: outward normal, and the directions of s and t seen from outside.
    struct Face {
        Vec3 normal, right, up;
    };
    const Face faces[6] = {
        {{0, 0, 1}, {1, 0, 0}, {0, 1, 0}},  {{0, 0, -1}, {-1, 0, 0}, {0, 1, 0}},
        {{1, 0, 0}, {0, 0, -1}, {0, 1, 0}}, {{-1, 0, 0}, {0, 0, 1}, {0, 1, 0}},
        {{0, 1, 0}, {1, 0, 0}, {0, 0, -1}}, {{0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
    };
    auto scaled = [&](Vec3 v) { return Vec3{v.x * half.x, v.y * half.y, v.z * half.z}; };
    for (const Face& face : faces) {
        uint16_t corner[4];
        const float cs[4] = {-1, 1, 1, -1}, ct[4] = {-1, -1, 1, 1};
        Uv uv[4];
        for (int k = 0; k < 4; k++) {
            corner[k] = mesh.vertex(
                frame.place(scaled(face.normal + face.right * cs[k] + face.up * ct[k])));
            uv[k] = {repeat * (cs[k] + 1) * 0.5f, repeat * (ct[k] + 1) * 0.5f};
        }
        mesh.quad(corner[0], corner[1], corner[2], corner[3], uv[0], uv[1], uv[2], uv[3], false);
    }
}

void add_bevelled_box(MeshBuilder& mesh, const Frame& frame, Vec3 half, float bevel) {
    const float h[3] = {half.x, half.y, half.z};
    // The point of corner (sx, sy, sz) pulled in by the bevel on every axis but one.
    auto point = [&](int sx, int sy, int sz, int full_axis) {
        float c[3];
        const int sign[3] = {sx, sy, sz};
        for (int a = 0; a < 3; a++)
            c[a] = static_cast<float>(sign[a]) * (a == full_axis ? h[a] : h[a] - bevel);
        return Vec3{c[0], c[1], c[2]};
    };
    float tile = 2.0f * std::max(half.x, std::max(half.y, half.z));
    for (int axis = 0; axis < 3; axis++)
        for (int s : {-1, 1}) {
            // The main face on this side of the axis.
            std::vector<Vec3> face;
            int a1 = (axis + 1) % 3, a2 = (axis + 2) % 3;
            const int signs[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
            for (const auto& sg : signs) {
                int sign[3];
                sign[axis] = s;
                sign[a1] = sg[0];
                sign[a2] = sg[1];
                face.push_back(point(sign[0], sign[1], sign[2], axis));
            }
            add_flat_polygon(mesh, frame, face, tile);
        }
    // The edge strips between two faces, along the third axis.
    for (int along = 0; along < 3; along++) {
        int a1 = (along + 1) % 3, a2 = (along + 2) % 3;
        for (int s1 : {-1, 1})
            for (int s2 : {-1, 1}) {
                std::vector<Vec3> strip;
                for (int e : {-1, 1})
                    for (int full : {a1, a2}) {
                        int sign[3];
                        sign[along] = e;
                        sign[a1] = s1;
                        sign[a2] = s2;
                        strip.push_back(point(sign[0], sign[1], sign[2], full));
                    }
                std::swap(strip[2], strip[3]); // around the strip, not across it
                add_flat_polygon(mesh, frame, strip, tile);
            }
    }
    // The corner triangles.
    for (int sx : {-1, 1})
        for (int sy : {-1, 1})
            for (int sz : {-1, 1})
                add_flat_polygon(mesh, frame,
                                 {point(sx, sy, sz, 0), point(sx, sy, sz, 1), point(sx, sy, sz, 2)},
                                 tile);
}
