#!/bin/sh
# The main window at 100, 125 and 150 % (LogPixels 96, 120, 144), with the
# Chinese font link of the desktop prefix and without it: each button sits
# centre on centre over its socket in the skin, the see-through outline is
# the 100 % outline scaled, and its offsets from the lower right are scaled.
# Screenshots of each case go to
# $ORVIKA2_BUILD_DIR/artifacts/main_window_<percent>_<font>.png.
set -eu
desktop_name=main_window_scaling
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/desktop.inc"
exe="$build/app/Orvika2.exe"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }
need display python3
pictures="$build/app/resources"
ctl="${ORVIKA2_NATIVE_BUILD_DIR:-}/cli/orvika2ctl"
[ -x "$ctl" ] || { echo "missing the native orvika2ctl ($ctl)"; exit 1; }

backdrop=6b8cae
convert -size 1280x800 "xc:#$backdrop" "$work/backdrop.png"
display -window root "$work/backdrop.png" >/dev/null 2>&1 || true
# No hover image: the pointer stays off the window.
xdotool mousemove 0 0
cp "$exe" "$install/Orvika2.exe"
# A token with a profile set: no notice balloon covers the window.
"$ctl" sim create "$work/token.sim" --totp1 "$(random_base32 20)" >/dev/null
export ORVIKA2_TOKEN="sim:$(windows_path "$work/token.sim")"

cases=""
run_case() {  # run_case NAME PERCENT LOGPIXELS SKIN_ID
  step "$1: LogPixels $3"
  wine_reset
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$3" /f >/dev/null 2>&1
  before=$(visible_windows)
  wine_start "$work/$1.log" Orvika2.exe
  window=$(wait_for_window '^Orvika2$') || fail "$1: no window titled Orvika2"
  wait_painted "$window" || fail "$1: the window was not drawn"
  set -- "$@" $(geometry "$window")
  close_cover "$before" "$window" || fail "$1: the notice over the window did not close"
  echo "window at ($5, $6), $7 x $8"
  # 200 and 100 pixels from the lower right of the 1280 x 800 screen, scaled.
  [ "$5" -eq $(( 1280 - 2 * $2 )) ] && [ "$6" -eq $(( 800 - $2 )) ] ||
    fail "$1: window at ($5, $6), expected ($(( 1280 - 2 * $2 )), $(( 800 - $2 )))"
  import -window root "$work/screen.png"
  convert "$work/screen.png" -crop "$7x$8+$5+$6" +repage "$work/$1.ppm"
  convert "$work/screen.png" -crop "$(( $7 + 40 ))x$(( $8 + 40 ))+$(( $5 - 20 ))+$(( $6 - 20 ))" +repage \
    "$artifacts/main_window_$1.png"
  cases="$cases $1:$2:$pictures/bitmap$4.bmp:$work/$1.ppm"
}

run_case 100_linked 100 96 153
run_case 125_linked 125 120 2153
run_case 150_linked 150 144 3153
step "without the font link"
for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
  "$wine" reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" /f \
    >/dev/null 2>&1 || true
done
run_case 150_plain 150 144 3153
run_case 125_plain 125 120 2153
run_case 100_plain 100 96 153
wine_reset

step "buttons over their sockets, outline scaled"
# shellcheck disable=SC2086
python3 "$ORVIKA2_SOURCE_DIR/tests/e2e/window_pixels.py" "$backdrop" $cases || fail "the window does not fit its skin"
echo PASS
