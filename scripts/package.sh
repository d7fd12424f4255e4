#!/bin/sh
# Builds the Windows release and its setup: dist/Orvika2-<version>-setup.exe
# and dist/SHA256SUMS.
# Usage: scripts/package.sh [BUILD_DIR]   (default: build/windows-release)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build="${1:-$root/build/windows-release}"
dist="$root/dist"

"$root/scripts/install-deps.sh" all
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Orvika2 orvika2ctl

mkdir -p "$dist"
# Only the setups of the version being built stay listed.
rm -f "$dist"/Orvika2-*-setup.exe "$dist/SHA256SUMS"
setup=$("$root/scripts/make-installer.sh" "$build" "$dist")
(cd "$dist" && sha256sum "$(basename "$setup")" >SHA256SUMS)
echo "$setup"
cat "$dist/SHA256SUMS"
