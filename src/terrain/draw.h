// Drawing the landscape: the leaves the quadtree lets through, with the base
// picture once over the land and the detail picture tiled ten times on the
// second texture unit, far leaves with fewer triangles.
#pragma once

#include "math/vector.h"
#include "terrain/quadtree.h"

struct Terrain;

// Creates the console variable terrain_lod_error: how far, in pixels, the
// land's shape may move on screen when far leaves are drawn with fewer
// triangles; 0 draws every leaf in full. The settings' start-up calls it;
// a program that draws land without that start-up calls it first.
void terrain_lod_init();

// Triangles the latest terrain_draw sent.
int terrain_frame_triangles();

// Adds the leaves below the node that touch the footprint to the frame's
// batch, in the tree's order; quad_node_draw_all adds every leaf below.
void quad_node_draw_visible(const QuadNode* node, const EdgeLine edges[4], const Terrain& land);
void quad_node_draw_all(const QuadNode* node, const Terrain& land);

// Draws the leaves in the view's footprint with the projection and camera
// already set, enabling depth test and back-face culling (left on). Leaves
// texture unit 0 active with its default environment and unit 1 disabled
// with its default environment.
void terrain_draw(Vector3 eye, float yaw, float pitch, float field_of_view, const Terrain& land);
// After the land's two-unit drawing: unit 1 off and unit 0 active, both with
// the default modulate environment, as every drawer expects to find them.
void terrain_texture_units_back_to_modulate();
// Texture coordinates on the active unit generated from the points: s = x *
// scale, t = z * scale, as the land's strips have them.
void terrain_generate_coordinates(float scale);
