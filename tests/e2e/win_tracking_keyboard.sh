#!/bin/sh
# Orvika2.exe under wine64 on Xvfb driven by the keyboard alone (no clicks):
# the settings from the tray icon's context-menu key, profile 1 set from a
# Base32 key, the settings closed, the main window brought forward with
# Enter on the tray icon, Tab to the code button and Enter: the code lands
# in the key recorder. Wine's tray takes no keys, so desktop_events posts
# the shell's keyboard notifications; every other input is an xdotool key.
# Also the focus mark on both buttons, Shift+F10, Esc, and the high-contrast
# window. Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
desktop_name=tracking_keyboard
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/win_tracking_session.inc"
events() { "$wine" "$build/win_tools/desktop_events.exe" "$@" </dev/null 2>/dev/null | tr -d '\r'; }
walk() {  # walk TITLE: every control of our window of that title has a name
  "$wine" "$build/win_tools/accessible_walk.exe" "$1" </dev/null 2>/dev/null | tr -d '\r' >"$work/walk.txt" ||
    fail "controls without a name: $(cat "$work/walk.txt")"
}
focused_is() { [ "$(events focus | cut -f1)" = "$1" ]; }
expect_focus() {  # expect_focus ID WHAT
  wait_until 10 focused_is "$1" || fail "the focus is not on $2: $(events focus)"
}
messages="$work/messages.txt"
: >"$messages"
export ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
contrast="$work/high-contrast"
export ORVIKA2_HIGH_CONTRAST_FILE="$(windows_path "$contrast")"
on_failure() { echo "messages shown:"; cat "$messages"; [ -f "$typed" ] && echo "typed: $(cat "$typed")"; }
last_message_is() { [ "$(sed -n '$p' "$messages" | cut -f1)" = "$1" ]; }
answer() {  # answer ID KEY...: message ID's box, given the keyboard as the system gives it
  id=$1; shift
  wait_until 60 last_message_is "$id" || fail "message $id was not shown"
  box=$(wait_message_box) || fail "no box for message $id"
  wait_painted "$box" || fail "the box for message $id was not drawn"
  # Without a window manager nothing hands a new window the keyboard.
  focus "$box"
  sleep 0.3
  keys "$@"
  wait_until 10 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" || fail "the box for message $id stayed"
}

step "profile 1 not set: the settings from the tray icon's context-menu key"
# A static password on profile 2, so that no first-use prompt leads into the
# settings by itself.
rm -f "$token"*; printf 'correct horse\n' | "$ctl" sim create "$token" --static2 - >/dev/null
# The pointer rests away from every window, so that no tooltip shows.
xdotool mousemove 5 5
wine_start "$work/app.log" Orvika2.exe
main=$(wait_for_window '^Orvika2$') || fail "no main window"
wait_painted "$main" || fail "the main window was not drawn"
screenshot keyboard_start "$main"
walk Orvika2
start_recorder
rm -f "$menu_dump"
before=$(visible_windows)
events tray-key menu
wait_for_menu "$before" || fail "the context-menu key on the tray icon opened no menu"
keys Down Down Down Return
settings=$(wait_for_window '^Orvika2 settings$' 60) || fail "Down Down Down Enter did not open the settings"
wait_painted "$settings" 60 || fail "the settings window was not drawn"
focus "$settings"
sleep 0.5
screenshot keyboard_settings "$settings"

step "profile 1 from a Base32 key: Tab through the page, Space on Apply, the boxes answered by keys"
secret=$(python3 -c "import base64,os; print(base64.b32encode(os.urandom(20)).decode())")
keys Tab Down              # the account list: Google
answer 4 n                 # No: no help page
focus "$settings"
sleep 0.3
keys Tab                   # the secret key
xdotool type --delay 40 "$secret"
keys Tab Tab Tab Tab space # digits, period, touch, Apply
answer 15 n                # No: no backup
answer 16 Return           # set
focus "$settings"
sleep 0.3
keys alt+F4
wait_window_gone '^Orvika2 settings$' || fail "Alt+F4 did not close the settings window"

step "Enter on the tray icon brings the main window forward; Tab to the code button, Enter types the code"
events tray-key select
expect_focus 1000 "the code button after Enter on the tray icon"
[ "$(events focus | cut -f2)" = "Type verification code (Google)" ] || fail "the code button is named '$(events focus | cut -f2)'"
keys Tab
expect_focus 1002 "the settings button after Tab"
[ "$(events focus | cut -f2)" = "Settings menu" ] || fail "the settings button is named '$(events focus | cut -f2)'"
wait_painted "$main" 10
screenshot keyboard_focus_settings "$main"
keys Tab
expect_focus 1000 "the code button after a second Tab"
wait_painted "$main" 10
screenshot keyboard_focus_code "$main"
start=$(date +%s)
keys Return
expect_code "$secret" "$start"

step "Shift+F10 opens the menu at the window, Esc closes it; Esc hides the window, Enter on the tray icon brings it back"
wait_for_window '^Orvika2$' >/dev/null || fail "the main window did not come back after typing"
events tray-key select
expect_focus 1000 "the code button"
rm -f "$menu_dump"
before=$(visible_windows)
keys shift+F10
wait_for_menu "$before" || fail "Shift+F10 opened no menu"
set -- $(geometry "$menu") $(geometry "$main")
# At the focused code button (moved up where the screen ends below it), not
# at the pointer parked in the corner: the menu overlaps the window.
[ "$1" -lt $(( $5 + $7 )) ] && [ $(( $1 + $3 )) -gt "$5" ] && [ "$2" -lt $(( $6 + $8 )) ] && [ $(( $2 + $4 )) -gt "$6" ] ||
  fail "the menu opened at $1,$2 ($3 x $4), the window is at $5,$6"
keys Escape
wait_until 10 menu_closed || fail "Esc did not close the menu"
keys Escape
wait_window_gone '^Orvika2$' 10 || fail "Esc did not hide the main window"
events tray-key select
wait_for_window '^Orvika2$' 10 >/dev/null || fail "Enter on the tray icon did not bring the window back"
expect_focus 1000 "the code button"

step "the buttons' names in Traditional Chinese, after the language chosen from the menu by keys"
rm -f "$menu_dump"
before=$(visible_windows)
events tray-key menu
wait_for_menu "$before" || fail "the context-menu key on the tray icon opened no menu"
sleep 0.3
keys Down Down Down Down Right Return
wait_window_gone '^Orvika2$' 30 || true
main=$(wait_for_window '^Orvika2$' 60) || fail "no main window after the language change"
wait_painted "$main" || fail "the main window was not drawn in Chinese"
walk Orvika2
events tray-key select
expect_focus 1000 "the code button"
# The restarted window's start-up notice, above it, takes the first key:
# Tab is one of the keys that close a notice without acting.
notice_up() {
  for w in $(xdotool search --onlyvisible --name '^$' 2>/dev/null); do
    set -- $(geometry "$w")
    [ "$1" -gt 600 ] && [ "$2" -gt 400 ] && [ "$2" -lt 700 ] && return 0
  done
  return 1
}
notice_closed() { ! notice_up; }
if notice_up; then
  keys Tab
  wait_until 10 notice_closed || fail "Tab did not close the start-up notice"
  expect_focus 1000 "the code button after the notice closed"
fi
[ "$(events focus | cut -f2)" = "輸入兩步驟驗證碼 (Google)" ] || fail "the code button is named '$(events focus | cut -f2)' in Chinese"
keys Tab
expect_focus 1002 "the settings button"
[ "$(events focus | cut -f2)" = "設定選單" ] || fail "the settings button is named '$(events focus | cut -f2)' in Chinese"

step "high contrast: the window in the theme's colours, the skin back when the theme is off"
colours() { window_picture "$1" | cut -d' ' -f1; }
skin=$(window_picture "$main")
skin_colours=${skin%% *}
: >"$contrast"
events setting-change
wait_painted "$main" 10 "$skin" || fail "the window did not change for high contrast"
screenshot keyboard_high_contrast "$main"
# The theme's few plain colours instead of the skin's shades; the focus mark
# may differ between the two skin pictures, the shades may not.
plain=$(colours "$main")
[ "$plain" -lt $(( skin_colours / 4 )) ] || fail "high contrast shows $plain colours, the skin $skin_colours"
rm -f "$contrast"
events setting-change
skin_back() { [ "$(colours "$main")" -ge $(( skin_colours * 9 / 10 )) ]; }
wait_until 10 skin_back || fail "the skin did not return when the theme was switched off: $(colours "$main") colours, $skin_colours before"
echo "colours: skin $skin_colours, high contrast $plain, skin again $(colours "$main")"
wine_reset
