#!/usr/bin/env python3
"""Writes the STRINGTABLEs of the resource script from resources/strings.inc.

strings.inc is the one source of the interface texts: a list of
ORVIKA2_STRING(id, "English", "Traditional Chinese") with C string literals
in UTF-8. The output is a UTF-8 resource script fragment for windres
(#pragma code_page(65001)) with one table per language.

usage: gen_string_rc.py strings.inc output.rc
"""
import re
import sys

ENTRY = re.compile(r'^ORVIKA2_STRING\(\s*(\d+)\s*,\s*("(?:[^"\\]|\\.)*")\s*,\s*("(?:[^"\\]|\\.)*")\s*\)\s*$')
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
            entries.append((int(match.group(1)), c_literal(match.group(2)), c_literal(match.group(3))))
    ids = [e[0] for e in entries]
    if len(set(ids)) != len(ids):
        raise ValueError(f'{path}: duplicate string id')
    return entries


def table(language, sublanguage, entries, pick):
    lines = [f'LANGUAGE {language}, {sublanguage}', 'STRINGTABLE', 'BEGIN']
    lines += [f'    {entry[0]}, {rc_literal(pick(entry))}' for entry in entries]
    lines += ['END', '']
    return lines


def main():
    source, target = sys.argv[1], sys.argv[2]
    entries = read_entries(source)
    lines = ['// Generated from resources/strings.inc by scripts/gen_string_rc.py.',
             '#pragma code_page(65001)', '']
    # English under the language-neutral id 0x0009, Traditional Chinese under 0x0404.
    lines += table('0x09', '0x00', entries, lambda e: e[1])
    lines += table('0x04', '0x01', entries, lambda e: e[2])
    with open(target, 'w', encoding='utf-8', newline='\n') as out:
        out.write('\n'.join(lines))


if __name__ == '__main__':
    main()
