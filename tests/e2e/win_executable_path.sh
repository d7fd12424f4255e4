#!/bin/sh
# The program's own path is obtained whole, not cut at MAX_PATH: a copy of
# the Windows test program run from a folder more than 300 characters deep
# finds its exact path (and so the autostart value and the shortcuts get it).
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"

deep="$scratch"
for part in a b c d e; do deep="$deep/$(printf "%060d" 0 | tr 0 "$part")"; done
mkdir -p "$deep"
cp "$ORVIKA2_BUILD_DIR/tests/win_tests.exe" "$deep/"
expected="Z:$(echo "$deep/win_tests.exe" | tr / '\\')"
check "the folder is deeper than MAX_PATH" 1 "$([ ${#expected} -gt 260 ] && echo 1)"

out=$(ORVIKA2_TEST_EXPECTED_PROGRAM="$expected" timeout 120 "$ORVIKA2_WINE_RUN" "$deep/win_tests.exe" \
  --gtest_filter='ExecutablePath.*' 2>&1 | tr -d '\r')
echo "$out" | grep -E '^\[ +(OK|FAILED) +\]|Failure|Which is|Expected'
check "the copy found its whole path" "[  PASSED  ] 1 test." "$(echo "$out" | grep -F '[  PASSED  ]')"
finish
