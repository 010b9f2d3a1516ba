// OpenGL extension probing for the current context: multitexturing with
// combiner environments, framebuffer objects, textures of any size, and the
// entry points the drawing code calls when they are there (recorded in
// gl.h's GlDriver).
#pragma once

#include "gl.h"

// Whether the name occurs as a whole word in the current context's
// extension string.
bool extension_supported(const char* name);
// Sets the capability flags and entry points for the current context; a
// context without the extensions clears them, so no absent entry point is
// ever called.
void extensions_probe();
// What every new context gets: the probe above, then sphere-map coordinate
// generation chosen (not enabled) on every texture unit there is.
void extensions_start_context();
