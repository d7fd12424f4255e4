#!/bin/sh
# The Windows setup under wine64 on Xvfb, as a user receives it: a silent
# per-user install with its Start menu shortcut and its entry among the
# installed apps; the installed application started from that shortcut; a
# silent upgrade over it that closes it as its own menu would, keeps the
# user's configuration and starts it again; a silent uninstall that leaves
# nothing but that configuration. DLLs planted beside the installed
# executables under the names of those they import are never loaded. A setup signed with a throwaway certificate installs executables
# whose signatures verify, and the unsigned setup is the same bytes when made
# again.
set -eu

build="${ORVIKA2_BUILD_DIR:?}"
source_dir="${ORVIKA2_SOURCE_DIR:?}"
wine_run="${ORVIKA2_WINE_RUN:?}"
artifacts="$build/artifacts"
for tool in Xvfb xdotool xwininfo import makensis python3 openssl osslsigncode; do
  command -v "$tool" >/dev/null || { echo "missing $tool"; exit 1; }
done
mkdir -p "$artifacts"
started=$(date +%s)

work=$(mktemp -d /tmp/orvika2-setup-e2e.XXXXXX)
# A home of its own, so that the prefix's Desktop cannot be a link to a real one.
mkdir -p "$work/home"
# Wine prefers its own DLLs; "n,b" makes it look beside the executable
# first, as Windows does for every DLL that is not a KnownDLL. Not version:
# Wine's own system DLLs import it at process start and, unlike Windows',
# look for it beside the executable too.
planted_names="hid bcrypt wininet"
export HOME="$work/home" WINEPREFIX="$work/prefix" WINEDEBUG=-all \
  WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe,winedbg.exe=;$(echo $planted_names | tr ' ' ',')=n,b" \
  LANG=C.UTF-8 LC_ALL=C.UTF-8
xvfb_pid=""
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM

fail() {
  echo "FAIL: $*"
  import -window root "$artifacts/installer_failure.png" 2>/dev/null &&
    echo "screen at failure: $artifacts/installer_failure.png"
  exit 1
}
step() { echo "--- $* (at $(( $(date +%s) - started )) s)"; }
plant() {  # plant FOLDER: the marker-writing DLL under each planted name
  for name in $planted_names; do cp "$build/win_tools/planted.dll" "$1/$name.dll"; done
}
unplant() { for name in $planted_names; do rm -f "$1/$name.dll"; done; }
no_planted_dll_loaded() {  # no_planted_dll_loaded FOLDER WHAT
  loaded=$(cd "$1" && ls -- *.loaded 2>/dev/null | sed 's/\.loaded$//' | tr '\n' ' ')
  [ -z "$loaded" ] || fail "$2 loaded the planted $loaded"
}
[ -f "$build/win_tools/planted.dll" ] || fail "missing $build/win_tools/planted.dll"

# The setups are made while the display and the prefix start: the one of
# this tree, and a next version whose Orvika2.exe differs from this one by a
# trailing byte (which the loader ignores), for the upgrade.
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
next_version="${version%.*}.$(( ${version##*.} + 1 ))"
next="$work/next-build"
mkdir -p "$next/app/resources" "$next/cli"
echo "CMAKE_PROJECT_VERSION:STATIC=$next_version" >"$next/CMakeCache.txt"
ln -s "$build/app/resources/orvika2.ico" "$next/app/resources/orvika2.ico"
ln -s "$build/cli/orvika2ctl.exe" "$next/cli/orvika2ctl.exe"
{ cat "$build/app/Orvika2.exe"; printf 'N'; } >"$next/app/Orvika2.exe"
sh "$source_dir/scripts/make-installer.sh" "$build" "$work/dist" >"$work/setup_path" 2>"$work/makensis.log" &
make_pid=$!
sh "$source_dir/scripts/make-installer.sh" "$next" "$work/dist" >"$work/next_setup_path" 2>"$work/makensis_next.log" &
make_next_pid=$!
# The same tree once more, and signed with a throwaway self-signed certificate.
sh "$source_dir/scripts/make-installer.sh" "$build" "$work/again" >/dev/null 2>"$work/makensis_again.log" &
make_again_pid=$!
(
  openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/signer.key" -out "$work/signer.pem" -days 2 \
    -subj "/CN=Orvika2 test signer" -addext "extendedKeyUsage=codeSigning" -addext "keyUsage=digitalSignature" &&
  openssl pkcs12 -export -inkey "$work/signer.key" -in "$work/signer.pem" -out "$work/signer.pfx" -passout pass:throwaway &&
  printf 'throwaway\n' >"$work/signer.password" &&
  sh "$source_dir/scripts/make-installer.sh" --sign "$work/signer.pfx" --password-file "$work/signer.password" \
    "$build" "$work/signed"
) >"$work/signed_setup_path" 2>"$work/makensis_signed.log" &
make_signed_pid=$!

Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset 3>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(cat "$work/display")"

step "throwaway prefix, and the setup from the built tree"
"$wine_run" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
# The prefix and its server are up, outside any caller's pipe: from here on
# wine64 is called directly, without the runner's start-up round.
wine=/usr/lib/wine/wine64
wait "$make_pid" || fail "make-installer.sh failed: $(cat "$work/makensis.log")"
wait "$make_next_pid" || fail "make-installer.sh failed for the next version: $(cat "$work/makensis_next.log")"
wait "$make_again_pid" || fail "make-installer.sh failed the second time: $(cat "$work/makensis_again.log")"
wait "$make_signed_pid" || fail "make-installer.sh --sign failed: $(cat "$work/makensis_signed.log")"
setup=$(cat "$work/setup_path")
next_setup=$(cat "$work/next_setup_path")
[ "$setup" = "$work/dist/Orvika2-$version-setup.exe" ] || fail "setup file is $setup"
size=$(stat -c %s "$setup")
echo "$(basename "$setup"): $size bytes"
[ "$size" -lt 4194304 ] || fail "the setup is not under 4 MB"
python3 - "$setup" "$version" <<'EOF' || fail "the setup's version resource does not name $version"
import re, sys
data = open(sys.argv[1], "rb").read()
value = (sys.argv[2] + "\0").encode("utf-16-le")
sys.exit(0 if any(value in data[m.end():m.end() + 40]
                  for m in re.finditer("ProductVersion".encode("utf-16-le"), data)) else 1)
EOF
profile="$WINEPREFIX/drive_c/users/$(id -un)"
[ -d "$profile" ] || fail "no user folder $profile"
install="$profile/AppData/Local/Programs/Orvika2"
start_menu_link="$profile/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Orvika2.lnk"
desktop_link="$profile/Desktop/Orvika2.lnk"
config="$profile/AppData/Roaming/Orvika2/Orvika2Config.ini"
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Orvika2'
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
windows_path() { printf 'Z:%s' "$1" | tr '/' '\\'; }
token="$work/token.sim"
export ORVIKA2_TOKEN="sim:$(windows_path "$token")"

# Linux processes of a Windows program in this prefix.
pids_of() {
  for pid in $(pgrep -f "$1" 2>/dev/null); do
    tr '\0' '\n' <"/proc/$pid/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && echo "$pid"
  done
  return 0
}
find_window() {  # find_window: the main window's id, waiting up to 60 s
  for _ in $(seq 300); do
    id=$(xdotool search --onlyvisible --name '^Orvika2$' 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.2
  done
  return 1
}
wait_until() {  # wait_until TENTHS COMMAND...: polls COMMAND until it succeeds
  tries=$1; shift
  for _ in $(seq "$tries"); do "$@" && return 0; sleep 0.1; done
  return 1
}
text_of() { iconv -f UTF-16 -t UTF-8 <"$1" | tr -d '\r'; }  # the configuration stays UTF-16LE
reg_value() {  # reg_value NAME, from the uninstall entry's listing
  awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }' "$work/uninstall_entry.txt"
}
tray_pixels() {  # pixels of the icon's yellow in Wine's tray window: one icon's worth per icon
  tray=$(xdotool search --onlyvisible --name '^Wine System Tray$' 2>/dev/null | head -1)
  [ -n "$tray" ] || { echo 0; return 0; }
  set -- $(xwininfo -id "$tray" | awk '/Absolute upper-left X/{x=$NF} /Absolute upper-left Y/{y=$NF}
                                      /Width:/{w=$NF} /Height:/{h=$NF} END{print x, y, w, h}')
  import -window root -crop "$3x$4+$1+$2" +repage "$work/tray.png"
  convert "$work/tray.png" -fuzz 15% -fill black -opaque 'srgb(240,190,40)' -fill white +opaque black \
    -format '%[fx:int(w * h * (1 - mean) + 0.5)]' info:
}

step "the unsigned setup made again is the same"
cmp -s "$setup" "$work/again/$(basename "$setup")" || fail "two setups of one tree differ"
cmp -s "$work/dist/Orvika2-$version-files.sha256" "$work/again/Orvika2-$version-files.sha256" ||
  fail "the sums differ: $(diff "$work/dist/Orvika2-$version-files.sha256" "$work/again/Orvika2-$version-files.sha256")"
for file in Orvika2.exe orvika2ctl.exe uninstall.exe "Orvika2-$version-setup.exe"; do
  grep -q "^[0-9a-f]\{64\}  $file\$" "$work/dist/Orvika2-$version-files.sha256" || fail "no sum for $file"
done
grep -q "$(sha256sum "$build/app/Orvika2.exe" | cut -d' ' -f1)  Orvika2.exe" "$work/dist/Orvika2-$version-files.sha256" ||
  fail "the unsigned setup's Orvika2.exe is not the built one"

step "silent install"
"$wine" "$setup" /S </dev/null >"$work/setup1.log" 2>&1 || fail "setup /S failed: $(cat "$work/setup1.log")"
for file in Orvika2.exe orvika2ctl.exe Orvika2Config.ini uninstall.exe; do
  [ -f "$install/$file" ] || fail "$file is not installed in $install"
done
cmp -s "$install/Orvika2.exe" "$build/app/Orvika2.exe" || fail "the installed Orvika2.exe is not the built one"
[ "$(head -c 2 "$install/Orvika2Config.ini" | od -An -tx1 | tr -d ' ')" = fffe ] ||
  fail "the template is not UTF-16LE"
[ -f "$start_menu_link" ] || fail "no Start menu shortcut"
"$wine" reg query "$uninstall_key" </dev/null 2>/dev/null | tr -d '\r' >"$work/uninstall_entry.txt" ||
  fail "no uninstall entry"
install_windows='C:\users\'"$(id -un)"'\AppData\Local\Programs\Orvika2'
[ "$(reg_value DisplayName)" = Orvika2 ] || fail "DisplayName: $(reg_value DisplayName)"
[ "$(reg_value DisplayVersion)" = "$version" ] || fail "DisplayVersion: $(reg_value DisplayVersion)"
[ -n "$(reg_value Publisher)" ] || fail "no Publisher"
[ "$(reg_value DisplayIcon)" = "$install_windows\\Orvika2.exe,0" ] || fail "DisplayIcon: $(reg_value DisplayIcon)"
[ "$(reg_value InstallLocation)" = "$install_windows" ] || fail "InstallLocation: $(reg_value InstallLocation)"
[ "$(reg_value UninstallString)" = "\"$install_windows\\uninstall.exe\"" ] ||
  fail "UninstallString: $(reg_value UninstallString)"
[ "$(reg_value QuietUninstallString)" = "\"$install_windows\\uninstall.exe\" /S" ] ||
  fail "QuietUninstallString: $(reg_value QuietUninstallString)"
[ "$(reg_value NoModify)" = 0x1 ] && [ "$(reg_value NoRepair)" = 0x1 ] || fail "NoModify or NoRepair not set"
kib=$(( $(reg_value EstimatedSize) ))
installed_kib=$(du -sk "$install" | cut -f1)
[ "$kib" -gt $(( installed_kib / 2 )) ] && [ "$kib" -le $(( installed_kib * 2 )) ] ||
  fail "EstimatedSize $kib KiB for $installed_kib KiB installed"

step "the installed tool reads the template's hotkeys, with DLLs planted beside it"
plant "$install"
status=0
"$wine" "$install/orvika2ctl.exe" sim create "$(windows_path "$token")" --serial 000a1bff \
  --totp1 GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ </dev/null >/dev/null 2>&1 || status=$?
no_planted_dll_loaded "$install" orvika2ctl.exe
[ "$status" -eq 0 ] || fail "orvika2ctl.exe sim create failed"
(cd "$install" && "$wine" "$install/orvika2ctl.exe" config </dev/null 2>&1) | tr -d '\r' >"$work/config.txt"
grep -qx 'Verification code hotkey: Ctrl+Q (81, 2)' "$work/config.txt" &&
  grep -qx 'Switch profile hotkey: Alt+S (83, 1)' "$work/config.txt" || fail "orvika2ctl config: $(cat "$work/config.txt")"
cmp -s "$config" "$install/Orvika2Config.ini" || fail "the first configuration is not a copy of the template"

step "the application, started from the Start menu shortcut"
"$wine" start /unix "$start_menu_link" </dev/null >"$work/start.log" 2>&1 || fail "start failed: $(cat "$work/start.log")"
window=$(find_window) || { no_planted_dll_loaded "$install" Orvika2.exe; fail "no window titled Orvika2"; }
no_planted_dll_loaded "$install" Orvika2.exe
first_pids=$(pids_of Orvika2.exe)
[ -n "$first_pids" ] || fail "no Orvika2.exe process"
# Its profile tracking writes both entries of the token's section on start.
settled() { text_of "$config" | grep -q '^Config2='; }
wait_until 300 settled || fail "the application did not write the token's entries: $(text_of "$config")"
one_icon=0
has_icon() { one_icon=$(tray_pixels); [ "$one_icon" -gt 0 ]; }
wait_until 50 has_icon || fail "no tray icon"
import -window root "$artifacts/installer_app_running.png"
cp "$config" "$work/config.before"

step "silent upgrade to $next_version while it runs"
upgrade_started=$(date +%s)
"$wine" "$next_setup" /S </dev/null >"$work/setup2.log" 2>&1 || fail "upgrade setup /S failed: $(cat "$work/setup2.log")"
echo "upgrade took $(( $(date +%s) - upgrade_started )) s"
# The installer waited for the Windows process; its Unix process follows.
ended() { for pid in "$@"; do [ -d "/proc/$pid" ] && return 1; done; return 0; }
wait_until 150 ended $first_pids || fail "the old Orvika2.exe still runs"
# Only the application's own close handling copies the configuration over
# the template: a killed process would not have.
cmp -s "$config" "$install/Orvika2Config.ini" || fail "the template is not the configuration saved at close"
cmp -s "$config" "$work/config.before" || fail "the user's configuration changed"
window=$(find_window) || fail "the upgrade did not start Orvika2 again"
second_pids=$(pids_of Orvika2.exe)
[ -n "$second_pids" ] && [ "$second_pids" != "$first_pids" ] || fail "no fresh Orvika2.exe process"
cmp -s "$install/Orvika2.exe" "$next/app/Orvika2.exe" || fail "the upgrade did not replace Orvika2.exe"
"$wine" reg query "$uninstall_key" /v DisplayVersion </dev/null 2>/dev/null | tr -d '\r' >"$work/uninstall_entry.txt"
[ "$(reg_value DisplayVersion)" = "$next_version" ] || fail "DisplayVersion after the upgrade: $(reg_value DisplayVersion)"
wait_until 300 settled || fail "the restarted application lost the token's entries"
# The old icon went with its process: one icon, not two.
wait_until 50 test "$(tray_pixels)" -eq "$one_icon" ||
  fail "the tray shows $(tray_pixels) pixels of icons, one icon has $one_icon"
cmp -s "$config" "$work/config.before" || fail "the user's configuration changed after the restart"
no_planted_dll_loaded "$install" "the restarted Orvika2.exe"
unplant "$install"

step "silent uninstall"
# What the application's own settings add: the desktop shortcut and autostart.
cp "$start_menu_link" "$desktop_link"
"$wine" reg add "$run_key" /v Orvika2 /d "$install_windows\\Orvika2.exe" /f </dev/null >/dev/null 2>&1
"$wine" "$install/uninstall.exe" /S </dev/null >/dev/null 2>&1 || fail "uninstall.exe /S failed"
# The uninstaller runs from a copy of itself and returns at once.
no_uninstaller() { [ -z "$(pids_of 'Au_.exe')" ] && [ ! -e "$install" ]; }
wait_until 600 no_uninstaller || fail "the uninstaller did not finish: $(ls -A "$install" 2>&1)"
wait_until 150 ended $second_pids || fail "Orvika2.exe still runs after the uninstall"
xdotool search --name '^Orvika2$' >/dev/null 2>&1 && fail "the window is still there"
[ "$(tray_pixels)" -eq 0 ] || fail "a tray icon is left"
[ ! -e "$start_menu_link" ] || fail "the Start menu shortcut is left"
[ ! -e "$desktop_link" ] || fail "the desktop shortcut is left"
"$wine" reg query "$uninstall_key" </dev/null >/dev/null 2>&1 && fail "the uninstall entry is left"
"$wine" reg query "$run_key" /v Orvika2 </dev/null >/dev/null 2>&1 && fail "the autostart value is left"
cmp -s "$config" "$work/config.before" || fail "the user's configuration did not survive the uninstall"
[ "$(ls -A "$(dirname "$config")")" = Orvika2Config.ini ] || fail "left in the settings folder: $(ls -A "$(dirname "$config")")"

step "the signed setup and what it installs verify"
signed_setup=$(cat "$work/signed_setup_path")
[ "$signed_setup" = "$work/signed/Orvika2-$version-setup.exe" ] || fail "signed setup file is $signed_setup"
cmp -s "$signed_setup" "$setup" && fail "the signed setup is the unsigned one"
"$wine" "$signed_setup" /S </dev/null >"$work/setup3.log" 2>&1 || fail "signed setup /S failed: $(cat "$work/setup3.log")"
for file in "$install/Orvika2.exe" "$install/orvika2ctl.exe" "$install/uninstall.exe" "$signed_setup"; do
  osslsigncode verify -in "$file" -CAfile "$work/signer.pem" >"$work/verify.log" 2>&1 ||
    fail "the signature of $(basename "$file") does not verify: $(tail -5 "$work/verify.log")"
done
echo "took $(( $(date +%s) - started )) s"
echo PASS
