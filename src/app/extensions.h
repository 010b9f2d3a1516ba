// OpenGL extension probing for the current context: multitexturing with
// combiner environments, and the two entry points the drawing code calls
// when it is there (has_multitexture and the pointers live in gl.h).
#pragma once

#include "gl.h"

// Whether the name occurs as a whole word in the current context's
// extension string.
bool extension_supported(const char* name);
// Sets has_multitexture and the entry points for the current context; a
// context without the extensions clears them, so no absent entry point is
// ever called.
void extensions_probe();
// What every new context gets: the probe above, then sphere-map coordinate
// generation chosen (not enabled) on every texture unit there is.
void extensions_start_context();
