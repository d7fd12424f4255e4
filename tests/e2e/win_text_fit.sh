#!/bin/sh
# The text-fit test of win_tests.exe (every label of every dialog, both
# languages) at 100 % and 150 % with the Chinese font link of a Taiwanese
# desktop, and at 150 % without it; win_tests itself runs it at 100 % in a
# prefix without the link. The dialog font, and so each dialog unit, differs
# between the four. Wine reads the scale once, at process start.
set -eu
desktop_name=text_fit
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/desktop.inc"
tests_exe="$build/tests/win_tests.exe"
[ -f "$tests_exe" ] || { echo "missing $tests_exe"; exit 1; }

font_link='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink'
failed=0
for run in "linked 96" "linked 144" "unlinked 144"; do
  set -- $run
  if [ "$1" = unlinked ]; then
    for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
      "$wine" reg delete "$font_link" /v "$face" /f </dev/null >/dev/null 2>&1 || true
    done
  fi
  step "labels at $2 dpi, $1"
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$2" /f </dev/null >/dev/null 2>&1
  wine_reset
  ORVIKA2_REQUIRE_DISPLAY=1 "$wine" "$tests_exe" --gtest_brief=1 --gtest_filter='TextFit*' </dev/null \
    >"$work/run.log" 2>&1 || { cat "$work/run.log"; failed=1; }
done
[ "$failed" = 0 ] || fail "clipped texts"
echo "every label fits at 100 % and 150 %, with and without the font link"
