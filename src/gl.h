// The one include for OpenGL and GLU that all drawing code uses, the
// multitexture capability of the current context, and the debug-build check
// of glGetError after drawing code.
#pragma once

#ifdef _WIN32
// Windows' OpenGL headers take their calling-convention macros from
// <windows.h> unless they are set, and <windows.h> defines names the game
// uses for its own (the VK_ key codes, OpenFile): they are set here.
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
#endif

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

// Whether the current context can draw into a texture through a framebuffer
// object; the entry points below are valid only while it is true. Set with
// the multitexture ones by the platform's probe.
extern bool has_framebuffer_object;
// Whether textures may have sides that are not powers of two.
extern bool has_npot_textures;
extern PFNGLGENFRAMEBUFFERSEXTPROC sheepfall_glGenFramebuffersEXT;
extern PFNGLDELETEFRAMEBUFFERSEXTPROC sheepfall_glDeleteFramebuffersEXT;
extern PFNGLBINDFRAMEBUFFEREXTPROC sheepfall_glBindFramebufferEXT;
extern PFNGLFRAMEBUFFERTEXTURE2DEXTPROC sheepfall_glFramebufferTexture2DEXT;
extern PFNGLGENRENDERBUFFERSEXTPROC sheepfall_glGenRenderbuffersEXT;
extern PFNGLDELETERENDERBUFFERSEXTPROC sheepfall_glDeleteRenderbuffersEXT;
extern PFNGLBINDRENDERBUFFEREXTPROC sheepfall_glBindRenderbufferEXT;
extern PFNGLRENDERBUFFERSTORAGEEXTPROC sheepfall_glRenderbufferStorageEXT;
extern PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC sheepfall_glFramebufferRenderbufferEXT;
extern PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC sheepfall_glCheckFramebufferStatusEXT;
#define glGenFramebuffersEXT sheepfall_glGenFramebuffersEXT
#define glDeleteFramebuffersEXT sheepfall_glDeleteFramebuffersEXT
#define glBindFramebufferEXT sheepfall_glBindFramebufferEXT
#define glFramebufferTexture2DEXT sheepfall_glFramebufferTexture2DEXT
#define glGenRenderbuffersEXT sheepfall_glGenRenderbuffersEXT
#define glDeleteRenderbuffersEXT sheepfall_glDeleteRenderbuffersEXT
#define glBindRenderbufferEXT sheepfall_glBindRenderbufferEXT
#define glRenderbufferStorageEXT sheepfall_glRenderbufferStorageEXT
#define glFramebufferRenderbufferEXT sheepfall_glFramebufferRenderbufferEXT
#define glCheckFramebufferStatusEXT sheepfall_glCheckFramebufferStatusEXT

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
