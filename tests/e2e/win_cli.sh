#!/bin/sh
# orvika2ctl.exe under Wine: no token (Wine's own HID keyboard must not count),
# the same codes as the native build from the same simulated token, and file
# arguments relative to the directory the command started in.
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

# A bare file name means a file in the directory the command started in, not
# in the Windows folder where the profile-file functions would put it.
in_scratch() { (cd "$scratch" && ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl "$@" | tr -d '\r'); }
out=$(in_scratch set-totp --profile 1 --secret "$secret" --account Relative --backup rel.bcp)
check "set-totp --backup with a bare name" "Setting successful and profile backup saved" "$out"
check "the backup lands in the start directory" "$secret" "$(sed -n 's/^Key=//p' "$scratch/rel.bcp" 2>/dev/null | tr -d '\r')"
printf '[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=%s\r\nAccount=Imported\r\n' "$secret" >"$scratch/imp.bcp"
out=$(in_scratch import --profile 2 imp.bcp)
check "import of a bare name from the start directory" "Setting successful" "$out"
check "the imported profile gives the same codes" "$(in_scratch code --profile 1 --at 59)" "$(in_scratch code --profile 2 --at 59)"
finish
