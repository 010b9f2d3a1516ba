// Extension probing for the current context: owns has_multitexture and the
// fetched entry points. Also the debug-build OpenGL error check.
#include "app/extensions.h"

#include "console/output.h"

#include <SDL.h>
#include <cstring>

bool has_multitexture = false;
PFNGLACTIVETEXTUREARBPROC glActiveTextureARB = nullptr;
PFNGLMULTITEXCOORD2FARBPROC glMultiTexCoord2fARB = nullptr;

bool extension_in_list(const char* list, const char* name) {
    if (!list || !name || name[0] == '\0' || std::strchr(name, ' ')) return false;
    size_t length = std::strlen(name);
    for (const char* at = std::strstr(list, name); at; at = std::strstr(at + length, name)) {
        bool starts_word = at == list || at[-1] == ' ';
        bool ends_word = at[length] == ' ' || at[length] == '\0';
        if (starts_word && ends_word) return true;
    }
    return false;
}

static const char* extension_string() {
    const char* list = reinterpret_cast<const char*>(glGetString(GL_EXTENSIONS));
    return list ? list : "";
}

bool extension_supported(const char* name) {
    return extension_in_list(extension_string(), name);
}

void extensions_probe() {
    if (!extension_supported("GL_ARB_multitexture")) return;
    if (!extension_supported("GL_ARB_texture_env_combine")) return;
    has_multitexture = true;
    glActiveTextureARB =
        reinterpret_cast<PFNGLACTIVETEXTUREARBPROC>(SDL_GL_GetProcAddress("glActiveTextureARB"));
    glMultiTexCoord2fARB = reinterpret_cast<PFNGLMULTITEXCOORD2FARBPROC>(
        SDL_GL_GetProcAddress("glMultiTexCoord2fARB"));
}

void gl_report_errors(const char* where) {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        console_printf("!OpenGL error 0x%04x in %s!", error, where);
}
