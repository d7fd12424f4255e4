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
finish() {
  [ "$failures" -eq 0 ] && echo "all checks passed" || echo "$failures check(s) failed"
  [ "$failures" -eq 0 ]
}
random_base32() {  # random_base32 BYTES
  python3 -c "import base64,os,sys; print(base64.b32encode(os.urandom(int(sys.argv[1]))).decode().rstrip('='))" "$1"
}
