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
umask 022
printf '%s\n' "$secret" | "$ctl" set-totp --profile 1 --secret - --account Google --backup "$scratch/p1.bcp" \
  >"$scratch/out" 2>"$scratch/err"
check "set-totp saves the backup" "Setting successful and profile backup saved" "$(cat "$scratch/out")"
check "without a terminal the backup is plain, and said so" 1 "$(grep -c 'plain text' "$scratch/err")"
now=$(date +%s)
check "code after set-totp agrees with oathtool" "$(shaped '[0-9]{6}' oathtool --totp --base32 "$secret" -N "@$now")" \
  "$(shaped '[0-9]{6}' "$ctl" code --at "$now")"
check "backup holds the key" "$secret" "$(sed -n 's/^Key=//p' "$scratch/p1.bcp" | tr -d '\r')"
check "a new backup is owner-only" "-rw-------" "$(ls -l "$scratch/p1.bcp" | cut -c1-10)"

# A protected backup: no key in the file, and only its passphrase opens it.
printf '%s\n' "$secret" >"$scratch/secret.txt"
printf 'correct horse battery\r\nsecond line\n' >"$scratch/pass.txt"
printf 'not the passphrase\n' >"$scratch/wrong.txt"
printf 'seven77\n' >"$scratch/short.txt"
out=$("$ctl" set-totp --profile 1 --secret-file "$scratch/secret.txt" --account Google \
  --backup "$scratch/sealed.bcp" --passphrase-file "$scratch/pass.txt" 2>&1)
check "a protected backup is saved" "0|Setting successful and profile backup saved" "$?|$out"
check "it holds mode, account and seal, no key" "Mode=OTP|Account=Google|Sealed=v1:PBKDF2-SHA256:600000" \
  "$(tr -d '\r' <"$scratch/sealed.bcp" | grep -v '^\[' | cut -d: -f1-3 | paste -sd '|')"
check "the secret is nowhere in it" 0 "$(grep -c "$secret" "$scratch/sealed.bcp")"
check "a protected backup is owner-only" "-rw-------" "$(ls -l "$scratch/sealed.bcp" | cut -c1-10)"
out=$("$ctl" set-totp --profile 1 --secret-file "$scratch/secret.txt" --backup "$scratch/short.bcp" \
  --passphrase-file "$scratch/short.txt" 2>&1)
check "a short passphrase is refused before anything is written" \
  "1|The passphrase must have at least 8 characters|no file" "$?|$out|$([ -e "$scratch/short.bcp" ] && echo file || echo no file)"

# On a terminal: the key and the passphrase are asked, and never shown.
at_terminal() {  # at_terminal ANSWER... -- COMMAND...: what the terminal showed
  python3 - "$@" <<'PY'
import os, pty, sys
args = sys.argv[1:]
answers, command = args[:args.index("--")], args[args.index("--") + 1:]
pid, fd = pty.fork()
if pid == 0:
    os.execv(command[0], command)
shown = b""
for answer in answers:
    # Each answer once its own prompt is up: the prompt drops what came before.
    asked = b""
    while not asked.endswith(b": "):
        asked += os.read(fd, 1024)
    shown += asked
    os.write(fd, answer.encode() + b"\n")
try:
    while chunk := os.read(fd, 1024):
        shown += chunk
except OSError:
    pass
_, status = os.waitpid(pid, 0)
sys.stdout.write(shown.decode(errors="replace").replace("\r", "") + "|%d" % os.waitstatus_to_exitcode(status))
PY
}
shown=$(at_terminal "$secret" 'terminal phrase' 'terminal phrase' -- "$ctl" set-totp --profile 1 --account Tty \
  --backup "$scratch/tty.bcp")
check "the terminal is asked for the key and the passphrase twice" \
  "Secret key (Base32): |Passphrase for the backup: |The passphrase again: |Setting successful and profile backup saved||0" \
  "$(printf '%s' "$shown" | paste -sd '|')"
check "nothing typed is shown" 0 "$(printf '%s' "$shown" | grep -c -e "$secret" -e 'terminal phrase')"
shown=$(at_terminal 'terminal phrase' -- "$ctl" import --profile 2 "$scratch/tty.bcp")
check "the terminal is asked for the passphrase of a protected backup" \
  "Passphrase of the backup: |Setting successful||0" "$(printf '%s' "$shown" | paste -sd '|')"
out=$("$ctl" set-static --profile 2 --password 'S3cret!Pass' 2>&1 >/dev/null)
check "a password on the command line is warned about" \
  "warning: --password on the command line can be read by other users of this computer; use --password-file FILE or --password -" "$out"
check "set-static, then the token types the password" 'S3cret!Pass' "$("$ctl" sim press "$scratch/token" --profile 2)"
check "status shows both kinds" "Profile 1: 2-Step Verification|Profile 2: static password" \
  "$("$ctl" status | grep '^Profile [12]:' | paste -sd '|')"

"$ctl" import --profile 2 "$scratch/p1.bcp" >/dev/null
t=1234567890
check "imported backup gives profile 2 the same codes" "$(shaped '[0-9]{6}' "$ctl" code --profile 1 --at $t)" \
  "$(shaped '[0-9]{6}' "$ctl" code --profile 2 --at $t)"
echo 'Other!Pass' | "$ctl" set-static --profile 2 --password - >/dev/null
before=$("$ctl" sim show "$scratch/token")
out=$("$ctl" import --profile 2 "$scratch/sealed.bcp" --passphrase-file "$scratch/wrong.txt" 2>&1)
check "a wrong passphrase: status 1, said, nothing written" "1|Wrong passphrase or damaged backup|$before" \
  "$?|$out|$("$ctl" sim show "$scratch/token")"
out=$("$ctl" import --profile 2 "$scratch/sealed.bcp" 2>&1 </dev/null)
check "no passphrase and no terminal: status 1" \
  "1|This profile backup is protected by a passphrase: give --passphrase-file FILE, or run on a terminal" "$?|$out"
sed 's/^Account=Google/Account=Googlf/' "$scratch/sealed.bcp" >"$scratch/renamed.bcp"
out=$("$ctl" import --profile 2 "$scratch/renamed.bcp" --passphrase-file "$scratch/pass.txt" 2>&1)
check "a renamed account does not open" "1|Wrong passphrase or damaged backup" "$?|$out"
"$ctl" import --profile 2 "$scratch/sealed.bcp" --passphrase-file "$scratch/pass.txt" >/dev/null
check "the protected backup gives profile 2 the same codes" "$(shaped '[0-9]{6}' "$ctl" code --profile 1 --at $t)" \
  "$(shaped '[0-9]{6}' "$ctl" code --profile 2 --at $t)"

"$ctl" delete --profile 1 --yes >/dev/null
check "delete, then status" "Profile 1: not configured" "$("$ctl" status | grep '^Profile 1:')"
check "entries recorded" "Config1=NotConfigured|Config2=Google" \
  "$(grep '^Config' "$config" | tr -d '\r' | paste -sd '|')"
check "config lists the token section" "  Config1 = NotConfigured" "$("$ctl" config | grep 'Config1 =')"

out=$(echo 'has space' | "$ctl" set-static --profile 1 --password - 2>&1)
check "a password with a space is refused" "Cannot include spaces" "$out"
echo 'ABC=' | "$ctl" set-totp --profile 1 --secret - >/dev/null 2>&1
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
  out=$(random_base32 $((n * 5 / 8)) | "$ctl" set-totp --profile 1 --secret - --account Long 2>&1)
  check "a $n-character key is refused with status 1" "1|The secret key is longer than the 20 bytes Orvika2 holds" "$?|$out"
  untouched "$n-character key"
done
for c in tab DEL LF ESC; do
  case $c in tab) byte='\t' ;; DEL) byte='\177' ;; LF) byte='\n' ;; ESC) byte='\033' ;; esac
  # A file or standard input gives one line: a line break only comes on the command line.
  printf "pass${byte}word" >"$scratch/password.txt"
  if [ $c = LF ]; then
    "$ctl" set-static --profile 1 --password "$(cat "$scratch/password.txt")" >/dev/null 2>"$scratch/err"
  else
    "$ctl" set-static --profile 1 --password-file "$scratch/password.txt" >/dev/null 2>"$scratch/err"
  fi
  status=$?
  out=$(grep -v '^warning: ' "$scratch/err")
  check "a password with $c is refused with status 1" "1|Cannot include spaces" "$status|$out"
  untouched "password with $c"
done
# Links as services write them: each refused with its own message, nothing written.
key=GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ
while IFS='|' read -r link message; do
  out=$(printf '%s\n' "$link" | "$ctl" set-totp --profile 1 --uri - 2>&1)
  check "refused link $link" "1|$message" "$?|$out"
  untouched "refused link $link"
done <<LINKS
otpauth://hotp/Example:alice?secret=$key&counter=1|This link is for counter-based (HOTP) codes; Orvika2 makes time-based codes only
otpauth://totp/Example:alice?secret=$key&algorithm=SHA256|Orvika2 computes HMAC-SHA1 only; this link asks for another algorithm
otpauth://totp/Example:alice?issuer=Example|The link holds no secret key
otpauth://totp/Example:alice?secret=GEZD!GNBV|The secret key in the link is not valid Base32
otpauth://totp/Example:alice?secret=${key}GEZDGNBV|The secret key is longer than the 20 bytes Orvika2 holds
otpauth://totp/Example:alice?secret=$key&digits=10|Codes must have 6, 7 or 8 digits
otpauth://totp/Example:alice?secret=$key&period=5|The code period must be between 10 and 120 seconds
otpauth-migration://offline?data=CjEKCkhlbGxv|Not a link for time-based codes: only otpauth://totp/ links are accepted
otpauth://totp/Example%zzalice?secret=$key|The link is not well formed
LINKS
out=$("$ctl" set-totp --profile 1 --secret-file "$scratch/secret.txt" --digits 9 2>&1)
check "a plain key with 9 digits is refused" "1|Codes must have 6, 7 or 8 digits" "$?|$out"
untouched "plain key with 9 digits"
out=$("$ctl" set-totp --profile 1 --uri "otpauth://totp/x?secret=$key" --digits 8 2>&1 | head -1)
check "a link with --digits is a usage error" "usage: orvika2ctl COMMAND [OPTIONS]" "$out"
untouched "link with --digits"
# Accepted links: the account, the shape beside the entry, and codes as oathtool makes them.
t=1111111100
while IFS='|' read -r link account digits period; do
  printf '%s\n' "$link" >"$scratch/link.txt"
  out=$("$ctl" set-totp --profile 2 --uri-file "$scratch/link.txt" 2>&1)
  check "link $link is set" "0|Setting successful" "$?|$out"
  shape=$(sed -n '/^\[000a1bff\]/,/^\[/p' "$config" | tr -d '\r' | grep -e '^Config2=' -e '^Digits2=' -e '^Period2=' | paste -sd '|')
  expected="Config2=$account"
  [ "$digits/$period" = 6/30 ] || expected="$expected|Digits2=$digits|Period2=$period"
  check "link $link: entry and shape" "$expected" "$shape"
  check "link $link: code" "$(oathtool --totp -d "$digits" -s "$period" --base32 "$key" -N "@$t")" \
    "$("$ctl" code --profile 2 --at $t)"
done <<LINKS
otpauth://totp/Example:alice@google.com?secret=$key&issuer=Example|Example|6|30
otpauth://totp/ACME%20Co:john.doe%40email.com?secret=$key&issuer=ACME%20Co&algorithm=SHA1&digits=8&period=60|ACMECo|8|60
otpauth://totp/GitHub%3Aoctocat?secret=gezdgnbvgy3tqojqgezdgnbvgy3tqojq&period=15&digits=7|GitHub|7|15
otpauth://totp/Big%20Corp%3A%20alice?secret=GEZD%20GNBV+GY3T+QOJQ+GEZDGNBVGY3TQOJQ&image=https%3A%2F%2Fx.example%2Fa.png|BigCorp|6|30
LINKS
check "status adds nothing for 6 and 30" "Profile 2: 2-Step Verification" "$("$ctl" status | grep '^Profile 2:')"
printf '%s\n' "otpauth://totp/Pad:alice?secret=GEZDGNBVGY3TQOJQGEZDGNBVGY======&digits=8&period=60" |
  "$ctl" set-totp --profile 2 --uri - --backup "$scratch/shaped.bcp" >/dev/null 2>&1
check "status names the shape" "Profile 2: 2-Step Verification, 8 digits, 60 s" "$("$ctl" status | grep '^Profile 2:')"
check "a padded key in a link gives the codes of its 16 bytes" \
  "$(oathtool --totp -d 8 -s 60 --base32 GEZDGNBVGY3TQOJQGEZDGNBVGY -N "@$t")" "$("$ctl" code --profile 2 --at $t)"
check "the backup keeps the shape after the account" "Mode=OTP|Key=GEZDGNBVGY3TQOJQGEZDGNBVGY|Account=Pad|Digits=8|Period=60" \
  "$(tr -d '\r' <"$scratch/shaped.bcp" | grep -v '^\[' | paste -sd '|')"
"$ctl" set-totp --profile 2 --secret-file "$scratch/secret.txt" --account Plain >/dev/null
check "a plain key returns the profile to 6 and 30" "Config2=Plain" \
  "$(sed -n '/^\[000a1bff\]/,/^\[/p' "$config" | tr -d '\r' | grep -e '^Config2=' -e '^Digits2=' -e '^Period2=' | paste -sd '|')"
"$ctl" import --profile 2 "$scratch/shaped.bcp" >/dev/null
check "an import restores the shape" "$(oathtool --totp -d 8 -s 60 --base32 GEZDGNBVGY3TQOJQGEZDGNBVGY -N "@$t")" \
  "$("$ctl" code --profile 2 --at $t)"
# Backups from before the shape keys: plain, and the documented protected
# example, import as 6 digits of 30 s.
printf '[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=%s\r\nAccount=Old\r\n' "$key" >"$scratch/old.bcp"
"$ctl" import --profile 2 "$scratch/old.bcp" >/dev/null
check "an old plain backup gives 6 digits of 30 s" "$(oathtool --totp --base32 "$key" -N "@$t")|Config2=Old" \
  "$("$ctl" code --profile 2 --at $t)|$(sed -n '/^\[000a1bff\]/,/^\[/p' "$config" | tr -d '\r' | grep -e '^Config2=' -e '^Digits2=' -e '^Period2=' | paste -sd '|')"
sed -n '/^\[Orvika2_BACKUP\]$/,/^Sealed=/p' "$ORVIKA2_SOURCE_DIR/docs/backup-format.md" | sed -n '/Mode=OTP/,$p' |
  sed '1i [Orvika2_BACKUP]' | head -4 >"$scratch/documented.bcp"
"$ctl" import --profile 2 "$scratch/documented.bcp" --passphrase-file "$scratch/pass.txt" >/dev/null
check "the documented protected backup still opens, as 6 digits of 30 s" \
  "$(oathtool --totp --base32 JBSWY3DPEHPK3PXP -N "@$t")" "$("$ctl" code --profile 2 --at $t)"
before=$(state)
out=$("$ctl" set-totp --profile 1 --secret-file "$scratch/secret.txt" --account "$(printf 'a\r\n[x]\r\nk=v')" 2>&1)
check "an account name with line breaks is refused with status 1" "1|Cannot include spaces" "$?|$out"
untouched "account name with line breaks"
printf '[Orvika2_BACKUP]\r\nMode=OTP\r\nKey=%s\r\nAccount=Long\r\n' "$(random_base32 32)" >"$scratch/long.bcp"
out=$("$ctl" import --profile 1 "$scratch/long.bcp" 2>&1)
check "a backup with a 52-character key is refused with status 1" \
  "1|The secret key is longer than the 20 bytes Orvika2 holds" "$?|$out"
untouched "backup with a 52-character key"

# A configuration file that cannot be rewritten (here it outgrows the file-size
# limit) is reported and stays as it was, though the token took the change.
{ printf '[Padding]\r\n'; for i in $(seq 600); do printf 'Key%s=%s\r\n' "$i" "$secret"; done; } >>"$config"
before=$(cksum <"$config")
out=$(trap '' XFSZ; ulimit -f 16; echo limited-one | "$ctl" set-static --profile 1 --password - 2>&1)
check "an unwritable configuration is reported with status 1" \
  "1|The token was changed, but the configuration file could not be saved" "$?|$out"
check "the configuration file stays as it was" "$before" "$(cksum <"$config")"
check "the token holds the change" 'limited-one' "$("$ctl" sim press "$scratch/token" --profile 1)"
# The backup may be the only copy of the new secret: it is still written.
out=$(trap '' XFSZ; ulimit -f 16; echo limited-two | "$ctl" set-static --profile 1 --password - \
  --backup "$scratch/limited.bcp" --passphrase-file "$scratch/pass.txt" 2>&1)
check "the backup is saved though the configuration is not" \
  "1|The token was changed and the profile backup saved, but the configuration file could not be saved" "$?|$out"
"$ctl" import --profile 2 "$scratch/limited.bcp" --passphrase-file "$scratch/pass.txt" >/dev/null 2>&1
check "and it holds the new password" 'limited-two' "$("$ctl" sim press "$scratch/token" --profile 2)"

"$ctl" sim set "$scratch/token" --vanish-after 12 >/dev/null
echo another-one | "$ctl" set-static --profile 1 --password - >/dev/null 2>&1
check "token pulled during a write: status 1" 1 "$?"
check "no entry for a change the token did not take" "Config1=NotConfigured" "$(grep '^Config1' "$config" | tr -d '\r')"

if sed '/^\[Padding\]/,$d' "$config" | grep -q -e "$secret" -e 'S3cret' -e 'another-one' -e 'limited-one' -e 'limited-two'; then
  check "the configuration file holds no secret" clean leaked
else
  check "the configuration file holds no secret" clean clean
fi
finish
