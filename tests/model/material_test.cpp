// Material files read with real textures: one and two layers, the combine
// keywords and ENVMAP lines, line ends and long lines, and the files that
// fail (early end, a missing word, a missing texture).
#include "model/material.h"
#include "model_files.h"
#include "support/console_lines.h"
#include "textures/texture.h"

using Lines = std::vector<std::string>;

class MaterialFile : public ModelContext {
  protected:
    void SetUp() override {
        ModelContext::SetUp();
        write_solid_png("base.png", 10, 20, 30);
        write_solid_png("second.png", 40, 50, 60);
    }
    // Reads the text as the material file of a model with that many materials.
    bool parse(const std::string& text, int materials = 1) {
        write_text("m.txt", text);
        model = Model{};
        model.material_count = uint16_t(materials);
        mark = line_count();
        return material_load(&model, "m.txt");
    }
    const MaterialLayers& layers(int i = 0) const { return model.material_layers.at(i); }
    Model model;
    int mark = 0;
};

TEST_F(MaterialFile, OneLayerBlockKeepsItsKeywordAndStopsAtNull) {
    ASSERT_TRUE(parse("wool\nbase.png\nMULTIPLY\nENVMAP NO\nNULL\n"));
    EXPECT_FALSE(layers().has_second_layer);
    EXPECT_EQ(layers().base_texture, texture_find("base.png")->texture);
    EXPECT_EQ(layers().base_combine, COMBINE_MULTIPLY);
    EXPECT_FALSE(layers().base_env_map);
    EXPECT_EQ(layers().second_texture, nullptr);
}

TEST_F(MaterialFile, TwoLayerBlocksReadTheirCombineKeyword) {
    struct Case {
        const char* word;
        CombineMode mode;
    } cases[] = {{"ADD", COMBINE_ADD},          {"ADD_SIGNED", COMBINE_ADD_SIGNED},
                 {"ALPHA", COMBINE_ALPHA},      {"MULTIPLY", COMBINE_MULTIPLY},
                 {"multiply", COMBINE_DEFAULT}, {"ADD_SIGNEDX", COMBINE_DEFAULT},
                 {"SUBTRACT", COMBINE_DEFAULT}};
    for (const Case& c : cases) {
        ASSERT_TRUE(parse(two_layers("base.png", "second.png", c.word))) << c.word;
        EXPECT_TRUE(layers().has_second_layer);
        EXPECT_EQ(layers().second_texture, texture_find("second.png")->texture);
        EXPECT_EQ(layers().second_combine, c.mode) << c.word;
    }
}

TEST_F(MaterialFile, OnlyEnvmapOnTurnsSphereMappingOn) {
    struct Case {
        const char* line;
        bool on;
    } cases[] = {{"ENVMAP ON", true},   {"  ENVMAP   ON  trailing", true},
                 {"ENVMAP on", false},  {"ENVMAP OFF", false},
                 {"ENVMAP ONE", false}, {"SPHERE ON", false},
                 {"envmap ON", false}};
    for (const Case& c : cases) {
        std::string line = c.line;
        ASSERT_TRUE(parse("m\nbase.png\nADD\n" + line + "\nsecond.png\nADD\n" + line + "\n"))
            << line;
        EXPECT_EQ(layers().base_env_map, c.on) << line;
        EXPECT_EQ(layers().second_env_map, c.on) << line;
    }
}

TEST_F(MaterialFile, WindowsLineEndsAndBlanksReadLikePlainLines) {
    ASSERT_TRUE(parse("a\r\n  base.png  and more\r\n\tALPHA\r\nENVMAP ON\r\nsecond.png\r\n"
                      "ADD_SIGNED\r\nENVMAP ON\r\n"
                      "b\r\nsecond.png\r\nADD\r\nENVMAP OFF\r\nNULL",
                      2));
    EXPECT_EQ(layers(0).base_texture, texture_find("base.png")->texture);
    EXPECT_EQ(layers(0).base_combine, COMBINE_ALPHA);
    EXPECT_TRUE(layers(0).base_env_map);
    EXPECT_EQ(layers(0).second_combine, COMBINE_ADD_SIGNED);
    EXPECT_TRUE(layers(0).second_env_map);
    EXPECT_EQ(layers(1).base_texture, texture_find("second.png")->texture);
    EXPECT_EQ(texture_find("second.png")->nbused, 2); // one use per material
    EXPECT_TRUE(lines_since(mark) == (Lines{"texture found", "second.png"}));
}

TEST_F(MaterialFile, ALineLongerThan254CharactersGoesOnOnTheNextLine) {
    std::string block = "\nbase.png\nADD\nENVMAP OFF\nNULL\n";
    EXPECT_TRUE(parse(std::string(254, 't') + block));
    EXPECT_FALSE(parse(std::string(254, 't') + "tail" + block));
    EXPECT_EQ(lines_since(mark), Lines{"!Can't open texture tail: No such file or directory!"});
}

TEST_F(MaterialFile, EndingBeforeEveryBlockIsReadIsBad) {
    std::string text = two_layers("base.png", "second.png", "ADD") + one_layer("base.png");
    // Cut after each of the twelve lines (and before the first): all fail.
    for (size_t cut = 0, at = 0; cut < 12; cut++, at = text.find('\n', at) + 1) {
        EXPECT_FALSE(parse(text.substr(0, at), 2)) << cut << " lines";
        std::string problem = cut == 0 ? "empty" : "ends after line " + std::to_string(cut);
        EXPECT_EQ(last_line(), "!Bad material file m.txt: " + problem + "!") << cut << " lines";
        EXPECT_TRUE(model.material_layers.empty());
    }
    EXPECT_TRUE(parse(text, 2));
    EXPECT_TRUE(parse(text + "anything after the last block\n", 2));
}

TEST_F(MaterialFile, ALineWithoutTheWordItMustHoldIsBad) {
    const char* lines[] = {"m", "base.png", "ADD", "ENVMAP ON", "second.png", "ADD", "ENVMAP ON"};
    for (int blank = 1; blank < 7; blank++) {
        for (const char* half_blank : {"   \t", "ENVMAP"}) {
            if (std::string(half_blank) == "ENVMAP" && blank != 3 && blank != 6) continue;
            std::string text;
            for (int i = 0; i < 7; i++)
                text += std::string(i == blank ? half_blank : lines[i]) + "\n";
            EXPECT_FALSE(parse(text)) << "line " << blank + 1 << ": '" << half_blank << "'";
            std::string problem = std::string(half_blank) == "ENVMAP"
                                      ? "ENVMAP needs ON or OFF"
                                      : "blank where a word is needed";
            EXPECT_EQ(last_line(), "!Bad material file m.txt: line " + std::to_string(blank + 1) +
                                       ": " + problem + "!");
        }
    }
}

TEST_F(MaterialFile, AMissingTextureFailsWithTheTexturesOwnLine) {
    EXPECT_FALSE(parse(two_layers("base.png", "missing.png", "ADD")));
    EXPECT_EQ(lines_since(mark),
              Lines{"!Can't open texture missing.png: No such file or directory!"});
    EXPECT_TRUE(model.material_layers.empty());
}
