// Writes a seed corpus for fuzz_model: small models made with the data
// tool's writer, from empty to every section in use with joints listed
// before their parents, in both file versions. Usage: seeds_model <folder>
#include "assetgen/ms3d_writer.h"

#include <cstdio>
#include <string>

static Ms3dFile triangle_with_joints(int version) {
    Ms3dFile file;
    file.version = version;
    for (int i = 0; i < 3; i++) {
        Ms3dVertex vertex;
        vertex.position[i] = 1.0f;
        vertex.bone = static_cast<int8_t>(i - 1);
        file.vertices.push_back(vertex);
    }
    Ms3dTriangle triangle;
    triangle.vertices[1] = 1;
    triangle.vertices[2] = 2;
    file.triangles.push_back(triangle);
    file.groups.push_back({"shown", {0}, 0});
    file.groups.push_back({"hidden", {0}, -1});
    file.materials.push_back({"skin", "skin.png"});
    Ms3dJoint child;
    child.name = "child";
    child.parent = "root";
    child.rotation[2] = 1.0f;
    child.rotation_keys = {{0.0f, {0, 0, 1}}};
    Ms3dJoint root;
    root.name = "root";
    root.position[0] = 2.0f;
    root.translation_keys = {{0.5f, {1, 0, 0}}, {1.0f, {0, 1, 0}}};
    file.joints = {child, root};
    file.comment = "seed";
    return file;
}

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
        return 2;
    }
    const Ms3dFile seeds[] = {Ms3dFile{}, triangle_with_joints(3), triangle_with_joints(4)};
    int written = 0;
    for (const Ms3dFile& seed : seeds) {
        std::string name = std::string(argv[1]) + "/seed-" + std::to_string(written) + ".ms3d";
        try {
            write_ms3d(name, seed);
        } catch (const std::exception& error) {
            std::fprintf(stderr, "%s\n", error.what());
            return 1;
        }
        written++;
    }
    std::printf("%d seeds written to %s\n", written, argv[1]);
    return 0;
}
