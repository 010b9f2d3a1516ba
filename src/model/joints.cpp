// Joint set-up: owns resolving the parent links, the rest-pose matrices and
// the move of skinned vertices and normals into joint space at load time.
#include "model/joints.h"

#include <cstring>
#include <vector>

static int find_parent(const Model& model, const ModelJoint& joint) {
    if (joint.parent_name[0] == '\0') return -1;
    int parent = -1;
    for (int i = 0; i < int(model.joints.size()); i++)
        if (std::strcmp(model.joints[i].name, joint.parent_name) == 0) parent = i;
    return parent;
}

static void set_relative(ModelJoint* joint) {
    joint->relative = matrix_identity();
    matrix_set_rotation_radians(&joint->relative, joint->rotation.x, joint->rotation.y,
                                joint->rotation.z);
    matrix_set_translation(&joint->relative, joint->position);
}

// absolute = parent's absolute * relative, for a joint whose parent is done.
static void set_absolute(Model* model, int index) {
    ModelJoint& joint = model->joints[index];
    if (joint.parent < 0) {
        joint.absolute = joint.relative;
        return;
    }
    joint.absolute = model->joints[joint.parent].absolute;
    matrix_post_multiply(&joint.absolute, joint.relative);
}

// Builds every absolute matrix after its parent's. Walking up from a joint
// collects the chain of joints not yet done; the chain is then finished from
// the top down. A chain that comes back onto itself (a joint that is its own
// ancestor) is cut at the joint that closes the loop, which becomes a root.
static void set_absolute_in_parent_order(Model* model) {
    enum { PENDING, ON_CHAIN, DONE };
    std::vector<unsigned char> state(model->joints.size(), PENDING);
    std::vector<int> chain;
    for (int first = 0; first < int(model->joints.size()); first++) {
        chain.clear();
        int at = first;
        while (at >= 0 && state[at] == PENDING) {
            state[at] = ON_CHAIN;
            chain.push_back(at);
            at = model->joints[at].parent;
        }
        if (at >= 0 && state[at] == ON_CHAIN) model->joints[chain.back()].parent = -1;
        for (auto joint = chain.rbegin(); joint != chain.rend(); ++joint) {
            set_absolute(model, *joint);
            state[*joint] = DONE;
        }
    }
}

static void move_skinned_vertices(Model* model) {
    for (ModelVertex& vertex : model->vertices) {
        if (vertex.bone < 0 || vertex.bone >= int(model->joints.size())) continue;
        const Matrix& absolute = model->joints[vertex.bone].absolute;
        matrix_inverse_translate_vector(absolute, &vertex.position);
        matrix_inverse_rotate_vector(absolute, &vertex.position);
    }
}

// Normals are stored per corner, so each is turned exactly once.
static void turn_skinned_normals(Model* model) {
    for (ModelTriangle& triangle : model->triangles)
        for (int corner = 0; corner < 3; corner++) {
            uint16_t vertex = triangle.vertex_indices[corner];
            if (vertex >= model->vertices.size()) continue;
            int bone = model->vertices[vertex].bone;
            if (bone < 0 || bone >= int(model->joints.size())) continue;
            matrix_inverse_rotate_vector(model->joints[bone].absolute, &triangle.normals[corner]);
        }
}

void model_setup_joints(Model* model) {
    for (ModelJoint& joint : model->joints) {
        joint.parent = find_parent(*model, joint);
        set_relative(&joint);
    }
    set_absolute_in_parent_order(model);
    for (ModelJoint& joint : model->joints)
        joint.final = joint.absolute;
    move_skinned_vertices(model);
    turn_skinned_normals(model);
}
