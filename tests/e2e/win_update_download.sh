#!/bin/sh
# DownloadToFile and the update check under Wine against a local HTTP server
# on the loopback address: a 200 written whole, a 404 leaving no file, and a
# newer version found through ORVIKA2_UPDATE_URL.
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"

served="$scratch/www"
mkdir -p "$served/html/Trial/Orvika2"
printf '[Orvika2]\r\nVersion=99.0.0.1\r\n' >"$served/html/Trial/Orvika2/checkVersion.ini"
python3 -c "import sys; sys.stdout.buffer.write(bytes(i % 251 for i in range(50000)))" >"$served/big.bin"

# Port 0: the server takes a free port and says which.
python3 -u -m http.server --bind 127.0.0.1 --directory "$served" 0 >"$scratch/server.log" 2>&1 &
server=$!
trap 'kill $server 2>/dev/null; rm -rf "$scratch"' EXIT
port=
for _ in $(seq 100); do
  port=$(sed -n 's/^Serving HTTP on 127\.0\.0\.1 port \([0-9]*\).*/\1/p' "$scratch/server.log")
  [ -n "$port" ] && break
  sleep 0.1
done
if [ -z "$port" ]; then
  echo "FAIL: the HTTP server did not start"
  cat "$scratch/server.log"
  exit 1
fi
url="http://127.0.0.1:$port"

out=$(ORVIKA2_TEST_HTTP_URL="$url" ORVIKA2_UPDATE_URL="$url" \
  "$ORVIKA2_WINE_RUN" "$ORVIKA2_BUILD_DIR/tests/win_tests.exe" --gtest_filter='UpdateDownload.*' 2>&1 | tr -d '\r')
echo "$out" | grep -E '^\[ +(OK|FAILED|SKIPPED) +\]'
check "all download tests ran and passed" "[  PASSED  ] 4 tests." "$(echo "$out" | grep -F '[  PASSED  ]')"
check "none was skipped" "" "$(echo "$out" | grep -F '[  SKIPPED ]')"
check "the server answered the missing file with 404" 1 \
  "$(grep -c '"GET /html/Trial/Orvika2/missing.ini HTTP/1.1" 404' "$scratch/server.log")"
check "the description file was fetched by the download and the check" 2 \
  "$(grep -c '"GET /html/Trial/Orvika2/checkVersion.ini HTTP/1.1" 200' "$scratch/server.log")"
finish
