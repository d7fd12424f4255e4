#!/bin/sh
# Orvika2.exe under wine64 on Xvfb with a simulated token whose profile
# waits for a touch: the countdown dialog, and its close box that resets the
# token without typing anything; and the code typed after the touch, into
# the window the code was asked for or the one the user has gone to since.
# Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
failure_shot=tracking_touch_failure.png
first_display=170
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/win_tracking_session.inc"

step "closing the countdown early resets the token and types nothing"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" --touch1 >/dev/null
start_app
press ctrl q
dialog=$(wait_window '^2-Step Verification Code$' 50) || fail "no countdown dialog"
sleep 2.2
import -window root "$artifacts/tracking_countdown.png"
wctl sim show | grep -q 'waiting for touch' || fail "the token is not waiting for a touch"
# Escape and Enter do not close it.
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
xdotool key Escape; sleep 0.3; xdotool key Return; sleep 0.5
xdotool search --onlyvisible --name '^2-Step Verification Code$' >/dev/null || fail "Escape or Enter closed the dialog"
# The close box, at the right end of the dialog's own caption.
set -- $(geometry "$dialog")
xdotool mousemove --sync $(( $1 + $3 - 12 )) $(( $2 + 10 )) click 1
wait_gone '^2-Step Verification Code$' || fail "the close box did not close the dialog"
wctl sim show | grep -q 'waiting for touch' && fail "the token still waits for a touch"
wctl sim touch >/dev/null
sleep 1.5
[ ! -s "$typed" ] || fail "typed after closing early: $(cat "$typed")"
stop_all

step "a touch profile: touched while the countdown is in front, the code goes back to the input box"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" --touch1 >/dev/null
start_app
start_second_recorder
start=$(date +%s)
press ctrl q
dialog=$(wait_window '^2-Step Verification Code$' 50) || fail "no countdown dialog"
xdotool windowfocus --sync "$dialog" 2>/dev/null || true
sleep 1
wctl sim touch >/dev/null
expect_code "$secret1" "$start"
wait_gone '^2-Step Verification Code$' || fail "the countdown dialog stayed open"

step "a touch profile: a user gone to another window meanwhile gets the code there"
: >"$typed"
start=$(date +%s)
press ctrl q
wait_window '^2-Step Verification Code$' 50 >/dev/null || fail "no countdown dialog"
sleep 1
focus_window "$recorder2"
wctl sim touch >/dev/null
expect_code "$secret1" "$start" "$typed2"
[ ! -s "$typed" ] || fail "the focus went back to the first window: $(cat "$typed")"
wait_gone '^2-Step Verification Code$' || fail "the countdown dialog stayed open"
stop_all

echo "screenshots: $artifacts/tracking_countdown.png"
echo PASS
