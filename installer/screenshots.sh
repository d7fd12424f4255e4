#!/bin/sh
# Screenshots of the setup's pages in English and Traditional Chinese, under
# wine64 on a display of its own, into docs/screenshots/installer_*.png.
# Usage: installer/screenshots.sh BUILD_DIR   (a built MinGW Release tree)
set -eu
[ $# -eq 1 ] || { echo "usage: $0 BUILD_DIR" >&2; exit 2; }
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "$1" && pwd)
shots="$root/docs/screenshots"
work=$(mktemp -d /tmp/orvika2-setup-shots.XXXXXX)
mkdir -p "$work/home"
export HOME="$work/home" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wine_run="$root/cmake/wine-run.sh"
xvfb_pid=""
cleanup() {
  for prefix in "$work"/prefix-*; do
    [ -d "$prefix" ] && WINEPREFIX="$prefix" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  done
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

setup=$(sh "$root/scripts/make-installer.sh" "$build" "$work/dist")
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"

wait_window() {  # wait_window TITLE_REGEX: the visible window so titled
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  echo "no window $1" >&2
  return 1
}
alone() {  # alone WINDOW: no other window shows, apart from the screen-sized desktop
  for other in $(xdotool search --onlyvisible --name '.*' 2>/dev/null); do
    [ "$other" = "$1" ] && continue
    xwininfo -id "$other" | grep -q 'geometry 1280x800+0+0' || return 1
  done
}
shoot() {  # shoot WINDOW NAME: the window alone, once it has drawn
  sleep 2
  for _ in $(seq 50); do alone "$1" && break; sleep 0.1; done
  set -- "$1" "$2" $(xwininfo -id "$1" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                                           /Width:/{w=$NF} /Height:/{h=$NF} END{print w "x" h "+" x "+" y}')
  import -window root -crop "$3" +repage "$shots/installer_$2.png"
  echo "$shots/installer_$2.png"
}
next_page() {  # next_page WINDOW: the default button
  xdotool windowfocus --sync "$1" 2>/dev/null || true
  xdotool key Return
}

# The system's display language picks the pages' language.
for language in en:C.UTF-8 zh:zh_TW.UTF-8; do
  name=${language%%:*}
  export WINEPREFIX="$work/prefix-$name" LANG="${language#*:}" LC_ALL="${language#*:}"
  "$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # Wine's interface fonts have no Chinese glyphs: link them to a CJK font.
  cjk=$(fc-list :lang=zh-tw file family | head -1)
  link="$(basename "${cjk%%:*}"),$(echo "${cjk#*: }" | cut -d, -f1)"
  for face in Tahoma "MS Shell Dlg" "MS Shell Dlg 2" "Microsoft Sans Serif"; do
    "$wine_run" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' \
      /v "$face" /t REG_MULTI_SZ /d "$link" /f >/dev/null 2>&1
  done

  "$wine_run" "$setup" </dev/null >/dev/null 2>&1 &
  setup_pid=$!
  window=$(wait_window '^Orvika2 ')
  shoot "$window" "welcome_$name"
  next_page "$window"
  shoot "$window" "folder_$name"
  next_page "$window"
  # The files page moves on to the finish page by itself.
  for _ in $(seq 100); do
    [ -f "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Orvika2/uninstall.exe" ] && break
    sleep 0.2
  done
  sleep 2
  shoot "$window" "finish_$name"
  # Leave without starting the application: the installation is complete.
  kill "$setup_pid"
  wait "$setup_pid" || true

  "$wine_run" "$WINEPREFIX/drive_c/users/$(id -un)/AppData/Local/Programs/Orvika2/uninstall.exe" \
    </dev/null >/dev/null 2>&1
  window=$(wait_window '^Orvika2 ')
  shoot "$window" "uninstall_$name"
  xdotool key Escape
  WINEPREFIX="$work/prefix-$name" /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
done
