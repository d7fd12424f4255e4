#!/bin/sh
# Pictures of Orvika2.exe for docs/screenshots/: the main window, its popup
# menu, every settings page and every dialog, in English and Traditional
# Chinese at 100 % and 150 %, under wine64 on Xvfb with a simulated token.
# Named <what>_<en|zh>_<100|150>.png. Run by hand (a few minutes), after
# building Orvika2.exe and the native orvika2ctl:
#   scripts/screenshots.sh [WINDOWS_BUILD_DIR [NATIVE_BUILD_DIR]]
set -eu
source_dir=$(cd "$(dirname "$0")/.." && pwd)
ORVIKA2_SOURCE_DIR=$source_dir
ORVIKA2_BUILD_DIR=$(cd "${1:-$source_dir/build/windows}" && pwd)
native=$(cd "${2:-$source_dir/build/native}" && pwd)
export ORVIKA2_SOURCE_DIR ORVIKA2_BUILD_DIR
desktop_name=screenshots
. "$source_dir/tests/e2e/desktop.inc"
. "$source_dir/tests/e2e/win_app_session.inc"
exe="$build/app/Orvika2.exe"
ctl="$native/cli/orvika2ctl"
[ -f "$exe" ] && [ -x "$ctl" ] || { echo "missing $exe or $ctl"; exit 1; }
need display
out="$source_dir/docs/screenshots"
cp "$exe" "$install/Orvika2.exe"
token="$work/token.sim"
export ORVIKA2_TOKEN="sim:$(windows_path "$token")"

# A plain backdrop, so the main window's cut-out shape shows.
convert -size 1280x800 xc:'#6b8cae' "$work/backdrop.png"
display -window root "$work/backdrop.png" >/dev/null 2>&1 || true

shot() {  # shot NAME ID: the window alone
  set -- "$1" $(geometry "$2")
  import -window root -crop "$4x$5+$2+$3" +repage "$out/$1.png"
  echo "$out/$1.png"
}
new_window() {  # new_window BEFORE: a window shown since, once it is drawn
  shown=$(wait_new_window "$1" 60) && wait_painted "$shown" 60 && echo "$shown"
}

# A point of the settings window given in its dialog units, or of its page
# (the tab control stands at 7, 7; the page inside it 8 and 25 pixels in).
# The frame and caption grow with the scale.
settings_geometry() {  # settings_geometry ID
  set -- $(geometry "$1")
  gx=$1 gy=$2
  border=$(awk -v k="$zoom" 'BEGIN{print 2.5 * k}')
  caption=$(awk -v k="$zoom" 'BEGIN{print 20.5 * k}')
  sx=$(awk -v w="$3" -v b="$border" 'BEGIN{print (w - 2 * b) / 499}')
  sy=$(awk -v h="$4" -v b="$border" -v c="$caption" 'BEGIN{print (h - b - c) / 139}')
}
window_click() {  # window_click DU_X DU_Y
  click $(awk -v g="$gx" -v b="$border" -v s="$sx" -v d="$1" 'BEGIN{printf "%d", g + b + d * s}') \
        $(awk -v g="$gy" -v c="$caption" -v s="$sy" -v d="$2" 'BEGIN{printf "%d", g + c + d * s}')
  sleep 0.5
}
page_click() {  # page_click DU_X DU_Y
  click $(awk -v g="$gx" -v b="$border" -v s="$sx" -v d="$1" 'BEGIN{printf "%d", g + b + 7 * s + 8 + d * s}') \
        $(awk -v g="$gy" -v c="$caption" -v s="$sy" -v d="$2" 'BEGIN{printf "%d", g + c + 7 * s + 25 + d * s}')
  sleep 0.5
}
settings_shot() {  # settings_shot NAME: once the page has changed
  wait_painted "$settings" 30 "$1" || fail "the settings window did not change for $2"
  shot "$2" "$settings"
}

pictures() {  # pictures SUFFIX: every window of one start
  suffix=$1
  wine_start "$work/app.log" Orvika2.exe
  main=$(wait_for_window '^Orvika2$') || fail "no main window"
  wait_painted "$main" || fail "the main window was not drawn"
  shot "main_window_$suffix" "$main"

  open_menu "$main"
  shot "menu_$suffix" "$menu"
  close_menu

  before=$(visible_windows)
  tray_menu_choose Up Up Up Return
  about=$(new_window "$before") || fail "no about box"
  shot "about_$suffix" "$about"
  focus "$about"
  keys Return
  wait_until 30 desktop_absent_id "$about" || fail "the about box stayed open"

  before=$(visible_windows)
  tray_menu_choose Up Up Up Up Up Up Return
  settings=$(new_window "$before") || fail "no settings window"
  settings_geometry "$settings"
  shot "settings_already_set_$suffix" "$settings"
  picture=$(window_picture "$settings")
  page_click 414 49  # Reset
  settings_shot "$picture" "settings_profile1_$suffix"

  focus "$settings"
  page_click 130 30  # the account list opens ...
  page_click 130 30  # ... and closes, keeping the focus
  before=$(visible_windows)
  keys n             # the entry "New", the only one with that letter
  account=$(new_window "$before") || fail "no account name dialog"
  shot "account_name_$suffix" "$account"
  focus "$account"
  keys Escape
  wait_until 30 desktop_absent_id "$account" || fail "the account name dialog stayed open"

  focus "$settings"
  window_click 20 14  # the first tab, which takes the keyboard
  picture=$(window_picture "$settings")
  keys Right
  settings_shot "$picture" "settings_profile2_$suffix"
  picture=$(window_picture "$settings")
  keys Right
  settings_shot "$picture" "settings_basic_$suffix"
  focus "$settings"
  keys alt+F4
  wait_until 30 desktop_absent_id "$settings" || fail "the settings window stayed open"

  before=$(visible_windows)
  focus "$main"
  xdotool keydown ctrl; sleep 0.1; xdotool key q; sleep 0.3; xdotool keyup ctrl
  countdown=$(wait_new_window "$before" 30) || fail "no countdown dialog"
  wait_drawn "$countdown" || fail "the countdown dialog was not drawn"
  sleep 1.2
  shot "countdown_$suffix" "$countdown"
  focus "$countdown"
  keys alt+F4
  wait_until 30 desktop_absent_id "$countdown" || fail "the countdown dialog stayed open"
  wine_reset
}
desktop_absent_id() { ! xwininfo -id "$1" 2>/dev/null | grep -q IsViewable; }

rm -f "$out"/*_en_100.png "$out"/*_en_150.png "$out"/*_zh_100.png "$out"/*_zh_150.png
secret=JBSWY3DPEHPK3PXP
for scale in 100 150; do
  zoom=$(awk -v s="$scale" 'BEGIN{print s / 100}')
  "$wine" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $(( scale * 96 / 100 )) /f \
    </dev/null >/dev/null 2>&1
  for lang in en zh; do
    step "pictures in $lang at $scale %"
    wine_reset
    rm -f "$token"*
    "$ctl" sim create "$token" --totp1 "$secret" --touch1 >/dev/null
    serial=$("$ctl" sim show "$token" | sed -n 's/^serial: //p')
    # Profile 1 is set, profile 2 not: the settings window opens on the
    # already-set page, and the profile 2 tab shows the profile page.
    find "$WINEPREFIX/drive_c/users" -path '*Roaming*' -name Orvika2Config.ini -delete
    case $lang in en) choice=en ;; *) choice=zh-tw ;; esac
    printf '[Language]\r\nID=%s\r\n[HotKey_OTP]\r\nVirtualKeyCode=81\r\nfsModifiers=2\r\n[HotKey_Switch]\r\nVirtualKeyCode=83\r\nfsModifiers=1\r\n[%s]\r\nConfig1=Google\r\nConfig2=NotConfigured\r\n' \
      "$choice" "$serial" >"$install/Orvika2Config.ini"
    pictures "${lang}_$scale"
  done
done
echo "pictures in $out"
