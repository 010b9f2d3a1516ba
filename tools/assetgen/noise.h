// Deterministic noise for the landscape makers: gradient noise from an
// integer hash (no library random generator, so every build and platform
// gives the same values), fractal sums, ridges, and a tiling variant for
// pictures that repeat.
#pragma once

#include <cstdint>

// Gradient noise in about -1 .. 1, 0 at every lattice point. A period above
// 0 makes it repeat every period lattice steps along both axes.
float gradient_noise(float x, float y, uint32_t seed, int period = 0);

// Octaves of gradient noise, each twice the frequency and gain times the
// amplitude of the one before, scaled back to about -1 .. 1. With a period
// the first octave repeats every period steps and so does the sum.
float fractal_noise(float x, float y, uint32_t seed, int octaves, float gain = 0.5f,
                    int period = 0);

// Sharp crests: octaves of (1 - |noise|)^2, each weighted by the octave
// before it so crests get detail and valleys stay smooth; about 0 .. 1.
float ridged_noise(float x, float y, uint32_t seed, int octaves);

// A hash of a lattice point to 0 .. 1, for per-pixel grain.
float hash_unit(int x, int y, uint32_t seed);

// Distance from the point to the nearest border between the cells of a
// jittered grid (half the gap between the nearest and second-nearest cell
// centres), in lattice units: 0 on a border, up to about 0.5 inside a cell.
float cell_border_distance(float x, float y, uint32_t seed);
