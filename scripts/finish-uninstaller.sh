#!/bin/sh
# Run by makensis on the uninstaller it has just made, before packing it:
# signs it when a certificate is given and keeps a copy for the sums.
# Usage: scripts/finish-uninstaller.sh UNINSTALLER COPY
set -eu
[ $# -eq 2 ] || { echo "usage: $0 UNINSTALLER COPY" >&2; exit 2; }
if [ -n "${ORVIKA2_SIGN_PFX:-}" ]; then
  sh "$(dirname "$0")/authenticode.sh" sign "$1"
fi
cp "$1" "$2"
