#!/bin/sh
# Makes OUT_DIR/Orvika2-<version>-setup.exe from an already built MinGW tree.
# Usage: scripts/make-installer.sh BUILD_DIR OUT_DIR
# The version is the one CMake recorded for that tree (project(VERSION) in
# CMakeLists.txt). Prints the setup file's path.
set -eu
[ $# -eq 2 ] || { echo "usage: $0 BUILD_DIR OUT_DIR" >&2; exit 2; }
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)

for tool in makensis convert python3; do
  command -v "$tool" >/dev/null || { echo "$tool is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }
done
for file in app/Orvika2.exe cli/orvika2ctl.exe app/resources/orvika2.ico CMakeCache.txt; do
  [ -f "$build/$file" ] || { echo "missing $build/$file: build the MinGW tree first" >&2; exit 1; }
done
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
case "$version" in
  *.*.*.*) ;;
  *.*.*) version="$version.0" ;;
  *) echo "no four-part project version in $build/CMakeCache.txt (got '$version')" >&2; exit 1 ;;
esac

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
# A template saved as UTF-16LE makes the configuration copied from it
# UTF-16LE too, so account names in any script survive on any system locale.
python3 - "$source_dir/installer/Orvika2Config.ini" "$stage/Orvika2Config.ini" <<'EOF'
import sys
text = open(sys.argv[1], encoding="utf-8").read().replace("\r\n", "\n").replace("\n", "\r\n")
open(sys.argv[2], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
EOF

# The welcome and finish pages' picture, from the icon the build drew, in the
# colours of the window's skin.
convert -size 164x314 gradient:'#3d434d'-'#1c1f24' \
  \( "$build/app/resources/orvika2.ico[7]" -resize 112x112 \) -gravity north -geometry +0+40 -composite \
  -type TrueColor "BMP3:$stage/wizard.bmp"

setup="$out/Orvika2-$version-setup.exe"
makensis -V2 -INPUTCHARSET UTF8 \
  "-DVERSION=$version" "-DBUILD_DIR=$build" "-DTEMPLATE=$stage/Orvika2Config.ini" \
  "-DWIZARD_BITMAP=$stage/wizard.bmp" "-DOUT_FILE=$setup" \
  "$source_dir/installer/orvika2.nsi" >&2
echo "$setup"
