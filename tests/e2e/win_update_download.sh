#!/bin/sh
# DownloadToFile and the update check under Wine against local servers on
# the loopback address only: a 200 written whole, a 404 leaving no file, a
# body past 64 KiB refused, a newer version found through ORVIKA2_UPDATE_URL,
# servers that stall left within the deadline, an https server whose
# certificate nobody vouches for refused after a real TLS handshake, and one
# whose authority the test makes trusted: its file downloaded though its
# revocation cannot be checked, its redirect to plain http refused, its
# certificate refused under another name, and its Date read for the clock.
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"

served="$scratch/www"
mkdir -p "$served/html/Trial/Orvika2" "$served/oversized/html/Trial/Orvika2"
printf '[Orvika2]\r\nVersion=99.0.0.1\r\n' >"$served/html/Trial/Orvika2/checkVersion.ini"
python3 -c "import sys; sys.stdout.buffer.write(bytes(i % 251 for i in range(50000)))" >"$served/big.bin"
head -c 65536 /dev/zero >"$served/limit.bin"
head -c 65537 /dev/zero >"$served/over.bin"
{ printf '[Orvika2]\r\nVersion=99.0.0.1\r\n'; head -c 70000 /dev/zero | tr '\0' ';'; } \
  >"$served/oversized/html/Trial/Orvika2/checkVersion.ini"

openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1 \
  -keyout "$scratch/key.pem" -out "$scratch/cert.pem" >/dev/null 2>&1

# A test authority and a server certificate it signs for 127.0.0.1.
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Orvika2 test authority" \
  -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign,cRLSign \
  -keyout "$scratch/ca-key.pem" -out "$scratch/ca.pem" >/dev/null 2>&1
openssl x509 -in "$scratch/ca.pem" -outform DER -out "$scratch/ca.der"

# The trusted https server: the served files, and /to-http/PATH redirects
# to PATH on the plain http server.
cat >"$scratch/trusted.py" <<'PY'
import functools, http.server, os, ssl, sys
cert, key, served, portfile, logname = sys.argv[1:6]
log = open(logname, "a", buffering=1)
plain = open(portfile + ".plain").read().strip()

class Handler(http.server.SimpleHTTPRequestHandler):
    def do_GET(self):
        log.write("trusted: GET %s\n" % self.path)
        if self.path == "/no-date":
            self.send_response_only(200)
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        if self.path.startswith("/to-http/"):
            self.send_response(302)
            self.send_header("Location", plain + self.path[len("/to-http"):])
            self.send_header("Content-Length", "0")
            self.end_headers()
            return
        super().do_GET()
    def log_message(self, *args):
        pass

server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Handler, directory=served))
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
server.socket = context.wrap_socket(server.socket, server_side=True)
with open(portfile + ".tmp", "w") as f:
    f.write("%d\n" % server.server_address[1])
os.rename(portfile + ".tmp", portfile)
server.serve_forever()
PY

# The hostile servers; each listens on a free loopback port and says which.
cat >"$scratch/hostile.py" <<'PY'
import socket, ssl, sys, threading, time
cert, key, ports, logname = sys.argv[1:5]
log = open(logname, "a", buffering=1)

def listen():
    s = socket.socket()
    s.bind(("127.0.0.1", 0))
    s.listen(8)
    return s

def serve(s, handle):
    while True:
        c, _ = s.accept()
        c.settimeout(30)
        threading.Thread(target=handle, args=(c,), daemon=True).start()

def silent(c):
    log.write("silent: accepted\n")
    time.sleep(30)
    c.close()

def trickle(c):
    try:
        c.recv(4096)
        c.sendall(b"HTTP/1.1 200 OK\r\nContent-Length: 60000\r\n\r\n")
        for _ in range(60):
            c.sendall(b";")
            time.sleep(0.5)
    except OSError:
        pass
    c.close()

context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(cert, key)
def untrusted(c):
    try:
        t = context.wrap_socket(c, server_side=True)
        log.write("untrusted: handshake completed\n")
        request = t.recv(4096)
        log.write("untrusted: request %r\n" % request[:30] if request else "untrusted: closed without a request\n")
        t.close()
    except (ssl.SSLError, OSError) as e:
        log.write("untrusted: handshake failed: %s\n" % (getattr(e, "reason", None) or e))
        c.close()

names = []
for handle in (silent, trickle, untrusted):
    s = listen()
    names.append("%s=%d" % (handle.__name__, s.getsockname()[1]))
    threading.Thread(target=serve, args=(s, handle), daemon=True).start()
with open(ports + ".tmp", "w") as f:
    f.write(" ".join(names) + "\n")
import os
os.rename(ports + ".tmp", ports)
while True:
    time.sleep(60)
PY

# Port 0: the server takes a free port and says which.
python3 -u -m http.server --bind 127.0.0.1 --directory "$served" 0 >"$scratch/server.log" 2>&1 &
server=$!
python3 -u "$scratch/hostile.py" "$scratch/cert.pem" "$scratch/key.pem" "$scratch/ports" "$scratch/hostile.log" \
  >"$scratch/hostile.out" 2>&1 &
hostile=$!
trap 'kill $server $hostile 2>/dev/null; rm -rf "$scratch"' EXIT
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$scratch/server.log")
  [ -n "$port" ] && [ -f "$scratch/ports" ] && break
  sleep 0.1
done
if [ -z "$port" ] || [ ! -f "$scratch/ports" ]; then
  echo "FAIL: the HTTP servers did not start"
  cat "$scratch/server.log" "$scratch/hostile.out"
  exit 1
fi
url="http://127.0.0.1:$port"
# Its server certificate for 127.0.0.1.
openssl req -newkey rsa:2048 -nodes -subj /CN=localhost -keyout "$scratch/trusted-key.pem" \
  -out "$scratch/trusted.csr" >/dev/null 2>&1
printf 'subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n' >"$scratch/trusted.ext"
openssl x509 -req -in "$scratch/trusted.csr" -CA "$scratch/ca.pem" -CAkey "$scratch/ca-key.pem" -CAcreateserial \
  -days 2 -extfile "$scratch/trusted.ext" -out "$scratch/trusted.pem" >/dev/null 2>&1
echo "$url" >"$scratch/trusted-port.plain"
python3 -u "$scratch/trusted.py" "$scratch/trusted.pem" "$scratch/trusted-key.pem" "$served" "$scratch/trusted-port" \
  "$scratch/trusted.log" >"$scratch/trusted.out" 2>&1 &
trusted=$!
trap 'kill $server $hostile $trusted 2>/dev/null; rm -rf "$scratch"' EXIT
for _ in $(seq 100); do [ -f "$scratch/trusted-port" ] && break; sleep 0.1; done
[ -f "$scratch/trusted-port" ] || { echo "FAIL: the trusted https server did not start"; cat "$scratch/trusted.out"; exit 1; }
hostile_port() { tr ' ' '\n' <"$scratch/ports" | sed -n "s/^$1=//p"; }

# The authority trusted as an administrator would, before the tests start.
"$ORVIKA2_WINE_RUN" "$ORVIKA2_BUILD_DIR/win_tools/trust_root.exe" "Z:$scratch/ca.der" ||
  { echo "FAIL: the test authority could not be trusted"; exit 1; }
# Bounded even if a download were to hang: the deadline is 10 s a download.
out=$(ORVIKA2_TEST_HTTP_URL="$url" ORVIKA2_UPDATE_URL="$url" ORVIKA2_TEST_SERVED_DIR="$served" \
  ORVIKA2_TEST_SILENT_URL="http://127.0.0.1:$(hostile_port silent)" \
  ORVIKA2_TEST_TRICKLE_URL="http://127.0.0.1:$(hostile_port trickle)" \
  ORVIKA2_TEST_UNTRUSTED_URL="https://127.0.0.1:$(hostile_port untrusted)" \
  ORVIKA2_TEST_TRUSTED_URL="https://localhost:$(cat "$scratch/trusted-port")" \
  ORVIKA2_TEST_AUTHORITY_CER="Z:$scratch/ca.der" \
  timeout 180 "$ORVIKA2_WINE_RUN" "$ORVIKA2_BUILD_DIR/tests/win_tests.exe" --gtest_filter='UpdateDownload.*' 2>&1 |
  tr -d '\r')
echo "$out" | grep -E '^\[ +(OK|FAILED|SKIPPED) +\]'
echo "$out" | grep -A6 ': Failure$'
check "all download tests ran and passed" "[  PASSED  ] 9 tests." "$(echo "$out" | grep -F '[  PASSED  ]')"
check "none was skipped" "" "$(echo "$out" | grep -F '[  SKIPPED ]')"
check "the server answered the missing file with 404" 1 \
  "$(grep -c '"GET /html/Trial/Orvika2/missing.ini HTTP/1.1" 404' "$scratch/server.log")"
check "the description file was fetched by the download and the check" 2 \
  "$(grep -c '"GET /html/Trial/Orvika2/checkVersion.ini HTTP/1.1" 200' "$scratch/server.log")"
check "the silent server was reached" 1 "$(grep -c '^silent: accepted' "$scratch/hostile.log")"
check "https spoke TLS rather than plain http" 0 "$(grep -ci 'http_request\|wrong_version' "$scratch/hostile.log")"
check "the untrusted server never got a request" 0 "$(grep -c '^untrusted: request' "$scratch/hostile.log")"
check "the untrusted server saw a TLS client" 1 "$(grep -c '^untrusted: \(handshake\|closed\)' "$scratch/hostile.log" | sed 's/^[1-9][0-9]*$/1/')"
finish
