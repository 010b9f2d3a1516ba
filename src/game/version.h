// The game's version: shown by --version and written into every demo, which
// plays back only on the version that recorded it.
#pragma once

constexpr const char* GAME_VERSION = "Sheepfall 1.0";
