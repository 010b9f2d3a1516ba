// Texture cache: owns the list of loaded pictures (newest first, keyed by file
// name), the upload quality and the "texturequality" and "textureinfo"
// commands. A picture is read again from its file when it must be uploaded
// again (a quality change or a new OpenGL context); only an own copy, which
// its holder changes, keeps its pixels in memory.
#include "textures/texture.h"

#include "console/output.h"
#include "console/registry.h"
#include "gl.h"
#include "open_file.h"
#include "platform/clock.h"
#include "textures/png.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <strings.h>
#include <utility>

static TextureEntry* entries = nullptr;
static TextureQuality quality = TEXTURE_HIGH;

static const char* const QUALITY_NAMES[] = {"HIGH", "MEDIUM", "LOW"};
static const char* const QUALITY_USAGE = "usage: texturequality [LOW|MEDIUM|HIGH]";

namespace {

// Restores a pixel store setting changed for one upload, so other drawing
// code keeps the alignment it set.
struct PixelStoreSetting {
    GLenum setting;
    GLint previous = 4;
    PixelStoreSetting(GLenum which, GLint value) : setting(which) {
        glGetIntegerv(setting, &previous);
        glPixelStorei(setting, value);
    }
    ~PixelStoreSetting() { glPixelStorei(setting, previous); }
    PixelStoreSetting(const PixelStoreSetting&) = delete;
    PixelStoreSetting& operator=(const PixelStoreSetting&) = delete;
};

} // namespace

// How many halvings of each side the current quality asks for.
static int quality_shift() {
    switch (quality) {
    case TEXTURE_LOW: return 2;
    case TEXTURE_MEDIUM: return 1;
    default: return 0;
    }
}

void texture_target_size(const Texture& texture, int* width, int* height) {
    int shift = texture.full_size ? 0 : quality_shift();
    *width = texture.width >> shift;
    *height = texture.height >> shift;
    if (*width < 1) *width = 1;
    if (*height < 1) *height = 1;
}

// Scales the full-size picture to the target size and uploads it with its
// mipmaps into a new texture object.
static void texture_upload(Texture* texture) {
    GLenum format = texture->bpp == 24 ? GL_RGB : GL_RGBA;
    GLint components = texture->bpp == 24 ? 3 : 4;
    int target_width = 0;
    int target_height = 0;
    texture_target_size(*texture, &target_width, &target_height);
    // RGB rows are tightly packed, so their size is often not a multiple of 4.
    PixelStoreSetting unpack(GL_UNPACK_ALIGNMENT, 1);
    PixelStoreSetting pack(GL_PACK_ALIGNMENT, 1);
    // At full size the kept pixels go up as they are; scaling them to their
    // own size would only copy them.
    std::vector<uint8_t> scaled;
    const uint8_t* upload = texture->pixels.data();
    if (target_width != texture->width || target_height != texture->height) {
        scaled.resize(static_cast<size_t>(target_width) * target_height * 4);
        gluScaleImage(format, texture->width, texture->height, GL_UNSIGNED_BYTE,
                      texture->pixels.data(), target_width, target_height, GL_UNSIGNED_BYTE,
                      scaled.data());
        upload = scaled.data();
    }
    glGenTextures(1, &texture->gl_name);
    glBindTexture(GL_TEXTURE_2D, texture->gl_name);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    gluBuild2DMipmaps(GL_TEXTURE_2D, components, target_width, target_height, format,
                      GL_UNSIGNED_BYTE, upload);
    GL_CHECK("texture_upload");
}

static void delete_gl_texture(Texture* texture) {
    if (texture->gl_name != 0) glDeleteTextures(1, &texture->gl_name);
    texture->gl_name = 0;
}

// Reads the picture's pixels at full size into the record; false with an
// error line that names the file and the reason when the file is missing,
// unreadable, not a PNG, or has no colour (grey and palette pictures).
static bool read_picture(const char* file_name, Texture* texture) {
    OpenFile open_file(file_name);
    if (!open_file.file()) {
        console_print_errorf("Can't open texture %s: %s", file_name, std::strerror(errno));
        return false;
    }
    PngImage image;
    std::string reason;
    if (!load_png_image(open_file.file(), &image, &reason)) {
        console_print_errorf("Error loading texture %s: %s", file_name, reason.c_str());
        return false;
    }
    if (image.channels < 3) {
        console_print_errorf("Error loading texture %s: a grey or palette picture (it needs RGB)",
                             file_name);
        return false;
    }
    texture->pixels = std::move(image.pixels);
    texture->bpp = image.bit_depth * image.channels;
    texture->width = image.width;
    texture->height = image.height;
    return true;
}

// A cached picture lives in OpenGL only: its file is read again when it
// must be uploaded again, so its pixels need not stay in memory.
static void drop_pixels(Texture* texture) {
    std::vector<uint8_t>().swap(texture->pixels);
}

// Reads the picture and uploads it; null when it cannot be read.
static Texture* texture_load_file(const char* file_name, bool full_size) {
    auto* texture = new Texture{};
    texture->full_size = full_size;
    if (!read_picture(file_name, texture)) {
        delete texture;
        return nullptr;
    }
    texture_upload(texture);
    drop_pixels(texture);
    return texture;
}

// Uploads an entry's picture again. An own copy keeps its (changed) pixels;
// a cached picture is read again from its file, and when that fails it
// draws blank until the next upload, with the line that says why.
static void upload_again(TextureEntry* entry) {
    Texture* texture = entry->texture;
    delete_gl_texture(texture);
    if (entry->own_copy) {
        texture_upload(texture);
        return;
    }
    if (!read_picture(entry->name, texture)) return;
    texture_upload(texture);
    drop_pixels(texture);
}

static char* copy_name(const char* name) {
    size_t length = std::strlen(name);
    char* copy = new char[length + 1];
    std::memcpy(copy, name, length + 1);
    return copy;
}

TextureEntry* texture_find(const char* file_name) {
    for (TextureEntry* entry = entries; entry; entry = entry->next)
        if (!entry->own_copy && std::strcmp(entry->name, file_name) == 0) return entry;
    return nullptr;
}

Texture* texture_load(const char* file_name, bool full_size) {
    if (TextureEntry* entry = texture_find(file_name)) {
        console_print("texture found");
        console_print(file_name);
        entry->nbused++;
        return entry->texture;
    }
    // The entry goes in before loading, so a file that fails is remembered
    // and not tried (and reported) again.
    auto* entry = new TextureEntry{copy_name(file_name), nullptr, 1, entries, false};
    entries = entry;
    entry->texture = texture_load_file(file_name, full_size);
    return entry->texture;
}

// The entry goes when its last holder lets it go: a picture named by a level
// file may also be the radar, a head or a model's skin.
void texture_release(Texture* texture) {
    if (!texture) return;
    TextureEntry** link = &entries;
    while (*link && (*link)->texture != texture)
        link = &(*link)->next;
    TextureEntry* entry = *link;
    if (!entry || --entry->nbused > 0) return;
    *link = entry->next;
    delete_gl_texture(texture);
    delete texture;
    delete[] entry->name;
    delete entry;
}

Texture* texture_load_own_copy(const char* file_name, bool full_size) {
    auto* copy = new Texture{};
    copy->full_size = full_size;
    if (!read_picture(file_name, copy)) {
        delete copy;
        return nullptr;
    }
    char name[TEXTURE_NAME_SIZE];
    std::snprintf(name, sizeof name, "%s (own copy)", file_name);
    entries = new TextureEntry{copy_name(name), copy, 1, entries, true};
    texture_upload(copy);
    return copy;
}

void texture_delete_all() {
    console_print("Deleting textures...");
    for (TextureEntry* entry = entries; entry; entry = entry->next)
        if (entry->texture) delete_gl_texture(entry->texture);
}

// Objects removed by texture_delete_all (or with an old context) have
// gl_name 0 and are not deleted again: that name may now belong to another
// object of the new context.
void texture_reload_all() {
    console_print("Reloading textures...");
    clock_mark_stall(); // uploading every picture again is not game time
    for (TextureEntry* entry = entries; entry; entry = entry->next)
        if (entry->texture) upload_again(entry);
}

void texture_reload(Texture* texture) {
    console_print("Reloading textures...");
    for (TextureEntry* entry = entries; entry; entry = entry->next)
        if (texture && entry->texture == texture) upload_again(entry);
}

void texture_set_quality(TextureQuality new_quality) {
    if (new_quality == quality) return;
    quality = new_quality;
    texture_reload_all();
}

TextureQuality texture_get_quality() {
    return quality;
}

static void command_texturequality() {
    if (console_arg_count() < 1) {
        console_print_error(QUALITY_USAGE);
        return;
    }
    const char* name = console_arg(0);
    if (strncasecmp(name, "LOW", 3) == 0)
        texture_set_quality(TEXTURE_LOW);
    else if (strncasecmp(name, "MEDIUM", 6) == 0)
        texture_set_quality(TEXTURE_MEDIUM);
    else if (strncasecmp(name, "HIGH", 4) == 0)
        texture_set_quality(TEXTURE_HIGH);
    else
        console_print_error(QUALITY_USAGE);
}

static void command_textureinfo() {
    console_print("TEXTURE MANAGER");
    int count = 0;
    for (TextureEntry* entry = entries; entry; entry = entry->next, count++) {
        const Texture* texture = entry->texture;
        if (texture)
            console_printf("%s w: %d h: %d bpp: %d nbused: %d", entry->name, texture->width,
                           texture->height, texture->bpp, entry->nbused);
        else
            console_printf("%s not loaded nbused: %d", entry->name, entry->nbused);
    }
    console_printf("nb textures: %d texture quality: %s", count, QUALITY_NAMES[quality]);
}

bool texture_manager_init() {
    set_png_flip_rows(true);
    quality = TEXTURE_HIGH;
    console_add_command("texturequality", command_texturequality);
    console_add_command("textureinfo", command_textureinfo);
    return true;
}
