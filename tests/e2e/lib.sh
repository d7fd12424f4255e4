# Shared by the end-to-end scripts: a scratch folder and a result counter.
set -u
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
check() {  # check DESCRIPTION EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then
    echo "ok: $1"
  else
    echo "FAIL: $1: expected [$2], got [$3]"
    failures=$((failures + 1))
  fi
}
# shaped SHAPE COMMAND...: COMMAND's output when it succeeds and prints one
# line matching SHAPE (an extended regular expression); otherwise a failure
# that names the command, so two failing commands never compare equal.
shaped() {
  shaped_shape=$1; shift
  "$@" >"$scratch/shaped.out" 2>"$scratch/shaped.err"
  shaped_rc=$?
  shaped_out=$(tr -d '\r' <"$scratch/shaped.out")
  if [ "$shaped_rc" -eq 0 ] && [ "$(printf '%s\n' "$shaped_out" | wc -l)" -eq 1 ] &&
     printf '%s\n' "$shaped_out" | grep -Eqx "$shaped_shape"; then
    printf '%s\n' "$shaped_out"
  else
    # The random tag keeps two failures of one command apart too.
    printf '<%s: exit %s, printed [%s] [%s] #%s>\n' "$*" "$shaped_rc" "$shaped_out" \
      "$(tr -d '\r' <"$scratch/shaped.err")" "$(od -An -N4 -tu4 /dev/urandom | tr -d ' ')"
  fi
}
finish() {
  [ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures check(s) failed"
  [ "$failures" -eq 0 ]
}
random_base32() {  # random_base32 BYTES
  python3 -c "import base64,os,sys; print(base64.b32encode(os.urandom(int(sys.argv[1]))).decode().rstrip('='))" "$1"
}
