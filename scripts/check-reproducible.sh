#!/bin/sh
# Builds the Windows release of the last commit twice, from two clones in
# folders of different names and depths, and compares the SHA-256 of
# Orvika2.exe, orvika2ctl.exe, uninstall.exe and the setup. Takes two release
# builds' time (no compiler cache). Usage: scripts/check-reproducible.sh
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d "$root/build/reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
commit=$(git -C "$root" rev-parse HEAD)
echo "commit $commit"
for tree in a "b/a longer folder"; do
  mkdir -p "$work/$tree"
  git clone -q --no-local "$root" "$work/$tree/src"
  git -C "$work/$tree/src" checkout -q "$commit"
  # A cache would hand the second build the first one's objects.
  CMAKE_CXX_COMPILER_LAUNCHER= CMAKE_C_COMPILER_LAUNCHER= \
    sh "$work/$tree/src/scripts/package.sh" >"$work/$tree/package.log" 2>&1 ||
    { tail -n 30 "$work/$tree/package.log"; echo "FAIL: package.sh in $work/$tree"; exit 1; }
done
sums_a=$(cat "$work/a/src/dist/"Orvika2-*-files.sha256)
sums_b=$(cat "$work/b/a longer folder/src/dist/"Orvika2-*-files.sha256)
echo "$sums_a"
[ "$(echo "$sums_a" | wc -l)" -eq 4 ] || { echo "FAIL: expected four sums"; exit 1; }
if [ "$sums_a" != "$sums_b" ]; then
  echo "FAIL: the second build differs:"; echo "$sums_b"; exit 1
fi
echo "PASS: both builds give the same four files"
