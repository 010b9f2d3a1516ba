// Heightmap: owns the game's one Terrain record; loads a record from a RAW
// file with its two pictures and its quadtree, and frees it.
#include "terrain/terrain.h"

#include "console/output.h"
#include "gl.h"
#include "open_file.h"
#include "terrain/draw.h"
#include "terrain/quadtree.h"
#include "terrain/shadow.h"
#include "textures/texture.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>

static Terrain land_of_level;

const Terrain& game_terrain() {
    return land_of_level;
}

bool game_terrain_load(const char* raw_path, int width, int height, const char* base_path,
                       const char* detail_path) {
    return terrain_load(raw_path, land_of_level, width, height, base_path, detail_path);
}

bool game_terrain_load_heights(const char* raw_path, int width, int height) {
    terrain_free(land_of_level);
    OpenFile raw(raw_path);
    if (!raw.file()) {
        console_print_errorf("Can't open landscape %s: %s", raw_path, std::strerror(errno));
        return false;
    }
    return terrain_read_heights(raw.file(), raw_path, width, height, land_of_level);
}

void game_terrain_shade(float elevation, float azimuth) {
    terrain_shade(land_of_level, elevation, azimuth);
}

bool terrain_size_valid(int width, int height) {
    if (width != height || width < 4 || width > TERRAIN_MAX_SIDE) return false;
    int cells = width / 4;
    return width % 4 == 0 && (cells & (cells - 1)) == 0;
}

bool terrain_read_heights(std::FILE* file, const char* name, int width, int height, Terrain& land) {
    if (!terrain_size_valid(width, height)) {
        console_print_errorf("Landscape %s: %dx%d is not a square of 4 times a power of 2", name,
                             width, height);
        return false;
    }
    const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
    std::vector<uint8_t> bytes(count);
    land.heights.assign(count, 0.0f);
    size_t got = std::fread(bytes.data(), 1, count, file);
    if (got < count) {
        console_print_errorf("Landscape %s is too short: %zu of %zu bytes", name, got, count);
        return false;
    }
    for (size_t i = 0; i < count; i++)
        land.heights[i] = bytes[i] * 0.25f;
    land.width = width;
    land.height = height;
    return true;
}

bool terrain_load(const char* raw_path, Terrain& land, int width, int height, const char* base_path,
                  const char* detail_path) {
    terrain_free(land);
    if (!terrain_size_valid(width, height)) {
        console_print_errorf("Landscape %s: %dx%d is not a square of 4 times a power of 2",
                             raw_path, width, height);
        return false;
    }
    // The shadow pass darkens the base picture: the land shades its own copy,
    // not a picture the cache may also hand to the radar or a model.
    land.base_texture = texture_load_own_copy(base_path, false);
    if (!land.base_texture) return false;
    land.detail_texture = texture_load(detail_path, false);
    if (!land.detail_texture) return false;
    OpenFile raw(raw_path);
    if (!raw.file()) {
        console_print_errorf("Can't open landscape %s: %s", raw_path, std::strerror(errno));
        return false;
    }
    if (!terrain_read_heights(raw.file(), raw_path, width, height, land)) return false;
    land.root = quad_node_new();
    quad_node_build(land.root, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height),
                    land);
    land.detail_on_second_unit = gl_driver().multitexture;
    return true;
}

void terrain_free(Terrain& land) {
    land.heights.clear();
    land.heights.shrink_to_fit();
    land.width = 0;
    land.height = 0;
    if (land.root) {
        quad_node_free(land.root);
        delete land.root;
        land.root = nullptr;
    }
    texture_release(land.base_texture);
    texture_release(land.detail_texture);
    land.base_texture = nullptr;
    land.detail_texture = nullptr;
    land.detail_on_second_unit = false;
}
