#!/usr/bin/env bash
# Installs what the build needs, quietly and only what is missing.
# Usage: scripts/install-deps.sh [native|all]   (default: all)
set -euo pipefail
scope="${1:-all}"

native=(cmake ninja-build g++ googletest libgtest-dev libgmock-dev libbenchmark-dev libssl-dev python3 oathtool)
# libFuzzer and the sanitizer runtimes are only a recommendation of clang,
# and recommendations are not installed here.
fuzzing=(clang libclang-rt-14-dev)
windows=(g++-mingw-w64-x86-64-posix mingw-w64-tools wine64 xvfb xdotool x11-xkb-utils x11-xserver-utils imagemagick x11-utils procps fonts-wqy-microhei fontconfig openssl nsis osslsigncode)

wanted=("${native[@]}")
[ "$scope" = all ] && wanted+=("${fuzzing[@]}" "${windows[@]}")

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "missing packages: ${missing[*]} (run as root to install them)" >&2
  exit 1
fi
echo "installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
apt-get update -qq >/dev/null
apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
