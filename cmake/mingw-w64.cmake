# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (posix threads).
# Used by the game's Windows build and by scripts/install-windows-deps.sh for
# the libraries it builds from source.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${MINGW_TRIPLET}-windres)

# Libraries and headers come from the MinGW sysroot and the dependency cache
# (CMAKE_PREFIX_PATH), never from the Linux system; programs from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The libraries built from Debian's sources (scripts/install-windows-deps.sh)
# are found through pkg-config files and as one more root.
if(DEFINED ENV{SHEEPFALL_WINDOWS_DEPS})
  set(SHEEPFALL_WINDOWS_DEPS "$ENV{SHEEPFALL_WINDOWS_DEPS}" CACHE PATH "Windows libraries")
endif()
if(SHEEPFALL_WINDOWS_DEPS)
  list(APPEND CMAKE_FIND_ROOT_PATH ${SHEEPFALL_WINDOWS_DEPS})
  set(ENV{PKG_CONFIG_LIBDIR} "${SHEEPFALL_WINDOWS_DEPS}/lib/pkgconfig")
  set(ENV{PKG_CONFIG_SYSROOT_DIR} "")
endif()
