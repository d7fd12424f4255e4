#!/bin/sh
# Orvika2.exe under wine64 on Xvfb, as a user meets it: the floating window
# at the lower right, its popup menu in English, the about box, the language
# switch with its restart into Traditional Chinese, an idle process, and the
# close command that copies the configuration over the template.
# Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu

build="${ORVIKA2_BUILD_DIR:?}"
exe="$build/app/Orvika2.exe"
artifacts="$build/artifacts"
wine_run="${ORVIKA2_WINE_RUN:?}"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }
for tool in Xvfb xdotool xwininfo import display convert montage; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
mkdir -p "$artifacts"

work=$(mktemp -d /tmp/orvika2-app-e2e.XXXXXX)
export WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
xvfb_pid=""
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  import -window root "$artifacts/failure.png" 2>/dev/null && echo "screen at failure: $artifacts/failure.png"
  exit 1
}
step() { echo "--- $*"; }

# A display of our own.
display=""
for n in $(seq 71 119); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || fail "no free X display"
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
# A plain backdrop, so the window's cut-out shape shows in the screenshots.
convert -size 1280x800 xc:'#6b8cae' "$work/backdrop.png"
display -window root "$work/backdrop.png" >/dev/null 2>&1 || true

step "the pictures as drawn"
pictures="$build/app/resources"
montage -background '#6b8cae' -geometry +8+8 -tile 11x \
  "$pictures/bitmap141.bmp" "$pictures/bitmap137.bmp" "$pictures/bitmap140.bmp" "$pictures/bitmap138.bmp" \
  "$pictures/bitmap139.bmp" "$pictures/bitmap144.bmp" "$pictures/bitmap155.bmp" "$pictures/bitmap145.bmp" \
  "$pictures/bitmap1000.bmp" "$pictures/orvika2.ico[3]" "$pictures/bitmap153.bmp" "$work/sheet.png"
convert "$work/sheet.png" -filter point -resize 300% "$artifacts/resources.png"

step "throwaway prefix"
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# Wine's interface fonts have no Chinese glyphs: link them to a system CJK
# font, as a Taiwanese Windows links them to its own.
cjk=$(fc-list :lang=zh-tw file family 2>/dev/null | head -1)
if [ -n "$cjk" ]; then
  link="$(basename "${cjk%%:*}"),$(echo "${cjk#*: }" | cut -d, -f1)"
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    "$wine_run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1
  done
else
  echo "note: no Traditional Chinese font installed; Chinese texts show as boxes in the screenshots"
fi

install="$work/install"
mkdir -p "$install"
cp "$exe" "$install/Orvika2.exe"
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
menu_dump="$work/menu.txt"
export ORVIKA2_MENU_DUMP="$(windows_path "$menu_dump")"
export ORVIKA2_TOKEN="sim:$(windows_path "$work/token.sim")"

find_window() {  # find_window [WINDOW_TO_IGNORE]
  for _ in $(seq 300); do
    for id in $(xdotool search --name '^Orvika2$' 2>/dev/null); do
      [ "$id" != "${1:-}" ] && { echo "$id"; return 0; }
    done
    sleep 0.2
  done
  return 1
}
geometry() {  # geometry ID -> "X Y W H"
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                           /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
app_pids() {  # Linux processes of Orvika2.exe in this prefix
  for pid in $(pgrep -f 'Orvika2.exe' 2>/dev/null); do
    cat "/proc/$pid/environ" 2>/dev/null | tr '\0' '\n' | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
wait_for_menu() {
  for _ in $(seq 30); do [ -s "$menu_dump" ] && { sleep 0.5; return 0; }; sleep 0.1; done
  return 1
}
open_menu() {  # open_menu WINDOW: click the gear, wait for the menu's dump
  set -- $(geometry "$1") "$1"
  # Control 1002 stands at (70, 2) dialog units of the 93 x 38 window; its
  # gear is 24 pixels wide, with a hole in the middle that is not the button.
  mx=$(( $1 + (70 * $3 + 46) / 93 + 12 )); my=$(( $2 + (2 * $4 + 19) / 38 + 6 ))
  for _attempt in 1 2 3; do
    rm -f "$menu_dump"
    xdotool windowfocus --sync "$5" 2>/dev/null || true
    # Arrive and click at once: a resting pointer brings up the gear's
    # tooltip, which would take the click.
    xdotool mousemove --sync $(( $1 + 10 )) $(( $2 + $4 / 2 )) 2>/dev/null || true
    xdotool mousemove --sync "$mx" "$my" click 1
    wait_for_menu && return 0
    keys Escape Escape
  done
  fail "the popup menu did not open from the menu button"
}
# The menu from the tray icon opens down and right of the pointer, so no item
# lies under it and the keyboard starts from no selection.
open_tray_menu() {
  tray=$(xdotool search --name '^Wine System Tray$' 2>/dev/null | head -1)
  [ -n "$tray" ] || fail "no system tray"
  set -- $(geometry "$tray")
  for _attempt in 1 2 3; do
    rm -f "$menu_dump"
    # The first icon sits at the left of the tray's bottom row.
    xdotool mousemove --sync $(( $1 + 10 )) $(( $2 + $4 - 10 ))
    sleep 0.3
    xdotool mousedown 3; sleep 0.2; xdotool mouseup 3
    wait_for_menu && return 0
    keys Escape Escape
  done
  fail "the popup menu did not open from the tray icon"
}
menu_text() { awk -F '\t' -v id="$1" '{ sub(/^\t+/, "") } $1 == id { print $3 }' "$menu_dump"; }
menu_state() { awk -F '\t' -v id="$1" '{ sub(/^\t+/, "") } $1 == id { print $2 }' "$menu_dump"; }
expect_item() {  # expect_item ID TEXT
  got=$(menu_text "$1")
  [ "$got" = "$2" ] || fail "menu item $1 reads '$got', expected '$2'"
}
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.15; done; }

step "start without a token"
(cd "$install" && exec "$wine_run" Orvika2.exe </dev/null >"$work/app.log" 2>&1) &
window=$(find_window) || fail "no window titled Orvika2"
set -- $(geometry "$window")
echo "window $window at ($1, $2), $3 x $4"
[ "$1" -eq 1080 ] && [ "$2" -eq 700 ] || fail "window at ($1, $2), expected (1080, 700)"
# 93 x 38 dialog units: about 1.25 to 2.25 pixels per unit across, 1.5 to 2.1 down.
[ "$3" -ge 116 ] && [ "$3" -le 210 ] && [ "$4" -ge 57 ] && [ "$4" -le 80 ] || fail "window size $3 x $4"
sleep 2
import -window root "$artifacts/main_window.png"
convert "$artifacts/main_window.png" -crop 220x110+1060+690 +repage -filter point -resize 300% \
  "$artifacts/main_window_zoom.png"
# The key colour is cut out: the corner of the window shows the backdrop.
corner=$(convert "$artifacts/main_window.png" -format '%[pixel:p{1080,700}]' info:)
backdrop=$(convert "$artifacts/main_window.png" -format '%[pixel:p{5,400}]' info:)
[ "$corner" = "$backdrop" ] || fail "the window's corner is $corner, not the backdrop $backdrop"
inside=$(convert "$artifacts/main_window.png" -format '%[pixel:p{1120,730}]' info:)
[ "$inside" != "$backdrop" ] || fail "the window's skin is missing"

step "popup menu in English"
open_menu "$window"
cat "$menu_dump"
expect_item 32783 "Profile1"
expect_item 32784 "Profile2"
expect_item 32787 "Settings"
expect_item 32798 "繁體中文"
expect_item 32796 "English"
expect_item 32791 "Software update"
expect_item 32788 "About Orvika2"
expect_item 32782 "Minimize to taskbar"
expect_item 32786 "Close program"
[ "$(menu_state 32796)" = 8 ] && [ "$(menu_state 32798)" = 0 ] || fail "English is not the marked language"
import -window root "$artifacts/menu_en.png"
keys Escape Escape

step "about box, from the tray icon's menu"
open_tray_menu
keys Up Up Up Return
about=""
for _ in $(seq 100); do about=$(xdotool search --name '^About Orvika2$' 2>/dev/null | head -1); [ -n "$about" ] && break; sleep 0.1; done
[ -n "$about" ] || fail "no about box"
sleep 1
import -window root "$artifacts/about.png"
xdotool windowfocus --sync "$about" 2>/dev/null || true
keys Return
for _ in $(seq 50); do xdotool search --name '^About Orvika2$' >/dev/null 2>&1 || break; sleep 0.1; done

step "minimize to taskbar, then back with the tray icon's left button"
open_tray_menu
keys Up Up Return
hidden=0
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Orvika2$' >/dev/null 2>&1 || { hidden=1; break; }
  sleep 0.1
done
[ "$hidden" = 1 ] || fail "the window is still visible after Minimize to taskbar"
tray=$(xdotool search --name '^Wine System Tray$' | head -1)
set -- $(geometry "$tray")
xdotool mousemove --sync $(( $1 + 10 )) $(( $2 + $4 - 10 )) click 1
window=$(find_window) || fail "no window"
shown=0
for _ in $(seq 50); do
  xdotool search --onlyvisible --name '^Orvika2$' >/dev/null 2>&1 && { shown=1; break; }
  sleep 0.1
done
[ "$shown" = 1 ] || fail "the tray icon's left button did not show the window again"

step "switch to Traditional Chinese: the application restarts"
first_pids=$(app_pids)
open_tray_menu
keys Up Up Up Up Up Right Return
# The first process ends; a new one (X may hand it the same window id) starts.
for _ in $(seq 150); do
  gone=1
  for pid in $first_pids; do [ -d "/proc/$pid" ] && gone=0; done
  [ "$gone" = 1 ] && break
  sleep 0.2
done
[ "$gone" = 1 ] || fail "the first process did not end"
window2=$(find_window) || fail "no window after the language restart"
second_pids=$(app_pids)
[ -n "$second_pids" ] || fail "no process after the language restart"
sleep 2
config=$(find "$WINEPREFIX/drive_c/users" -name Orvika2Config.ini -path '*Roaming*' | head -1)
[ -n "$config" ] || fail "no configuration file"
grep -q '^ID=zh-tw' "$config" || fail "language choice not written: $(cat "$config")"
[ -f "$install/Orvika2Config.ini" ] || fail "the close before the restart did not copy the configuration"

open_menu "$window2"
cat "$menu_dump"
expect_item 32783 "設定檔1"
expect_item 32787 "系統設定"
expect_item 32791 "軟體更新和手冊下載"
expect_item 32788 "關於Orvika2"
expect_item 32782 "最小化到工具列"
expect_item 32786 "關閉程式"
[ "$(menu_state 32798)" = 8 ] && [ "$(menu_state 32796)" = 0 ] || fail "Chinese is not the marked language"
import -window root "$artifacts/menu_zh.png"
keys Escape Escape

step "idle: no CPU time"
pid=$(app_pids | head -1)
[ -n "$pid" ] || fail "no process"
sleep 1
before=$(cpu_ticks "$pid")
sleep 10
after=$(cpu_ticks "$pid")
ticks_per_second=$(getconf CLK_TCK)
echo "cpu over 10 s: $((after - before)) ticks of 1/$ticks_per_second s"
[ $(( (after - before) * 10 )) -lt "$ticks_per_second" ] || fail "the idle application used CPU time"

step "close through the menu"
echo "[Marker]" >>"$config"
echo "Written=before close" >>"$config"
open_tray_menu
keys Up Return
for _ in $(seq 100); do [ -z "$(app_pids)" ] && break; sleep 0.2; done
[ -z "$(app_pids)" ] || fail "the process did not end"
xdotool search --name '^Orvika2$' >/dev/null 2>&1 && fail "the window is still there"
cmp -s "$config" "$install/Orvika2Config.ini" || fail "the template is not a copy of the configuration"
echo "screenshots: $artifacts/resources.png $artifacts/main_window.png $artifacts/main_window_zoom.png $artifacts/menu_en.png $artifacts/about.png $artifacts/menu_zh.png"
echo PASS
