#!/bin/sh
# Builds the Windows release and its setup: dist/Orvika2-<version>-setup.exe,
# dist/SHA256SUMS and dist/Orvika2-<version>-files.sha256 (the setup and the
# executables it installs), and prints those sums.
# Usage: scripts/package.sh [--sign PFX [--password-file FILE] [--timestamp URL]] [BUILD_DIR]
#   (default BUILD_DIR: build/windows-release)
# The build is reproducible: the same commit gives the same bytes in any
# folder, on any day (SOURCE_DATE_EPOCH, default the time of the last
# commit). --sign signs both executables, the uninstaller and the setup with
# the PKCS#12 file PFX, its password in ORVIKA2_SIGN_PASSWORD or FILE, with an
# RFC 3161 time stamp from URL if given, and fails unless every signature
# verifies.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
sign_options=""
while [ $# -gt 0 ]; do
  case "$1" in
    --sign|--password-file|--timestamp)
      [ $# -ge 2 ] || { echo "$1 needs a value" >&2; exit 2; }
      # The values are handed on as they are: kept apart by a newline.
      sign_options="$sign_options$1
$2
"; shift 2 ;;
    -*) echo "usage: $0 [--sign PFX [--password-file FILE] [--timestamp URL]] [BUILD_DIR]" >&2; exit 2 ;;
    *) break ;;
  esac
done
build="${1:-$root/build/windows-release}"
dist="$root/dist"
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$root" log -1 --format=%ct) || { echo "set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH

"$root/scripts/install-deps.sh" all
export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
export CMAKE_C_COMPILER_LAUNCHER="${CMAKE_C_COMPILER_LAUNCHER:-$(command -v ccache || true)}"
# A release never carries the desktop tests' hooks, whatever the tree's cache says.
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DORVIKA2_TEST_HOOKS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" >/dev/null
cmake --build "$build" -j"$(nproc)" --target Orvika2 orvika2ctl
python3 - "$build/app/Orvika2.exe" <<'PY' || exit 1
import sys
data = open(sys.argv[1], "rb").read()
found = [name for name in ("ORVIKA2_MESSAGE_LOG", "ORVIKA2_MENU_DUMP", "ORVIKA2_HIGH_CONTRAST_FILE") if name.encode("utf-16-le") in data]
if found:
    sys.exit(f"{sys.argv[1]} carries the test hooks ({', '.join(found)}): not a release")
PY

mkdir -p "$dist"
# Only the setups of the version being built stay listed.
rm -f "$dist"/Orvika2-*-setup.exe "$dist"/Orvika2-*-files.sha256 "$dist/SHA256SUMS"
set -f; old_ifs=$IFS; IFS='
'
# shellcheck disable=SC2086 # split on newlines only
setup=$("$root/scripts/make-installer.sh" $sign_options "$build" "$dist")
IFS=$old_ifs; set +f
(cd "$dist" && sha256sum "$(basename "$setup")" >SHA256SUMS)
echo "$setup"
cat "${setup%-setup.exe}-files.sha256"
