#!/usr/bin/env python3
"""Fails when an include points upward between the source folders.

The folders stand in layers, lowest first; a file may include its own
folder and the folders below it. The command-line tool stands on the core
and ui/ only. resources/ (ids, the string table) and tests/ are outside the
layers.

usage: check_layers.py [source root]
"""
import pathlib
import re
import sys

LAYERS = ['platform', 'token', 'settings', 'ui', 'profiles', 'desktop', 'dialogs', 'app']
ALLOWED = {folder: set(LAYERS[:rank + 1]) for rank, folder in enumerate(LAYERS)}
ALLOWED['cli'] = {'platform', 'token', 'settings', 'ui', 'profiles', 'cli'}
INCLUDE = re.compile(r'^\s*#\s*include\s*"([A-Za-z0-9_]+)/')


def upward_includes(root):
    for folder, allowed in ALLOWED.items():
        for path in sorted((root / folder).rglob('*')):
            if path.suffix not in ('.h', '.cpp', '.inc'):
                continue
            for number, line in enumerate(path.read_text(encoding='utf-8', errors='replace').splitlines(), 1):
                match = INCLUDE.match(line)
                if match and match.group(1) in ALLOWED and match.group(1) not in allowed:
                    yield f'{path.relative_to(root)}:{number}: {folder}/ may not include {match.group(1)}/'


def main():
    root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent.parent)
    faults = list(upward_includes(root))
    for fault in faults:
        print(fault)
    print(f'layers: {len(faults)} upward include(s)' if faults else 'layers: every include points downward')
    return 1 if faults else 0


if __name__ == '__main__':
    sys.exit(main())
