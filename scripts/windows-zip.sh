#!/usr/bin/env bash
# Makes the portable Windows zip:
#   windows-zip.sh EXE DATA_FOLDER DEPS_PREFIX SOURCE_FOLDER ZIP
# It holds sheepfall.exe, exactly the DLLs the executable needs (found by
# walking the imports of the executable and of every DLL it brings; Windows'
# own left out), data/, README.txt and LICENSE.txt with the notice of every
# library shipped. DLLs come only from the libraries built from Debian's
# sources (DEPS_PREFIX/bin) and Debian's MinGW-w64 packages.
set -euo pipefail

exe="$1" data="$2" deps="$3" source="$4" zip="$5"
objdump=x86_64-w64-mingw32-objdump
sysroot=/usr/x86_64-w64-mingw32
# The DLLs every Windows has; Wine carries its own copy of each.
windows_dlls=/usr/lib/x86_64-linux-gnu/wine/x86_64-windows

fail() { echo "windows-zip: $*" >&2; exit 1; }

# The notice that goes with each DLL we may ship.
notice_of() {
  case "$1" in
    SDL2.dll) echo "$deps/share/licenses/libsdl2.txt" ;;
    SDL2_mixer.dll) echo "$deps/share/licenses/libsdl2-mixer.txt" ;;
    libpng16.dll) echo "$deps/share/licenses/libpng1.6.txt" ;;
    zlib1.dll) echo /usr/share/doc/libz-mingw-w64/copyright ;;
    *) return 1 ;;
  esac
}

imports_of() {
  "$objdump" -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p'
}

# Where a DLL we ship comes from, empty when it is Windows' own.
find_dll() {
  local name="$1" folder
  for folder in "$deps/bin" "$sysroot/lib" "$sysroot/bin"; do
    [ -f "$folder/$name" ] && { echo "$folder/$name"; return 0; }
  done
  [ -n "$(find "$windows_dlls" -maxdepth 1 -iname "$name" -print -quit)" ] && return 0
  fail "sheepfall.exe needs $name, which is neither Windows' own nor built here"
}

[ -d "$windows_dlls" ] || fail "no list of Windows' own DLLs at $windows_dlls (wine64 is missing)"
stage="${zip%.zip}"
rm -rf "$stage" "$zip"
mkdir -p "$stage"
cp "$exe" "$stage/sheepfall.exe"
cp -r "$data" "$stage/data"

# Breadth first through the imports; each DLL once.
queue=("$stage/sheepfall.exe")
shipped=()
while [ ${#queue[@]} -gt 0 ]; do
  file="${queue[0]}"; queue=("${queue[@]:1}")
  while read -r name; do
    path="$(find_dll "$name")"
    [ -n "$path" ] || continue
    base="$(basename "$path")"
    [ -f "$stage/$base" ] && continue
    notice_of "$base" > /dev/null || fail "$base has no notice to ship with it"
    cp "$path" "$stage/$base"
    x86_64-w64-mingw32-strip --strip-unneeded "$stage/$base"
    shipped+=("$base")
    queue+=("$stage/$base")
  done < <(imports_of "$file")
done
x86_64-w64-mingw32-strip --strip-unneeded "$stage/sheepfall.exe"

# Text files in Windows' line ends.
crlf() { sed 's/\r*$/\r/' "$@"; }
crlf "$source/README.md" > "$stage/README.txt"
{
  echo "Sheepfall"; echo "========="; echo
  cat "$source/LICENSE"; echo
  echo "The game's font"; echo "---------------"
  cat "$source/tools/assetgen/font-notice.txt"; echo
  echo "The MinGW-w64 runtime and thread library, linked into sheepfall.exe"
  echo "--------------------------------------------------------------------"
  cat /usr/share/doc/mingw-w64-x86-64-dev/copyright; echo
  echo "The GCC runtime libraries, linked into sheepfall.exe"
  echo "----------------------------------------------------"
  cat /usr/share/doc/gcc-mingw-w64-base/copyright; echo
  for base in "${shipped[@]}"; do
    echo "$base"; echo "$base" | sed 's/./-/g'
    cat "$(notice_of "$base")"; echo
  done
} | crlf > "$stage/LICENSE.txt"

(cd "$(dirname "$stage")" && zip -q -r -X "$zip" "$(basename "$stage")")
echo "windows-zip: $(basename "$zip"): sheepfall.exe, ${shipped[*]}, data/, README.txt, LICENSE.txt"
