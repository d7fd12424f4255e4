#!/bin/sh
# Profiles written through the protocol to the simulated token with the
# native command-line tool, and what the configuration file then holds.
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"
ctl="$ORVIKA2_BUILD_DIR/cli/orvika2ctl"
export XDG_CONFIG_HOME="$scratch/config" ORVIKA2_TOKEN="sim:$scratch/token"
config="$XDG_CONFIG_HOME/Orvika2/Orvika2Config.ini"
"$ctl" sim create "$scratch/token" --serial 000a1bff >/dev/null

secret=$(random_base32 20)
check "the key has 32 characters" 32 "${#secret}"
printf '%s\n' "$secret" | "$ctl" set-totp --profile 1 --secret - --account Google --backup "$scratch/p1.bcp" >"$scratch/out"
check "set-totp saves the backup" "Setting successful and profile backup saved" "$(cat "$scratch/out")"
now=$(date +%s)
check "code after set-totp agrees with oathtool" "$(oathtool --totp --base32 "$secret" -N "@$now")" "$("$ctl" code --at "$now")"
check "backup holds the key" "$secret" "$(sed -n 's/^Key=//p' "$scratch/p1.bcp" | tr -d '\r')"

"$ctl" set-static --profile 2 --password 'S3cret!Pass' >/dev/null
check "set-static, then the token types the password" 'S3cret!Pass' "$("$ctl" sim press "$scratch/token" --profile 2)"
check "status shows both kinds" "Profile 1: 2-Step Verification|Profile 2: static password" \
  "$("$ctl" status | grep '^Profile [12]:' | paste -sd '|')"

"$ctl" import --profile 2 "$scratch/p1.bcp" >/dev/null
t=1234567890
check "imported backup gives profile 2 the same codes" "$("$ctl" code --profile 1 --at $t)" "$("$ctl" code --profile 2 --at $t)"

"$ctl" delete --profile 1 --yes >/dev/null
check "delete, then status" "Profile 1: not configured" "$("$ctl" status | grep '^Profile 1:')"
check "entries recorded" "Config1=NotConfigured|Config2=Google" \
  "$(grep '^Config' "$config" | tr -d '\r' | paste -sd '|')"
check "config lists the token section" "  Config1 = NotConfigured" "$("$ctl" config | grep 'Config1 =')"

out=$("$ctl" set-static --profile 1 --password 'has space' 2>&1)
check "a password with a space is refused" "Cannot include spaces" "$out"
"$ctl" set-totp --profile 1 --secret 'ABC=' >/dev/null 2>&1
check "a padded key is refused with status 1" 1 "$?"
# Refusals: exit 1, the message, and neither the token nor the configuration
# file changed.
state() { echo "$("$ctl" sim show "$scratch/token")|$(cksum <"$config")"; }
before=$(state)
untouched() {
  check "$1: token and configuration untouched" "$before" "$(state)"
  before=$(state)
}
for n in 40 52; do
  out=$("$ctl" set-totp --profile 1 --secret "$(random_base32 $((n * 5 / 8)))" --account Long 2>&1)
  check "a $n-character key is refused with status 1" "1|Illegal secret key" "$?|$out"
  untouched "$n-character key"
done
for c in tab DEL LF ESC; do
  case $c in tab) byte='\t' ;; DEL) byte='\177' ;; LF) byte='\n' ;; ESC) byte='\033' ;; esac
  out=$("$ctl" set-static --profile 1 --password "$(printf "pass${byte}word")" 2>&1)
  check "a password with $c is refused with status 1" "1|Cannot include spaces" "$?|$out"
  untouched "password with $c"
done
out=$("$ctl" set-totp --profile 1 --secret "$secret" --account "$(printf 'a\r\n[x]\r\nk=v')" 2>&1)
check "an account name with line breaks is refused with status 1" "1|Cannot include spaces" "$?|$out"
untouched "account name with line breaks"
printf '[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=%s\r\nAccount=Long\r\n' "$(random_base32 32)" >"$scratch/long.bcp"
out=$("$ctl" import --profile 1 "$scratch/long.bcp" 2>&1)
check "a backup with a 52-character key is refused with status 1" "1|Illegal secret key" "$?|$out"
untouched "backup with a 52-character key"

# A configuration file that cannot be rewritten (here it outgrows the file-size
# limit) is reported and stays as it was, though the token took the change.
{ printf '[Padding]\r\n'; for i in $(seq 600); do printf 'Key%s=%s\r\n' "$i" "$secret"; done; } >>"$config"
before=$(cksum <"$config")
out=$(trap '' XFSZ; ulimit -f 16; "$ctl" set-static --profile 1 --password 'limited-one' 2>&1)
check "an unwritable configuration is reported with status 1" \
  "1|The token was changed, but the configuration file could not be saved" "$?|$out"
check "the configuration file stays as it was" "$before" "$(cksum <"$config")"
check "the token holds the change" 'limited-one' "$("$ctl" sim press "$scratch/token" --profile 1)"

"$ctl" sim set "$scratch/token" --vanish-after 12 >/dev/null
"$ctl" set-static --profile 1 --password 'another-one' >/dev/null 2>&1
check "token pulled during a write: status 1" 1 "$?"
check "no entry for a change the token did not take" "Config1=NotConfigured" "$(grep '^Config1' "$config" | tr -d '\r')"

if sed '/^\[Padding\]/,$d' "$config" | grep -q -e "$secret" -e 'S3cret' -e 'another-one' -e 'limited-one'; then
  check "the configuration file holds no secret" clean leaked
else
  check "the configuration file holds no secret" clean clean
fi
finish
