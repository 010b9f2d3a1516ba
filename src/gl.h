// The one include for OpenGL and GLU that all drawing code uses, what the
// current context offers (extensions and their entry points), and the
// debug-build check of glGetError after drawing code.
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

// What the current context offers: multitexturing with combiner texture
// environments, drawing into a texture through a framebuffer object,
// textures whose sides are not powers of two, and the entry points of those
// extensions. The platform's extension probe sets it for every new context;
// an entry point is valid only while its flag is true.
struct GlDriver {
    bool multitexture = false;
    bool framebuffer_object = false;
    bool npot_textures = false;
    // Counts the OpenGL contexts made so far. Objects recorded in one context
    // (display lists) are only used while it is still the same.
    unsigned int context_serial = 0;
    PFNGLACTIVETEXTUREARBPROC active_texture = nullptr;
    PFNGLMULTITEXCOORD2FARBPROC multi_tex_coord_2f = nullptr;
    PFNGLGENFRAMEBUFFERSEXTPROC gen_framebuffers = nullptr;
    PFNGLDELETEFRAMEBUFFERSEXTPROC delete_framebuffers = nullptr;
    PFNGLBINDFRAMEBUFFEREXTPROC bind_framebuffer = nullptr;
    PFNGLFRAMEBUFFERTEXTURE2DEXTPROC framebuffer_texture_2d = nullptr;
    PFNGLGENRENDERBUFFERSEXTPROC gen_renderbuffers = nullptr;
    PFNGLDELETERENDERBUFFERSEXTPROC delete_renderbuffers = nullptr;
    PFNGLBINDRENDERBUFFEREXTPROC bind_renderbuffer = nullptr;
    PFNGLRENDERBUFFERSTORAGEEXTPROC renderbuffer_storage = nullptr;
    PFNGLFRAMEBUFFERRENDERBUFFEREXTPROC framebuffer_renderbuffer = nullptr;
    PFNGLCHECKFRAMEBUFFERSTATUSEXTPROC check_framebuffer_status = nullptr;
};

// The current context's capabilities, read-only.
const GlDriver& gl_driver();
// The probe's result for the current context: every flag and entry point;
// the context serial is kept as it is.
void gl_driver_set_capabilities(const GlDriver& found);
// A new context has been made: the serial moves on, so display lists of
// earlier contexts are made again.
void gl_driver_new_context();

// The extension entry points are fetched for each context by the probe;
// these names call the fetched pointers, not symbols exported by the OpenGL
// library.
#define glActiveTextureARB (gl_driver().active_texture)
#define glMultiTexCoord2fARB (gl_driver().multi_tex_coord_2f)
#define glGenFramebuffersEXT (gl_driver().gen_framebuffers)
#define glDeleteFramebuffersEXT (gl_driver().delete_framebuffers)
#define glBindFramebufferEXT (gl_driver().bind_framebuffer)
#define glFramebufferTexture2DEXT (gl_driver().framebuffer_texture_2d)
#define glGenRenderbuffersEXT (gl_driver().gen_renderbuffers)
#define glDeleteRenderbuffersEXT (gl_driver().delete_renderbuffers)
#define glBindRenderbufferEXT (gl_driver().bind_renderbuffer)
#define glRenderbufferStorageEXT (gl_driver().renderbuffer_storage)
#define glFramebufferRenderbufferEXT (gl_driver().framebuffer_renderbuffer)
#define glCheckFramebufferStatusEXT (gl_driver().check_framebuffer_status)

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
