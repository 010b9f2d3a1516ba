// libFuzzer target for the material file parser: the first byte of an input
// is the model's material count, the rest the text of its material file.
// Textures are looked up by name in a small stand-in cache (names starting
// with "missing" are not found), so the grammar is exercised without an
// OpenGL context. A parse that succeeds must have filled every material.
#include "console/registry.h"
#include "model/material.h"
#include "textures/texture.h"
#include "scratch_console.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

static Texture stand_in;

static Texture* find_texture(const char* name) {
    if (std::strlen(name) >= 256) __builtin_trap(); // a word is at most one line
    return std::strncmp(name, "missing", 7) == 0 ? nullptr : &stand_in;
}

static void start_once() {
    static bool started = false;
    if (started) return;
    started = true;
    start_console_in_scratch_folder();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    start_once();
    Model model;
    model.material_count = data[0];
    const char* text = reinterpret_cast<const char*>(data + 1);
    if (material_parse(&model, text, size - 1, "fuzz.txt", find_texture)) {
        if (model.material_layers.size() != model.material_count) __builtin_trap();
        for (const MaterialLayers& layers : model.material_layers)
            if (!layers.base_texture ||
                layers.has_second_layer != (layers.second_texture != nullptr))
                __builtin_trap();
    } else if (!model.material_layers.empty()) {
        __builtin_trap();
    }
    return 0;
}
