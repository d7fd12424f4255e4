#!/bin/sh
# Makes OUT_DIR/Orvika2-<version>-setup.exe from an already built MinGW tree,
# and OUT_DIR/Orvika2-<version>-files.sha256 with the SHA-256 of the setup
# and of the executables it installs.
# Usage: scripts/make-installer.sh [--sign PFX [--password-file FILE]
#                                  [--timestamp URL]] BUILD_DIR OUT_DIR
# The version is the one CMake recorded for that tree (project(VERSION) in
# CMakeLists.txt). Prints the setup file's path.
# The same tree and SOURCE_DATE_EPOCH (default: the time of the last commit)
# give the same bytes. With --sign, Orvika2.exe, orvika2ctl.exe, the
# uninstaller and the setup are signed (scripts/authenticode.sh; the password
# in ORVIKA2_SIGN_PASSWORD or FILE), and each signature is verified.
set -eu
usage="usage: $0 [--sign PFX [--password-file FILE] [--timestamp URL]] BUILD_DIR OUT_DIR"
while [ $# -gt 0 ]; do
  case "$1" in
    --sign) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
            ORVIKA2_SIGN_PFX=$(cd "$(dirname "$2")" && pwd)/$(basename "$2"); export ORVIKA2_SIGN_PFX; shift 2 ;;
    --password-file) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
            ORVIKA2_SIGN_PASSWORD_FILE=$2; export ORVIKA2_SIGN_PASSWORD_FILE; shift 2 ;;
    --timestamp) [ $# -ge 2 ] || { echo "$usage" >&2; exit 2; }
            ORVIKA2_SIGN_TIMESTAMP=$2; export ORVIKA2_SIGN_TIMESTAMP; shift 2 ;;
    -*) echo "$usage" >&2; exit 2 ;;
    *) break ;;
  esac
done
[ $# -eq 2 ] || { echo "$usage" >&2; exit 2; }
build=$(cd "$1" && pwd)
mkdir -p "$2"
out=$(cd "$2" && pwd)
source_dir=$(cd "$(dirname "$0")/.." && pwd)
signing=${ORVIKA2_SIGN_PFX:+yes}
if [ -z "$signing" ] && { [ -n "${ORVIKA2_SIGN_PASSWORD_FILE:-}" ] || [ -n "${ORVIKA2_SIGN_TIMESTAMP:-}" ]; }; then
  echo "--password-file and --timestamp need --sign" >&2; exit 2
fi
if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git -C "$source_dir" log -1 --format=%ct 2>/dev/null) ||
    { echo "not a git checkout: set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
case "$SOURCE_DATE_EPOCH" in
  ''|*[!0-9]*) echo "SOURCE_DATE_EPOCH is not a number of seconds: '$SOURCE_DATE_EPOCH'" >&2; exit 1 ;;
esac

for tool in makensis convert python3 ${signing:+osslsigncode openssl}; do
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
# What the setup packs, from a folder of its own: NSIS keeps each file's
# time, so every one gets the same fixed time.
mkdir "$stage/files"
cp "$build/app/Orvika2.exe" "$build/cli/orvika2ctl.exe" "$build/app/resources/orvika2.ico" "$stage/files/"
if [ -n "$signing" ]; then
  sh "$source_dir/scripts/authenticode.sh" sign "$stage/files/Orvika2.exe" "$stage/files/orvika2ctl.exe"
fi
# A template saved as UTF-16LE makes the configuration copied from it
# UTF-16LE too, so account names in any script survive on any system locale.
python3 - "$source_dir/installer/Orvika2Config.ini" "$stage/files/Orvika2Config.ini" <<'EOF'
import sys
text = open(sys.argv[1], encoding="utf-8").read().replace("\r\n", "\n").replace("\n", "\r\n")
open(sys.argv[2], "wb").write(b"\xff\xfe" + text.encode("utf-16-le"))
EOF

# The welcome and finish pages' picture, from the icon the build drew, in the
# colours of the window's skin.
convert -size 164x314 gradient:'#3d434d'-'#1c1f24' \
  \( "$build/app/resources/orvika2.ico[7]" -resize 112x112 \) -gravity north -geometry +0+40 -composite \
  -type TrueColor "BMP3:$stage/files/wizard.bmp"
touch -d "@$SOURCE_DATE_EPOCH" "$stage/files/"*

setup="$out/Orvika2-$version-setup.exe"
sums="$out/Orvika2-$version-files.sha256"
rm -f "$setup" "$sums"
makensis -V2 -INPUTCHARSET UTF8 \
  "-DVERSION=$version" "-DFILES_DIR=$stage/files" "-DOUT_FILE=$setup" \
  "-DFINISH_UNINSTALLER=$source_dir/scripts/finish-uninstaller.sh" "-DUNINSTALLER_COPY=$stage/uninstall.exe" \
  "$source_dir/installer/orvika2.nsi" >&2
[ -f "$stage/uninstall.exe" ] || { echo "makensis kept no copy of the uninstaller" >&2; exit 1; }
if [ -n "$signing" ]; then
  sh "$source_dir/scripts/authenticode.sh" sign "$setup"
  sh "$source_dir/scripts/authenticode.sh" verify "$stage/files/Orvika2.exe" "$stage/files/orvika2ctl.exe" \
    "$stage/uninstall.exe" "$setup"
fi
(cd "$stage/files" && sha256sum Orvika2.exe orvika2ctl.exe) >"$sums"
(cd "$stage" && sha256sum uninstall.exe) >>"$sums"
(cd "$out" && sha256sum "$(basename "$setup")") >>"$sums"
echo "$setup"
