#!/bin/sh
# Orvika2.exe under wine64 on Xvfb with a simulated token whose profile
# waits for a touch: the countdown dialog, and its close box that resets the
# token without typing anything; the code typed after the touch into the
# window the code was asked for, and into no other: a user gone to another
# window is offered the clipboard; a second Ctrl+Q during the wait leaves
# the token's answer to the first.
# Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/.
set -eu
desktop_name=tracking_touch
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/win_tracking_session.inc"
countdown='^2-Step Verification Code$'
waiting_for_touch() { wctl sim show | grep -q 'waiting for touch'; }

step "closing the countdown early resets the token and types nothing"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" --touch1 >/dev/null
start_app
press ctrl q
dialog=$(wait_for_window "$countdown" 30) || fail "no countdown dialog"
wait_drawn "$dialog" || fail "the countdown dialog was not drawn"
# The countdown's first seconds, for the screenshot.
sleep 2.2
screenshot tracking_countdown
waiting_for_touch || fail "the token is not waiting for a touch"
# Escape and Enter do not close it.
focus "$dialog"
keys Escape Return
# Nothing shows that the keys were handled: allow them a moment.
sleep 0.5
xdotool search --onlyvisible --name "$countdown" >/dev/null || fail "Escape or Enter closed the dialog"
# The close box, at the right end of the dialog's own caption.
set -- $(geometry "$dialog")
click $(( $1 + $3 - 12 )) $(( $2 + 10 ))
wait_window_gone "$countdown" || fail "the close box did not close the dialog"
waiting_for_touch && fail "the token still waits for a touch"
wctl sim touch >/dev/null
# Nothing to wait for: the check is that nothing comes.
sleep 1.5
[ ! -s "$typed" ] || fail "typed after closing early: $(cat "$typed")"
wine_reset

step "a touch profile: the countdown, then the code after the touch"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" --touch1 >/dev/null
start_app
start_second_recorder
start=$(date +%s)
press ctrl q
wait_for_window "$countdown" 30 >/dev/null || fail "no countdown dialog"
wait_until 30 waiting_for_touch || fail "the token is not waiting for a touch"
# The user goes back to the input box before touching the token.
focus_recorder
wctl sim touch >/dev/null
expect_code "$secret1" "$start"
wait_window_gone "$countdown" || fail "the countdown dialog stayed open"

step "a second Ctrl+Q during the wait: the countdown stays, the touch still types the code"
: >"$typed"
start=$(date +%s)
press ctrl q
wait_for_window "$countdown" 30 >/dev/null || fail "no countdown dialog"
wait_until 30 waiting_for_touch || fail "the token is not waiting for a touch"
focus_recorder
press ctrl q
sleep 1
waiting_for_touch || fail "the second Ctrl+Q reset the token's wait"
focus_recorder
wctl sim touch >/dev/null
expect_code "$secret1" "$start"
wait_window_gone "$countdown" || fail "the countdown dialog stayed open"

step "a touch profile: a user gone to another window meanwhile is not typed into"
: >"$typed"
press ctrl q
wait_for_window "$countdown" 30 >/dev/null || fail "no countdown dialog"
wait_until 30 waiting_for_touch || fail "the token is not waiting for a touch"
focus_window "$recorder2"
sleep 1
wctl sim touch >/dev/null
box=$(wait_message_box) || fail "no clipboard offer after the window changed"
wait_painted "$box" || fail "the clipboard offer was not drawn"
screenshot tracking_target_left
[ ! -s "$typed" ] && [ ! -s "$typed2" ] || fail "typed though the window changed: $(cat "$typed" "$typed2")"
focus "$box"
keys n
wait_until 10 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" || fail "the offer did not close"
wine_reset

echo "screenshots: $artifacts/tracking_countdown.png"
echo PASS
