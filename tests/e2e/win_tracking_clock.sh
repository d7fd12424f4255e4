#!/bin/sh
# The clock check of Orvika2.exe under wine64 on Xvfb against a loopback
# https server whose authority is trusted: a server 90 s ahead brings the
# offer, and after Yes Ctrl+Q types the code of the corrected time; a server
# within 5 s clears the correction; a server without a Date, or one asked
# over plain http, changes nothing.
set -eu
desktop_name=tracking_clock
. "${ORVIKA2_SOURCE_DIR:?}/tests/e2e/win_tracking_session.inc"
need openssl python3
messages="$work/messages.txt"
: >"$messages"
export ORVIKA2_MESSAGE_LOG="$(windows_path "$messages")"
on_failure() { echo "messages shown:"; cat "$messages"; [ -f "$typed" ] && echo "typed: $(cat "$typed")"; }

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvika2 test authority" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -keyout "$work/ca-key.pem" -out "$work/ca.pem" >/dev/null 2>&1
openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der"
openssl req -newkey rsa:2048 -nodes -subj /CN=localhost -keyout "$work/key.pem" -out "$work/s.csr" >/dev/null 2>&1
printf 'subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' >"$work/s.ext"
openssl x509 -req -in "$work/s.csr" -CA "$work/ca.pem" -CAkey "$work/ca-key.pem" -CAcreateserial -days 2 \
  -extfile "$work/s.ext" -out "$work/cert.pem" >/dev/null 2>&1
"$wine" "$build/win_tools/trust_root.exe" "$(windows_path "$work/ca.der")" </dev/null >/dev/null 2>&1 ||
  fail "the test authority could not be trusted"

# The served description file; the https server's Date is its clock plus the
# seconds in $offset_file, or missing when that file says none.
mkdir -p "$work/www/html/Trial/Orvika2"
printf '[Orvika2]\r\nVersion=0.0.0.1\r\n' >"$work/www/html/Trial/Orvika2/checkVersion.ini"
offset_file="$work/offset"
echo 90 >"$offset_file"
cat >"$work/server.py" <<'PY'
import email.utils, functools, http.server, os, ssl, sys, time
cert, key, served, offset_file, port_file, tls = sys.argv[1:7]
class Handler(http.server.SimpleHTTPRequestHandler):
    def send_response(self, code, message=None):
        self.log_request(code)
        self.send_response_only(code, message)
        self.send_header("Server", "test")
        offset = open(offset_file).read().strip()
        if offset != "none":
            self.send_header("Date", email.utils.formatdate(time.time() + int(offset), usegmt=True))
    def log_message(self, *args):
        pass
server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=served))
if tls == "tls":
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(cert, key)
    server.socket = context.wrap_socket(server.socket, server_side=True)
open(port_file + ".tmp", "w").write("%d\n" % server.server_address[1])
os.rename(port_file + ".tmp", port_file)
server.serve_forever()
PY
for kind in tls plain; do
  python3 "$work/server.py" "$work/cert.pem" "$work/key.pem" "$work/www" "$offset_file" "$work/port.$kind" $kind \
    >"$work/server.$kind.log" 2>&1 &
  desktop_track $!
done
port_known() { [ -f "$work/port.tls" ] && [ -f "$work/port.plain" ]; }
wait_until 20 port_known || fail "the servers did not start"
https_url="https://localhost:$(cat "$work/port.tls")"
http_url="http://127.0.0.1:$(cat "$work/port.plain")"

correction() { find "$WINEPREFIX/drive_c/users" -name Orvika2Config.ini -exec cat {} + 2>/dev/null | tr -d '\r' |
  sed -n 's/^CorrectionSeconds=//p'; }
last_message_is() { [ "$(sed -n '$p' "$messages" | cut -f1)" = "$1" ]; }
answer() {  # answer ID KEY...: the message box of string ID, answered with KEYs
  id=$1; shift
  wait_until 60 last_message_is "$id" || fail "message $id was not shown"
  for _try in 1 2 3; do
    # The tray menu, untitled too, may still be closing when the message is
    # logged: a window that is gone by the time it is drawn was not the box.
    box=$(wait_message_box) || fail "no box for message $id"
    # A box of a process without the foreground may flash its caption: drawn
    # is enough. Keys that come before it takes them are lost: then again.
    wait_drawn "$box" || continue
    sleep 0.5
    xwininfo -id "$box" 2>/dev/null | grep -q IsViewable || continue
    geometry "$box" | { read -r x y w h; click $(( x + w / 2 )) $(( y + 8 )); }
    sleep 0.3
    keys "$@"
    wait_until 5 sh -c "! xwininfo -id $box 2>/dev/null | grep -q IsViewable" && return 0
  done
  fail "the box for message $id did not take the keys $*"
}
update_check() { tray_menu_choose Up Up Up Up Return; answer 24 Tab Return; }

step "a server 90 s ahead: the offer, then Ctrl+Q types the code of the corrected time"
rm -f "$token"*; "$ctl" sim create "$token" --totp1 "$secret1" >/dev/null
export ORVIKA2_UPDATE_URL="$https_url"
start_app
update_check
answer 302 Return
wait_until 10 sh -c "[ -n \"\$(find '$WINEPREFIX/drive_c/users' -name Orvika2Config.ini -exec grep -l CorrectionSeconds {} +)\" ]" ||
  fail "no correction stored"
stored=$(correction)
[ "$stored" -ge 89 ] && [ "$stored" -le 91 ] || fail "correction stored as '$stored'"
grep -q "^302	This computer's clock is $stored seconds behind" "$messages" || fail "the offer did not say $stored s"
: >"$typed"
start=$(( $(date +%s) + stored ))
press ctrl q
expect_code "$secret1" "$start"
[ "$(cat "$typed")" != "$(oathtool --totp --base32 "$secret1" -N "@$(date +%s)")" ] ||
  echo "note: the corrected and the plain time fell in one step"

step "a server without a Date changes nothing"
echo none >"$offset_file"
update_check
sleep 2
[ "$(correction)" = "$stored" ] || fail "the correction became '$(correction)'"
last_message_is 24 || fail "a message followed the update answer: $(tail -1 "$messages")"

step "a server within 5 s clears the correction"
echo 2 >"$offset_file"
update_check
wait_until 10 sh -c "[ -z \"\$(find '$WINEPREFIX/drive_c/users' -name Orvika2Config.ini -exec grep -l CorrectionSeconds {} +)\" ]" ||
  fail "the correction stayed: '$(correction)'"
wine_reset

step "plain http: the update check runs, the clock is not asked"
"$wine" "$install/orvika2ctl.exe" clock --set 90 </dev/null >/dev/null 2>&1
[ "$(correction)" = 90 ] || fail "orvika2ctl clock --set 90 stored '$(correction)'"
echo 0 >"$offset_file"
export ORVIKA2_UPDATE_URL="$http_url"
start_app
update_check
sleep 2
[ "$(correction)" = 90 ] || fail "plain http changed the correction to '$(correction)'"
wine_reset
echo PASS
