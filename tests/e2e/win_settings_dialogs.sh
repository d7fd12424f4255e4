#!/bin/sh
# The settings window of Orvika2.exe under wine64 on Xvfb, driven as a user
# drives it: a 2-Step Verification profile written on the profile-1 page with
# its backup saved, that backup imported on the profile-2 page, the code
# hotkey changed and the start-up options switched on and off on the basic
# settings page, the code hotkey typing profile 1's code into a key recorder
# once the window is closed, the update check against a local server, and
# every page in both languages. Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/settings_*.
set -eu
desktop_name=settings
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/desktop.inc"
. "$ORVIKA2_SOURCE_DIR/tests/e2e/win_app_session.inc"
exe="$build/app/Orvika2.exe"
ctl="${ORVIKA2_NATIVE_BUILD_DIR:?}/cli/orvika2ctl"
[ -f "$exe" ] && [ -f "$recorder_exe" ] || { echo "missing $exe or $recorder_exe"; exit 1; }
[ -x "$ctl" ] || { echo "missing $ctl"; exit 1; }
need python3 oathtool

cp "$exe" "$install/Orvika2.exe"
"$ctl" sim create "$work/token.sim" >/dev/null
messages="$work/messages.txt"
: >"$messages"
export ORVIKA2_TOKEN="sim:$(windows_path "$work/token.sim")"
export ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
on_failure() { echo "messages shown:"; cat "$messages"; }

# The description file on a local server.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
served="$work/www/html/Trial/Orvika2"
mkdir -p "$served"
(cd "$work/www" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
desktop_track $!
export ORVIKA2_UPDATE_URL="http://127.0.0.1:$port"

last_message_is() { [ "$(sed -n '$p' "$messages" | cut -f1)" = "$1" ]; }
# Waits for the message box with string ID to be shown (its line in the
# message log comes first), then answers it with the keys given. Without a
# window manager a refreshed main window may keep the focus: a click on the
# box's caption activates it.
activate_box() {  # activate_box ID: a click on its caption
  set -- $(geometry "$1")
  click $(( $1 + $3 / 2 )) $(( $2 + 8 ))
  # Wine activates the box a moment after the click; nothing shows when.
  sleep 0.3
}
answer() {  # answer ID KEY...
  id=$1; shift
  wait_until 60 last_message_is "$id" || fail "message $id was not shown"
  box=$(wait_message_box) || fail "no box for message $id"
  wait_painted "$box" || fail "the box for message $id was not drawn"
  activate_box "$box"
  keys "$@"
}
# A file dialog is drawn, then given the keyboard: without a window manager
# it need not get it by itself.
take_dialog() {  # take_dialog TITLE_RE -> id
  dialog=$(wait_for_window "$1") || return 1
  wait_painted "$dialog" 60 || return 1
  focus "$dialog"
  # Wine takes the focus change from X a moment later; nothing shows when.
  sleep 0.5
  echo "$dialog"
}

# Positions in the settings window, from its outer geometry: the page's
# dialog units map to pixels with the window's own scale.
settings=""
sx="" sy="" gx="" gy=""
open_settings() {  # open_settings TITLE: from the popup menu
  tray_menu_choose Up Up Up Up Up Up Return
  adopt_settings "$1"
}
adopt_settings() {  # adopt_settings TITLE: the settings window on screen
  settings=$(wait_for_window "^$1\$") || fail "no settings window titled $1"
  set -- $(geometry "$settings")
  gx=$1 gy=$2
  sx=$(echo "$3" | awk '{printf "%.4f", ($1 - 5) / 499}')
  sy=$(echo "$4" | awk '{printf "%.4f", ($1 - 23) / 139}')
  wait_painted "$settings" 60 || fail "the settings window was not drawn"
}
page_click() {  # page_click DU_X DU_Y: a point of the page shown in the tab
  x=$(awk -v g="$gx" -v s="$sx" -v d="$1" 'BEGIN{printf "%d", g + 2.5 + 7 * s + 8 + d * s}')
  y=$(awk -v g="$gy" -v s="$sy" -v d="$2" 'BEGIN{printf "%d", g + 20.5 + 7 * s + 25 + d * s}')
  click "$x" "$y"
  # What a click does differs from control to control, and some change
  # nothing on screen: a moment for the page to act on it.
  sleep 0.5
}
tab_click() {  # tab_click INDEX: until the new page is drawn
  case "$1" in 0) dx=45 ;; 1) dx=108 ;; *) dx=180 ;; esac
  tab_before=$(window_picture "$settings")
  click $(( gx + dx )) $(( gy + 42 ))
  wait_painted "$settings" 30 "$tab_before" || fail "tab $1 did not show its page"
}
shot() {  # shot NAME: the settings window alone
  screenshot "$1" "$settings"
  shots="$shots $artifacts/$1.png"
}
shots=""

config() { find "$WINEPREFIX/drive_c/users" -name Orvika2Config.ini -path '*Roaming*' | head -1; }
entry() { [ -n "$(config)" ] && tr -d '\r' <"$(config)" | grep "^$1=" | head -1 | cut -d= -f2-; }
entry_is() { [ "$(entry "$1")" = "$2" ]; }
# The profile tab shows its already-set page unless the entry says the
# profile is not configured; Reset brings the profile page.
show_profile_page() {
  case "$(entry "Config$1")" in
    *NotConfigured*) ;;
    *) page_click 414 49 ;;
  esac
}

step "start, English: the first-use prompt leads to the settings window"
# The first-use prompt comes before the main window.
main_or_prompt() { xdotool search --onlyvisible --name '^Orvika2$' >/dev/null 2>&1 || wait_message_box 0 >/dev/null; }
wine_start "$work/app.log" Orvika2.exe
wait_until 90 main_or_prompt || fail "neither the main window nor the first-use prompt"
if box=$(wait_message_box 1); then
  wait_painted "$box" || fail "the first-use prompt was not drawn"
  activate_box "$box"
  keys Return
  adopt_settings "Orvika2 settings"
else
  wait_painted "$(wait_for_window '^Orvika2$')" || fail "the main window was not drawn"
  open_settings "Orvika2 settings"
fi

step "profile 1: an otpauth link of 8 digits and 60 s for Google, a protected backup saved"
show_profile_page 1
shot settings_profile1_en
secret=$(python3 -c "import base64,os; print(base64.b32encode(os.urandom(20)).decode())")
page_click 130 30          # the account list opens ...
page_click 130 30          # ... and closes, keeping the focus
keys Down                  # Google, as the link's issuer names it too
answer 4 Tab Return        # no help page
page_click 130 49
xdotool type --delay 40 "otpauth://totp/Google:alice?secret=$secret&issuer=Google&digits=8&period=60"
code_digits=8 code_period=60
page_click 174 88          # Apply
answer 15 Return           # Yes: save a backup
grep -qF "$(printf '15\tSave profile backup?\\n(Please')" "$messages" || fail "message 15 does not break its line"
# The passphrase, typed twice: first two that differ, then the same.
protect=$(take_dialog '^Protect the profile backup$') || fail "no passphrase dialog"
screenshot backup_protect_en "$protect"
xdotool type --delay 40 "blue tractor 7"
keys Tab
xdotool type --delay 40 "blue tractor 8"
keys Return
sleep 1
xwininfo -id "$protect" 2>/dev/null | grep -q IsViewable || fail "the passphrase dialog closed on two different passphrases"
focus "$protect"
keys End shift+Home BackSpace
xdotool type --delay 40 "blue tractor 7"
keys Return
take_dialog '^Save' >/dev/null || fail "no save dialog"
backup="$work/google.bcp"
keys ctrl+a
xdotool type --delay 20 "$(windows_path "$backup")"
keys Return
answer 7 Return
wait_until 20 entry_is Config1 Google || fail "Config1 reads '$(entry Config1)'"
grep -q '^Mode=OTP' "$backup" && grep -q '^Account=Google' "$backup" && grep -q '^Sealed=v1:PBKDF2-SHA256:600000:' "$backup" \
  && grep -q '^Digits=8' "$backup" && grep -q '^Period=60' "$backup" || fail "backup file: $(cat "$backup" 2>/dev/null)"
[ "$(tr -d '\r' <"$(config)" | grep -e '^Digits1=' -e '^Period1=' | paste -sd '|')" = "Digits1=8|Period1=60" ] \
  || fail "the configuration file holds no shape for profile 1: $(cat "$(config)")"
grep -q -e '^Key=' -e "$secret" "$backup" && fail "the protected backup holds the key: $(cat "$backup")"
printf 'blue tractor 7\n' >"$work/passphrase.txt"
"$ctl" sim create "$work/check.sim" >/dev/null
out=$(ORVIKA2_TOKEN="sim:$work/check.sim" XDG_CONFIG_HOME="$work/check" "$ctl" import --profile 1 "$backup" \
  --passphrase-file "$work/passphrase.txt" 2>&1) || fail "the native tool cannot open the backup: $out"
[ "$(ORVIKA2_TOKEN="sim:$work/check.sim" XDG_CONFIG_HOME="$work/check" "$ctl" code --at 59 2>/dev/null)" = \
  "$(oathtool --totp -d 8 -s 60 --base32 "$secret" -N @59)" ] || fail "the backup does not hold the key and shape typed"
shot settings_already_set_en

step "settings closed: Ctrl+Q types profile 1's code"
focus "$settings"
keys alt+F4
wait_window_gone '^Orvika2 settings$' || fail "the settings window did not close"
start_recorder
start=$(date +%s)
press ctrl q
expect_code "$secret" "$start"
close_recorder
open_settings "Orvika2 settings"

step "the menu's Settings while the settings window is open brings that one forward"
settings_in_front() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$settings" ] &&
    [ "$(xdotool search --onlyvisible --name '^Orvika2 settings$' 2>/dev/null | wc -l)" -eq 1 ]
}
tray_menu_choose Up Up Up Up Up Up Return
wait_until 10 settings_in_front ||
  fail "settings windows: $(xdotool search --onlyvisible --name '^Orvika2 settings$' | tr '\n' ' ')(the open one $settings), focus on $(xdotool getwindowfocus)"

step "profile 2: the backup imported"
tab_click 1
show_profile_page 2
page_click 414 11          # Others
shot settings_profile2_en
page_click 434 29          # Import profile
take_dialog '^Open' >/dev/null || fail "no open dialog"
keys ctrl+a
xdotool type --delay 20 "$(windows_path "$backup")"
keys Return
unlock=$(take_dialog '^Protected profile backup$') || fail "no passphrase dialog for the import"
screenshot backup_unlock_en "$unlock"
xdotool type --delay 40 "blue tractor 6"
keys Return
answer 241 Return          # wrong passphrase: said, and asked again
unlock=$(take_dialog '^Protected profile backup$') || fail "the passphrase was not asked again"
xdotool type --delay 40 "blue tractor 7"
keys Return
answer 9 Tab Return        # no touch needed
answer 16 Return
at=$(date +%s)
code1=$(ORVIKA2_TOKEN="sim:$work/token.sim" "$ctl" code --profile 1 --at "$at")
code2=$(ORVIKA2_TOKEN="sim:$work/token.sim" "$ctl" code --profile 2 --at "$at")
[ -n "$code1" ] && [ "$code1" = "$code2" ] || fail "profile 2 gives '$code2', profile 1 '$code1'"
wait_until 20 entry_is Config2 Google || fail "Config2 reads '$(entry Config2)'"

step "basic settings: code hotkey Ctrl+Shift+F1"
tab_click 2
shot settings_basic_en
page_click 363 31
keys ctrl+shift+F1
page_click 419 31          # Apply
hotkey() { tr -d '\r' <"$(config)" | grep -A2 '^\[HotKey_OTP\]'; }
hotkey_stored() { hotkey | grep -qx 'VirtualKeyCode=112' && hotkey | grep -qx 'fsModifiers=6'; }
wait_until 20 hotkey_stored || fail "hotkey stored as: $(hotkey)"

step "basic settings: autostart and desktop shortcut on, then off"
run_key='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
desktop_link() { find "$HOME/Desktop" "$WINEPREFIX/drive_c/users" -iname Orvika2.lnk -ipath '*desktop*' | head -1; }
autostart_on() { "$wine" reg query "$run_key" /v Orvika2 2>/dev/null | grep -q Orvika2.exe; }
autostart_off() { ! "$wine" reg query "$run_key" /v Orvika2 >/dev/null 2>&1; }
link_on() { [ -n "$(desktop_link)" ]; }
link_off() { [ -z "$(desktop_link)" ]; }
page_click 27 30
page_click 27 44
wait_until 20 autostart_on || fail "no autostart value"
wait_until 20 link_on || fail "no desktop shortcut"
page_click 27 30
page_click 27 44
wait_until 20 autostart_off || fail "the autostart value is still there"
wait_until 20 link_off || fail "the desktop shortcut is still there"
grep -q '^102	' "$messages" && fail "an operation failed"
step "basic settings: Check the clock asks no plain http server and says so"
page_click 57 74
answer 306 Return
focus "$settings"
keys alt+F4
wait_window_gone '^Orvika2 settings$' || fail "the settings window did not close"

step "settings closed: Ctrl+Shift+F1 types the code, Ctrl+Q no longer does"
start_recorder
start=$(date +%s)
press ctrl+shift F1
expect_code "$secret" "$start"
# Emptied in place: the recorder keeps the file open.
: >"$typed"
press ctrl q
# No longer a hotkey, Ctrl+Q reaches the recorder itself, as the control
# character 0x11: that also shows the recorder had the focus.
wait_typed 4 || fail "after Ctrl+Q the recorder holds nothing"
[ "$(cat "$typed")" = '\x11' ] || fail "after Ctrl+Q the recorder holds '$(cat "$typed")', not \\x11"
printf "Ctrl+Q reached the recorder as %s\n" "$(cat "$typed")"
close_recorder

step "update check: a newer version, then a missing file"
printf '[Orvika2]\r\nVersion=9.9.99.999\r\n' >"$served/checkVersion.ini"
tray_menu_choose Up Up Up Up Return
answer 23 Tab Return        # No: no browser
rm "$served/checkVersion.ini"
tray_menu_choose Up Up Up Up Return
answer 25 Return

step "Traditional Chinese"
first_pids=$(prefix_pids Orvika2.exe)
tray_menu_choose Up Up Up Up Up Right Return
wait_exited $first_pids || fail "the first process did not end for the language restart"
main=$(wait_for_window '^Orvika2$') || fail "no main window after the language restart"
wait_painted "$main" || fail "the main window was not drawn after the language restart"
open_settings "Orvika2設定"
shot settings_already_set_zh
show_profile_page 1
shot settings_profile1_zh
tab_click 1
show_profile_page 2
shot settings_profile2_zh

step "Traditional Chinese: the save offer and both passphrase dialogs"
page_click 130 30          # the account list opens ...
page_click 130 30          # ... and closes, keeping the focus
keys Down
answer 4 Tab Return
page_click 130 49
xdotool type --delay 40 "$secret"
page_click 174 88          # Apply
wait_until 60 last_message_is 15 || fail "message 15 was not shown"
box=$(wait_message_box) && wait_painted "$box" || fail "the save offer was not drawn"
screenshot backup_offer_zh "$box"
activate_box "$box"
keys Return
protect=$(take_dialog '^保護設定檔備份$') || fail "no passphrase dialog in Traditional Chinese"
screenshot backup_protect_zh "$protect"
keys Escape
answer 8 Return            # set, without a backup
show_profile_page 2
page_click 414 11          # Others
before=$(visible_windows)
page_click 434 29          # Import profile
opened=$(wait_new_window "$before" 30) && wait_painted "$opened" 60 || fail "no open dialog in Traditional Chinese"
focus "$opened"
sleep 0.5
keys ctrl+a
xdotool type --delay 20 "$(windows_path "$backup")"
keys Return
unlock=$(take_dialog '^受保護的設定檔備份$') || fail "no import passphrase dialog in Traditional Chinese"
screenshot backup_unlock_zh "$unlock"
keys Escape
wait_window_gone '^受保護的設定檔備份$' || fail "the import passphrase dialog stayed open"
tab_click 2
shot settings_basic_zh
focus "$settings"
keys alt+F4
wait_window_gone '^Orvika2設定$' || fail "the settings window did not close"

echo "messages shown:"; cat "$messages"
echo "screenshots:$shots"
echo PASS
