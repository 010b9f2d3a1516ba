// A real OpenGL context of the game's size with the console, the texture
// cache and the extension probe started, for tests that load and draw
// landscapes.
#pragma once

#include "app/extensions.h"
#include "console/builtins.h"
#include "console/output.h"
#include "console/registry.h"
#include "support/frame_png.h"
#include "support/gl_context.h"
#include "support/terrain_reference.h"
#include "terrain/draw.h"
#include "terrain/quadtree.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

#include <gtest/gtest.h>

#include <memory>

constexpr float FIELD_OF_VIEW = 1.5707964f; // what the play frame passes

// The land these tests load and draw: a record of their own, beside the
// game's.
inline Terrain terrain;

class LandscapeTest : public testing::Test {
  protected:
    static constexpr int WIDTH = 1024;
    static constexpr int HEIGHT = 768;

    void SetUp() override {
        gl = std::make_unique<GlContext>(WIDTH, HEIGHT);
        ASSERT_TRUE(gl->ok());
        console_init();
        texture_manager_init();
        extensions_probe();
        // The literal full-detail drawing unless a test asks for less.
        terrain_lod_init();
        set_lod_error(0.0f);
    }
    void TearDown() override { terrain_free(terrain); }

    // terrain_lod_error, set as a console line would, without the echo.
    static void set_lod_error(float pixels) {
        console_find_variable("terrain_lod_error")->value = pixels;
    }

    // Loads level n's landscape from the data folder into the game's terrain.
    static bool load_level(int n) {
        char raw[32], base[32], detail[32];
        std::snprintf(raw, sizeof raw, "data/terrain%d.raw", n);
        std::snprintf(base, sizeof base, "data/terrain%d.png", n);
        std::snprintf(detail, sizeof detail, "data/detail%d.png", n);
        return terrain_load(raw, terrain, 512, 512, base, detail);
    }
    // The start point: the middle of the land, 10 units above the ground.
    static Vector3 start_eye() {
        return {256.0f, terrain_height_at(256.0f, 256.0f, terrain) + 10.0f, 256.0f};
    }
    // One frame of the land as the play frame draws it, read back.
    static std::vector<uint8_t> draw_view(Vector3 eye, float yaw, float pitch, bool literal) {
        reference::set_play_view(eye, yaw, pitch);
        if (literal)
            reference::terrain_draw(eye, yaw, pitch, FIELD_OF_VIEW, terrain);
        else
            terrain_draw(eye, yaw, pitch, FIELD_OF_VIEW, terrain);
        return read_frame(WIDTH, HEIGHT);
    }

    std::unique_ptr<GlContext> gl;
};
