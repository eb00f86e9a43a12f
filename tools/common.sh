# Shared by the README's commands: install what is missing, then build.
# Sourced, not run.

KT_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KT_BUILD=${KT_BUILD:-$KT_ROOT/build}
# One prefix for both Windows builds: 64-bit Wine runs the 32-bit programs
# through its 32-bit half (wine32:i386).
KT_PREFIX=$KT_BUILD/wineprefix
KT_PACKAGES=(cmake ninja-build clang libclang-rt-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix mingw-w64-tools
  wine wine64 python3 tinyproxy curl ghostscript poppler-utils)
KT_WINE32=wine32:i386
# Set when 32-bit Wine is missing and could not be installed: why.
KT_I686_NOT_RUN=

kt_sudo() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

kt_missing_packages() {
  local p
  for p in "$@"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' ||
      echo "$p"
  done
}

# kt_apt_install PACKAGE...: a package index being rewritten makes apt fail
# now and then, so each try starts with a fresh update.
kt_apt_install() {
  local try
  for try in 1 2 3; do
    if kt_sudo apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive kt_sudo apt-get install -y -qq \
        --no-install-recommends "$@" >/dev/null; then
      return 0
    fi
    echo "== apt-get failed (try $try of 3)" >&2
    sleep $((try * 10))
  done
  return 1
}

kt_install_missing() {
  local missing wine32_missing
  mapfile -t missing < <(kt_missing_packages "${KT_PACKAGES[@]}")
  mapfile -t wine32_missing < <(kt_missing_packages "$KT_WINE32")
  [ ${#missing[@]} -eq 0 ] && [ ${#wine32_missing[@]} -eq 0 ] && return 0
  if [ ${#wine32_missing[@]} -gt 0 ] &&
    ! dpkg --print-foreign-architectures | grep -qx i386; then
    kt_sudo dpkg --add-architecture i386
  fi
  echo "== installing: ${missing[*]} ${wine32_missing[*]}"
  kt_apt_install "${missing[@]}" "${wine32_missing[@]}" && return 0
  # Without 32-bit Wine the x86_64 build can still be tested.
  if [ ${#wine32_missing[@]} -gt 0 ] && [ ${#missing[@]} -gt 0 ]; then
    kt_apt_install "${missing[@]}" || return 1
  elif [ ${#wine32_missing[@]} -eq 0 ]; then
    return 1
  fi
  KT_I686_NOT_RUN="apt-get could not install $KT_WINE32"
  echo "== $KT_I686_NOT_RUN" >&2
}

# kt_build NAME [cmake options...]: configure once, then build everything,
# or only the targets listed in KT_TARGETS.
kt_build() {
  local name=$1
  shift
  local dir=$KT_BUILD/$name
  if [ ! -f "$dir/build.ninja" ]; then
    cmake -S "$KT_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  fi
  echo "== building $name"
  local targets=()
  [ -z "${KT_TARGETS:-}" ] || targets=(--target $KT_TARGETS)
  cmake --build "$dir" "${targets[@]}"
}

kt_build_win64() {
  kt_build win64 -DCMAKE_TOOLCHAIN_FILE="$KT_ROOT/cmake/toolchain-x86_64-w64-mingw32.cmake" \
    -DKT_WINE_PREFIX="$KT_PREFIX"
  # Editors and clang tools find the flags of the tested build here.
  ln -sf "$KT_BUILD/win64/compile_commands.json" "$KT_ROOT/compile_commands.json"
}

# The product's build.
kt_build_win32() {
  kt_build win32 -DCMAKE_TOOLCHAIN_FILE="$KT_ROOT/cmake/toolchain-i686-w64-mingw32.cmake" \
    -DKT_WINE_PREFIX="$KT_PREFIX"
}

kt_build_native() {
  CC=clang CXX=clang++ kt_build native -DCMAKE_BUILD_TYPE=Debug
}

# Keeps one Wine server alive for the session (process starts drop from
# seconds to a tenth), and stops it on exit.
kt_wine_start() {
  "$KT_ROOT/tools/wine-run" "$KT_PREFIX"
  # A server that is already running cannot be made persistent: replace it.
  WINEPREFIX=$KT_PREFIX wineserver -k 2>/dev/null || true
  WINEPREFIX=$KT_PREFIX wineserver -p
  # Start Wine's own services now, detached from our output: started by the
  # first test instead, they would hold ctest's pipe open for good.
  "$KT_ROOT/tools/wine-run" "$KT_PREFIX" cmd /c exit </dev/null >/dev/null 2>&1 || true
  trap 'WINEPREFIX=$KT_PREFIX wineserver -k 2>/dev/null || true' EXIT
  # A 32-bit program must start, or nothing of the i686 build can run.
  if [ -z "$KT_I686_NOT_RUN" ] && ! kt_wine32_works; then
    KT_I686_NOT_RUN="32-bit Wine cannot start a 32-bit program in $KT_PREFIX"
    echo "== $KT_I686_NOT_RUN" >&2
  fi
}

kt_wine32_works() {
  [ -x /usr/lib/wine/wine ] &&
    WINEPREFIX=$KT_PREFIX WINEDEBUG=-all wine cmd /c exit </dev/null >/dev/null 2>&1
}
