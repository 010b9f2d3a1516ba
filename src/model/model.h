// Models: the record of a MilkShape 3D model with its material layers.
// Loading is in load.h, drawing in draw.h, the material file in material.h,
// the joints in joints.h.
#pragma once

#include "math/vector.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct Texture;

constexpr int MODEL_NAME_SIZE = 32;

struct ModelVertex {
    uint8_t flags;
    Vector3 position;
    int8_t bone; // joint that moves this vertex, -1 for none
    uint8_t reference_count;
};

struct ModelTriangle {
    uint16_t flags;
    uint16_t vertex_indices[3];
    Vector3 normals[3]; // one per corner
    float s[3];
    float t[3]; // used as stored, not flipped
    uint8_t smoothing_group;
    uint8_t group_index;
};

struct ModelGroup {
    uint8_t flags;
    char name[MODEL_NAME_SIZE]; // always NUL-terminated
    uint16_t triangle_count;
    std::vector<uint16_t> triangle_indices;
    int8_t material_index; // -1: no material, never drawn
};

// The file's own material record, kept as read: colours and textures come
// from the material file instead.
constexpr int MODEL_MATERIAL_SIZE = 361;
struct ModelMaterial {
    uint8_t bytes[MODEL_MATERIAL_SIZE];
};

struct ModelKeyframe {
    float time;
    Vector3 value; // rotation angles or a translation
};

struct ModelJoint {
    uint8_t flags;
    char name[MODEL_NAME_SIZE];        // always NUL-terminated
    char parent_name[MODEL_NAME_SIZE]; // empty for a root
    Vector3 rotation;                  // radians about x, y, z
    Vector3 position;
    uint16_t rotation_key_count;
    uint16_t translation_key_count;
    std::vector<ModelKeyframe> rotation_keys;
    std::vector<ModelKeyframe> translation_keys;
    int parent = -1;
    Matrix absolute; // rest pose in model space
    Matrix relative; // rest pose relative to the parent
    Matrix final;    // joint space to model space while drawing
};

// How the second texture layer is combined with the base.
enum CombineMode {
    COMBINE_DEFAULT = 0, // any other word: drawn like COMBINE_ADD
    COMBINE_ADD = 1,
    COMBINE_ADD_SIGNED = 2,
    COMBINE_ALPHA = 4,
    COMBINE_MULTIPLY = 5,
};

struct MaterialLayers {
    bool has_second_layer = false;
    Texture* base_texture = nullptr;
    bool base_env_map = false;
    CombineMode base_combine = COMBINE_DEFAULT; // parsed, not applied
    Texture* second_texture = nullptr;
    bool second_env_map = false;
    CombineMode second_combine = COMBINE_DEFAULT;
};

// A new Model is empty: nothing to draw. The arrays always hold exactly
// their count of entries.
struct Model {
    uint16_t vertex_count = 0;
    std::vector<ModelVertex> vertices;
    uint16_t triangle_count = 0;
    std::vector<ModelTriangle> triangles;
    uint16_t group_count = 0;
    std::vector<ModelGroup> groups;
    uint16_t material_count = 0;
    std::vector<ModelMaterial> materials;
    std::vector<MaterialLayers> material_layers;
    float animation_fps = 0.0f;
    float current_time = 0.0f;
    int32_t total_frames = 0;
    uint16_t joint_count = 0;
    std::vector<ModelJoint> joints;
    bool draw_immediate = true;
    unsigned int display_list = 0;
    // Where the display list is valid: the OpenGL context it was recorded in
    // and the texture objects it binds, in material order.
    unsigned int list_context = 0;
    std::vector<unsigned int> list_textures;
};
