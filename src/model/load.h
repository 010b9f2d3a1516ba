// Model loading: a .ms3d file and its material file into a Model record,
// and releasing one.
#pragma once

#include "model/model.h"

#include <cstddef>
#include <cstdint>
#include <string>

// Loads the model file and its material file, prepares the joints and, for a
// model without joints, records its display list. An OpenGL context must be
// current. On failure the error is printed and the Model is left empty.
bool model_load(Model* model, const char* model_path, const char* material_path);

// Reads the geometry of a .ms3d file from memory, checking every count
// against the bytes left and every index against its array. False when the
// data are bad; the Model is then partly filled and must be released, and
// *reason, when given, says what is wrong ("cut off at byte 300 (in its
// triangles)", "a triangle names vertex 9 of only 8").
bool model_read(Model* model, const uint8_t* data, size_t size, std::string* reason = nullptr);

// Frees the arrays and the display list; the Model is empty again. Its
// textures stay in the texture cache, which owns them.
void model_release(Model* model);
