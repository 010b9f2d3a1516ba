// Material files: the one or two texture layers of each material of a model,
// read from a text file of blocks of five or seven lines.
#pragma once

#include "model/model.h"

#include <cstddef>

struct Texture;

// "ADD_SIGNED", "ADD", "ALPHA", "MULTIPLY" (exact case); any other word gives
// COMBINE_DEFAULT.
CombineMode combine_mode_from_name(const char* word);

// Gets the texture for a file name named in a material file; none when it
// cannot be loaded (the loader prints why).
using MaterialTextureLoader = Texture* (*)(const char* file_name);

// Fills the model's material_layers, one block per material, from the text
// of a material file. False, with "Bad material file PATH: line N ..." printed
// (what was wrong there), when the text ends before every block is read or a
// line holds no word where one is expected; false without a line of its own
// when a texture cannot be loaded.
bool material_parse(Model* model, const char* text, size_t size, const char* path,
                    MaterialTextureLoader load_texture);

// Reads the material file and parses it, loading the textures through the
// texture cache. A file that cannot be read gives "Can't open material file
// PATH: REASON".
bool material_load(Model* model, const char* path);
