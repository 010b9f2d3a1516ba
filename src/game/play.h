// The play state's frame.
#pragma once

void play_frame();
