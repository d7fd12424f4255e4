#!/bin/sh
# Orvika2.exe under wine64 on Xvfb with a simulated token: the hotkeys type
# the right code into another window (another program's window titled "OTP"
# open meanwhile), eight digits of 60 s for a profile set from an otpauth
# link, switch profiles with their notice and
# stay quiet for a static password profile; a token without profiles brings
# the first-use prompt.
# Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
desktop_name=tracking
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/win_tracking_session.inc"
need setxkbmap xset

step "profile 1 and 2 with known secrets: Ctrl+Q types profile 1's code, another program's \"OTP\" window open"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" --totp2 "$secret2" >/dev/null
start_app
wine_start /dev/null key_recorder.exe "$(windows_path "$work/decoy")" 520 OTP
wait_for_window '^OTP$' >/dev/null || fail "no window titled OTP"
start=$(date +%s)
press ctrl q
expect_code "$secret1" "$start"

step "Ctrl held on after Ctrl+Q: nothing typed, a message asks to release the keys"
: >"$typed"
focus_recorder
xdotool keydown ctrl; sleep 0.1; xdotool key q
box=$(wait_message_box) || { xdotool keyup ctrl; fail "no message after holding Ctrl"; }
xdotool keyup ctrl
wait_painted "$box" || fail "the message was not drawn"
screenshot tracking_modifiers_held
[ ! -s "$typed" ] || fail "typed while Ctrl was held: $(cat "$typed")"
focus "$box"
keys Return
wait_until 10 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" || fail "the message did not close"
# Nothing to wait for: the check is that nothing comes.
sleep 1
[ ! -s "$typed" ] || fail "typed after the message: $(cat "$typed")"

step "Alt+S moves the check mark to profile 2 and shows its notice"
open_menu "$main"
[ "$(menu_state 32783)" = 8 ] && [ "$(menu_state 32784)" = 0 ] || fail "profile 1 is not the active one: $(cat "$menu_dump")"
close_menu
press alt s
# The recorder never saw the S, so Wine takes the lone Alt release as a
# request for its window menu: leave that menu again.
xdotool key Escape
# The notice plays in the main window for a while: the screenshot is taken
# in its course.
sleep 1.5
screenshot tracking_notice
# Emptied in place: the recorder keeps the file open.
: >"$typed"
start=$(date +%s)
press ctrl q
expect_code "$secret2" "$start"
open_menu "$main"
[ "$(menu_state 32783)" = 0 ] && [ "$(menu_state 32784)" = 8 ] || fail "Alt+S did not activate profile 2: $(cat "$menu_dump")"
close_menu
wine_reset

step "a static password profile active: Ctrl+Q types nothing"
rm -f "$token"*; "$ctl" sim create "$token" --static1 "password1" --totp2 "$secret2" >/dev/null
start_app
open_menu "$main"
[ "$(menu_state 32783)" = 8 ] || fail "the static profile is not active: $(cat "$menu_dump")"
close_menu
press ctrl q
# Nothing to wait for: the check is that nothing comes.
sleep 3
[ ! -s "$typed" ] || fail "typed for a static password profile: $(cat "$typed")"
wine_reset

step "French AZERTY: the top-row method types the digits (they need Shift there), by Ctrl+Q and by orvika2ctl.exe"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" >/dev/null
setxkbmap -layout fr
start_app
config=$(find "$WINEPREFIX/drive_c/users" -name Orvika2Config.ini -path '*Roaming*' | head -1)
[ -n "$config" ] || fail "no configuration file"
printf '[Typing]\r\nMethod=toprow\r\n' >>"$config"
start=$(date +%s)
press ctrl q
expect_code "$secret1" "$start"
: >"$typed"
focus_recorder
start=$(date +%s)
printed=$("$wine" "$install/orvika2ctl.exe" code --type --method toprow </dev/null 2>/dev/null | tr -d '\r')
expect_code "$secret1" "$start"
[ "$printed" = "$(cat "$typed")" ] || fail "orvika2ctl.exe printed $printed but typed $(cat "$typed")"
wine_reset
setxkbmap -layout us

step "NumLock off: the keypad method turns it on around the digits, and back off"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" >/dev/null
xdotool key Num_Lock
start_app
start=$(date +%s)
press ctrl q
expect_code "$secret1" "$start"
xset q | grep -q "Num Lock: *off" || { xdotool key Num_Lock; fail "NumLock was left on"; }
xdotool key Num_Lock
wine_reset

step "Ctrl+Q held by another program: named at start-up, and the code button still types"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" >/dev/null
messages="$work/messages.log"
rm -f "$messages"
# The other program holds Ctrl+Q (MOD_CONTROL, 'Q') before Orvika2 starts.
wine_start /dev/null key_recorder.exe "$(windows_path "$work/holder")" 520 "Hotkey holder" 2,81
wait_for_window '^Hotkey holder$' >/dev/null || fail "the hotkey holder did not start"
export ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
wine_start "$work/app.log" Orvika2.exe
unset ORVIKA2_MESSAGE_LOG
# The main window is untitled for a moment while it starts: the box is
# looked for once the message is logged.
wait_until 60 grep -q "^316	" "$messages" || fail "no message for the held hotkey"
box=$(wait_message_box) || fail "no message box for the held hotkey"
# Its caption may flash for attention: drawn is enough.
wait_drawn "$box" || fail "the held hotkey's message was not drawn"
screenshot tracking_hotkey_taken
grep -q "^316	The hotkey Ctrl+Q for the verification code could not be registered" "$messages" ||
  fail "the message does not name Ctrl+Q: $(cat "$messages")"
focus "$box"
keys Return
main=$(wait_for_window '^Orvika2$') || fail "no main window after the message"
wait_painted "$main" || fail "the main window was not drawn"
start_recorder
focus_recorder
# The code button: the skin's socket at (68, 16), 32 pixels square.
set -- $(geometry "$main")
start=$(date +%s)
click $(( $1 + 84 )) $(( $2 + 32 ))
expect_code "$secret1" "$start"
[ "$(grep -c . "$messages")" = 1 ] || fail "more than one message: $(cat "$messages")"
wine_reset

step "a link of 8 digits and 60 s set with orvika2ctl.exe: Ctrl+Q types all 8"
rm -f "$token"*; "$ctl" sim create "$token" --totp2 "$secret2" >/dev/null
printf 'otpauth://totp/Example%%3Aalice%%40example.com?secret=%s&issuer=Example&digits=8&period=60\n' \
  "$(printf '%s' "$secret1" | tr 'A-Z' 'a-z')" >"$work/link.txt"
"$wine" "$install/orvika2ctl.exe" set-totp --profile 1 --uri-file "$(windows_path "$work/link.txt")" \
  </dev/null >"$work/set.out" 2>&1 || fail "set-totp --uri: $(cat "$work/set.out")"
: >"$typed"
start_app
code_digits=8 code_period=60
start=$(date +%s)
press ctrl q
expect_code "$secret1" "$start"
code_digits=6 code_period=30
wine_reset

step "no profile configured: the first-use prompt"
rm -f "$token"*; "$ctl" sim create "$token" >/dev/null
rm -f "$typed"
wine_start "$work/app.log" Orvika2.exe
prompt=$(wait_message_box) || fail "no first-use message box"
wait_painted "$prompt" || fail "the first-use message box was not drawn"
screenshot tracking_first_use
focus "$prompt"
xdotool key Return
wait_for_window '^Orvika2 settings$' >/dev/null || fail "the settings window did not follow the prompt"
wine_reset

echo "screenshots: $artifacts/tracking_notice.png $artifacts/tracking_modifiers_held.png $artifacts/tracking_first_use.png"
echo PASS
