#!/bin/sh
# orvika2ctl.exe under Wine: no token (Wine's own HID keyboard must not count)
# and the same codes as the native build from the same simulated token.
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"
wine_ctl() { "$ORVIKA2_WINE_RUN" "$ORVIKA2_BUILD_DIR/cli/orvika2ctl.exe" "$@"; }
native="$ORVIKA2_NATIVE_BUILD_DIR/cli/orvika2ctl"

out=$(env -u ORVIKA2_TOKEN "$ORVIKA2_WINE_RUN" "$ORVIKA2_BUILD_DIR/cli/orvika2ctl.exe" status 2>&1)
check "status without a token exits 1" 1 "$?"
case "$out" in *"Orvika2 not inserted"*) check "status says not inserted" yes yes ;;
  *) check "status says not inserted" "Orvika2 not inserted" "$out" ;; esac

if [ ! -x "$native" ]; then
  echo "FAIL: the native build's orvika2ctl is needed at $native"
  exit 1
fi
secret=$(random_base32 20)
"$native" sim create "$scratch/token" --totp1 "$secret" --totp2 GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ --serial 000a1bff >/dev/null
for t in 59 1234567890 $((256 * 30 * 4321)) 2000000000; do
  for p in 1 2; do
    expected=$(ORVIKA2_TOKEN="sim:$scratch/token" "$native" code --profile $p --at $t)
    actual=$(ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl code --profile $p --at $t | tr -d '\r')
    check "profile $p at $t: Windows build agrees with the native one" "$expected" "$actual"
  done
done
serial=$(ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl status | tr -d '\r' | sed -n 's/^Serial: //p')
check "serial read under Wine" 000a1bff "$serial"
finish
