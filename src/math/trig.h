// The game's own sine and cosine. The C library's differ from one system to
// another in their last bits, and a demo recorded on one system must play to
// the same game on another: everything whose result reaches the game's state
// turns angles with these. They are plain double arithmetic (a range
// reduction, then a polynomial), so every IEEE machine gives the same bits.
// Accurate to a few units in the last place of a double for angles up to a
// million radians; the float versions round that result once, which is
// almost always the correctly rounded float.
#pragma once

double game_sin(double radians);
double game_cos(double radians);
float game_sin(float radians);
float game_cos(float radians);
