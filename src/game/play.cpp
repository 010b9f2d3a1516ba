// Play-state frame. The landscape, sheep and weapon are not in the game yet:
// until they are, the play state shows an empty black scene under the console.
#include "game/play.h"

#include "gl.h"

void play_frame() {
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
}
