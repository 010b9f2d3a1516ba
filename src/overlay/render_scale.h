// The 3-D scene's drawing size: the render_scale setting, its automatic
// choice from measured frame times, and the smaller picture the scene is
// drawn into and then stretched over the whole window (linear filtering).
// The 2-D overlay is drawn afterwards at the window's own size.
#pragma once

constexpr float RENDER_SCALE_LOWEST = 0.25f; // a set render_scale below is drawn at this
constexpr float AUTO_SCALE_LOWEST = 0.5f;    // the automatic choice never goes lower
constexpr float AUTO_SCALE_STEP = 0.05f;
constexpr int AUTO_SCALE_STEPS = 11;  // the scales it chooses from: 0.5, 0.55 .. 1
constexpr int AUTO_SCALE_WINDOW = 15; // frames averaged before each decision
// The automatic choice raises the scale only when the frame it predicts
// there (time growing with the pixels) stays this far below the target.
constexpr double AUTO_SCALE_HEADROOM = 0.9;
// How many windows a scale's measured time is trusted for: after that the
// scene may have changed too much for it to say anything.
constexpr int AUTO_SCALE_MEMORY = 240;
// Scales whose times are within this share of the fastest count as fast:
// of those the largest is drawn.
constexpr double AUTO_SCALE_SAME_TIME = 1.05;

// The automatic choice: frame times go in, averaged over windows of
// AUTO_SCALE_WINDOW frames, and each scale's latest average is kept. After
// each window the scale goes down a step when the average missed the target,
// unless that smaller scale was measured lately and was no faster: a smaller
// scene also costs its stretch over the window, which can outweigh what the
// fewer pixels save. Then it takes the largest of the fastest scales measured
// lately instead. It goes up a step when the bigger picture would still make
// the target with headroom. No clock of its own.
struct AutoScale {
    float scale = 1.0f;    // AUTO_SCALE_LOWEST .. 1, on a step
    double window_ms = 0;  // frame time summed over the current window
    int window_frames = 0; // frames in it so far
    int windows = 0;       // windows finished so far
    double step_ms[AUTO_SCALE_STEPS] = {}; // the latest window's average at each step
    int step_window[AUTO_SCALE_STEPS] = {}; // the window that measured it; 0: none yet
};

void auto_scale_reset(AutoScale* automatic); // scale 1, nothing measured yet
// One frame of frame_ms against a target of target_ms a frame.
void auto_scale_add_frame(AutoScale* automatic, double frame_ms, double target_ms);

// Creates render_scale (default 0, 0 .. 1), kept in config.cfg.
void render_scale_init();
// Whether render_scale is 0: the scale is chosen from measured frames.
bool render_scale_automatic();
// The share of the window the scene is drawn at now: the setting, or the
// automatic choice when it is 0.
float render_scale_in_use();
// A finished frame's time, from its start to its picture shown, and the
// frame rate aimed at; feeds the automatic choice while render_scale is 0.
void render_scale_frame_measured(double frame_ms, double target_fps);

// Around the 3-D scene. Below 1 the scene is drawn into a picture of the
// scaled size (a framebuffer object, else the back buffer's corner, copied
// out); scene_end stretches it over the window and gives back the window's
// viewport. At 1 both do nothing at all. Between them the scene draws as
// always; after scene_end OpenGL is as scene_begin found it, apart from the
// matrices, which the 2-D drawing sets for itself.
void scene_begin();
void scene_end();
