#!/bin/sh
# Verification codes from the native command-line tool and the simulated
# token, against RFC 6238's SHA-1 vectors and against oathtool.
. "$ORVIKA2_SOURCE_DIR/tests/e2e/lib.sh"
ctl="$ORVIKA2_BUILD_DIR/cli/orvika2ctl"

# No token here: the USB bus looks through hidraw and finds none.
unset ORVIKA2_TOKEN
message=$("$ctl" status 2>&1 >/dev/null)
check "status without a token: exit status" 1 $?
check "status without a token: message" "Orvika2 not inserted" "$message"

# A setting that names no token stops every command alike, before it runs.
for command in status config; do
  message=$(XDG_CONFIG_HOME="$scratch/config" ORVIKA2_TOKEN=usb "$ctl" $command 2>&1 >/dev/null)
  check "$command with ORVIKA2_TOKEN=usb: exit status and message" \
    "2|The environment variable ORVIKA2_TOKEN must be unset or sim:PATH" "$?|$message"
done
check "the refused config placed no file" no "$([ -e "$scratch/config" ] && echo yes || echo no)"

export ORVIKA2_TOKEN="sim:$scratch/rfc"
"$ctl" sim create "$scratch/rfc" --totp1 GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ >/dev/null
for pair in 59:287082 1111111109:081804 1111111111:050471 1234567890:005924 2000000000:279037 20000000000:353130; do
  t=${pair%%:*}
  check "RFC 6238 vector at $t" "${pair#*:}" "$("$ctl" code --at "$t")"
done

# Linux types nothing: --type prints the code and says why.
code=$("$ctl" code --at 59 --type 2>"$scratch/type.err")
check "code --type: exit status" 0 $?
check "code --type: the code" 287082 "$code"
check "code --type: the reason" "Typing is not supported on this platform; the code is printed instead." \
  "$(cat "$scratch/type.err")"

# A clock correction moves the codes of now, never those of --at; status,
# config and clock show it, --clear ends it. Either side of the call counts:
# a step may end during it.
export XDG_CONFIG_HOME="$scratch/config"
now_code() {  # now_code CORRECTION: the code, or the codes the call's two ends expect
  before=$(( $(date +%s) + $1 )); got=$("$ctl" code); after=$(( $(date +%s) + $1 ))
  for t in $before $after; do
    [ "$got" = "$(oathtool --totp --base32 GEZDGNBVGY3TQOJQGEZDGNBVGY3TQOJQ -N "@$t")" ] && { echo ok; return; }
  done
  echo "$got at $before..$after"
}
for row in "--set 90|+90 s|90" "--set -3600|-3600 s|-3600" "--set +45|+45 s|45" "--clear|none|0"; do
  set -- "${row%%|*}"; shown=${row#*|}; shown=${shown%|*}; correction=${row##*|}
  check "clock $1: exit status and text" "0|Clock correction: $shown" "$(shown=$("$ctl" clock $1); echo "$?|$shown")"
  check "clock after $1" "Clock correction: $shown" "$("$ctl" clock)"
  check "status after clock $1" "Clock correction: $shown" "$("$ctl" status | tail -1)"
  check "config after clock $1" "Clock correction: $shown" "$("$ctl" config | grep '^Clock')"
  check "code after clock $1: the code of now $correction" ok "$(now_code "$correction")"
  check "code --at after clock $1 ignores it" 005924 "$("$ctl" code --at 1234567890)"
done
for bad in "--set" "--set 9x" "--set 2147483648" "--set 1 --clear" "90"; do
  "$ctl" clock $bad >/dev/null 2>&1
  check "clock $bad is refused as usage" 2 $?
done
"$ctl" clock --set 30 >/dev/null
printf '[Clock]\r\nCorrectionSeconds=30 s\r\n' >"$XDG_CONFIG_HOME/Orvika2/Orvika2Config.ini"
check "a garbled correction is none" "Clock correction: none|ok" "$("$ctl" clock)|$(now_code 0)"
unset XDG_CONFIG_HOME

# Random secrets and times, half of them on time steps whose lowest byte is 0.
i=0
while [ $i -lt 24 ]; do
  secret=$(random_base32 20)
  if [ $((i % 2)) -eq 0 ]; then
    t=$(( ( ($(od -An -N2 -tu2 /dev/urandom) + 1) * 256 ) * 30 + i ))
  else
    t=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  fi
  profile=$(( i % 2 + 1 ))
  export ORVIKA2_TOKEN="sim:$scratch/random$i"
  # The secret from a file or from standard input, in turn.
  if [ $((i % 4)) -lt 2 ]; then
    printf '%s\n' "$secret" >"$scratch/secret$i"
    "$ctl" sim create "$scratch/random$i" "--totp$profile-file" "$scratch/secret$i" >/dev/null
  else
    printf '%s\n' "$secret" | "$ctl" sim create "$scratch/random$i" "--totp$profile" - >/dev/null
  fi
  check "secret $i, profile $profile, time $t" "$(shaped '[0-9]{6}' oathtool --totp --base32 "$secret" -N "@$t")" \
    "$(shaped '[0-9]{6}' "$ctl" code --profile $profile --at "$t")"
  i=$((i + 1))
done
# Other shapes, set by link or by options as the configuration file records
# them: 8 digits of 60 s and 7 digits of 15 s steps, at random times.
export XDG_CONFIG_HOME="$scratch/config"
i=0
while [ $i -lt 12 ]; do
  secret=$(random_base32 20)
  t=$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')
  if [ $((i % 2)) -eq 0 ]; then digits=8 period=60; else digits=7 period=15; fi
  profile=$(( i / 2 % 2 + 1 ))
  export ORVIKA2_TOKEN="sim:$scratch/shaped$i"
  "$ctl" sim create "$scratch/shaped$i" >/dev/null
  if [ $((i % 4)) -lt 2 ]; then
    printf 'otpauth://totp/Example:alice?secret=%s&digits=%s&period=%s\n' "$secret" $digits $period |
      "$ctl" set-totp --profile $profile --uri - >/dev/null
  else
    printf '%s\n' "$secret" | "$ctl" set-totp --profile $profile --secret - --digits $digits --period $period >/dev/null
  fi
  check "$digits digits of $period s, secret $i, profile $profile, time $t" \
    "$(shaped "[0-9]{$digits}" oathtool --totp -d $digits -s $period --base32 "$secret" -N "@$t")" \
    "$(shaped "[0-9]{$digits}" "$ctl" code --profile $profile --at "$t")"
  i=$((i + 1))
done
unset XDG_CONFIG_HOME

# A get that fails at any report of the answer fails that code clearly, and
# the very next code is right: the token is not left holding the answer.
secret=$(random_base32 20)
export ORVIKA2_TOKEN="sim:$scratch/lost"
"$ctl" sim create "$scratch/lost" --totp1 "$secret" >/dev/null
"$ctl" sim set "$scratch/lost" --fail-send 1000000 >/dev/null
"$ctl" code --at 1234567890 >/dev/null
reports=$("$ctl" sim show "$scratch/lost" | sed -n 's/.*(\([0-9]*\) reports so far).*/\1/p')
expected=$(oathtool --totp --base32 "$secret" -N @1234567890)
# The busy report, four chunks and the idle report that closes the answer.
report=$((reports - 5))
while [ "$report" -le "$reports" ]; do
  "$ctl" sim set "$scratch/lost" --fail-get "$report" >/dev/null
  failed=$("$ctl" code --at 1234567890 2>&1 >/dev/null; echo "exit $?")
  check "failed get at answer report $report fails clearly" \
    "Generate 2-Step Verification code failed exit 1" "$(echo $failed)"
  "$ctl" sim set "$scratch/lost" --clear-faults >/dev/null
  check "the code after a failed get at report $report" "$expected" "$("$ctl" code --at 1234567890)"
  report=$((report + 1))
done
finish
