#!/bin/sh
# Orvika2.exe under wine64 on Xvfb while its token comes and goes: the
# device-interface broadcasts and the "TaskbarCreated" message come from
# another process (desktop_events.exe), as Windows and a restarted taskbar
# send them, and the simulated token's file appears and vanishes to match.
# The menu, the notices and the tray icon follow; a notice leaves the keyboard
# focus in the window the user types into. Screenshots go to
# $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
desktop_name=device_events
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/desktop.inc"
. "$ORVIKA2_SOURCE_DIR/tests/e2e/win_app_session.inc"
exe="$build/app/Orvika2.exe"
events_exe="$build/win_tools/desktop_events.exe"
ctl="${ORVIKA2_NATIVE_BUILD_DIR:-}/cli/orvika2ctl"
for file in "$exe" "$events_exe" "$recorder_exe"; do [ -f "$file" ] || { echo "missing $file"; exit 1; }; done
[ -x "$ctl" ] || { echo "missing the native orvika2ctl ($ctl)"; exit 1; }

cp "$exe" "$install/Orvika2.exe"
cp "$events_exe" "$install/desktop_events.exe"
token="$work/token.sim"
export ORVIKA2_TOKEN="sim:$(windows_path "$token")"
"$ctl" sim create "$token" --totp1 "$(random_base32 20)" --totp2 "$(random_base32 20)" >/dev/null
# Without its file the simulated token is not inserted.
unplug() { mv "$token" "$token.away"; }
plug() { mv "$token.away" "$token"; }

events() { (cd "$install" && "$wine" desktop_events.exe "$@" </dev/null 2>&1 | tr -d '\r'); }
# A notice may cover the menu button: a click on it closes it first.
notice_gone() { [ -z "$notice" ] || ! xwininfo -id "$notice" 2>/dev/null | grep -q IsViewable; }
close_notice() {
  notice_gone && return 0
  set -- $(geometry "$notice")
  click $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 ))
  wait_until 10 notice_gone || fail "the notice did not close on a click"
}
open_main_menu() { close_notice; open_menu "$main"; }
expect_states() {  # expect_states STATE1 STATE2: the profile items as the menu shows them
  open_main_menu
  [ "$(menu_state 32783)/$(menu_state 32784)" = "$1/$2" ] || fail "profile items $(menu_state 32783)/$(menu_state 32784), expected $1/$2: $(cat "$menu_dump")"
  close_menu
}
# A notice is a window of its own that appears above the main window.
notice_found() {  # notice_found WINDOWS_BEFORE: sets notice
  notice=""
  for window in $(visible_windows | grep -vxF "$1"); do
    set -- $(geometry "$window")
    [ "$2" -lt 700 ] && [ "$(( $2 + $4 ))" -gt 600 ] && notice=$window
  done
  [ -n "$notice" ]
}
wait_notice() { wait_until "${2:-20}" notice_found "$1"; }
focused_on() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }
tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null 2>&1; }
tray_gone() { ! tray_shown; }

notice=""
step "start with the token: its notice stays up"
before=$(visible_windows)
wine_start "$work/app.log" Orvika2.exe
main=$(wait_for_window '^Orvika2$') || fail "no main window"
wait_painted "$main" || fail "the main window was not drawn"
wait_notice "$before" || fail "no start-up notice"
sleep 2
xwininfo -id "$notice" 2>/dev/null | grep -q IsViewable || fail "the start-up notice went away by itself"
screenshot device_start_notice
expect_states 8 0

step "Alt+S while the user types elsewhere: profile 2's notice leaves the focus there"
start_recorder
before=$(visible_windows)
press alt s
wait_notice "$before" || fail "no notice after Alt+S"
focused_on "$recorder" || fail "the notice after Alt+S took the focus from the key recorder"
# The recorder never saw the S: Wine takes the lone Alt release as a request
# for its window menu. Leave that menu again, and start the file afresh.
xdotool key Escape
sleep 0.3
: >"$typed"
xdotool key y
wait_typed 1 || fail "the letter after the notice did not reach the key recorder"
[ "$(cat "$typed")" = y ] || fail "the key recorder got '$(cat "$typed")'"
expect_states 0 8

step "the token leaves while the user types elsewhere: the notice leaves the focus there"
: >"$typed"
focus_recorder
unplug
before=$(visible_windows)
events removal token || fail "the removal broadcast was not delivered"
wait_notice "$before" || fail "no removal notice"
screenshot device_removed
focused_on "$recorder" || fail "the removal notice took the focus from the key recorder"
xdotool key x
wait_typed 1 || fail "the letter after the notice did not reach the key recorder"
[ "$(cat "$typed")" = x ] || fail "the key recorder got '$(cat "$typed")'"
expect_states 3 3

step "another vendor's keyboard and a broadcast too short for a class change nothing; the token arrives while the menu is open: the menu stays, and follows once closed"
plug
events arrival other || fail "the other vendor's broadcast was not delivered"
events arrival short || fail "the short broadcast was not delivered"
# Nothing to wait for: the check is that nothing comes.
sleep 1
open_main_menu
[ "$(menu_state 32783)/$(menu_state 32784)" = 3/3 ] || fail "a broadcast that is not the token's changed the menu: $(cat "$menu_dump")"
before=$(visible_windows)
events arrival token || fail "the arrival broadcast was not delivered"
sleep 1.5
menu_open || fail "the popup menu went away when the token arrived"
[ -z "$(prefix_pids Orvika2.exe)" ] && fail "Orvika2.exe ended when the token arrived"
notice_found "$before" && fail "the arrival ran while the menu was open"
# One Escape: a second would close the notice that follows the menu.
keys Escape
wait_until 10 menu_closed || fail "the popup menu did not close"
wait_notice "$before" || fail "no notice after the arrival"
screenshot device_arrived
expect_states 8 0

step "a restarted taskbar: the tray icon comes back"
events drop-tray-icon || fail "the tray icon could not be removed"
wait_until 10 tray_gone || fail "the tray still shows an icon"
events taskbar-created || fail "TaskbarCreated was not delivered"
wait_until 10 tray_shown || fail "the tray icon did not come back after TaskbarCreated"

echo "screenshots: $artifacts/device_start_notice.png $artifacts/device_removed.png $artifacts/device_arrived.png"
echo PASS
