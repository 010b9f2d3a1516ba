// libFuzzer target for the model reader: every input is read as a .ms3d file
// from memory, and a file that is accepted has its joints set up, so the
// counts, the indices checked against their arrays, the parent search and
// the skinning of vertices and normals all see arbitrary data. An accepted
// model must have every index that drawing follows inside its array.
#include "model/joints.h"
#include "model/load.h"

#include <cstddef>
#include <cstdint>

static bool indices_inside(const Model& model) {
    if (model.vertices.size() != model.vertex_count ||
        model.triangles.size() != model.triangle_count ||
        model.groups.size() != model.group_count ||
        model.materials.size() != model.material_count || model.joints.size() != model.joint_count)
        return false;
    for (const ModelTriangle& triangle : model.triangles)
        for (uint16_t vertex : triangle.vertex_indices)
            if (vertex >= model.vertex_count) return false;
    for (const ModelGroup& group : model.groups) {
        if (group.triangle_indices.size() != group.triangle_count) return false;
        for (uint16_t triangle : group.triangle_indices)
            if (triangle >= model.triangle_count) return false;
        if (group.material_index < -1 || group.material_index >= int(model.material_count))
            return false;
    }
    for (const ModelVertex& vertex : model.vertices)
        if (vertex.bone < -1 || vertex.bone >= int(model.joint_count)) return false;
    for (const ModelJoint& joint : model.joints)
        if (joint.parent < -1 || joint.parent >= int(model.joint_count)) return false;
    return true;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Model model;
    if (model_read(&model, data, size)) {
        model_setup_joints(&model);
        if (!indices_inside(model)) __builtin_trap();
    }
    model_release(&model); // no display list was made, so no OpenGL call
    return 0;
}
