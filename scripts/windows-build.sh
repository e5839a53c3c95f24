#!/usr/bin/env bash
# scripts/windows-build.sh x86_64|i686 [BUILD_DIR] [extra cmake options...]:
# cross-builds the Windows library (and, for x86_64, the programs the Wine
# tests run) with mingw-w64, warnings fatal. BUILD_DIR defaults to
# build-win64 or build-win32.
set -euo pipefail
cd "$(dirname "$0")/.."
arch=${1:?usage: scripts/windows-build.sh x86_64|i686 [BUILD_DIR] [cmake options...]}
case "$arch" in
  x86_64) default_dir=build-win64 ;;
  i686) default_dir=build-win32 ;;
  *) echo "windows-build.sh: unknown architecture '$arch' (x86_64 or i686)" >&2; exit 2 ;;
esac
shift
dir=${1:-$default_dir}
shift || true
scripts/install-deps-windows.sh
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-$arch.cmake" \
  -DCMAKE_BUILD_TYPE=Release -DKESTREL_WERROR=ON -DKESTREL_WINE_IDL="$PWD/.deps/wine-idl" "$@" >/dev/null
cmake --build "$dir" --parallel "$(nproc)"
