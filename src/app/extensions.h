// OpenGL extension probing: multitexturing with combiner environments, and
// the two entry points the drawing code calls when it is there.
#pragma once

#include "gl.h"

// glActiveTextureARB and glMultiTexCoord2fARB (declared in gl.h) are valid
// only while has_multitexture is true.
extern bool has_multitexture;

// Whether the name occurs as a whole word in the extension list.
bool extension_in_list(const char* list, const char* name);
// The same for the current context's extension string.
bool extension_supported(const char* name);
void extensions_probe();
