// Model loading: owns the reading of .ms3d files with their validation, the
// order of the load steps and releasing a model. Files are read whole and
// parsed from memory; every count is checked against the bytes that are left
// before anything is allocated, and every index against its array.
#include "model/load.h"

#include "console/output.h"
#include "files/file_io.h"
#include "gl.h"
#include "model/draw.h"
#include "model/joints.h"
#include "model/material.h"

#include <cstdio>
#include <cstring>

// Which index model_read found pointing outside its array, for its caller's
// error line.
static std::string bad_index;

namespace {

constexpr size_t HEADER_SIZE = 14;
constexpr size_t VERTEX_SIZE = 15;
constexpr size_t TRIANGLE_SIZE = 70;
constexpr size_t GROUP_MIN_SIZE = 36; // with no triangle indices
constexpr size_t JOINT_MIN_SIZE = 93; // with no keyframes
constexpr size_t KEYFRAME_SIZE = 16;

// Little-endian reads from a buffer; a read past the end fails and leaves
// the value zero, and every later read fails too.
class ByteReader {
  public:
    ByteReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    size_t left() const { return size_ - at_; }
    bool ok() const { return ok_; }
    // Whether count records of the given size can still be read; when not,
    // the file is cut off there and every later read fails.
    bool holds(size_t count, size_t record_size) {
        if (ok_ && count <= left() / record_size) return true;
        return ok_ = false;
    }
    bool skip(size_t count) {
        if (!ok_ || count > left()) return ok_ = false;
        at_ += count;
        return true;
    }
    uint8_t u8() {
        uint8_t value = 0;
        bytes(&value, 1);
        return value;
    }
    int8_t s8() { return static_cast<int8_t>(u8()); }
    uint16_t u16() {
        uint8_t b[2] = {};
        bytes(b, 2);
        return static_cast<uint16_t>(b[0] | b[1] << 8);
    }
    uint32_t u32() {
        uint8_t b[4] = {};
        bytes(b, 4);
        return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    }
    float f32() {
        uint32_t bits = u32();
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
    Vector3 vector3() {
        float x = f32(), y = f32();
        return {x, y, f32()};
    }
    // A fixed-size name field; the copy always ends with a NUL.
    void name(char (&field)[MODEL_NAME_SIZE]) {
        bytes(field, MODEL_NAME_SIZE);
        field[MODEL_NAME_SIZE - 1] = '\0';
    }
    void bytes(void* out, size_t count) {
        if (!ok_ || count > left()) {
            ok_ = false;
            std::memset(out, 0, count);
            return;
        }
        std::memcpy(out, data_ + at_, count);
        at_ += count;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
    bool ok_ = true;
};

} // namespace

static bool read_vertices(ByteReader& in, Model* model) {
    uint16_t count = in.u16();
    if (!in.holds(count, VERTEX_SIZE)) return false;
    model->vertex_count = count;
    model->vertices.resize(count);
    for (ModelVertex& vertex : model->vertices) {
        vertex.flags = in.u8();
        vertex.position = in.vector3();
        vertex.bone = in.s8();
        vertex.reference_count = in.u8();
    }
    return in.ok();
}

// Notes that an index points past its array; always false.
static bool index_outside(const char* what, long index, const char* array, size_t count) {
    char text[128];
    std::snprintf(text, sizeof text, "%s names %s %ld of only %zu", what, array, index, count);
    bad_index = text;
    return false;
}

static bool read_triangles(ByteReader& in, Model* model) {
    uint16_t count = in.u16();
    if (!in.holds(count, TRIANGLE_SIZE)) return false;
    model->triangle_count = count;
    model->triangles.resize(count);
    for (ModelTriangle& triangle : model->triangles) {
        triangle.flags = in.u16();
        for (uint16_t& index : triangle.vertex_indices) {
            index = in.u16();
            if (index >= model->vertex_count)
                return index_outside("a triangle", index, "vertex", model->vertex_count);
        }
        for (Vector3& normal : triangle.normals)
            normal = in.vector3();
        for (float& s : triangle.s)
            s = in.f32();
        for (float& t : triangle.t)
            t = in.f32();
        triangle.smoothing_group = in.u8();
        triangle.group_index = in.u8();
    }
    return in.ok();
}

static bool read_group(ByteReader& in, const Model& model, ModelGroup* group) {
    group->flags = in.u8();
    in.name(group->name);
    group->triangle_count = in.u16();
    if (!in.holds(group->triangle_count, 2)) return false;
    group->triangle_indices.resize(group->triangle_count);
    for (uint16_t& index : group->triangle_indices) {
        index = in.u16();
        if (index >= model.triangle_count)
            return index_outside("a group", index, "triangle", model.triangle_count);
    }
    group->material_index = in.s8();
    return in.ok();
}

static bool read_groups(ByteReader& in, Model* model) {
    uint16_t count = in.u16();
    if (!in.holds(count, GROUP_MIN_SIZE)) return false;
    model->group_count = count;
    model->groups.resize(count);
    for (ModelGroup& group : model->groups)
        if (!read_group(in, *model, &group)) return false;
    return true;
}

static bool read_materials(ByteReader& in, Model* model) {
    uint16_t count = in.u16();
    if (!in.holds(count, MODEL_MATERIAL_SIZE)) return false;
    model->material_count = count;
    model->materials.resize(count);
    for (ModelMaterial& material : model->materials)
        in.bytes(material.bytes, MODEL_MATERIAL_SIZE);
    return in.ok();
}

static bool read_keyframes(ByteReader& in, std::vector<ModelKeyframe>* keys) {
    for (ModelKeyframe& key : *keys) {
        key.time = in.f32();
        key.value = in.vector3();
    }
    return in.ok();
}

static bool read_joint(ByteReader& in, ModelJoint* joint) {
    joint->flags = in.u8();
    in.name(joint->name);
    in.name(joint->parent_name);
    joint->rotation = in.vector3();
    joint->position = in.vector3();
    joint->rotation_key_count = in.u16();
    joint->translation_key_count = in.u16();
    size_t keys = size_t(joint->rotation_key_count) + joint->translation_key_count;
    if (!in.holds(keys, KEYFRAME_SIZE)) return false;
    joint->rotation_keys.resize(joint->rotation_key_count);
    joint->translation_keys.resize(joint->translation_key_count);
    return read_keyframes(in, &joint->rotation_keys) &&
           read_keyframes(in, &joint->translation_keys);
}

static bool read_joints(ByteReader& in, Model* model) {
    uint16_t count = in.u16();
    if (!in.holds(count, JOINT_MIN_SIZE)) return false;
    model->joint_count = count;
    model->joints.resize(count);
    for (ModelJoint& joint : model->joints)
        if (!read_joint(in, &joint)) return false;
    return true;
}

// Indices that point forward in the file (bones to joints, groups to
// materials) can only be checked once their arrays are known.
static bool forward_indices_valid(const Model& model) {
    for (const ModelVertex& vertex : model.vertices)
        if (vertex.bone < -1 || vertex.bone >= int(model.joint_count))
            return index_outside("a vertex", vertex.bone, "joint", model.joint_count);
    for (const ModelGroup& group : model.groups)
        if (group.material_index < -1 || group.material_index >= int(model.material_count))
            return index_outside("a group", group.material_index, "material", model.material_count);
    return true;
}

// The parts of the file in their order, each with the step that reads it.
static bool read_header(ByteReader& in, Model*) {
    return in.skip(HEADER_SIZE); // identifier and version, not examined
}

static bool read_animation(ByteReader& in, Model* model) {
    model->animation_fps = in.f32();
    model->current_time = in.f32();
    model->total_frames = static_cast<int32_t>(in.u32());
    return in.ok();
}

namespace {

struct ModelPart {
    const char* name;
    bool (*read)(ByteReader& in, Model* model);
};

const ModelPart MODEL_PARTS[] = {
    {"header", read_header}, {"vertices", read_vertices},   {"triangles", read_triangles},
    {"groups", read_groups}, {"materials", read_materials}, {"animation", read_animation},
    {"joints", read_joints},
};

} // namespace

bool model_read(Model* model, const uint8_t* data, size_t size, std::string* reason) {
    ByteReader in(data, size);
    bad_index.clear();
    for (const ModelPart& part : MODEL_PARTS) {
        if (part.read(in, model)) continue;
        if (reason && !in.ok())
            *reason = "cut off at byte " + std::to_string(size) + " (in its " + part.name + ")";
        else if (reason)
            *reason = bad_index;
        return false;
    }
    // Whatever follows the last joint (the comments and extra data that newer
    // files append) is not read.
    if (forward_indices_valid(*model)) return true;
    if (reason) *reason = bad_index;
    return false;
}

static bool load_geometry(Model* model, const char* model_path) {
    std::vector<uint8_t> bytes;
    std::string reason;
    if (!read_whole_file(model_path, &bytes, &reason)) {
        console_print_errorf("Can't open model %s: %s", model_path, reason.c_str());
        return false;
    }
    if (!model_read(model, bytes.data(), bytes.size(), &reason)) {
        console_print_errorf("Bad model file %s: %s", model_path, reason.c_str());
        return false;
    }
    return true;
}

bool model_load(Model* model, const char* model_path, const char* material_path) {
    model_release(model);
    if (!load_geometry(model, model_path) || !material_load(model, material_path)) {
        model_release(model); // a half-loaded model must never be drawn
        return false;
    }
    model_setup_joints(model);
    if (model->joint_count == 0) model_record_display_list(model);
    return true;
}

void model_release(Model* model) {
    if (!model->draw_immediate && model->list_context == gl_driver().context_serial)
        glDeleteLists(model->display_list, 1);
    *model = Model{};
}
