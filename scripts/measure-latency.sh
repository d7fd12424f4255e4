#!/bin/sh
# Hotkey to last typed digit under Wine with the simulated token: Ctrl+Q is
# pressed in the key recorder N times (default 7) and the time from the key
# press to the sixth digit in the recorder's file is printed, then the median.
# Needs the Windows tree (build/windows) and the native tool (build/native).
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
export ORVIKA2_SOURCE_DIR="$root" ORVIKA2_BUILD_DIR="${ORVIKA2_BUILD_DIR:-$root/build/windows}"
export ORVIKA2_NATIVE_BUILD_DIR="${ORVIKA2_NATIVE_BUILD_DIR:-$root/build/native}"
desktop_name=latency
. "$root/tests/e2e/win_tracking_session.inc"
presses=${1:-7}
rm -f "$token"*; "$ctl" sim create "$token" --totp1 - >/dev/null <<SECRET
$secret1
SECRET
start_app
times=""
for i in $(seq "$presses"); do
  : >"$typed"
  focus_recorder
  ms=$(python3 - "$typed" <<'PY'
import os, subprocess, sys, time
path = sys.argv[1]
start = time.monotonic()
subprocess.run(["xdotool", "key", "ctrl+q"], check=True)
while os.path.getsize(path) < 6:
    if time.monotonic() - start > 10: sys.exit("no code within 10 s")
    time.sleep(0.0005)
print(round((time.monotonic() - start) * 1000))
PY
)
  echo "press $i: $ms ms"
  times="$times $ms"
  sleep 1
done
echo "median: $(printf '%s\n' $times | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}') ms"
wine_reset
