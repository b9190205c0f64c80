#!/usr/bin/env python3
"""Saved readings (.zod) as the program writes them, in hex: the one encoder
of the end-to-end tests.

  zod.py line TEXT                       one masked line
  zod.py reading NAME MONTH              a whole saved reading
  zod.py reading --name-file FILE MONTH  the same, the UTF-8 name read from FILE

A masked line is each character that Windows-1252 holds shifted up by 85,
unless that passes 255, then CR LF. A reading is the name without leading and
trailing spaces, then the month; when masking lost a character of the name, a
third line keeps it whole: its UTF-8, percent-encoded, masked.
"""
import sys
import urllib.parse

UNASSIGNED = {0x81, 0x8D, 0x8F, 0x90, 0x9D}


def kept(ch):
    try:
        code = ord(ch) if ord(ch) in UNASSIGNED else ch.encode('cp1252')[0]
    except UnicodeEncodeError:
        return None
    return code + 85 if code + 85 <= 255 else None


def masked(text):
    return bytes(kept(ch) for ch in text if kept(ch) is not None) + b'\r\n'


def reading(name, month):
    name = name.strip(' ')
    saved = masked(name) + masked(month)
    if any(kept(ch) is None for ch in name):
        saved += masked(urllib.parse.quote(name.encode('utf-8'), safe=''))
    return saved


def main(args):
    if len(args) == 2 and args[0] == 'line':
        return masked(args[1])
    if len(args) == 3 and args[0] == 'reading':
        return reading(args[1], args[2])
    if len(args) == 4 and args[:2] == ['reading', '--name-file']:
        with open(args[2], encoding='utf-8', newline='') as file:
            return reading(file.read(), args[3])
    sys.exit(__doc__)


print(main(sys.argv[1:]).hex())
