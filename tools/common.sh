# Shared by the README's commands: install what is missing, then build.
# Sourced, not run.

KT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KT_BUILD=${KT_BUILD:-$KT_ROOT/build}
KT_PACKAGES=(cmake ninja-build clang libclang-rt-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64)

kt_install_missing() {
  local missing=()
  for p in "${KT_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "== installing: ${missing[*]}"
  local sudo=
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq \
    "${missing[@]}" >/dev/null
}

# kt_build NAME [cmake options...]: configure once, then build.
kt_build() {
  local name=$1
  shift
  local dir=$KT_BUILD/$name
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$KT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  echo "== building $name"
  cmake --build "$dir"
}

kt_build_win64() {
  kt_build win64 -DCMAKE_TOOLCHAIN_FILE="$KT_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake"
  # Editors and clang tools find the flags of the tested build here.
  ln -sf "$KT_BUILD/win64/compile_commands.json" "$KT_ROOT/compile_commands.json"
}

kt_build_win32() {
  kt_build win32 -DCMAKE_TOOLCHAIN_FILE="$KT_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
    -DKT_BUILD_TESTS=OFF -DKT_BUILD_BENCH=OFF
}

kt_build_native() {
  CC=clang CXX=clang++ kt_build native -DCMAKE_BUILD_TYPE=Debug
}

# Keeps one Wine server alive for the session (process starts drop from
# seconds to a tenth), and stops it on exit.
kt_wine_start() {
  KT_PREFIX=$KT_BUILD/win64/wineprefix
  "$KT_ROOT/tools/wine-run" "$KT_PREFIX"
  # A server that is already running cannot be made persistent: replace it.
  WINEPREFIX=$KT_PREFIX wineserver -k 2>/dev/null || true
  WINEPREFIX=$KT_PREFIX wineserver -p
  # Start Wine's own services now, detached from our output: started by the
  # first test instead, they would hold ctest's pipe open for good.
  "$KT_ROOT/tools/wine-run" "$KT_PREFIX" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap 'WINEPREFIX=$KT_PREFIX wineserver -k 2>/dev/null || true' EXIT
}
