// The landscape's drawing and shadow march written out literally, one
// immediate-mode call per vertex and one lookup per ray step. The game ships
// faster versions of both; tests and benchmarks compare them with these.
#pragma once

#include "gl.h"
#include "terrain/draw.h"
#include "terrain/quadtree.h"
#include "terrain/terrain.h"
#include "textures/texture.h"

#include <cmath>
#include <vector>

namespace reference {

// One leaf as four quad strips, base coordinates on unit 0 and, with
// multitexturing, detail coordinates ten times denser on unit 1.
inline void draw_leaf(const QuadNode& leaf, const Terrain& land, bool multitexture) {
    float x0 = leaf.corners[0].x;
    float z0 = leaf.corners[0].z;
    float iw = 1.0f / static_cast<float>(land.width);
    float ih = 1.0f / static_cast<float>(land.height);
    for (int r = 0; r < LEAF_CELLS; r++) {
        glBegin(GL_QUAD_STRIP);
        for (int i = 0; i < LEAF_SIDE; i++) {
            float x = x0 + i;
            for (int row = r; row <= r + 1; row++) {
                float z = z0 + row;
                if (multitexture) {
                    glMultiTexCoord2fARB(GL_TEXTURE0_ARB, x * iw, z * ih);
                    glMultiTexCoord2fARB(GL_TEXTURE1_ARB, x * 10 * iw, z * 10 * ih);
                } else {
                    glTexCoord2f(x * iw, z * ih);
                }
                glVertex3f(x, leaf.samples[LEAF_SIDE * row + i], z);
            }
        }
        glEnd();
    }
}

inline void draw_all(const QuadNode* node, const Terrain& land, bool multitexture) {
    if (!node) return;
    if (node->is_leaf) {
        draw_leaf(*node, land, multitexture);
        return;
    }
    for (const QuadNode* child : node->children)
        draw_all(child, land, multitexture);
}

inline void draw_visible(const QuadNode* node, const EdgeLine edges[4], const Terrain& land,
                         bool multitexture) {
    for (; node; node = node->children[3]) {
        NodeSide side = node_in_footprint(*node, edges);
        if (side == SIDE_OUTSIDE) return;
        if (side == SIDE_INSIDE) return draw_all(node, land, multitexture);
        if (node->is_leaf) return draw_leaf(*node, land, multitexture);
        for (int i = 0; i < 3; i++)
            draw_visible(node->children[i], edges, land, multitexture);
    }
}

// terrain_draw as immediate-mode strips, with the same state before and after.
inline void terrain_draw(Vector3 eye, float yaw, float pitch, float field_of_view,
                         const Terrain& land) {
    EdgeLine edges[4];
    terrain_footprint(eye, yaw, pitch, field_of_view, edges);
    bool multitexture = land.detail_on_second_unit && gl_driver().multitexture;
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, land.base_texture->gl_name);
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    if (multitexture) {
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glEnable(GL_TEXTURE_2D);
        glBindTexture(GL_TEXTURE_2D, land.base_texture->gl_name);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_REPLACE);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glBindTexture(GL_TEXTURE_2D, land.detail_texture->gl_name);
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_ADD_SIGNED_ARB);
    }
    glEnable(GL_CULL_FACE);
    draw_visible(land.root, edges, land, multitexture);
    if (multitexture) terrain_texture_units_back_to_modulate();
}

// The play frame's view: sky-blue clear, linear fog from 90 to 130 in the
// sky's colour, a 90-degree perspective and the camera at the eye turned by
// pitch and yaw (no shake), as the game sets them before drawing the land.
inline void set_play_view(Vector3 eye, float yaw, float pitch) {
    glClearColor(0.4f, 0.4f, 0.8f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glDisable(GL_DEPTH_TEST);
    const float fog_colour[4] = {0.4f, 0.4f, 0.8f, 1.0f};
    glEnable(GL_FOG);
    glFogi(GL_FOG_MODE, GL_LINEAR);
    glFogf(GL_FOG_START, 90.0f);
    glFogf(GL_FOG_END, 130.0f);
    glFogfv(GL_FOG_COLOR, fog_colour);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(90.0, 1.0, 1.0, 500.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(static_cast<float>(pitch * 57.29577951308232), 1.0f, 0.0f, 0.0f);
    glRotatef(static_cast<float>(yaw * 57.29577951308232 + 90.0), 0.0f, 1.0f, 0.0f);
    glTranslatef(-eye.x, -eye.y, -eye.z);
}

// The shade map of the shadow pass marched point by point: 255 lit, 96 in
// shadow, before smoothing.
inline std::vector<int> march_shadows(const Terrain& land, float elevation, float azimuth) {
    float dx = static_cast<float>(std::cos(azimuth) * std::cos(elevation));
    float dz = static_cast<float>(std::sin(azimuth) * std::cos(elevation));
    float dy = static_cast<float>(-std::sin(elevation));
    std::vector<int> shade(static_cast<size_t>(land.width) * land.height);
    for (int row = 0; row < land.height; row++)
        for (int col = 0; col < land.width; col++) {
            int value = 255;
            float x = static_cast<float>(col);
            float z = static_cast<float>(row);
            float y = terrain_sample(col, row, land);
            for (int step = 0; step < 128; step++) {
                x += dx;
                z += dz;
                y += dy;
                if (terrain_sample(static_cast<int>(x), static_cast<int>(z), land) > y) {
                    value = 96;
                    break;
                }
            }
            shade[static_cast<size_t>(row) * land.width + col] = value;
        }
    return shade;
}

} // namespace reference
