// Screenshots: the command "screenshot" and the F12 key write the frame as
// screenshots/sheepfall-NNNN.png.
#pragma once

// Registers the command "screenshot".
void screenshot_init();
// Asks for a picture of the frame being drawn.
void screenshot_request();
// After a frame has been drawn and before it is swapped: takes the picture
// when one was asked for (the command, or the screenshot action).
void screenshot_frame_done();
// Reads the back buffer and writes it under the next free number; prints
// "Wrote FILE", or an error line with the reason. False on failure.
bool screenshot_take();
