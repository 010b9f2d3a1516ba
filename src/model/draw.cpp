// Model drawing: owns the texture-layer set-up per material (sphere-map
// generation, the second unit's combine settings and their reset), the
// sending of vertices, plain or skinned through their joint's final matrix,
// and the display lists of models without joints, recorded again whenever
// the context or the texture objects they bind have changed.
#include "model/draw.h"

#include "gl.h"
#include "textures/texture.h"

#include <cmath>

static unsigned int texture_name(const Texture* texture) {
    return texture ? texture->gl_name : 0;
}

std::vector<unsigned int> model_texture_names(const Model& model) {
    std::vector<unsigned int> names;
    for (const MaterialLayers& layers : model.material_layers) {
        names.push_back(texture_name(layers.base_texture));
        names.push_back(texture_name(layers.second_texture));
    }
    return names;
}

// A list recorded in another context names nothing of ours (the name may
// belong to someone else's list there), and a list recorded before the
// textures were uploaded again binds objects that are gone.
static bool display_list_valid(const Model* model) {
    if (model->draw_immediate || model->list_context != gl_driver().context_serial) return false;
    const std::vector<unsigned int>& recorded = model->list_textures;
    if (recorded.size() != model->material_layers.size() * 2) return false;
    for (size_t i = 0; i < model->material_layers.size(); i++) {
        const MaterialLayers& layers = model->material_layers[i];
        if (recorded[2 * i] != texture_name(layers.base_texture) ||
            recorded[2 * i + 1] != texture_name(layers.second_texture))
            return false;
    }
    return true;
}

static void set_sphere_map(bool on) {
    if (on) {
        glEnable(GL_TEXTURE_GEN_S);
        glEnable(GL_TEXTURE_GEN_T);
    } else {
        glDisable(GL_TEXTURE_GEN_S);
        glDisable(GL_TEXTURE_GEN_T);
    }
}

// Combines the second unit's texture with the base layer from unit 0.
static void apply_combine(CombineMode mode) {
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
    switch (mode) {
    case COMBINE_ADD_SIGNED:
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_ADD_SIGNED_ARB);
        glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 2.0f);
        break;
    case COMBINE_ALPHA: // second * its alpha + base * (1 - its alpha)
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_INTERPOLATE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_ARB, GL_TEXTURE);
        break;
    case COMBINE_MULTIPLY: glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE); break;
    default: glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_ADD); break;
    }
}

// Back to OpenGL's defaults for the active unit's environment.
static void reset_combine() {
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
    glTexEnvf(GL_TEXTURE_ENV, GL_RGB_SCALE_ARB, 1.0f);
    glTexEnvi(GL_TEXTURE_ENV, GL_SOURCE2_RGB_ARB, GL_CONSTANT_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
}

static void draw_one_layer(const Model* model, const ModelGroup& group,
                           const MaterialLayers& layers) {
    set_sphere_map(layers.base_env_map);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_name(layers.base_texture));
    model_draw_group(model, group);
    if (layers.base_env_map) set_sphere_map(false);
}

static void draw_two_layers(const Model* model, const ModelGroup& group,
                            const MaterialLayers& layers) {
    glEnable(GL_TEXTURE_2D);
    set_sphere_map(layers.base_env_map);
    glBindTexture(GL_TEXTURE_2D, texture_name(layers.base_texture));
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glEnable(GL_TEXTURE_2D);
    set_sphere_map(layers.second_env_map);
    glBindTexture(GL_TEXTURE_2D, texture_name(layers.second_texture));
    apply_combine(layers.second_combine);

    model_draw_group_multitexture(model, group);

    if (layers.second_env_map) set_sphere_map(false);
    reset_combine();
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    if (layers.base_env_map) set_sphere_map(false);
    // The terrain leaves unit 0 in combine mode; its function goes back to
    // modulate, which draws like the default environment.
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
}

// Every group in immediate mode, once.
static void draw_groups(const Model* model) {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    for (const ModelGroup& group : model->groups) {
        if (group.material_index < 0 ||
            size_t(group.material_index) >= model->material_layers.size())
            continue;
        const MaterialLayers& layers = model->material_layers[group.material_index];
        if (layers.has_second_layer && gl_driver().multitexture)
            draw_two_layers(model, group, layers);
        else
            draw_one_layer(model, group, layers);
    }
}

void model_record_display_list(Model* model) {
    // A list of this context that binds textures since replaced is ours to
    // delete; a list of an earlier context is not (its name is free here).
    if (model->display_list != 0 && model->list_context == gl_driver().context_serial)
        glDeleteLists(model->display_list, 1);
    model->display_list = glGenLists(1);
    glNewList(model->display_list, GL_COMPILE);
    draw_groups(model);
    glEndList();
    model->list_context = gl_driver().context_serial;
    model->list_textures = model_texture_names(*model);
    model->draw_immediate = false;
    GL_CHECK("model_record_display_list");
}

// A model without joints whose list went stale (a new context after a video
// mode change, or textures uploaded again) records a new one, unless a list
// is being recorded right now: lists cannot be nested.
static void refresh_display_list(Model* model) {
    if (model->joint_count != 0 || model->display_list == 0) return;
    GLint recording = 0;
    glGetIntegerv(GL_LIST_INDEX, &recording);
    if (recording != 0) return;
    model_record_display_list(model);
}

// A model with a valid list is drawn twice, the second time over the same
// depths; the geometry goes again only when the list cannot be used. The
// second copy changes no pixel unless blending adds it, so it is only sent
// then, and from the list too: the same picture for a fraction of the work.
void model_draw(Model* model) {
    if (!display_list_valid(model)) refresh_display_list(model);
    if (display_list_valid(model)) {
        glCallList(model->display_list);
        if (glIsEnabled(GL_BLEND)) glCallList(model->display_list);
        GL_CHECK("model_draw");
        return;
    }
    draw_groups(model);
    GL_CHECK("model_draw");
}

// Sends one corner's normal and position; a skinned corner goes from its
// joint's space through the joint's final matrix.
static void send_corner(const Model* model, const ModelTriangle& triangle, int corner) {
    const ModelVertex& vertex = model->vertices[triangle.vertex_indices[corner]];
    const Vector3& normal = triangle.normals[corner];
    if (vertex.bone < 0) {
        glNormal3f(normal.x, normal.y, normal.z);
        glVertex3f(vertex.position.x, vertex.position.y, vertex.position.z);
        return;
    }
    const Matrix& final = model->joints[vertex.bone].final;
    Vector4 n = vector4_from_vector3(normal);
    vector4_rotate(&n, final);
    float length = std::sqrt(n.x * n.x + n.y * n.y + n.z * n.z);
    if (length > 0.0f) // also false for a NaN: such a normal is sent as zero
        glNormal3f(n.x / length, n.y / length, n.z / length);
    else
        glNormal3f(0.0f, 0.0f, 0.0f);
    Vector4 p = vector4_from_vector3(vertex.position);
    vector4_transform(&p, final);
    glVertex3f(p.x, p.y, p.z);
}

void model_draw_group(const Model* model, const ModelGroup& group) {
    for (uint16_t index : group.triangle_indices) {
        const ModelTriangle& triangle = model->triangles[index];
        glBegin(GL_TRIANGLES);
        for (int corner = 0; corner < 3; corner++) {
            glTexCoord2f(triangle.s[corner], triangle.t[corner]);
            send_corner(model, triangle, corner);
        }
        glEnd();
    }
}

void model_draw_group_multitexture(const Model* model, const ModelGroup& group) {
    for (uint16_t index : group.triangle_indices) {
        const ModelTriangle& triangle = model->triangles[index];
        glBegin(GL_TRIANGLES);
        for (int corner = 0; corner < 3; corner++) {
            glMultiTexCoord2fARB(GL_TEXTURE1_ARB, triangle.s[corner], triangle.t[corner]);
            glMultiTexCoord2fARB(GL_TEXTURE0_ARB, triangle.s[corner], triangle.t[corner]);
            send_corner(model, triangle, corner);
        }
        glEnd();
    }
}
