#!/bin/sh
# The settings window of Orvika2.exe under wine64 on Xvfb, driven as a user
# drives it: a 2-Step Verification profile written on the profile-1 page with
# its backup saved, that backup imported on the profile-2 page, the code
# hotkey changed and the start-up options switched on and off on the basic
# settings page, the code hotkey typing profile 1's code into a key recorder
# once the window is closed, the update check against a local server, and
# every page in both languages. Screenshots go to $ORVIKA2_BUILD_DIR/artifacts/settings_*.
set -eu

build="${ORVIKA2_BUILD_DIR:?}"
exe="$build/app/Orvika2.exe"
recorder_exe="$build/win_tools/key_recorder.exe"
ctl="${ORVIKA2_NATIVE_BUILD_DIR:?}/cli/orvika2ctl"
artifacts="$build/artifacts"
wine_run="${ORVIKA2_WINE_RUN:?}"
[ -f "$exe" ] && [ -f "$recorder_exe" ] || { echo "missing $exe or $recorder_exe"; exit 1; }
[ -x "$ctl" ] || { echo "missing $ctl"; exit 1; }
for tool in Xvfb xdotool xwininfo import convert python3 oathtool; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
mkdir -p "$artifacts"

work=$(mktemp -d /tmp/orvika2-settings-e2e.XXXXXX)
# Wine links the prefix's desktop to $HOME/Desktop: keep the shortcuts here.
mkdir -p "$work/home/Desktop"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LANG=C.UTF-8 LC_ALL=C.UTF-8
xvfb_pid="" http_pid=""
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "$http_pid" ] && kill "$http_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  import -window root "$artifacts/settings_failure.png" 2>/dev/null && echo "screen at failure: $artifacts/settings_failure.png"
  [ -f "$messages" ] && { echo "messages shown:"; cat "$messages"; }
  for w in $(xdotool search --onlyvisible --name "" 2>/dev/null); do echo "window $w: $(xdotool getwindowname "$w")"; done
  exit 1
}
step() { echo "--- $*"; }
keys() { for k in "$@"; do xdotool key "$k"; sleep 0.2; done; }

display=""
for n in $(seq 121 169); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=$n; break; fi
done
[ -n "$display" ] || fail "no free X display"
Xvfb ":$display" -screen 0 1280x800x24 -nolisten tcp -noreset >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY=":$display"
for _ in $(seq 50); do xwininfo -root >/dev/null 2>&1 && break; sleep 0.1; done
# Keypad digits give characters only with NumLock on; Xvfb starts with it off.
xdotool key Num_Lock

step "throwaway prefix"
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
cjk=$(fc-list :lang=zh-tw file family 2>/dev/null | head -1)
if [ -n "$cjk" ]; then
  link="$(basename "${cjk%%:*}"),$(echo "${cjk#*: }" | cut -d, -f1)"
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    "$wine_run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1
  done
fi

windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
install="$work/install"
mkdir -p "$install"
cp "$exe" "$install/Orvika2.exe"
cp "$recorder_exe" "$install/key_recorder.exe"
typed="$work/typed.txt"
"$ctl" sim create "$work/token.sim" >/dev/null
messages="$work/messages.txt"
: >"$messages"
export ORVIKA2_TOKEN="sim:$(windows_path "$work/token.sim")"
export ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
export ORVIKA2_MENU_DUMP="$(windows_path "$work/menu.txt")"

# The description file on a local server.
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
served="$work/www/html/Trial/Orvika2"
mkdir -p "$served"
(cd "$work/www" && exec python3 -m http.server "$port" --bind 127.0.0.1 >/dev/null 2>&1) &
http_pid=$!
export ORVIKA2_UPDATE_URL="http://127.0.0.1:$port"

geometry() {  # geometry ID -> "X Y W H"
  xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                           /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}'
}
wait_window() {  # wait_window TITLE_REGEX -> id; the first file dialog of a prefix is slow
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
wait_gone() { for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0; sleep 0.1; done; return 1; }
# Without a window manager a refreshed main window may keep the focus: a
# click on the caption of the newest untitled window, the message box,
# activates it.
activate_message_box() {
  box=$(xdotool search --onlyvisible --name '^$' 2>/dev/null | sort -n | tail -1)
  [ -n "$box" ] || return 0
  set -- $(geometry "$box")
  xdotool mousemove --sync $(( $1 + $3 / 2 )) $(( $2 + 8 )) click 1
  sleep 0.3
}
# Waits for the message box with string ID to be shown (its line in the
# message log), then answers it with the keys given.
answer() {  # answer ID KEY...
  id=$1; shift
  for _ in $(seq 150); do
    if [ "$(sed -n '$p' "$messages" | cut -f1)" = "$id" ]; then
      sleep 0.7
      activate_message_box
      keys "$@"
      return 0
    fi
    sleep 0.2
  done
  fail "message $id was not shown"
}
open_tray_menu() {
  tray=$(xdotool search --name '^Wine System Tray$' 2>/dev/null | head -1)
  [ -n "$tray" ] || fail "no system tray"
  set -- $(geometry "$tray")
  for _attempt in 1 2 3; do
    rm -f "$work/menu.txt"
    xdotool mousemove --sync $(( $1 + 10 )) $(( $2 + $4 - 10 ))
    sleep 0.3
    xdotool mousedown 3; sleep 0.2; xdotool mouseup 3
    for _ in $(seq 30); do [ -s "$work/menu.txt" ] && { sleep 0.5; return 0; }; sleep 0.1; done
    keys Escape Escape
  done
  fail "the popup menu did not open from the tray icon"
}

# Positions in the settings window, from its outer geometry: the page's
# dialog units map to pixels with the window's own scale.
settings=""
sx="" sy="" gx="" gy=""
open_settings() {  # open_settings TITLE: from the popup menu
  open_tray_menu
  keys Up Up Up Up Up Up Return
  adopt_settings "$1"
}
adopt_settings() {  # adopt_settings TITLE: the settings window on screen
  settings=$(wait_window "^$1\$") || fail "no settings window titled $1"
  set -- $(geometry "$settings")
  gx=$1 gy=$2
  sx=$(echo "$3" | awk '{printf "%.4f", ($1 - 5) / 499}')
  sy=$(echo "$4" | awk '{printf "%.4f", ($1 - 23) / 121}')
  sleep 1
}
page_click() {  # page_click DU_X DU_Y: a point of the page shown in the tab
  x=$(awk -v g="$gx" -v s="$sx" -v d="$1" 'BEGIN{printf "%d", g + 2.5 + 7 * s + 8 + d * s}')
  y=$(awk -v g="$gy" -v s="$sy" -v d="$2" 'BEGIN{printf "%d", g + 20.5 + 7 * s + 25 + d * s}')
  xdotool mousemove --sync "$x" "$y" click 1
  sleep 0.5
}
tab_click() {  # tab_click INDEX
  case "$1" in 0) dx=45 ;; 1) dx=108 ;; *) dx=180 ;; esac
  xdotool mousemove --sync $(( gx + dx )) $(( gy + 42 )) click 1
  sleep 1
}
shot() {  # shot NAME: the settings window alone
  set -- "$1" $(geometry "$settings")
  import -window root -crop "$4x$5+$2+$3" +repage "$artifacts/$1.png"
  shots="$shots $artifacts/$1.png"
}
shots=""

# The key recorder, the window the hotkeys type into.
recorder=""
start_recorder() {
  rm -f "$typed"
  (cd "$install" && exec "$wine_run" key_recorder.exe "$(windows_path "$typed")" </dev/null >/dev/null 2>&1) &
  recorder=$(wait_window '^Key recorder$') || fail "no key recorder window"
  sleep 1
}
close_recorder() {
  xdotool windowfocus --sync "$recorder" 2>/dev/null || true
  keys alt+F4
  wait_gone '^Key recorder$' || fail "the key recorder did not close"
}
focus_recorder() {  # a click in its client area activates it for Wine as well
  set -- $(geometry "$recorder")
  xdotool mousemove --sync $(( $1 + $3 / 2 )) $(( $2 + $4 / 2 )) click 1
  xdotool windowfocus --sync "$recorder" 2>/dev/null || true
  sleep 0.3
}
press() {  # press MODIFIERS KEY: a hotkey typed the way a user types it
  focus_recorder
  xdotool keydown "$1"; sleep 0.1; xdotool key "$2"; sleep 0.3; xdotool keyup "$1"
}
codes_around() {  # codes_around SECRET UNIX_SECONDS: the codes of the steps before, at and after
  for offset in -30 0 30; do
    oathtool --totp --base32 "$1" -N "@$(( $2 + offset ))"
  done
}
wait_typed() {  # wait_typed COUNT: until the recorder holds COUNT characters
  for _ in $(seq 100); do
    [ "$(wc -c <"$typed" 2>/dev/null || echo 0)" -ge "$1" ] && { sleep 0.5; return 0; }
    sleep 0.1
  done
  return 1
}
expect_code() {  # expect_code SECRET START_SECONDS
  wait_typed 6 || fail "nothing typed into the recorder after the hotkey"
  got=$(cat "$typed")
  for code in $(codes_around "$1" "$2"); do
    [ "$got" = "$code" ] && { echo "typed $got"; return 0; }
  done
  fail "typed '$got', expected one of $(codes_around "$1" "$2" | tr '\n' ' ')"
}

config() { find "$WINEPREFIX/drive_c/users" -name Orvika2Config.ini -path '*Roaming*' | head -1; }
entry() { tr -d '\r' <"$(config)" | grep "^$1=" | head -1 | cut -d= -f2-; }
# The profile tab shows its already-set page unless the entry says the
# profile is not configured; Reset brings the profile page.
show_profile_page() {
  case "$(entry "Config$1")" in
    *NotConfigured*) ;;
    *) page_click 414 49 ;;
  esac
}

step "start, English: the first-use prompt leads to the settings window"
(cd "$install" && exec "$wine_run" Orvika2.exe </dev/null >"$work/app.log" 2>&1) &
sleep 6
if xdotool search --onlyvisible --name '^Orvika2$' >/dev/null 2>&1; then
  open_settings "Orvika2 settings"
else
  keys Return               # OK to the prompt, shown before the main window
  adopt_settings "Orvika2 settings"
fi

step "profile 1: 2-Step Verification for Google, backup saved"
show_profile_page 1
shot settings_profile1_en
secret=$(python3 -c "import base64,os; print(base64.b32encode(os.urandom(20)).decode())")
page_click 130 30          # the account list opens ...
page_click 130 30          # ... and closes, keeping the focus
keys Down                  # Google
answer 4 Tab Return        # no help page
page_click 130 49
xdotool type --delay 40 "$secret"
page_click 174 71          # Apply
answer 15 Return           # Yes: save a backup
save_dialog=$(wait_window '^Save') || fail "no save dialog"
backup="$work/google.bcp"
sleep 1
# Without a window manager a new dialog need not get the keyboard focus.
xdotool windowfocus --sync "$save_dialog" 2>/dev/null || true
sleep 0.5
keys ctrl+a
xdotool type --delay 20 "$(windows_path "$backup")"
keys Return
answer 7 Return
sleep 1
[ "$(entry Config1)" = Google ] || fail "Config1 reads '$(entry Config1)'"
grep -q '^Mode=OTP' "$backup" && grep -q "^Key=$secret" "$backup" && grep -q '^Account=Google' "$backup" \
  || fail "backup file: $(cat "$backup" 2>/dev/null)"
shot settings_already_set_en

step "settings closed: Ctrl+Q types profile 1's code"
xdotool windowfocus --sync "$settings" 2>/dev/null || true
keys alt+F4
wait_gone '^Orvika2 settings$' || fail "the settings window did not close"
start_recorder
start=$(date +%s)
press ctrl q
expect_code "$secret" "$start"
close_recorder
open_settings "Orvika2 settings"

step "profile 2: the backup imported"
tab_click 1
show_profile_page 2
page_click 414 11          # Others
shot settings_profile2_en
page_click 434 29          # Import profile
open_dialog=$(wait_window '^Open') || fail "no open dialog"
sleep 1
xdotool windowfocus --sync "$open_dialog" 2>/dev/null || true
sleep 0.5
keys ctrl+a
xdotool type --delay 20 "$(windows_path "$backup")"
keys Return
answer 9 Tab Return        # no touch needed
answer 16 Return
at=$(date +%s)
code1=$(ORVIKA2_TOKEN="sim:$work/token.sim" "$ctl" code --profile 1 --at "$at")
code2=$(ORVIKA2_TOKEN="sim:$work/token.sim" "$ctl" code --profile 2 --at "$at")
[ -n "$code1" ] && [ "$code1" = "$code2" ] || fail "profile 2 gives '$code2', profile 1 '$code1'"
[ "$(entry Config2)" = Google ] || fail "Config2 reads '$(entry Config2)'"

step "basic settings: code hotkey Ctrl+Shift+F1"
tab_click 2
shot settings_basic_en
page_click 363 31
keys ctrl+shift+F1
page_click 419 31          # Apply
tr -d '\r' <"$(config)" | grep -A2 '^\[HotKey_OTP\]' >"$work/hotkey.txt"
grep -qx 'VirtualKeyCode=112' "$work/hotkey.txt" && grep -qx 'fsModifiers=6' "$work/hotkey.txt" \
  || fail "hotkey stored as: $(cat "$work/hotkey.txt")"

step "basic settings: autostart and desktop shortcut on, then off"
run_key='HKCU\SOFTWARE\Microsoft\Windows\CurrentVersion\Run'
desktop_link() { find "$HOME/Desktop" "$WINEPREFIX/drive_c/users" -iname Orvika2.lnk -ipath '*desktop*' | head -1; }
page_click 27 30
page_click 27 44
"$wine_run" reg query "$run_key" /v Orvika2 2>/dev/null | grep -q Orvika2.exe || fail "no autostart value"
[ -n "$(desktop_link)" ] || fail "no desktop shortcut"
page_click 27 30
page_click 27 44
"$wine_run" reg query "$run_key" /v Orvika2 >/dev/null 2>&1 && fail "the autostart value is still there"
[ -z "$(desktop_link)" ] || fail "the desktop shortcut is still there"
grep -q '^102	' "$messages" && fail "an operation failed"
xdotool windowfocus --sync "$settings" 2>/dev/null || true
keys alt+F4
wait_gone '^Orvika2 settings$' || fail "the settings window did not close"

step "settings closed: Ctrl+Shift+F1 types the code, Ctrl+Q no longer does"
start_recorder
start=$(date +%s)
press ctrl+shift F1
expect_code "$secret" "$start"
# Emptied in place: the recorder keeps the file open.
: >"$typed"
press ctrl q
sleep 3
# No longer a hotkey, Ctrl+Q reaches the recorder itself, as the control
# character 0x11: that also shows the recorder had the focus.
[ "$(cat "$typed")" = '\x11' ] || fail "after Ctrl+Q the recorder holds '$(cat "$typed")', not \\x11"
printf "Ctrl+Q reached the recorder as %s\n" "$(cat "$typed")"
close_recorder

step "update check: a newer version, then a missing file"
printf '[Orvika2]\r\nVersion=9.9.99.999\r\n' >"$served/checkVersion.ini"
open_tray_menu
keys Up Up Up Up Return
answer 23 Tab Return        # No: no browser
rm "$served/checkVersion.ini"
open_tray_menu
keys Up Up Up Up Return
answer 25 Return

step "Traditional Chinese"
open_tray_menu
keys Up Up Up Up Up Right Return
sleep 3
wait_window '^Orvika2$' >/dev/null || fail "no main window after the language restart"
sleep 2
open_settings "Orvika2設定"
shot settings_already_set_zh
show_profile_page 1
shot settings_profile1_zh
tab_click 1
show_profile_page 2
shot settings_profile2_zh
tab_click 2
shot settings_basic_zh
xdotool windowfocus --sync "$settings" 2>/dev/null || true
keys alt+F4
wait_gone '^Orvika2設定$' || fail "the settings window did not close"

echo "messages shown:"; cat "$messages"
echo "screenshots:$shots"
echo PASS
