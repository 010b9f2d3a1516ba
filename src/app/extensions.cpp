// Extension probing for the current context: finds what gl.h's GlDriver
// records (the capabilities and their entry points) through SDL's loader.
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
static void probe_framebuffer_object(GlDriver& found) {
    found.framebuffer_object = false;
    if (!extension_supported("GL_EXT_framebuffer_object")) return;
    bool all = fetch(&found.gen_framebuffers, "glGenFramebuffersEXT");
    all = fetch(&found.delete_framebuffers, "glDeleteFramebuffersEXT") && all;
    all = fetch(&found.bind_framebuffer, "glBindFramebufferEXT") && all;
    all = fetch(&found.framebuffer_texture_2d, "glFramebufferTexture2DEXT") && all;
    all = fetch(&found.gen_renderbuffers, "glGenRenderbuffersEXT") && all;
    all = fetch(&found.delete_renderbuffers, "glDeleteRenderbuffersEXT") && all;
    all = fetch(&found.bind_renderbuffer, "glBindRenderbufferEXT") && all;
    all = fetch(&found.renderbuffer_storage, "glRenderbufferStorageEXT") && all;
    all = fetch(&found.framebuffer_renderbuffer, "glFramebufferRenderbufferEXT") && all;
    all = fetch(&found.check_framebuffer_status, "glCheckFramebufferStatusEXT") && all;
    found.framebuffer_object = all;
}

// Multitexturing needs the combiner environments too.
static void probe_multitexture(GlDriver& found) {
    found.multitexture = false;
    if (!extension_supported("GL_ARB_multitexture")) return;
    if (!extension_supported("GL_ARB_texture_env_combine")) return;
    bool all = fetch(&found.active_texture, "glActiveTextureARB");
    all = fetch(&found.multi_tex_coord_2f, "glMultiTexCoord2fARB") && all;
    found.multitexture = all;
}

void extensions_probe() {
    GlDriver found;
    probe_framebuffer_object(found);
    found.npot_textures = extension_supported("GL_ARB_texture_non_power_of_two");
    probe_multitexture(found);
    gl_driver_set_capabilities(found);
}

void extensions_start_context() {
    extensions_probe();
    // Texture generation stays off until a model layer asks for it; only the
    // mode is chosen here, on unit 1 first so unit 0 is left active.
    if (gl_driver().multitexture) {
        glActiveTextureARB(GL_TEXTURE1_ARB);
        glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_SPHERE_MAP);
}
