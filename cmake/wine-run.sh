#!/bin/sh
# Runs a Windows executable under wine64. The server and prefix are started
# outside the caller's output pipe (and under a lock), otherwise Wine's helper
# processes inherit ctest's pipe and ctest waits for ever.
export WINEPREFIX="${WINEPREFIX:-${HOME:-/tmp}/.wine-ci}"
export WINEDEBUG="${WINEDEBUG:--all}" WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
WINE=/usr/lib/wine/wine64; WINESERVER=/usr/lib/wine/wineserver
(
  flock 9
  "$WINESERVER" -p </dev/null >/dev/null 2>&1 9>&-
  "$WINE" wineboot -i </dev/null >/dev/null 2>&1 9>&-
) 9>"/tmp/.wine-run.$(id -u).lock"
exec "$WINE" "$@"
