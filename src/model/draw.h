// Model drawing at the current model-view transform, with the one or two
// texture layers of each group's material.
#pragma once

#include "model/model.h"

#include <vector>

// Draws the model twice over the same depths (a second copy only shows
// under blending, which adds it) from its display list. A model without
// joints whose list was recorded in another context or binds texture objects
// since replaced records it again first; a skinned model, or one drawn while
// another list is being recorded, is drawn once group by group in immediate
// mode. Groups without a material are skipped. Afterwards texture
// unit 0 is active, unit 1 is disabled with its default environment, texture
// generation is off and the colour is white. Without multitexturing a
// two-layer material draws its base layer alone.
void model_draw(Model* model);

// Records the model's groups into a new display list of the current context
// (deleting the one it replaces when that belongs to this context) and notes
// the context and the texture objects it binds.
void model_record_display_list(Model* model);

// One group with one texture layer (coordinates through glTexCoord2f).
void model_draw_group(const Model* model, const ModelGroup& group);
// One group with two layers (the same coordinates for both units).
void model_draw_group_multitexture(const Model* model, const ModelGroup& group);

// The texture objects the materials bind now, base then second layer of each
// material in order; 0 for a layer without a texture.
std::vector<unsigned int> model_texture_names(const Model& model);
