// MilkShape 3D (.ms3d) writing for the data tool and the tests: the records
// as the modeller saves them, little-endian and packed. Version 4 files get
// the sections the modeller appends after the joints (comments and extra
// vertex, joint and model data); version 3 files end with the joints.
// Header-only, so the tests can write model files without the tool.
#pragma once

#include "file_writer.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

struct Ms3dVertex {
    float position[3] = {0, 0, 0};
    int8_t bone = -1;
    uint8_t flags = 0;
    uint8_t reference_count = 1;
};

struct Ms3dTriangle {
    uint16_t vertices[3] = {0, 0, 0};
    float normals[3][3] = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    float s[3] = {0, 0, 0};
    float t[3] = {0, 0, 0};
    uint16_t flags = 0;
    uint8_t smoothing_group = 1;
    uint8_t group = 0;
};

struct Ms3dGroup {
    std::string name;
    std::vector<uint16_t> triangles;
    int8_t material = -1;
    uint8_t flags = 0;
};

struct Ms3dMaterial {
    std::string name;
    std::string texture; // the modeller's own texture field; the game ignores it
};

struct Ms3dKeyframe {
    float time = 0;
    float value[3] = {0, 0, 0};
};

struct Ms3dJoint {
    std::string name;
    std::string parent;
    float rotation[3] = {0, 0, 0};
    float position[3] = {0, 0, 0};
    std::vector<Ms3dKeyframe> rotation_keys;
    std::vector<Ms3dKeyframe> translation_keys;
    uint8_t flags = 8;
};

struct Ms3dFile {
    int version = 4;
    std::vector<Ms3dVertex> vertices;
    std::vector<Ms3dTriangle> triangles;
    std::vector<Ms3dGroup> groups;
    std::vector<Ms3dMaterial> materials;
    float animation_fps = 24.0f;
    float current_time = 1.0f;
    int32_t total_frames = 30;
    std::vector<Ms3dJoint> joints;
    std::string comment; // the model comment of a version 4 file
};

// Appends little-endian values and fixed-size text fields.
class Ms3dBytes {
  public:
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v) {
        u8(uint8_t(v));
        u8(uint8_t(v >> 8));
    }
    void u32(uint32_t v) {
        u16(uint16_t(v));
        u16(uint16_t(v >> 16));
    }
    void f32(float v) {
        uint32_t bits;
        std::memcpy(&bits, &v, sizeof bits);
        u32(bits);
    }
    void floats(const float* v, int count) {
        for (int i = 0; i < count; i++)
            f32(v[i]);
    }
    // The text cut to size - 1 characters and padded with NULs.
    void text(const std::string& s, size_t size) {
        for (size_t i = 0; i < size; i++)
            u8(i + 1 < size && i < s.size() ? uint8_t(s[i]) : 0);
    }
    // A length-prefixed comment as version 4 stores them.
    void comment(int32_t index, const std::string& s) {
        u32(uint32_t(index));
        u32(uint32_t(s.size()));
        bytes.insert(bytes.end(), s.begin(), s.end());
    }
};

inline void ms3d_write_material(Ms3dBytes& out, const Ms3dMaterial& material) {
    const float ambient[4] = {0.2f, 0.2f, 0.2f, 1.0f}, diffuse[4] = {0.8f, 0.8f, 0.8f, 1.0f};
    const float specular[4] = {0, 0, 0, 1}, emissive[4] = {0, 0, 0, 1};
    out.text(material.name, 32);
    out.floats(ambient, 4);
    out.floats(diffuse, 4);
    out.floats(specular, 4);
    out.floats(emissive, 4);
    out.f32(0.0f); // shininess
    out.f32(1.0f); // transparency
    out.u8(0);     // mode
    out.text(material.texture, 128);
    out.text("", 128); // alpha map
}

inline void ms3d_write_joint(Ms3dBytes& out, const Ms3dJoint& joint) {
    out.u8(joint.flags);
    out.text(joint.name, 32);
    out.text(joint.parent, 32);
    out.floats(joint.rotation, 3);
    out.floats(joint.position, 3);
    out.u16(uint16_t(joint.rotation_keys.size()));
    out.u16(uint16_t(joint.translation_keys.size()));
    for (const auto* keys : {&joint.rotation_keys, &joint.translation_keys})
        for (const Ms3dKeyframe& key : *keys) {
            out.f32(key.time);
            out.floats(key.value, 3);
        }
}

// What the modeller appends to a version 4 file after the joints.
inline void ms3d_write_version4_tail(Ms3dBytes& out, const Ms3dFile& file) {
    out.u32(1); // comment sub-version
    out.u32(uint32_t(file.groups.empty() ? 0 : 1));
    if (!file.groups.empty()) out.comment(0, "group comment");
    out.u32(0); // material comments
    out.u32(0); // joint comments
    out.u32(file.comment.empty() ? 0 : 1);
    if (!file.comment.empty()) out.comment(0, file.comment);
    out.u32(2); // vertex extra sub-version: three bone ids, three weights, one extra
    for (size_t v = 0; v < file.vertices.size(); v++) {
        for (int i = 0; i < 3; i++)
            out.u8(0xFF);
        for (int i = 0; i < 3; i++)
            out.u8(0);
        out.u32(0);
    }
    out.u32(1); // joint extra sub-version: a colour per joint
    for (size_t i = 0; i < file.joints.size(); i++) {
        const float colour[3] = {1.0f, 0.8f, 0.1f};
        out.floats(colour, 3);
    }
    out.u32(1);    // model extra sub-version
    out.f32(1.0f); // joint size
    out.u32(0);    // transparency mode
    out.f32(0.5f); // alpha reference
}

inline std::vector<uint8_t> ms3d_bytes(const Ms3dFile& file) {
    Ms3dBytes out;
    for (char c : std::string("MS3D000000")) // the identifier, without a terminator
        out.u8(uint8_t(c));
    out.u32(uint32_t(file.version));
    out.u16(uint16_t(file.vertices.size()));
    for (const Ms3dVertex& vertex : file.vertices) {
        out.u8(vertex.flags);
        out.floats(vertex.position, 3);
        out.u8(uint8_t(vertex.bone));
        out.u8(vertex.reference_count);
    }
    out.u16(uint16_t(file.triangles.size()));
    for (const Ms3dTriangle& triangle : file.triangles) {
        out.u16(triangle.flags);
        for (uint16_t index : triangle.vertices)
            out.u16(index);
        for (const auto& normal : triangle.normals)
            out.floats(normal, 3);
        out.floats(triangle.s, 3);
        out.floats(triangle.t, 3);
        out.u8(triangle.smoothing_group);
        out.u8(triangle.group);
    }
    out.u16(uint16_t(file.groups.size()));
    for (const Ms3dGroup& group : file.groups) {
        out.u8(group.flags);
        out.text(group.name, 32);
        out.u16(uint16_t(group.triangles.size()));
        for (uint16_t index : group.triangles)
            out.u16(index);
        out.u8(uint8_t(group.material));
    }
    out.u16(uint16_t(file.materials.size()));
    for (const Ms3dMaterial& material : file.materials)
        ms3d_write_material(out, material);
    out.f32(file.animation_fps);
    out.f32(file.current_time);
    out.u32(uint32_t(file.total_frames));
    out.u16(uint16_t(file.joints.size()));
    for (const Ms3dJoint& joint : file.joints)
        ms3d_write_joint(out, joint);
    if (file.version >= 4) ms3d_write_version4_tail(out, file);
    return out.bytes;
}

inline void write_ms3d(const std::filesystem::path& file, const Ms3dFile& model) {
    write_file_bytes(file, ms3d_bytes(model));
}
