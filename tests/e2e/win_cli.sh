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
    expected=$(shaped '[0-9]{6}' env ORVIKA2_TOKEN="sim:$scratch/token" "$native" code --profile $p --at $t)
    actual=$(shaped '[0-9]{6}' env ORVIKA2_TOKEN="sim:$scratch/token" "$ORVIKA2_WINE_RUN" \
      "$ORVIKA2_BUILD_DIR/cli/orvika2ctl.exe" code --profile $p --at $t)
    check "profile $p at $t: Windows build agrees with the native one" "$expected" "$actual"
  done
done
serial=$(ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl status | tr -d '\r' | sed -n 's/^Serial: //p')
check "serial read under Wine" 000a1bff "$serial"

# A bare file name means a file in the directory the command started in, not
# in the Windows folder where the profile-file functions would put it.
in_scratch() { (cd "$scratch" && ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl "$@" | tr -d '\r'); }
out=$(printf '%s\n' "$secret" | in_scratch set-totp --profile 1 --secret - --account Relative --backup rel.bcp)
check "set-totp --backup with a bare name" "Setting successful and profile backup saved" "$out"
check "the backup lands in the start directory" "$secret" "$(sed -n 's/^Key=//p' "$scratch/rel.bcp" 2>/dev/null | tr -d '\r')"
printf '[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=%s\r\nAccount=Imported\r\n' "$secret" >"$scratch/imp.bcp"
out=$(in_scratch import --profile 2 imp.bcp)
check "import of a bare name from the start directory" "Setting successful" "$out"
check "the imported profile gives the same codes" "$(shaped '[0-9]{6}' in_scratch code --profile 1 --at 59)" \
  "$(shaped '[0-9]{6}' in_scratch code --profile 2 --at 59)"

# A protected backup opens the same in both builds, both ways: BCrypt here,
# libcrypto there.
printf '%s\n' "$secret" >"$scratch/secret.txt"
printf 'shared passphrase\n' >"$scratch/pass.txt"
printf 'other passphrase\n' >"$scratch/wrong.txt"
printf 'Cross#Build9\n' >"$scratch/password.txt"
native_ctl() { ORVIKA2_TOKEN="sim:$scratch/token" "$native" "$@"; }
out=$(in_scratch set-totp --profile 1 --secret-file secret.txt --account Win --backup win.bcp --passphrase-file pass.txt)
check "orvika2ctl.exe writes a protected backup" "Setting successful and profile backup saved" "$out"
check "it holds no key" "0|0" "$(grep -c '^Key=' "$scratch/win.bcp")|$(grep -c "$secret" "$scratch/win.bcp")"
out=$(native_ctl import --profile 2 "$scratch/win.bcp" --passphrase-file "$scratch/pass.txt")
check "the native build opens it" "Setting successful" "$out"
check "and profile 2 gives profile 1's codes" "$(shaped '[0-9]{6}' native_ctl code --profile 1 --at 59)" \
  "$(shaped '[0-9]{6}' native_ctl code --profile 2 --at 59)"
out=$(native_ctl set-static --profile 2 --password-file "$scratch/password.txt" --backup "$scratch/native.bcp" \
  --passphrase-file "$scratch/pass.txt")
check "the native build writes a protected backup" "Setting successful and profile backup saved" "$out"
before=$(native_ctl sim show "$scratch/token")
(cd "$scratch" && ORVIKA2_TOKEN="sim:$scratch/token" wine_ctl import --profile 1 native.bcp --passphrase-file wrong.txt) \
  >"$scratch/refused" 2>&1
check "orvika2ctl.exe refuses it with another passphrase" "1|Wrong passphrase or damaged backup" \
  "$?|$(tr -d '\r' <"$scratch/refused")"
check "and leaves the token as it was" "$before" "$(native_ctl sim show "$scratch/token")"
out=$(in_scratch import --profile 1 native.bcp --passphrase-file pass.txt)
check "orvika2ctl.exe opens it with its passphrase" "Setting successful" "$out"
check "and the token types the password" "Cross#Build9" "$(native_ctl sim press "$scratch/token" --profile 1)"
finish
