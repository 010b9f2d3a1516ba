// The console overlay on screen: the scrolling keys, the fade in
// and out, and the translucent panel with the last lines of the output buffer.
#pragma once

// Per-frame update and drawing; elapsed_ms is the frame's time.
void console_frame(float elapsed_ms);
void console_draw();
