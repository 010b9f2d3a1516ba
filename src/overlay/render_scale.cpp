// Render scale: owns render_scale, the automatic choice and the picture the
// scaled scene is drawn into (a texture, with a framebuffer object and its
// depth buffer where the driver has them), remade with each new context or
// window size.
#include "overlay/render_scale.h"

#include "console/registry.h"
#include "gl.h"
#include "platform/display.h"

#include <algorithm>
#include <cmath>

static ConsoleVariable* render_scale = nullptr;
static const SettingRow SETTINGS[] = {
    {.variable = &render_scale,
     .name = "render_scale",
     .default_value = 0.0f,
     .min_value = 0.0f,
     .max_value = 1.0f,
     .help = "the share of the window's size, each way, the 3-D scene is drawn at "
             "(0: chosen to hold the frame rate)"},
};

static AutoScale automatic;
// The picture of the scaled scene, valid in the context of picture_context.
static unsigned int picture_context = 0;
static GLuint picture_texture = 0, framebuffer = 0, depth_buffer = 0;
static int picture_width = 0, picture_height = 0; // the texture's size
static int window_width = 0, window_height = 0;   // the window it was made for
static bool drawing_into_framebuffer = false;     // false: the back buffer's corner
static bool made_with_framebuffers = false;       // gl_driver().framebuffer_object when it was made
// The frame between scene_begin and scene_end: the scaled size, 0 at scale 1.
static int scene_width = 0, scene_height = 0;

void auto_scale_reset(AutoScale* a) {
    *a = AutoScale{};
}

// Step 0 is AUTO_SCALE_LOWEST, the last step 1.
static int step_of(float scale) {
    int step = static_cast<int>(std::lround((scale - AUTO_SCALE_LOWEST) / AUTO_SCALE_STEP));
    return std::clamp(step, 0, AUTO_SCALE_STEPS - 1);
}

static float scale_of(int step) {
    return step == AUTO_SCALE_STEPS - 1 ? 1.0f : AUTO_SCALE_LOWEST + AUTO_SCALE_STEP * step;
}

// The time measured at a step, when it was measured lately.
static bool measured_lately(const AutoScale* a, int step, double* ms) {
    if (a->step_window[step] == 0 || a->windows - a->step_window[step] > AUTO_SCALE_MEMORY)
        return false;
    *ms = a->step_ms[step];
    return true;
}

// The largest step whose recent time is about the fastest recent time.
static int largest_of_the_fastest(const AutoScale* a) {
    double fastest = 0.0, ms = 0.0;
    bool any = false;
    for (int step = 0; step < AUTO_SCALE_STEPS; step++)
        if (measured_lately(a, step, &ms) && (!any || ms < fastest)) {
            fastest = ms;
            any = true;
        }
    int chosen = step_of(a->scale);
    for (int step = 0; step < AUTO_SCALE_STEPS; step++)
        if (measured_lately(a, step, &ms) && ms <= fastest * AUTO_SCALE_SAME_TIME) chosen = step;
    return chosen;
}

// A window that missed the target: a step down while that may help.
static int step_when_slow(const AutoScale* a, int step, double average) {
    double below = 0.0;
    if (step > 0 && (!measured_lately(a, step - 1, &below) || below < average)) return step - 1;
    return largest_of_the_fastest(a);
}

// A window that made the target: a step up when the bigger picture, as
// predicted from the pixels or as measured there lately, makes it too.
static int step_when_fast(const AutoScale* a, int step, double average, double target_ms) {
    if (step == AUTO_SCALE_STEPS - 1) return step;
    double growth = scale_of(step + 1) / scale_of(step);
    double predicted = average * growth * growth, measured = 0.0;
    if (measured_lately(a, step + 1, &measured)) predicted = std::min(predicted, measured);
    return predicted < target_ms * AUTO_SCALE_HEADROOM ? step + 1 : step;
}

void auto_scale_add_frame(AutoScale* a, double frame_ms, double target_ms) {
    a->window_ms += frame_ms;
    if (++a->window_frames < AUTO_SCALE_WINDOW) return;
    double average = a->window_ms / a->window_frames;
    a->window_ms = 0.0;
    a->window_frames = 0;
    a->windows++;
    int step = step_of(a->scale);
    a->step_ms[step] = average;
    a->step_window[step] = a->windows;
    step = average > target_ms ? step_when_slow(a, step, average)
                               : step_when_fast(a, step, average, target_ms);
    a->scale = scale_of(step);
}

void render_scale_init() {
    console_add_settings(SETTINGS);
}

bool render_scale_automatic() {
    return render_scale->value == 0.0f;
}

float render_scale_in_use() {
    if (render_scale_automatic()) return automatic.scale;
    return std::clamp(render_scale->value, RENDER_SCALE_LOWEST, 1.0f);
}

void render_scale_frame_measured(double frame_ms, double target_fps) {
    if (!render_scale_automatic() || !(target_fps > 0.0)) return;
    auto_scale_add_frame(&automatic, frame_ms, 1000.0 / target_fps);
}

static int next_power_of_two(int n) {
    int power = 1;
    while (power < n)
        power *= 2;
    return power;
}

// Names of an earlier context are not this one's: forgotten, not deleted.
static void forget_picture_of_old_context() {
    if (picture_context == gl_driver().context_serial) return;
    picture_texture = framebuffer = depth_buffer = 0;
    picture_width = picture_height = window_width = window_height = 0;
    picture_context = gl_driver().context_serial;
}

static void delete_picture() {
    if (framebuffer) glDeleteFramebuffersEXT(1, &framebuffer);
    if (depth_buffer) glDeleteRenderbuffersEXT(1, &depth_buffer);
    if (picture_texture) glDeleteTextures(1, &picture_texture);
    picture_texture = framebuffer = depth_buffer = 0;
}

// A framebuffer drawing into the texture, with a depth buffer as precise as
// the window's (so the scene's near surfaces meet as they do there); false
// (and nothing left bound) when the driver refuses it.
static bool make_framebuffer() {
    GLint window_depth_bits = 16;
    glGetIntegerv(GL_DEPTH_BITS, &window_depth_bits);
    GLenum depth_format = window_depth_bits >= 24 ? GL_DEPTH_COMPONENT24 : GL_DEPTH_COMPONENT16;
    glGenRenderbuffersEXT(1, &depth_buffer);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, depth_buffer);
    glRenderbufferStorageEXT(GL_RENDERBUFFER_EXT, depth_format, picture_width, picture_height);
    glBindRenderbufferEXT(GL_RENDERBUFFER_EXT, 0);
    glGenFramebuffersEXT(1, &framebuffer);
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glFramebufferTexture2DEXT(GL_FRAMEBUFFER_EXT, GL_COLOR_ATTACHMENT0_EXT, GL_TEXTURE_2D,
                              picture_texture, 0);
    glFramebufferRenderbufferEXT(GL_FRAMEBUFFER_EXT, GL_DEPTH_ATTACHMENT_EXT, GL_RENDERBUFFER_EXT,
                                 depth_buffer);
    bool complete = glCheckFramebufferStatusEXT(GL_FRAMEBUFFER_EXT) == GL_FRAMEBUFFER_COMPLETE_EXT;
    glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    return complete;
}

// The texture holds a whole window's pixels (rounded up to powers of two
// where the driver needs them), so any scale fits without a new one.
static void make_picture(int width, int height) {
    delete_picture();
    window_width = width;
    window_height = height;
    picture_width = gl_driver().npot_textures ? width : next_power_of_two(width);
    picture_height = gl_driver().npot_textures ? height : next_power_of_two(height);
    GLint bound = 0;
    glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
    glGenTextures(1, &picture_texture);
    glBindTexture(GL_TEXTURE_2D, picture_texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGB8, picture_width, picture_height, 0, GL_RGB,
                 GL_UNSIGNED_BYTE, nullptr);
    glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    made_with_framebuffers = gl_driver().framebuffer_object;
    drawing_into_framebuffer = gl_driver().framebuffer_object && make_framebuffer();
    if (gl_driver().framebuffer_object && !drawing_into_framebuffer) {
        // The copy needs no framebuffer: drop what the driver refused.
        glDeleteFramebuffersEXT(1, &framebuffer);
        glDeleteRenderbuffersEXT(1, &depth_buffer);
        framebuffer = depth_buffer = 0;
    }
    GL_CHECK("render_scale make_picture");
}

void scene_begin() {
    scene_width = scene_height = 0;
    float scale = render_scale_in_use();
    if (scale >= 1.0f) return;
    int width = 0, height = 0;
    window_drawable_size(&width, &height);
    if (width <= 0 || height <= 0) return;
    forget_picture_of_old_context();
    if (width != window_width || height != window_height ||
        made_with_framebuffers != gl_driver().framebuffer_object)
        make_picture(width, height);
    scene_width = std::max(1, static_cast<int>(std::lround(width * scale)));
    scene_height = std::max(1, static_cast<int>(std::lround(height * scale)));
    if (drawing_into_framebuffer) glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, framebuffer);
    glViewport(0, 0, scene_width, scene_height);
}

// The scaled picture over the whole window. Its outer texels are sampled at
// their centres, so linear filtering never reaches the texels beyond the
// scene (the rest of the texture, or of the back buffer's copy).
static void draw_picture_over_window() {
    float s0 = 0.5f / picture_width, t0 = 0.5f / picture_height;
    float s1 = (scene_width - 0.5f) / picture_width;
    float t1 = (scene_height - 0.5f) / picture_height;
    glPushAttrib(GL_ENABLE_BIT | GL_CURRENT_BIT | GL_TEXTURE_BIT);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_FOG);
    glDisable(GL_BLEND);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);
    glDisable(GL_ALPHA_TEST);
    glDisable(GL_TEXTURE_GEN_S);
    glDisable(GL_TEXTURE_GEN_T);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, picture_texture);
    glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glOrtho(0.0, 1.0, 0.0, 1.0, -1.0, 1.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glBegin(GL_QUADS);
    glTexCoord2f(s0, t0);
    glVertex2f(0.0f, 0.0f);
    glTexCoord2f(s1, t0);
    glVertex2f(1.0f, 0.0f);
    glTexCoord2f(s1, t1);
    glVertex2f(1.0f, 1.0f);
    glTexCoord2f(s0, t1);
    glVertex2f(0.0f, 1.0f);
    glEnd();
    glPopAttrib();
}

void scene_end() {
    if (scene_width == 0) return;
    if (drawing_into_framebuffer) {
        glBindFramebufferEXT(GL_FRAMEBUFFER_EXT, 0);
    } else {
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        glBindTexture(GL_TEXTURE_2D, picture_texture);
        glCopyTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, 0, 0, scene_width, scene_height);
        glBindTexture(GL_TEXTURE_2D, static_cast<GLuint>(bound));
    }
    glViewport(0, 0, window_width, window_height);
    draw_picture_over_window();
    scene_width = scene_height = 0;
    GL_CHECK("scene_end");
}
