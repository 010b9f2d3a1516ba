#!/usr/bin/env bash
# Everything the Windows build needs, made once and then reused:
#   1. Debian's MinGW-w64 compilers, its zlib for Windows, Wine, NSIS, zip and
#      GoogleTest's sources (the Windows test programs build it themselves),
#      installed with apt when missing;
#   2. SDL2, SDL2_mixer and libpng cross-built for 64-bit Windows from
#      Debian's own source packages, of the versions the Linux build links,
#      into a cache folder (printed on the last line) that later runs reuse.
# The source packages are fetched through a private apt source list kept in
# the cache, so the machine's apt configuration is never changed.
#
# The cache lives outside the work tree (SHEEPFALL_WINDOWS_DEPS_ROOT, else
# ~/.cache/sheepfall-windows) so that `make clean`, a fresh clone and every
# work tree on the machine share one build of the libraries.
set -euo pipefail
shopt -s inherit_errexit

here="$(cd "$(dirname "$0")/.." && pwd)"
toolchain="$here/cmake/mingw-w64.cmake"
cache_root="${SHEEPFALL_WINDOWS_DEPS_ROOT:-${XDG_CACHE_HOME:-$HOME/.cache}/sheepfall-windows}"
jobs="${JOBS:-$(nproc 2>/dev/null || echo 2)}"

say() { echo "install-windows-deps: $*" >&2; }

install_packages() {
  local packages=(
    g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 libz-mingw-w64-dev
    wine64 nsis zip unzip dpkg-dev cmake pkg-config xvfb xauth xdotool googletest
  )
  local missing=() p
  for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
      missing+=("$p")
    fi
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  say "installing missing packages: ${missing[*]}"
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# "source-package version" of the source a Linux development package came from.
linux_source_of() {
  dpkg-query -W -f='${source:Package} ${source:Version}\n' "$1"
}

# One deb-src line per archive the machine's own apt sources use, in the
# one-line format, written to the private list given.
write_source_list() {
  local out="$1" file
  : > "$out"
  for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -n 's/^deb \(\[[^]]*\] \)\?\(\S*debian\S*\) \(.*\)$/deb-src \1\2 \3/p' "$file" >> "$out"
  done
  for file in /etc/apt/sources.list.d/*.sources; do
    [ -f "$file" ] || continue
    awk '
      function flush() {
        if (uris != "" && suites != "" && uris ~ /debian/) {
          n = split(uris, u, " "); m = split(suites, s, " ")
          for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
            printf "deb-src %s%s %s %s\n", signed, u[i], s[j], components
        }
        uris = suites = components = signed = ""
      }
      /^[ \t]*$/ { flush(); next }
      /^URIs:/ { sub(/^URIs:[ \t]*/, ""); uris = $0 }
      /^Suites:/ { sub(/^Suites:[ \t]*/, ""); suites = $0 }
      /^Components:/ { sub(/^Components:[ \t]*/, ""); components = $0 }
      /^Signed-By:/ { sub(/^Signed-By:[ \t]*/, ""); signed = "[signed-by=" $0 "] " }
      END { flush() }
    ' "$file" >> "$out"
  done
  if [ ! -s "$out" ]; then
    say "no Debian archive found in /etc/apt to fetch source packages from"
    exit 1
  fi
}

private_apt_cache() {
  apt-cache -o Dir::Etc::SourceList="$apt_dir/sources.list" \
    -o Dir::Etc::SourceParts="$apt_dir/parts" -o Dir::State::Lists="$apt_dir/lists" "$@"
}

private_apt() {
  apt-get -o Dir::Etc::SourceList="$apt_dir/sources.list" \
    -o Dir::Etc::SourceParts="$apt_dir/parts" \
    -o Dir::State::Lists="$apt_dir/lists" \
    -o Dir::Cache::archives="$apt_dir/archives" \
    -o APT::Sandbox::User=root "$@"
}

# Unpacks the source package NAME of VERSION into NAME-source, keeps its
# copyright file as the notice shipped with the DLL, and prints the folder.
# When the archive no longer has that version (a security update replaced
# it), the newest one it has of the same upstream release is taken instead.
fetch_source() {
  local name="$1" version="$2" candidate
  local upstream="${version%-*}"
  if ! private_apt source -qq --download-only "$name=$version" > /dev/null 2>&1; then
    version=""
    for candidate in $(private_apt_cache showsrc "$name" | sed -n 's/^Version: //p' | sort -rV); do
      [ "${candidate%-*}" = "$upstream" ] || continue
      if private_apt source -qq --download-only "$name=$candidate" > /dev/null 2>&1; then
        version="$candidate"
        break
      fi
    done
    [ -n "$version" ] || { say "no source of $name $upstream can be fetched"; exit 1; }
    say "$name $2 is no longer in the archive; building $version"
  fi
  dpkg-source --no-check -x "${name}_${version#*:}.dsc" "$name-source" > /dev/null
  cp "$name-source/debian/copyright" "$prefix/share/licenses/$name.txt"
  echo "$name $version" >> "$prefix/sources.txt"
  echo "$name-source"
}

cmake_build() {
  local source="$1" build="$2"; shift 2
  cmake -S "$source" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_PREFIX_PATH="$prefix" -DSHEEPFALL_WINDOWS_DEPS="$prefix" "$@" > "$build.log" 2>&1 \
    && cmake --build "$build" -j"$jobs" >> "$build.log" 2>&1 \
    && cmake --install "$build" >> "$build.log" 2>&1 \
    || { say "building $(basename "$source") failed; its log:"; tail -n 40 "$build.log" >&2; exit 1; }
}

# Builds one library unless an earlier run did: build_library NAME SOURCE_PACKAGE
# VERSION CMAKE_OPTIONS...
build_library() {
  local name="$1" package="$2" version="$3"; shift 3
  [ -f "$prefix/built-$name" ] && return 0
  local work="$prefix.work" dir
  rm -rf "$work"
  mkdir -p "$work"
  cd "$work"
  dir="$(fetch_source "$package" "$version")"
  say "building $name from $dir"
  cmake_build "$work/$dir" "$work/build" "$@"
  cd "$here"
  rm -rf "$work"
  touch "$prefix/built-$name"
}

build_libraries() {
  mkdir -p "$prefix/share/licenses" "$apt_dir/parts" "$apt_dir/lists/partial" \
    "$apt_dir/archives/partial"
  write_source_list "$apt_dir/sources.list"
  private_apt update -qq

  build_library SDL2 $sdl -DSDL_SHARED=ON -DSDL_STATIC=OFF -DSDL_TEST=OFF
  build_library SDL2_mixer $mixer -DBUILD_SHARED_LIBS=ON -DSDL2MIXER_SAMPLES=OFF \
    -DSDL2MIXER_VENDORED=OFF -DSDL2MIXER_DEPS_SHARED=OFF \
    -DSDL2MIXER_VORBIS=STB -DSDL2MIXER_OPUS=OFF -DSDL2MIXER_FLAC=OFF -DSDL2MIXER_MOD=OFF \
    -DSDL2MIXER_MIDI=OFF -DSDL2MIXER_MP3=OFF -DSDL2MIXER_CMD=OFF -DSDL2MIXER_WAVE=ON
  build_library libpng $png -DPNG_SHARED=ON -DPNG_STATIC=OFF -DPNG_TESTS=OFF
}

install_packages

# The cache is keyed by the source versions, so an upgraded Linux library
# makes a fresh Windows one.
sdl="$(linux_source_of libsdl2-dev)"
mixer="$(linux_source_of libsdl2-mixer-dev)"
png="$(linux_source_of libpng-dev)"
key="$(echo "$sdl $mixer $png" | md5sum | cut -c1-12)"
prefix="$cache_root/$key"
apt_dir="$cache_root/apt"

if [ ! -f "$prefix/done" ]; then
  start=$(date +%s)
  build_libraries
  touch "$prefix/done"
  say "libraries built in $(( $(date +%s) - start )) s"
fi
echo "$prefix"
