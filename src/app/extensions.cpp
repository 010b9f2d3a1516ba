// Extension probing for the current context: fills has_multitexture,
// has_framebuffer_object, has_npot_textures and their entry points of gl.h
// through SDL's loader.
#include "app/extensions.h"

#include <SDL.h>

static const char* extension_string() {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return list ? list : "";
}

bool extension_supported(const char* name) {
    return extension_in_list(extension_string(), name);
}

template <typename Pointer> static bool fetch(Pointer* pointer, const char* name) {
    *pointer = reinterpret_cast<Pointer>(SDL_GL_GetProcAddress(name));
    return *pointer != nullptr;
}

// Drawing into a texture (the scaled 3-D scene); every entry point must be
// there, or none is used.
static void probe_framebuffer_object() {
    has_framebuffer_object = false;
    if (!extension_supported("GL_EXT_framebuffer_object")) return;
    bool all = fetch(&glGenFramebuffersEXT, "glGenFramebuffersEXT");
    all = fetch(&glDeleteFramebuffersEXT, "glDeleteFramebuffersEXT") && all;
    all = fetch(&glBindFramebufferEXT, "glBindFramebufferEXT") && all;
    all = fetch(&glFramebufferTexture2DEXT, "glFramebufferTexture2DEXT") && all;
    all = fetch(&glGenRenderbuffersEXT, "glGenRenderbuffersEXT") && all;
    all = fetch(&glDeleteRenderbuffersEXT, "glDeleteRenderbuffersEXT") && all;
    all = fetch(&glBindRenderbufferEXT, "glBindRenderbufferEXT") && all;
    all = fetch(&glRenderbufferStorageEXT, "glRenderbufferStorageEXT") && all;
    all = fetch(&glFramebufferRenderbufferEXT, "glFramebufferRenderbufferEXT") && all;
    all = fetch(&glCheckFramebufferStatusEXT, "glCheckFramebufferStatusEXT") && all;
    has_framebuffer_object = all;
}

void extensions_probe() {
    probe_framebuffer_object();
    has_npot_textures = extension_supported("GL_ARB_texture_non_power_of_two");
    has_multitexture = false;
    glActiveTextureARB = nullptr;
    glMultiTexCoord2fARB = nullptr;
    if (!extension_supported("GL_ARB_multitexture")) return;
    if (!extension_supported("GL_ARB_texture_env_combine")) return;
    glActiveTextureARB =
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB"));
    glMultiTexCoord2fARB = reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(
        SDL_GL_GetProcAddress("glMultiTexCoord2fARB"));
    has_multitexture = glActiveTextureARB && glMultiTexCoord2fARB;
}

void extensions_start_context() {
    extensions_probe();
    // Texture generation stays off until a model layer asks for it; only the
    // mode is chosen here, on unit 1 first so unit 0 is left active.
    if (has_multitexture) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}
