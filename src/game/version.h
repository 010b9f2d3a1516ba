// The game's version: shown by --version and written into every demo, which
// plays back only on the version that recorded it. The number comes from the
// build (the CMake project, the one place it is stated).
#pragma once

constexpr const char* GAME_VERSION = "Sheepfall " SHEEPFALL_VERSION;
