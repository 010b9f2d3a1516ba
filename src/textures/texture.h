// Texture cache: every picture the game draws is loaded here once and
// uploaded to OpenGL at the chosen quality; after a quality change or a new
// OpenGL context it is read from its file and uploaded again.
#pragma once

#include <cstdint>
#include <vector>

struct Texture {
    // Full size, bottom-up rows, 3 or 4 bytes a pixel: an own copy's, kept for
    // its holder to change; empty for a cached picture once it is uploaded.
    std::vector<uint8_t> pixels;
    int bpp = 0;                 // 24 (RGB) or 32 (RGBA)
    int width = 0;
    int height = 0;
    unsigned int gl_name = 0;
    bool full_size = false; // always uploaded at full size
};

struct TextureEntry {
    char* name;       // the cache key, as the first caller gave it
    Texture* texture; // none when loading failed
    int nbused;       // holders; the entry goes when the last one releases it
    TextureEntry* next;
    bool own_copy; // a private copy of a picture, never handed out by name
};

constexpr int TEXTURE_NAME_SIZE = 256;

enum TextureQuality { TEXTURE_HIGH = 0, TEXTURE_MEDIUM = 1, TEXTURE_LOW = 2 };

// Turns on bottom-up decoding, sets HIGH quality and registers
// "texturequality" and "textureinfo".
bool texture_manager_init();

// Returns the shared texture of that file, loading it on first use.
Texture* texture_load(const char* file_name, bool full_size);
// Lets go of one hold on the texture; the last release frees it.
void texture_release(Texture* texture);
// A private copy of the picture that its holder may change (the land's base
// picture is shaded per level), read from the file and uploaded, with its
// pixels kept; texture_reload uploads it again once its holder has changed
// it. Kept in the cache, so it is uploaded again with the others; released
// like any texture.
Texture* texture_load_own_copy(const char* file_name, bool full_size);
void texture_delete_all();
void texture_reload_all();
// Uploads one texture again (an own copy after its pixels changed), with the
// same "Reloading textures..." line; the others stay as they are.
void texture_reload(Texture* texture);
void texture_set_quality(TextureQuality quality);
TextureQuality texture_get_quality();
TextureEntry* texture_find(const char* file_name);

// The size the texture is uploaded at under the current quality: full size
// for full-size textures, else halved (MEDIUM) or quartered (LOW), at least 1.
void texture_target_size(const Texture& texture, int* width, int* height);
