// setenv and unsetenv for tests that change the environment the game and
// SDL read; Windows' C library has only _putenv_s, which also sets the
// variable for the system's own calls (an empty value removes it).
#pragma once

#include <cstdlib>

#ifdef _WIN32
inline int setenv(const char* name, const char* value, int overwrite) {
    if (!overwrite && std::getenv(name)) return 0;
    return _putenv_s(name, value);
}

inline int unsetenv(const char* name) { return _putenv_s(name, ""); }
#endif
