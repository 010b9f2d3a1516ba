// Landscape drawing: owns the terrain's multitexture switch, the list of the
// frame's visible leaves and sending them to OpenGL.
//
// The leaves go out from a vertex array as indexed triangles, many leaves to
// a draw call, instead of four immediate-mode quad strips each with two
// texture coordinates per point. The triangles are exactly those the
// renderer splits the strips into, in the same order, and the texture
// coordinates come from object-linear generation with planes that give the
// same values, so the picture is the same to the pixel.
//
// With terrain_lod_error above 0 each leaf is drawn instead at the coarsest
// level of detail whose height error stays within that many pixels on
// screen, its sides matched to its neighbours' (terrain/lod.h), all leaves
// in one draw call.
#include "terrain/draw.h"

#include "console/registry.h"
#include "gl.h"
#include "terrain/grid.h"
#include "terrain/lod.h"
#include "textures/texture.h"

#include <cmath>
#include <cstdint>
#include <vector>

static ConsoleVariable* terrain_lod_error = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &terrain_lod_error,
     .name = "terrain_lod_error",
     .default_value = LOD_DEFAULT_PIXELS,
     .min_value = 0.0f,
     .max_value = 100.0f,
     .help = "how many pixels the land's shape may move where far patches are drawn with fewer "
             "triangles (0: every patch in full)"},
};

// Triangles sent by the latest terrain_draw.
static int frame_triangles = 0;

// The level drawn for each leaf this frame, by leaf column and row
// (NO_LEVEL for leaves not drawn), and the points and triangles of the
// frame's leaves at those levels.
constexpr uint8_t NO_LEVEL = 0xFF;
static std::vector<uint8_t> leaf_levels;
static std::vector<float> lod_points;
static std::vector<GLuint> lod_indices;

// The frame's visible leaves in drawing order, filled by
// quad_node_draw_visible and quad_node_draw_all, their points (x, height,
// z, 25 to a leaf) and whether each lies well inside the clip volume.
static std::vector<const QuadNode*> frame_leaves;
static std::vector<float> frame_points;
static std::vector<uint8_t> frame_inside;

// Indices of the triangles of as many leaves as one draw call sends.
static std::vector<uint16_t> batch_indices;

// 256 leaves keep a draw call's points under 80 KB.
constexpr int BATCH_LEAVES = 256;
constexpr int STRIP_INDICES = LEAF_CELLS * 6;
constexpr int LEAF_INDICES = LEAF_CELLS * STRIP_INDICES;

// Points within this fraction of the clip volume's bounds are well inside:
// far more room than any rounding of the renderer's own transform.
constexpr double CLIP_MARGIN = 0.999;

namespace {

// The texture coordinate generation of one unit, put back after drawing.
struct TexGenState {
    GLint mode[2];
    GLfloat plane[2][4];
    GLboolean enabled[2];
};

} // namespace

void quad_node_draw_all(const QuadNode* node, const Terrain& land) {
    if (!node) return;
    if (node->is_leaf) {
        frame_leaves.push_back(node);
        return;
    }
    for (const QuadNode* child : node->children)
        quad_node_draw_all(child, land);
}

void quad_node_draw_visible(const QuadNode* node, const EdgeLine edges[4], const Terrain& land) {
    while (node) {
        NodeSide side = node_in_footprint(*node, edges);
        if (side == SIDE_OUTSIDE) return;
        if (side == SIDE_INSIDE) {
            quad_node_draw_all(node, land);
            return;
        }
        if (node->is_leaf) {
            frame_leaves.push_back(node);
            return;
        }
        for (int i = 0; i < 3; i++)
            quad_node_draw_visible(node->children[i], edges, land);
        node = node->children[3];
    }
}

// The triangles a leaf's four strips are split into, in the renderer's own
// order: quad i of strip r has the corners a = (i, r), b = (i, r + 1),
// c = (i + 1, r), d = (i + 1, r + 1) and becomes (c, a, d), (a, b, d).
static void build_batch_indices() {
    batch_indices.reserve(static_cast<size_t>(BATCH_LEAVES) * LEAF_INDICES);
    for (int leaf = 0; leaf < BATCH_LEAVES; leaf++)
        for (int r = 0; r < LEAF_CELLS; r++)
            for (int i = 0; i < LEAF_CELLS; i++) {
                int a = leaf * LEAF_SAMPLES + LEAF_SIDE * r + i;
                int b = a + LEAF_SIDE, c = a + 1, d = a + LEAF_SIDE + 1;
                for (int index : {c, a, d, a, b, d})
                    batch_indices.push_back(static_cast<uint16_t>(index));
            }
}

// Projection times model-view, column-major, in double.
static void clip_matrix(double clip[16]) {
    GLfloat projection[16], model_view[16];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetFloatv(GL_MODELVIEW_MATRIX, model_view);
    for (int col = 0; col < 4; col++)
        for (int row = 0; row < 4; row++) {
            double sum = 0.0;
            for (int k = 0; k < 4; k++)
                sum += static_cast<double>(projection[4 * k + row]) * model_view[4 * col + k];
            clip[4 * col + row] = sum;
        }
}

static bool point_well_inside(const double clip[16], const float* p) {
    double c[4];
    for (int row = 0; row < 4; row++)
        c[row] = clip[row] * p[0] + clip[4 + row] * p[1] + clip[8 + row] * p[2] + clip[12 + row];
    double limit = c[3] * CLIP_MARGIN;
    return c[3] > 0.0 && std::fabs(c[0]) < limit && std::fabs(c[1]) < limit &&
           std::fabs(c[2]) < limit;
}

// Writes the points of every frame leaf and notes which leaves lie well
// inside the clip volume.
static void prepare_frame_leaves() {
    double clip[16];
    clip_matrix(clip);
    frame_points.resize(frame_leaves.size() * LEAF_SAMPLES * 3);
    frame_inside.resize(frame_leaves.size());
    float* p = frame_points.data();
    for (size_t n = 0; n < frame_leaves.size(); n++) {
        const QuadNode& leaf = *frame_leaves[n];
        bool inside = true;
        for (int r = 0; r < LEAF_SIDE; r++)
            for (int i = 0; i < LEAF_SIDE; i++, p += 3) {
                p[0] = leaf.corners[0].x + i;
                p[1] = leaf.samples[LEAF_SIDE * r + i];
                p[2] = leaf.corners[0].z + r;
                inside = inside && point_well_inside(clip, p);
            }
        frame_inside[n] = inside;
    }
}

static void send_leaves_batched(size_t first, size_t count) {
    while (count > 0) {
        size_t leaves = count < BATCH_LEAVES ? count : BATCH_LEAVES;
        glVertexPointer(3, GL_FLOAT, 0, frame_points.data() + first * LEAF_SAMPLES * 3);
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(leaves * LEAF_INDICES), GL_UNSIGNED_SHORT,
                       batch_indices.data());
        first += leaves;
        count -= leaves;
    }
}

static void send_leaves_by_strip(size_t first, size_t count) {
    for (size_t n = first; n < first + count; n++) {
        glVertexPointer(3, GL_FLOAT, 0, frame_points.data() + n * LEAF_SAMPLES * 3);
        for (int r = 0; r < LEAF_CELLS; r++)
            glDrawElements(GL_TRIANGLES, STRIP_INDICES, GL_UNSIGNED_SHORT,
                           batch_indices.data() + r * STRIP_INDICES);
    }
}

// Sends the frame's leaves in order. Runs of leaves well inside the clip
// volume share draw calls; any other leaf is sent one strip per call, so
// the renderer decides about clipping for each strip as it does for strips
// drawn one by one (clipping a whole batch can round the points of a shared
// edge differently and move a pixel along it).
static void send_frame_leaves() {
    if (batch_indices.empty()) build_batch_indices();
    glEnableClientState(GL_VERTEX_ARRAY);
    for (size_t first = 0; first < frame_leaves.size();) {
        const bool inside = frame_inside[first];
        size_t end = first + 1;
        while (end < frame_leaves.size() && frame_inside[end] == inside)
            end++;
        if (inside)
            send_leaves_batched(first, end - first);
        else
            send_leaves_by_strip(first, end - first);
        first = end;
    }
    glDisableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
}

void terrain_lod_init() {
    console_add_settings(SETTINGS);
}

int terrain_frame_triangles() {
    return frame_triangles;
}

// How many pixels a unit spans one unit in front of the eye, from the
// projection's vertical scale and the viewport's height.
static float pixels_at_unit() {
    GLfloat projection[16];
    GLint viewport[4];
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    return std::fabs(projection[5]) * 0.5f * static_cast<float>(viewport[3]);
}

static uint8_t level_at(int column, int row, int leaves_per_side) {
    if (column < 0 || row < 0 || column >= leaves_per_side || row >= leaves_per_side)
        return NO_LEVEL;
    return leaf_levels[static_cast<size_t>(row) * leaves_per_side + column];
}

// Chooses every frame leaf's level, then writes each leaf's points and
// triangles at its level with its sides matched to the neighbours drawn.
static void prepare_lod_leaves(Vector3 eye, const Terrain& land, float max_pixels) {
    const int per_side = land.width / LEAF_CELLS;
    leaf_levels.assign(static_cast<size_t>(per_side) * per_side, NO_LEVEL);
    const float scale = pixels_at_unit();
    std::vector<uint8_t> levels(frame_leaves.size());
    for (size_t n = 0; n < frame_leaves.size(); n++) {
        const QuadNode& leaf = *frame_leaves[n];
        levels[n] = static_cast<uint8_t>(lod_choose_level(leaf, eye, scale, max_pixels));
        const int column = static_cast<int>(leaf.corners[0].x) / LEAF_CELLS;
        const int row = static_cast<int>(leaf.corners[0].z) / LEAF_CELLS;
        if (column < per_side && row < per_side)
            leaf_levels[static_cast<size_t>(row) * per_side + column] = levels[n];
    }
    lod_points.clear();
    lod_indices.clear();
    for (size_t n = 0; n < frame_leaves.size(); n++) {
        const QuadNode& leaf = *frame_leaves[n];
        const int column = static_cast<int>(leaf.corners[0].x) / LEAF_CELLS;
        const int row = static_cast<int>(leaf.corners[0].z) / LEAF_CELLS;
        const uint8_t neighbours[4] = {
            level_at(column, row - 1, per_side), level_at(column + 1, row, per_side),
            level_at(column, row + 1, per_side), level_at(column - 1, row, per_side)};
        int side_levels[4];
        for (int k = 0; k < 4; k++)
            side_levels[k] = neighbours[k] == NO_LEVEL ? levels[n] : neighbours[k];
        const LeafShape& shape = lod_leaf_shape(levels[n], side_levels);
        const GLuint first = static_cast<GLuint>(lod_points.size() / 3);
        for (uint8_t sample : shape.points) {
            lod_points.push_back(leaf.corners[0].x + sample % LEAF_SIDE);
            lod_points.push_back(leaf.samples[sample]);
            lod_points.push_back(leaf.corners[0].z + sample / LEAF_SIDE);
        }
        for (uint8_t index : shape.triangles)
            lod_indices.push_back(first + index);
    }
}

static void send_lod_leaves() {
    if (lod_indices.empty()) return;
    glEnableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, lod_points.data());
    glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(lod_indices.size()), GL_UNSIGNED_INT,
                   lod_indices.data());
    glDisableClientState(GL_VERTEX_ARRAY);
    glVertexPointer(3, GL_FLOAT, 0, nullptr);
}

static TexGenState save_tex_gen() {
    TexGenState state;
    const GLenum coords[2] = {GL_S, GL_T};
    const GLenum enables[2] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T};
    for (int i = 0; i < 2; i++) {
        glGetTexGeniv(coords[i], GL_TEXTURE_GEN_MODE, &state.mode[i]);
        glGetTexGenfv(coords[i], GL_OBJECT_PLANE, state.plane[i]);
        state.enabled[i] = glIsEnabled(enables[i]);
    }
    return state;
}

void terrain_texture_units_back_to_modulate() {
    glActiveTextureARB(GL_TEXTURE1_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glDisable(GL_TEXTURE_2D);
    glActiveTextureARB(GL_TEXTURE0_ARB);
    glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_MODULATE);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_MODULATE);
    glEnable(GL_TEXTURE_2D);
}

static void restore_tex_gen(const TexGenState& state) {
    const GLenum coords[2] = {GL_S, GL_T};
    const GLenum enables[2] = {GL_TEXTURE_GEN_S, GL_TEXTURE_GEN_T};
    for (int i = 0; i < 2; i++) {
        glTexGeni(coords[i], GL_TEXTURE_GEN_MODE, state.mode[i]);
        glTexGenfv(coords[i], GL_OBJECT_PLANE, state.plane[i]);
        if (state.enabled[i])
            glEnable(enables[i]);
        else
            glDisable(enables[i]);
    }
}

// Texture coordinates from the points themselves on the active unit:
// s = x * scale, t = z * scale, the values the strips would give. r and q
// come from the current coordinates, set to 0 and 1 as with two values.
void terrain_generate_coordinates(float scale) {
    const GLfloat s_plane[4] = {scale, 0.0f, 0.0f, 0.0f};
    const GLfloat t_plane[4] = {0.0f, 0.0f, scale, 0.0f};
    glTexGeni(GL_S, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGeni(GL_T, GL_TEXTURE_GEN_MODE, GL_OBJECT_LINEAR);
    glTexGenfv(GL_S, GL_OBJECT_PLANE, s_plane);
    glTexGenfv(GL_T, GL_OBJECT_PLANE, t_plane);
    glEnable(GL_TEXTURE_GEN_S);
    glEnable(GL_TEXTURE_GEN_T);
}

static unsigned int texture_name(const Texture* texture) {
    return texture ? texture->gl_name : 0;
}

void terrain_draw(Vector3 eye, float yaw, float pitch, float field_of_view, const Terrain& land) {
    if (!land.root || land.width <= 0) return;
    EdgeLine edges[4];
    terrain_footprint(eye, yaw, pitch, field_of_view, edges);
    frame_leaves.clear();
    quad_node_draw_visible(land.root, edges, land);
    const float max_pixels = terrain_lod_error->value;
    const bool simplified = max_pixels > 0.0f;
    if (simplified) {
        prepare_lod_leaves(eye, land, max_pixels);
        frame_triangles = static_cast<int>(lod_indices.size() / 3);
    } else {
        prepare_frame_leaves();
        frame_triangles = static_cast<int>(frame_leaves.size()) * LEAF_INDICES / 3;
    }

    const bool multitexture = land.detail_on_second_unit && gl_driver().multitexture;
    // The grid's side is a power of two: 1 / side and 10 / side are exact,
    // and so is every coordinate made from them.
    const float base_scale = 1.0f / static_cast<float>(land.width);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture_name(land.base_texture));
    glColor3f(1.0f, 1.0f, 1.0f);
    glEnable(GL_DEPTH_TEST);
    const TexGenState unit0_generation = save_tex_gen();
    TexGenState unit1_generation{};
    if (multitexture) {
        glActiveTextureARB(GL_TEXTURE0_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_REPLACE);
        glActiveTextureARB(GL_TEXTURE1_ARB);
        unit1_generation = save_tex_gen();
        glBindTexture(GL_TEXTURE_2D, texture_name(land.detail_texture));
        glEnable(GL_TEXTURE_2D);
        glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_COMBINE_ARB);
        glTexEnvi(GL_TEXTURE_ENV, GL_COMBINE_RGB_ARB, GL_ADD_SIGNED_ARB);
        glMultiTexCoord2fARB(GL_TEXTURE1_ARB, 0.0f, 0.0f);
        terrain_generate_coordinates(10.0f * base_scale);
        glActiveTextureARB(GL_TEXTURE0_ARB);
    }
    glTexCoord2f(0.0f, 0.0f);
    terrain_generate_coordinates(base_scale);
    glEnable(GL_CULL_FACE);

    if (simplified)
        send_lod_leaves();
    else
        send_frame_leaves();

    restore_tex_gen(unit0_generation);
    if (multitexture) {
        // Unit 1 off with its default environment, unit 0 back to modulate,
        // so nothing drawn next is multitextured by accident.
        glActiveTextureARB(GL_TEXTURE1_ARB);
        restore_tex_gen(unit1_generation);
        terrain_texture_units_back_to_modulate();
    }
    GL_CHECK("terrain_draw");
}
