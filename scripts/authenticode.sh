#!/bin/sh
# Signs or verifies Windows executables with Authenticode (osslsigncode).
# Usage: scripts/authenticode.sh sign FILE...    signs each in place
#        scripts/authenticode.sh verify FILE...  fails unless each verifies
# Environment: ORVIKA2_SIGN_PFX, the certificate and key (PKCS#12); its
# password in ORVIKA2_SIGN_PASSWORD or the file ORVIKA2_SIGN_PASSWORD_FILE;
# ORVIKA2_SIGN_TIMESTAMP, an RFC 3161 time-stamp address (none if unset).
set -eu
[ $# -ge 2 ] && { [ "$1" = sign ] || [ "$1" = verify ]; } ||
  { echo "usage: $0 sign|verify FILE..." >&2; exit 2; }
action=$1; shift
pfx="${ORVIKA2_SIGN_PFX:?ORVIKA2_SIGN_PFX names no certificate}"
[ -r "$pfx" ] || { echo "cannot read the certificate $pfx" >&2; exit 1; }
command -v osslsigncode >/dev/null || { echo "osslsigncode is missing (scripts/install-deps.sh installs it)" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The password goes to the tools in a file of our own, never on a command line.
umask 077
if [ -n "${ORVIKA2_SIGN_PASSWORD_FILE:-}" ]; then
  head -n 1 "$ORVIKA2_SIGN_PASSWORD_FILE" | tr -d '\r\n' >"$work/password"
else
  printf '%s' "${ORVIKA2_SIGN_PASSWORD:-}" >"$work/password"
fi

case "$action" in
sign)
  for file in "$@"; do
    osslsigncode sign -pkcs12 "$pfx" -readpass "$work/password" -h sha256 -n Orvika2 \
      ${ORVIKA2_SIGN_TIMESTAMP:+-ts "$ORVIKA2_SIGN_TIMESTAMP"} -in "$file" -out "$work/signed" >"$work/log" 2>&1 ||
      { cat "$work/log" >&2; echo "signing $file failed" >&2; exit 1; }
    cat "$work/signed" >"$file"
    rm -f "$work/signed"
  done
  ;;
verify)
  # The certificate's own chain (a self-signed one is its own root) and the
  # system's roots are trusted.
  openssl pkcs12 -in "$pfx" -nokeys -passin "file:$work/password" -out "$work/chain.pem" 2>/dev/null ||
    openssl pkcs12 -legacy -in "$pfx" -nokeys -passin "file:$work/password" -out "$work/chain.pem" 2>/dev/null ||
    { echo "cannot read the certificates in $pfx (wrong password?)" >&2; exit 1; }
  [ -r /etc/ssl/certs/ca-certificates.crt ] && cat /etc/ssl/certs/ca-certificates.crt >>"$work/chain.pem"
  status=0
  for file in "$@"; do
    if osslsigncode verify -in "$file" -CAfile "$work/chain.pem" >"$work/log" 2>&1; then
      echo "signature verified: $(basename "$file")" >&2
    else
      cat "$work/log" >&2; echo "FAIL: the signature of $file does not verify" >&2; status=1
    fi
  done
  exit $status
  ;;
esac
