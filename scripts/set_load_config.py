#!/usr/bin/env python3
"""Points a PE32+ image's load-configuration directory at _load_config_used.

MinGW's ld fills in the TLS directory from its symbol but not the load
configuration, so the loader would never see the structure (and its
DependentLoadFlags) that the code defines. The linker map names the
symbol's address. Usage: set_load_config.py EXE MAP
"""
import re
import struct
import sys

LOAD_CONFIG_ENTRY = 10


def pe_checksum(data: bytes, checksum_offset: int) -> int:
    total = 0
    padded = data + b"\0" * (len(data) % 2)
    for (word,) in struct.iter_unpack("<H", padded):
        total += word
        total = (total & 0xFFFF) + (total >> 16)
    # The checksum field itself counts as zero.
    for (word,) in struct.iter_unpack("<H", data[checksum_offset:checksum_offset + 4]):
        total -= word
        if total < 0:
            total += 0xFFFF
    total = (total & 0xFFFF) + (total >> 16)
    return (total & 0xFFFF) + len(data)


def main(exe: str, map_file: str) -> int:
    found = re.search(r"^\s+0x([0-9a-f]+)\s+_load_config_used\s*$", open(map_file).read(), re.M)
    if not found:
        print(f"{map_file}: no _load_config_used", file=sys.stderr)
        return 1
    data = bytearray(open(exe, "rb").read())
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    optional = pe + 24
    if data[pe:pe + 4] != b"PE\0\0" or struct.unpack_from("<H", data, optional)[0] != 0x20B:
        print(f"{exe}: not a PE32+ image", file=sys.stderr)
        return 1
    image_base = struct.unpack_from("<Q", data, optional + 24)[0]
    sections = optional + struct.unpack_from("<H", data, pe + 20)[0]
    rva = int(found.group(1), 16) - image_base
    # The structure's first field is its size; read it from the file.
    for i in range(struct.unpack_from("<H", data, pe + 6)[0]):
        _, virtual_size, virtual_address, raw_size, raw_offset = struct.unpack_from("<8sIIII", data, sections + 40 * i)
        if virtual_address <= rva < virtual_address + min(virtual_size, raw_size):
            size = struct.unpack_from("<I", data, raw_offset + rva - virtual_address)[0]
            break
    else:
        print(f"{exe}: _load_config_used at RVA {rva:#x} is in no section", file=sys.stderr)
        return 1
    struct.pack_into("<II", data, optional + 112 + 8 * LOAD_CONFIG_ENTRY, rva, size)
    checksum_offset = optional + 64
    if struct.unpack_from("<I", data, checksum_offset)[0]:
        struct.pack_into("<I", data, checksum_offset, pe_checksum(bytes(data), checksum_offset))
    open(exe, "wb").write(data)
    return 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        sys.exit(2)
    sys.exit(main(sys.argv[1], sys.argv[2]))
