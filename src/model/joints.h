// Joints: the skeleton's rest pose and moving skinned vertices into the
// space of their joint.
#pragma once

#include "model/model.h"

// Finds each joint's parent by name (the last joint of that name; a name that
// matches none makes a root), builds the relative and absolute rest-pose
// matrices, parents before children whatever the file order, and moves every
// skinned vertex and corner normal into its joint's space. Each joint's final
// matrix becomes its absolute rest pose, so the model draws as modelled.
void model_setup_joints(Model* model);
