// Extension probing for the current context: fills has_multitexture and the
// multitexture entry points of gl.h through SDL's loader.
#include "app/extensions.h"

#include <SDL.h>

static const char* extension_string() {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return list ? list : "";
}

bool extension_supported(const char* name) {
    return extension_in_list(extension_string(), name);
}

void extensions_probe() {
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
