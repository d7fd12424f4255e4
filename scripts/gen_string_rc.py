#!/usr/bin/env python3
"""Writes the STRINGTABLEs of the resource script, or the header of the
string ids, from resources/strings.inc.

strings.inc is the one source of the interface texts: a list of
ORVIKA2_STRING(id, IDS_SYMBOL, "English", "Traditional Chinese") with C
string literals in UTF-8, sorted by id. The resource script is a UTF-8
fragment for windres (#pragma code_page(65001)) with one table per
language; the header gives every id its symbol for the C++ code.

usage: gen_string_rc.py strings.inc output.rc
       gen_string_rc.py --ids strings.inc string_ids.h
"""
import os
import re
import sys

ENTRY = re.compile(r'^ORVIKA2_STRING\(\s*(\d+)\s*,\s*(IDS_[A-Z0-9_]+)\s*,\s*("(?:[^"\\]|\\.)*")\s*,'
                   r'\s*("(?:[^"\\]|\\.)*")\s*\)\s*$')
C_ESCAPES = {'\\': '\\', '"': '"', 'n': '\n', 'r': '\r', 't': '\t'}


def c_literal(literal):
    """The text of a C string literal (only the escapes strings.inc may use)."""
    body, out, i = literal[1:-1], [], 0
    while i < len(body):
        ch = body[i]
        if ch == '\\':
            nxt = body[i + 1]
            if nxt not in C_ESCAPES:
                raise ValueError(f'unsupported escape \\{nxt} in {literal}')
            out.append(C_ESCAPES[nxt])
            i += 2
        else:
            out.append(ch)
            i += 1
    return ''.join(out)


def rc_literal(text):
    """A resource-script literal; windres converts it from the code page."""
    out = []
    for ch in text:
        if ch == '\\':
            out.append('\\\\')
        elif ch == '"':
            out.append('""')
        elif ch == '\n':
            out.append('\\n')
        elif ch == '\r':
            out.append('\\r')
        elif ch == '\t':
            out.append('\\t')
        else:
            out.append(ch)
    return '"' + ''.join(out) + '"'


def read_entries(path):
    entries = []
    with open(path, encoding='utf-8') as source:
        for number, line in enumerate(source, 1):
            line = line.strip()
            if not line.startswith('ORVIKA2_STRING('):
                continue
            match = ENTRY.match(line)
            if not match:
                raise ValueError(f'{path}:{number}: cannot read entry')
            entries.append((int(match.group(1)), c_literal(match.group(3)), c_literal(match.group(4)),
                            match.group(2)))
    ids = [e[0] for e in entries]
    # The portable lookup searches the table by bisection.
    if ids != sorted(set(ids)):
        raise ValueError(f'{path}: string ids must be unique and in ascending order')
    symbols = [e[3] for e in entries]
    if len(set(symbols)) != len(symbols):
        raise ValueError(f'{path}: duplicate string symbol')
    return entries


def table(language, sublanguage, entries, pick):
    lines = [f'LANGUAGE {language}, {sublanguage}', 'STRINGTABLE', 'BEGIN']
    lines += [f'    {entry[0]}, {rc_literal(pick(entry))}' for entry in entries]
    lines += ['END', '']
    return lines


def resource_script(entries):
    lines = ['// Generated from resources/strings.inc by scripts/gen_string_rc.py.',
             '#pragma code_page(65001)', '']
    # English under the language-neutral id 0x0009, Traditional Chinese under 0x0404.
    lines += table('0x09', '0x00', entries, lambda e: e[1])
    lines += table('0x04', '0x01', entries, lambda e: e[2])
    return '\n'.join(lines)


def ids_header(entries):
    lines = ['// Generated from resources/strings.inc by scripts/gen_string_rc.py.',
             '#pragma once', '', 'namespace orvika2 {', '']
    lines += [f'inline constexpr int {entry[3]} = {entry[0]};' for entry in entries]
    lines += ['', '}  // namespace orvika2', '']
    return '\n'.join(lines)


def write_if_changed(target, text):
    # An unchanged header keeps its time, so a new text rebuilds only the tables.
    if os.path.exists(target):
        with open(target, encoding='utf-8', newline='') as old:
            if old.read() == text:
                return
    os.makedirs(os.path.dirname(os.path.abspath(target)), exist_ok=True)
    with open(target, 'w', encoding='utf-8', newline='\n') as out:
        out.write(text)


def main():
    args = sys.argv[1:]
    if len(args) == 3 and args[0] == '--ids':
        write_if_changed(args[2], ids_header(read_entries(args[1])))
    elif len(args) == 2:
        write_if_changed(args[1], resource_script(read_entries(args[0])))
    else:
        sys.exit(__doc__)


if __name__ == '__main__':
    main()
