#!/bin/sh
# Makes a delay-load import library from a MinGW import library: the same
# functions, bound at their first call through LoadLibrary.
# Usage: delay-load-lib.sh NM DLLTOOL IMPORT_LIB DLL_NAME OUT
set -eu
[ $# -eq 5 ] || { echo "usage: $0 NM DLLTOOL IMPORT_LIB DLL_NAME OUT" >&2; exit 2; }
nm=$1 dlltool=$2 import_lib=$3 dll=$4 out=$5
def="$out.def"
{
  echo "LIBRARY $dll"
  echo EXPORTS
  "$nm" -g --defined-only "$import_lib" | sed -n 's/^[0-9a-f]* I __imp_//p' | LC_ALL=C sort -u
} >"$def"
grep -q -v -e '^LIBRARY ' -e '^EXPORTS$' "$def" || { echo "no functions in $import_lib" >&2; exit 1; }
rm -f "$out"
"$dlltool" --input-def "$def" --dllname "$dll" --output-delaylib "$out"
