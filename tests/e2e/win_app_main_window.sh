#!/bin/sh
# Orvika2.exe under wine64 on Xvfb, as a user meets it: the floating window
# at the lower right, its popup menu in English, the about box, the language
# switch with its restart into Traditional Chinese, an idle process, the
# close command that copies the configuration over the template, and the
# refusal of an ORVIKA2_TOKEN that names no token.
# Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
desktop_name=main_window
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/desktop.inc"
exe="$build/app/Orvika2.exe"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }
need display montage

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

cp "$exe" "$install/Orvika2.exe"
export ORVIKA2_TOKEN="sim:$(windows_path "$work/token.sim")"

. "$ORVIKA2_SOURCE_DIR/tests/e2e/win_app_session.inc"
app_pids() { prefix_pids Orvika2.exe; }
expect_item() {  # expect_item ID TEXT
  got=$(menu_text "$1")
  [ "$got" = "$2" ] || fail "menu item $1 reads '$got', expected '$2'"
}
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
visible_main() { xdotool search --onlyvisible --name '^Orvika2$' >/dev/null 2>&1; }
hidden_main() { ! visible_main; }
no_app() { [ -z "$(app_pids)" ]; }

step "start without a token"
before=$(visible_windows)
wine_start "$work/app.log" Orvika2.exe
window=$(wait_for_window '^Orvika2$') || fail "no window titled Orvika2"
set -- $(geometry "$window")
echo "window $window at ($1, $2), $3 x $4"
[ "$1" -eq 1080 ] && [ "$2" -eq 700 ] || fail "window at ($1, $2), expected (1080, 700)"
# Sized from the skin in pixels, whatever the font measures.
[ "$3" -eq 140 ] && [ "$4" -eq 64 ] || fail "window size $3 x $4, expected the skin's 140 x 64"
wait_painted "$window" || fail "the window was not drawn"
# The notice that no token is in (on the simulated one: which file) stands
# over the window; the window's own pixels are looked at without it.
close_cover "$before" "$window" || fail "the start-up notice over the window did not close"
screenshot main_window
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
screenshot menu_en
close_menu

step "about box, from the tray icon's menu"
tray_menu_choose Up Up Up Return
about=$(wait_for_window '^About Orvika2$' 30) || fail "no about box"
wait_painted "$about" || fail "the about box was not drawn"
screenshot about
focus "$about"
keys Return
wait_window_gone '^About Orvika2$' || fail "the about box did not close"

step "minimize to taskbar, then back with the tray icon's left button"
tray_menu_choose Up Up Return
wait_until 10 hidden_main || fail "the window is still visible after Minimize to taskbar"
tray_click 1
wait_until 10 visible_main || fail "the tray icon's left button did not show the window again"

step "a second start shows the running window and ends: one window, one tray icon"
first_pids=$(app_pids)
tray_menu_choose Up Up Return
wait_until 10 hidden_main || fail "the window is still visible after Minimize to taskbar"
wine_start "$work/second.log" Orvika2.exe
wait_until 30 visible_main || fail "a second start did not show the running window"
only_first() { [ "$(app_pids)" = "$first_pids" ]; }
wait_until 30 only_first || fail "the second start still runs beside the first"
[ "$(xdotool search --onlyvisible --name '^Orvika2$' | wc -l)" = 1 ] || fail "more than one main window"

step "switch to Traditional Chinese: the application restarts"
first_pids=$(app_pids)
tray_menu_choose Up Up Up Up Up Right Return
# The first process ends; a new one (X may hand it the same window id) starts.
wait_exited $first_pids || fail "the first process did not end"
window2=$(wait_for_window '^Orvika2$') || fail "no window after the language restart"
second_pids=$(app_pids)
[ -n "$second_pids" ] || fail "no process after the language restart"
wait_painted "$window2" || fail "the window was not drawn after the language restart"
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
screenshot menu_zh
close_menu

step "idle: no CPU time, no wake-ups"
pid=$(app_pids | head -1)
[ -n "$pid" ] || fail "no process"
# Wake-ups are the threads' context switches: a timer or a poll shows there
# however busy the machine is, where CPU ticks would only show a busy loop.
wakeups() { cat /proc/"$pid"/task/*/status 2>/dev/null | awk '/ctxt_switches/{n += $2} END{print n + 0}'; }
# The pointer away from the window: a button's tooltip checks for the
# pointer's leaving on a timer while it shows, as common controls do.
xdotool mousemove 5 5
# The start-up notice and the closed menu may still be winding down: wait
# until two quiet seconds, which an application that polls never has.
quiet_two_seconds() { q=$(wakeups); sleep 2; [ "$(wakeups)" -eq "$q" ]; }
wait_until 30 quiet_two_seconds || fail "the application never became idle"
# The measurement itself: ten seconds of an application left alone.
before=$(cpu_ticks "$pid") woken=$(wakeups)
sleep 10
after=$(cpu_ticks "$pid") woken=$(( $(wakeups) - woken ))
ticks_per_second=$(getconf CLK_TCK)
echo "over 10 s: $((after - before)) ticks of 1/$ticks_per_second s, $woken wake-ups"
[ $(( (after - before) * 10 )) -lt "$ticks_per_second" ] || fail "the idle application used CPU time"
[ "$woken" -le 2 ] || fail "the idle application woke up $woken times in 10 s"

step "close through the menu"
echo "[Marker]" >>"$config"
echo "Written=before close" >>"$config"
tray_menu_choose Up Return
wait_until 30 no_app || fail "the process did not end"
xdotool search --name '^Orvika2$' >/dev/null 2>&1 && fail "the window is still there"
cmp -s "$config" "$install/Orvika2Config.ini" || fail "the template is not a copy of the configuration"

step "an ORVIKA2_TOKEN that names no token: one message in the chosen language, then the end"
messages="$work/messages.txt"
: >"$messages"
token_setting=$ORVIKA2_TOKEN
export ORVIKA2_TOKEN=usb ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
wine_start "$work/bad_token.log" Orvika2.exe
export ORVIKA2_TOKEN="$token_setting"
unset ORVIKA2_MESSAGE_LOG
box=$(wait_message_box) || fail "no message box for the bad setting"
[ "$(cat "$messages")" = "$(printf '280\t環境變數ORVIKA2_TOKEN必須未設定或為sim:PATH')" ] ||
  fail "messages shown: $(cat "$messages")"
screenshot bad_token_setting
focus "$box"
keys Return
wait_until 30 no_app || fail "the process did not end after the message"
[ "$(wc -l <"$messages")" = 1 ] || fail "more than one message: $(cat "$messages")"
echo "screenshots: $artifacts/resources.png $artifacts/main_window.png $artifacts/main_window_zoom.png $artifacts/menu_en.png $artifacts/about.png $artifacts/menu_zh.png"
echo PASS
