// OpenGL ground: owns the capabilities of the current context and their entry
// points (multitexture, framebuffer objects; set by the platform's probe), the
// context serial, the whole-word search of extension lists, and the
// debug-build error report.
#include "gl.h"

#include "console/output.h"

#include <cstring>

static GlDriver driver;

const GlDriver& gl_driver() {
    return driver;
}

void gl_driver_set_capabilities(const GlDriver& found) {
    unsigned int serial = driver.context_serial;
    driver = found;
    driver.context_serial = serial;
}

void gl_driver_new_context() {
    driver.context_serial++;
}

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

void gl_report_errors(const char* where) {
    for (GLenum error = glGetError(); error != GL_NO_ERROR; error = glGetError())
        console_printf("!OpenGL error 0x%04x in %s!", error, where);
}
