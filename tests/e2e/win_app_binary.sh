#!/bin/sh
# Orvika2.exe is one file under 2 MB that imports system DLLs only.
set -eu
exe="${ORVIKA2_BUILD_DIR:?}/app/Orvika2.exe"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }

size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -lt 2097152 ] || { echo "FAIL: larger than 2 MB"; exit 1; }

imports=$(x86_64-w64-mingw32-objdump -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports:" $imports
[ -n "$imports" ] || { echo "FAIL: no import table found"; exit 1; }
status=0
for dll in $imports; do
  case "$dll" in
    kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|shlwapi.dll|comctl32.dll|ole32.dll|oleaut32.dll|\
    version.dll|setupapi.dll|hid.dll|bcrypt.dll|wininet.dll|msvcrt.dll|comdlg32.dll|uxtheme.dll|ws2_32.dll) ;;
    *) echo "FAIL: imports $dll, which is not a system DLL"; status=1 ;;
  esac
done
exit $status
