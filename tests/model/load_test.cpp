// Loading model files written by the data tool's writer: what loads (empty
// models, files as the modeller saves them, trailing bytes) and every kind of
// bad file, which must fail with its error line and leave the model empty.
#include "console/output.h"
#include "model/load.h"
#include "model_files.h"
#include "support/console_lines.h"

#include <functional>

using Lines = std::vector<std::string>;

namespace {

// A file with every section in use: a skinned square, two groups (one
// without a material), two materials and two joints with keyframes.
Ms3dFile full_model(int version) {
    Ms3dFile file = square_model();
    file.version = version;
    file.vertices[2].bone = 1;
    file.groups.push_back({"hidden", {1}, -1});
    file.materials.push_back({"second", "wool.bmp"});
    Ms3dJoint root;
    root.name = "root";
    root.rotation_keys = {{0.0f, {0, 0, 0}}, {1.0f, {0, 0.5f, 0}}};
    Ms3dJoint tip;
    tip.name = "tip";
    tip.parent = "root";
    tip.position[0] = 1.0f;
    tip.translation_keys = {{0.5f, {0, 2, 0}}};
    file.joints = {root, tip};
    file.comment = "saved by the modeller";
    return file;
}

const char* const kMaterials = "a\nt.png\nADD\nENVMAP OFF\nNULL\n"
                               "b\nt.png\nADD\nENVMAP OFF\nNULL\n";

} // namespace

class ModelLoad : public ModelContext {
  protected:
    void SetUp() override {
        ModelContext::SetUp();
        write_solid_png("t.png", 10, 20, 30);
    }
    void TearDown() override { model_release(&model); }
    bool load(const std::vector<uint8_t>& bytes, const std::string& materials) {
        write_file_bytes("m.ms3d", bytes);
        write_text("m.txt", materials);
        console_clear(); // many loads in a row would fill the scroll-back
        mark = 0;
        return model_load(&model, "m.ms3d", "m.txt");
    }
    void expect_empty() const {
        EXPECT_EQ(model.vertex_count, 0);
        EXPECT_TRUE(model.vertices.empty());
        EXPECT_TRUE(model.groups.empty());
        EXPECT_TRUE(model.material_layers.empty());
        EXPECT_TRUE(model.draw_immediate);
    }
    Model model;
    int mark = 0;
};

TEST_F(ModelLoad, AllCountsZeroLoadsWithAnEmptyMaterialFileAndGetsAList) {
    ASSERT_TRUE(load(ms3d_bytes(Ms3dFile{}), ""));
    EXPECT_FALSE(model.draw_immediate);
    EXPECT_NE(model.display_list, 0u);
    EXPECT_TRUE(lines_since(mark).empty());
}

TEST_F(ModelLoad, FilesAsTheModellerSavesThemLoadWithEverything) {
    for (int version : {3, 4}) {
        Ms3dFile file = full_model(version);
        ASSERT_TRUE(load(ms3d_bytes(file), kMaterials)) << version;
        EXPECT_EQ(model.vertex_count, 4);
        EXPECT_EQ(model.triangle_count, 2);
        ASSERT_EQ(model.group_count, 2);
        EXPECT_STREQ(model.groups[1].name, "hidden");
        EXPECT_EQ(model.groups[1].material_index, -1);
        EXPECT_EQ(model.material_count, 2);
        EXPECT_EQ(model.material_layers.size(), 2u);
        EXPECT_EQ(model.animation_fps, 24.0f);
        EXPECT_EQ(model.total_frames, 30);
        ASSERT_EQ(model.joint_count, 2);
        EXPECT_EQ(model.joints[0].rotation_key_count, 2);
        EXPECT_EQ(model.joints[0].rotation_keys[1].value.y, 0.5f);
        EXPECT_EQ(model.joints[1].translation_keys[0].time, 0.5f);
        EXPECT_EQ(model.vertices[2].bone, 1);
        EXPECT_TRUE(model.draw_immediate) << "a model with joints has no display list";
        model_release(&model);
    }
}

TEST_F(ModelLoad, BytesAfterTheLastJointAreNotRead) {
    std::vector<uint8_t> bytes = ms3d_bytes(full_model(3));
    bytes.insert(bytes.end(), {0xFF, 0xFF, 0xFF, 0xFF, 0x12});
    EXPECT_TRUE(load(bytes, kMaterials));
}

TEST_F(ModelLoad, AFileCutShortAnywhereIsBad) {
    std::vector<uint8_t> whole = ms3d_bytes(full_model(3)); // ends with the last joint
    for (size_t size = 0; size < whole.size(); size++) {
        EXPECT_FALSE(load(std::vector<uint8_t>(whole.begin(), whole.begin() + size), kMaterials))
            << size;
        ASSERT_EQ(lines_since(mark).size(), 1u) << size;
        EXPECT_EQ(lines_since(mark)[0].rfind("!Bad model file m.ms3d: cut off at byte " +
                                                 std::to_string(size) + " (in its ",
                                             0),
                  0u)
            << lines_since(mark)[0];
        expect_empty();
    }
}

TEST_F(ModelLoad, IndicesOutsideTheirArraysAreBad) {
    struct Case {
        const char* name;
        std::function<void(Ms3dFile&)> spoil;
        const char* reason;
    } cases[] = {
        {"vertex index", [](Ms3dFile& f) { f.triangles[1].vertices[2] = 4; },
         "a triangle names vertex 4 of only 4"},
        {"triangle index", [](Ms3dFile& f) { f.groups[0].triangles[1] = 2; },
         "a group names triangle 2 of only 2"},
        {"material index", [](Ms3dFile& f) { f.groups[0].material = 2; },
         "a group names material 2 of only 2"},
        {"negative material index", [](Ms3dFile& f) { f.groups[0].material = -2; },
         "a group names material -2 of only 2"},
        {"bone index", [](Ms3dFile& f) { f.vertices[0].bone = 2; },
         "a vertex names joint 2 of only 2"},
        {"negative bone index", [](Ms3dFile& f) { f.vertices[0].bone = -2; },
         "a vertex names joint -2 of only 2"},
        {"bone without joints",
         [](Ms3dFile& f) {
             f.joints.clear();
             f.vertices[2].bone = 0;
         },
         "a vertex names joint 0 of only 0"},
    };
    for (const Case& c : cases) {
        Ms3dFile file = full_model(4);
        c.spoil(file);
        EXPECT_FALSE(load(ms3d_bytes(file), kMaterials)) << c.name;
        EXPECT_EQ(lines_since(mark),
                  Lines{"!Bad model file m.ms3d: " + std::string(c.reason) + "!"})
            << c.name;
        expect_empty();
    }
}

TEST_F(ModelLoad, CountsLargerThanTheFileAreBad) {
    // The vertex count of a file with no data after it: 65535 records would
    // need far more bytes than there are.
    std::vector<uint8_t> bytes = ms3d_bytes(Ms3dFile{});
    bytes[14] = 0xFF;
    bytes[15] = 0xFF;
    EXPECT_FALSE(load(bytes, ""));
    EXPECT_EQ(lines_since(mark), Lines{"!Bad model file m.ms3d: cut off at byte " +
                                       std::to_string(bytes.size()) + " (in its vertices)!"});
}

TEST_F(ModelLoad, MissingFilesAreReportedAndLeaveTheModelEmpty) {
    mark = line_count();
    EXPECT_FALSE(model_load(&model, "nowhere.ms3d", "m.txt"));
    EXPECT_EQ(lines_since(mark),
              Lines{"!Can't open model nowhere.ms3d: No such file or directory!"});
    expect_empty();
    write_file_bytes("m.ms3d", ms3d_bytes(square_model()));
    mark = line_count();
    EXPECT_FALSE(model_load(&model, "m.ms3d", "nowhere.txt"));
    EXPECT_EQ(lines_since(mark),
              Lines{"!Can't open material file nowhere.txt: No such file or directory!"});
    expect_empty();
}
