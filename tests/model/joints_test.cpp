// Joint set-up on models written by the data tool's writer: parents by name
// whatever the file order, rest-pose matrices, and skinned vertices and
// normals moved into joint space.
#include "assetgen/ms3d_writer.h"
#include "model/joints.h"
#include "model/load.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr float kHalfPi = 1.5707963267948966f;

Ms3dJoint joint(const std::string& name, const std::string& parent, Vector3 position,
                Vector3 rotation = {0, 0, 0}) {
    Ms3dJoint j;
    j.name = name;
    j.parent = parent;
    j.position[0] = position.x;
    j.position[1] = position.y;
    j.position[2] = position.z;
    j.rotation[0] = rotation.x;
    j.rotation[1] = rotation.y;
    j.rotation[2] = rotation.z;
    return j;
}

// One triangle whose first vertex is bound to the given joint, the others free.
Ms3dFile skinned_triangle(Vector3 first, int8_t bone, Vector3 normal) {
    Ms3dFile file;
    const Vector3 corners[3] = {first, {7, 8, 9}, {-1, -2, -3}};
    for (int i = 0; i < 3; i++) {
        Ms3dVertex v;
        v.position[0] = corners[i].x;
        v.position[1] = corners[i].y;
        v.position[2] = corners[i].z;
        v.bone = i == 0 ? bone : -1;
        file.vertices.push_back(v);
    }
    Ms3dTriangle t;
    for (int i = 0; i < 3; i++) {
        t.vertices[i] = uint16_t(i);
        t.normals[i][0] = normal.x;
        t.normals[i][1] = normal.y;
        t.normals[i][2] = normal.z;
    }
    file.triangles.push_back(t);
    return file;
}

class Joints : public testing::Test {
  protected:
    void TearDown() override { model_release(&model); }
    void set_up(const Ms3dFile& file) {
        std::vector<uint8_t> bytes = ms3d_bytes(file);
        ASSERT_TRUE(model_read(&model, bytes.data(), bytes.size()));
        model_setup_joints(&model);
    }
    const ModelJoint& named(const char* name) const {
        for (const ModelJoint& j : model.joints)
            if (std::string(j.name) == name) return j;
        throw std::runtime_error(name);
    }
    static void expect_near(Vector3 actual, Vector3 expected) {
        EXPECT_NEAR(actual.x, expected.x, 1e-5f);
        EXPECT_NEAR(actual.y, expected.y, 1e-5f);
        EXPECT_NEAR(actual.z, expected.z, 1e-5f);
    }
    static Vector3 translation(const Matrix& m) { return {m.m[12], m.m[13], m.m[14]}; }
    Model model;
};

} // namespace

TEST_F(Joints, ATranslatedRootMovesItsVertexButNotTheNormals) {
    Ms3dFile file = skinned_triangle({4, 4, 4}, 0, {0, 0, 1});
    file.joints.push_back(joint("root", "", {1, 2, 3}));
    set_up(file);
    expect_near(model.vertices[0].position, {3, 2, 1});
    expect_near(model.vertices[1].position, {7, 8, 9}); // not bound: as in the file
    expect_near(model.triangles[0].normals[0], {0, 0, 1});
}

TEST_F(Joints, ATurnedRootTurnsItsVertexAndItsCornerNormalsOnly) {
    Ms3dFile file = skinned_triangle({0, 1, 0}, 0, {0, 1, 0});
    file.joints.push_back(joint("root", "", {0, 0, 0}, {0, 0, kHalfPi}));
    set_up(file);
    expect_near(model.vertices[0].position, {1, 0, 0});
    expect_near(model.triangles[0].normals[0], {1, 0, 0});
    expect_near(model.triangles[0].normals[1], {0, 1, 0}); // a free corner
}

TEST_F(Joints, AChildGetsItsParentsPoseWhereverTheParentIsListed) {
    // The parent turns a quarter about z at (10, 0, 0); the child sits one
    // unit along the parent's x, which the turn makes y.
    for (bool parent_first : {true, false}) {
        Ms3dFile file;
        Ms3dJoint parent = joint("hip", "", {10, 0, 0}, {0, 0, kHalfPi});
        Ms3dJoint child = joint("knee", "hip", {1, 0, 0});
        file.joints = parent_first ? std::vector{parent, child} : std::vector{child, parent};
        set_up(file);
        const ModelJoint& knee = named("knee");
        EXPECT_EQ(knee.parent, parent_first ? 0 : 1);
        expect_near(translation(knee.absolute), {10, 1, 0});
        expect_near(translation(knee.relative), {1, 0, 0});
        for (int i = 0; i < 16; i++)
            EXPECT_EQ(knee.final.m[i], knee.absolute.m[i]); // drawn as modelled
        model_release(&model);
    }
}

TEST_F(Joints, TheLastJointOfANameIsTheParent) {
    Ms3dFile file;
    file.joints = {joint("twin", "", {1, 0, 0}), joint("twin", "", {2, 0, 0}),
                   joint("child", "twin", {0, 5, 0})};
    set_up(file);
    EXPECT_EQ(model.joints[2].parent, 1);
    expect_near(translation(model.joints[2].absolute), {2, 5, 0});
}

TEST_F(Joints, ParentsThatCannotBeUsedMakeRoots) {
    Ms3dFile file;
    file.joints = {joint("orphan", "nobody", {1, 0, 0}), joint("self", "self", {2, 0, 0}),
                   joint("a", "b", {3, 0, 0}), joint("b", "a", {0, 4, 0})};
    set_up(file);
    EXPECT_EQ(model.joints[0].parent, -1);
    EXPECT_EQ(model.joints[1].parent, -1);
    expect_near(translation(model.joints[1].absolute), {2, 0, 0});
    // A loop is cut at the joint that closes it: walking up from a, b leads
    // back to a, so b becomes the root and a stays its child.
    EXPECT_EQ(model.joints[3].parent, -1);
    EXPECT_EQ(model.joints[2].parent, 3);
    expect_near(translation(model.joints[2].absolute), {3, 4, 0});
}
