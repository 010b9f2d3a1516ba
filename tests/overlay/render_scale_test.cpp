// The automatic render scale, driven with frame times from a fake clock: a
// machine whose frames take longer the more pixels they draw.
#include "console/registry.h"
#include "overlay/render_scale.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

const double TARGET_MS = 1000.0 / 60.0;

// A frame of the fake machine: a fixed part, and a part that grows with the
// pixels drawn (the square of the scale).
double frame_ms(double fixed_ms, double full_size_ms, float scale) {
    return fixed_ms + full_size_ms * scale * scale;
}

// A machine whose frames never make the target, however small the scene.
double too_slow_at_any_size(float scale) {
    return frame_ms(20.0, 40.0, scale);
}

// Slow frames take the scale down a step a window at a time, never below
// 0.5; fast ones bring it back up to 1, and never beyond.
TEST(AutoScale, GoesDownOnSlowFramesAndBackUpOnFastOnes) {
    render_scale_init(); // 0, the default: automatic
    ConsoleVariable* render_scale = console_find_variable("render_scale");
    ASSERT_EQ(render_scale->value, 0.0f);
    ASSERT_EQ(render_scale_in_use(), 1.0f);
    for (int frame = 0; frame < AUTO_SCALE_WINDOW - 1; frame++)
        render_scale_frame_measured(too_slow_at_any_size(1.0f), 60.0);
    EXPECT_EQ(render_scale_in_use(), 1.0f) << "changed before a whole window was measured";
    render_scale_frame_measured(too_slow_at_any_size(1.0f), 60.0);
    EXPECT_FLOAT_EQ(render_scale_in_use(), 1.0f - AUTO_SCALE_STEP) << "one slow window";
    for (int frame = 0; frame < 40 * AUTO_SCALE_WINDOW; frame++)
        render_scale_frame_measured(too_slow_at_any_size(render_scale_in_use()), 60.0);
    EXPECT_FLOAT_EQ(render_scale_in_use(), AUTO_SCALE_LOWEST) << "many slow windows";
    for (int frame = 0; frame < AUTO_SCALE_WINDOW; frame++)
        render_scale_frame_measured(4.0, 60.0);
    EXPECT_FLOAT_EQ(render_scale_in_use(), AUTO_SCALE_LOWEST + AUTO_SCALE_STEP)
        << "one fast window";
    for (int frame = 0; frame < 40 * AUTO_SCALE_WINDOW; frame++)
        render_scale_frame_measured(4.0, 60.0);
    EXPECT_EQ(render_scale_in_use(), 1.0f) << "many fast windows";

    // A set scale is used as it is, and measured frames leave it alone.
    render_scale->value = 0.6f;
    for (int frame = 0; frame < 4 * AUTO_SCALE_WINDOW; frame++)
        render_scale_frame_measured(40.0, 60.0);
    EXPECT_FLOAT_EQ(render_scale_in_use(), 0.6f);
    render_scale->value = 0.1f;
    EXPECT_FLOAT_EQ(render_scale_in_use(), RENDER_SCALE_LOWEST) << "below the lowest set scale";
    render_scale->value = 0.0f;
    EXPECT_EQ(render_scale_in_use(), 1.0f) << "the automatic scale moved while it was not used";
}

// Machines of different speeds: the scale settles where the frames make the
// target, or at 1 or 0.5, and then stays there (the picture does not pump).
// Below 1 the scene also costs its stretch over the window, a fixed time
// however small it is drawn: where that outweighs what the fewer pixels
// save, the choice finds no faster scale and comes back to full size.
TEST(AutoScale, SettlesWhereTheFramesMakeTheTargetAndStays) {
    struct Machine {
        double fixed_ms, full_size_ms, stretch_ms;
        float lowest_expected, highest_expected;
        const char* what;
    } machines[] = {
        {1.0, 2.0, 0.0, 1.0f, 1.0f, "a graphics card: full size"},
        {3.0, 17.0, 0.0, 0.75f, 0.95f, "just too slow at full size"},
        {4.0, 40.0, 0.0, 0.5f, 0.6f, "1920 x 1080 in software"},
        {20.0, 40.0, 0.0, 0.5f, 0.5f, "too slow at any size"},
        {0.0, 20.0, 16.0, 1.0f, 1.0f, "the stretch outweighs the pixels saved: full size"},
        {0.0, 24.0, 2.0, 0.7f, 0.8f, "a cheap stretch: below 1"},
        {0.0, 26.0, 30.0, 1.0f, 1.0f, "the stretch alone misses the target: full size"},
    };
    for (const Machine& m : machines) {
        auto machine_ms = [&m](float scale) {
            return frame_ms(m.fixed_ms, m.full_size_ms, scale) + (scale < 1.0f ? m.stretch_ms : 0.0);
        };
        AutoScale automatic;
        auto_scale_reset(&automatic);
        int changes_late = 0;
        for (int frame = 0; frame < 200 * AUTO_SCALE_WINDOW; frame++) {
            float before = automatic.scale;
            auto_scale_add_frame(&automatic, machine_ms(before), TARGET_MS);
            if (frame >= 100 * AUTO_SCALE_WINDOW && automatic.scale != before) changes_late++;
        }
        EXPECT_GE(automatic.scale, m.lowest_expected - 1e-4f) << m.what;
        EXPECT_LE(automatic.scale, m.highest_expected + 1e-4f) << m.what;
        EXPECT_EQ(changes_late, 0) << m.what << ": still changing after 100 windows";
        // A scale between the ends is kept only where it makes the target.
        if (automatic.scale > AUTO_SCALE_LOWEST && automatic.scale < 1.0f) {
            EXPECT_LE(machine_ms(automatic.scale), TARGET_MS) << m.what;
        }
    }
}

} // namespace
