#!/usr/bin/env bash
# Prints the current verification code of profile 1. Without a token plugged
# in it uses a simulated token, created on first use with the RFC 6238 test
# secret ("12345678901234567890").
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh native

log=$(mktemp)
trap 'rm -f "$log"' EXIT
if ! { cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Release &&
       cmake --build build/native --target orvika2ctl; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
ctl=build/native/cli/orvika2ctl

if [ -z "${ORVIKA2_TOKEN:-}" ] && ! "$ctl" status >/dev/null 2>&1; then
  sim="${ORVIKA2_SIM_FILE:-$HOME/.orvika2/simulated-token}"
  if [ ! -f "$sim" ]; then
    mkdir -p "$(dirname "$sim")"
    "$ctl" sim create "$sim" --totp1 GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ >/dev/null
  fi
  echo "No token plugged in: using the simulated token in $sim (secret of RFC 6238's test vectors)." >&2
  export ORVIKA2_TOKEN="sim:$sim"
fi
exec "$ctl" code --profile 1
