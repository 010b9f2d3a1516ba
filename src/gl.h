// The one include for OpenGL and GLU that all drawing code uses, the
// multitexture capability of the current context, and the debug-build check
// of glGetError after drawing code.
#pragma once

#include <GL/gl.h>
#include <GL/glu.h>
#include <GL/glext.h>

// Whether the current context offers multitexturing with combiner texture
// environments. The platform's extension probe sets it for every new
// context; the two entry points below are valid only while it is true.
extern bool has_multitexture;

// Counts the OpenGL contexts made so far: the window set-up adds one for each
// new context. Objects recorded in one context (display lists) are only used
// while it is still the same.
extern unsigned int gl_context_serial;

// The multitexture entry points are fetched for each context by the
// extension probe; these names call the fetched pointers, not symbols
// exported by the OpenGL library.
extern PFNGLACTIVETEXTUREARBPROC sheepfall_glActiveTextureARB;
extern PFNGLMULTITEXCOORD2FARBPROC sheepfall_glMultiTexCoord2fARB;
#define glActiveTextureARB sheepfall_glActiveTextureARB
#define glMultiTexCoord2fARB sheepfall_glMultiTexCoord2fARB

// Whether the name occurs as a whole word in a blank-separated extension
// list. Empty names and names with a blank are never found.
bool extension_in_list(const char* list, const char* name);

// Reports any pending OpenGL error on the console, naming the drawing code
// that caused it. Compiled in only for debug builds.
void gl_report_errors(const char* where);

#ifdef SHEEPFALL_GL_CHECKS
#define GL_CHECK(where) gl_report_errors(where)
#else
#define GL_CHECK(where) ((void)0)
#endif
