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
  check "a $n-character key is refused with status 1" "1|Illegal secret key" "$?|$out"
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
out=$("$ctl" set-totp --profile 1 --secret-file "$scratch/secret.txt" --account "$(printf 'a\r\n[x]\r\nk=v')" 2>&1)
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
