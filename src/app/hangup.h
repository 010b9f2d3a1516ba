// The terminal closing during play: SIGHUP ends the game as a quit does, so
// the settings, the history and a demo being recorded are saved first.
#pragma once

// From here on a SIGHUP is noted instead of ending the process at once, and
// a write to a pipe nobody reads any more fails instead of killing it. A
// signal the game was started ignoring (nohup) stays ignored.
void hangup_watch_start();
// True once a SIGHUP has come.
bool hangup_received();
