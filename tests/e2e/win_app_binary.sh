#!/bin/sh
# Orvika2.exe is one file under 2 MB. It and orvika2ctl.exe import only DLLs
# that Windows always takes from System32 (the KnownDLLs, and comctl32 by
# the manifest's side-by-side version); the others are delay-loaded, after
# the entry point limited the search to System32, and the load configuration
# says DependentLoadFlags = LOAD_LIBRARY_SEARCH_SYSTEM32. No link time in
# the header, so that a rebuild gives the same bytes.
set -eu
build="${ORVIKA2_BUILD_DIR:?}"
exe="$build/app/Orvika2.exe"
[ -f "$exe" ] || { echo "missing $exe"; exit 1; }

status=0
size=$(stat -c %s "$exe")
echo "size: $size bytes"
[ "$size" -lt 2097152 ] || { echo "FAIL: larger than 2 MB"; status=1; }
for exe in "$build/app/Orvika2.exe" "$build/cli/orvika2ctl.exe"; do
  name=$(basename "$exe")
  [ -f "$exe" ] || { echo "FAIL: missing $exe"; status=1; continue; }
  headers=$(x86_64-w64-mingw32-objdump -p "$exe")
  imports=$(echo "$headers" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
  echo "$name imports:" $imports
  [ -n "$imports" ] || { echo "FAIL: $name: no import table found"; status=1; }
  for dll in $imports; do
    case "$dll" in
      kernel32.dll|user32.dll|gdi32.dll|advapi32.dll|shell32.dll|shlwapi.dll|ole32.dll|oleaut32.dll|\
      setupapi.dll|msvcrt.dll|comdlg32.dll|ws2_32.dll|comctl32.dll) ;;
      *) echo "FAIL: $name imports $dll at start, from its own folder first"; status=1 ;;
    esac
  done
  echo "$headers" | grep -q '^Time/Date[[:space:]]*Thu Jan  1 00:00:00 1970$' ||
    { echo "FAIL: $name has a link time: $(echo "$headers" | grep '^Time/Date')"; status=1; }
  python3 - "$exe" <<'PY' || status=1
import struct, sys
data = open(sys.argv[1], "rb").read()
pe = struct.unpack_from("<I", data, 0x3C)[0]
optional = pe + 24
rva, size = struct.unpack_from("<II", data, optional + 112 + 8 * 10)
offset = None
first_section = optional + struct.unpack_from("<H", data, pe + 20)[0]
for i in range(struct.unpack_from("<H", data, pe + 6)[0]):
    _, virtual_size, address, _, raw = struct.unpack_from("<8sIIII", data, first_section + 40 * i)
    if rva and address <= rva < address + virtual_size:
        offset = raw + rva - address
name = sys.argv[1].rsplit("/", 1)[-1]
if offset is None or size < 0x50:
    sys.exit(f"FAIL: {name}: no load configuration (directory {rva:#x}, {size} bytes)")
flags = struct.unpack_from("<H", data, offset + 0x4E)[0]
print(f"{name}: load configuration of {size} bytes, DependentLoadFlags {flags:#x}")
if struct.unpack_from("<I", data, offset)[0] != size or flags != 0x800:
    sys.exit(f"FAIL: {name}: DependentLoadFlags is not LOAD_LIBRARY_SEARCH_SYSTEM32")
PY
done
exit $status
