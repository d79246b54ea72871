#!/usr/bin/env python3
"""Draws Tessary's 16 x 16 bitmaps and writes them as RGBA PNG files.

Every picture is a 16 x 16 text grid, written out or composed from smaller
grids; one character is one pixel of the 16-colour VGA palette ('.' is
transparent). Run from anywhere:

    python3 draw_icons.py              # writes KEY.png beside this file and ../resources.qrc
    python3 draw_icons.py --sheet out.png   # also writes a 4x contact sheet

Standard library only, so the pictures can be regenerated on any machine.
"""

import os
import struct
import sys
import zlib

PALETTE = {
    '.': None,
    'k': (0x00, 0x00, 0x00),
    'R': (0x80, 0x00, 0x00),
    'E': (0x00, 0x80, 0x00),
    'Y': (0x80, 0x80, 0x00),
    'B': (0x00, 0x00, 0x80),
    'M': (0x80, 0x00, 0x80),
    'C': (0x00, 0x80, 0x80),
    'g': (0xC0, 0xC0, 0xC0),
    'G': (0x80, 0x80, 0x80),
    'r': (0xFF, 0x00, 0x00),
    'e': (0x00, 0xFF, 0x00),
    'y': (0xFF, 0xFF, 0x00),
    'b': (0x00, 0x00, 0xFF),
    'm': (0xFF, 0x00, 0xFF),
    'c': (0x00, 0xFF, 0xFF),
    'w': (0xFF, 0xFF, 0xFF),
}

SIZE = 16


# ---------------------------------------------------------------- helpers

def compose(*layers):
    """Paints (part, top, left) layers in order on a transparent 16 x 16 grid."""
    canvas = [['.'] * SIZE for _ in range(SIZE)]
    for part, top, left in layers:
        for r, line in enumerate(part):
            for c, ch in enumerate(line):
                y, x = top + r, left + c
                if ch != '.' and 0 <= y < SIZE and 0 <= x < SIZE:
                    canvas[y][x] = ch
    return [''.join(row) for row in canvas]


def recolor(part, mapping):
    return [''.join(mapping.get(ch, ch) for ch in line) for line in part]


def window(width, height, title='B', body='w', title_rows=2):
    """A framed window: black outline, title bar, client area."""
    rows = ['k' * width]
    rows += ['k' + title * (width - 2) + 'k'] * title_rows
    rows += ['k' + body * (width - 2) + 'k'] * (height - 2 - title_rows)
    rows.append('k' * width)
    return rows


# ---------------------------------------------------------------- parts

GEAR9 = [
    '...kkk...',
    '.kkkgkkk.',
    '.kgggggk.',
    'kkgkkkgkk',
    'kggkGkggk',
    'kkgkkkgkk',
    '.kgggggk.',
    '.kkkgkkk.',
    '...kkk...',
]

GEAR7 = [
    '..kkk..',
    '.kkgkk.',
    'kkgggkk',
    'kggkggk',
    'kkgggkk',
    '.kkgkk.',
    '..kkk..',
]

CUBE8 = [
    '..kkkkkk',
    '.kyyyykk',
    'kkkkkkCk',
    'kcccckCk',
    'kcccckCk',
    'kcccckCk',
    'kcccckk.',
    'kkkkkk..',
]

LENS8 = [
    '.kkkk...',
    'kcwcck..',
    'kwccck..',
    'kcccck..',
    'kcccck..',
    '.kkkkkk.',
    '.....kkk',
    '......kk',
]

BRICK11 = [
    '..kkkkkkkkk',
    '.kmmmmmmmkk',
    'kkkkkkkkkMk',
    'kMMMMMMMkMk',
    'kMMMMMMMkMk',
    'kMMMMMMMkk.',
    'kkkkkkkkk..',
]

SMALL_SHEET = [
    'kkkkkk...',
    'kwwwwkk..',
    'kwwwwkwk.',
    'kwwwwkkkk',
    'kwBBBBBwk',
    'kwwwwwwwk',
    'kwBBBBwwk',
    'kwwwwwwwk',
    'kwBBBBBwk',
    'kwwwwwwwk',
    'kwBBBwwwk',
    'kkkkkkkkk',
]

RIGHT_ARROW = [
    '....k...',
    '....kk..',
    'kkkkkek.',
    'keeeeeek',
    'kkkkkek.',
    '....kk..',
    '....k...',
]

RED_X = [
    'rr...rr',
    'rrr.rrr',
    '.rrrrr.',
    '..rrr..',
    '.rrrrr.',
    'rrr.rrr',
    'rr...rr',
]

HOUSE9 = [
    '....k....',
    '...krk...',
    '..krrrk..',
    '.krrrrrk.',
    'kkkkkkkkk',
    '.kyyyyyk.',
    '.kyykyyk.',
    '.kyykyyk.',
    '.kkkkkkk.',
]

OPEN_CURVE = [
    '.kkkk....',
    'k....k...',
    'k.....k..',
    '....kkkkk',
    '.....kkk.',
    '......k..',
]

PROP_LIST = [
    'kkkkkkkkk',
    'kwwwkwwwk',
    'kGGwkBBwk',
    'kwwwkwwwk',
    'kGGwkBBwk',
    'kwwwkwwwk',
    'kGGwkBBwk',
    'kwwwkwwwk',
    'kkkkkkkkk',
]

CHAIN_LINK = [
    '.kkkkk.',
    'kgggggk',
    'kgkkkgk',
    'kgggggk',
    '.kkkkk.',
]

ERASER = [
    '..kkkkkkkkk',
    '.kwwwwbbwkk',
    'kkkkkkkkkGk',
    'kmmmmbbmkGk',
    'kmmmmbbmkGk',
    'kmmmmbbmkk.',
    'kkkkkkkkk..',
]

# ---------------------------------------------------------------- icons

ICONS = {}

ICONS['APPLICATION'] = [
    'kkkkkkkk........',
    'kwwwwwwkk.......',
    'kwBBBBwkwk......',
    'kwwwwwwkkkk.....',
    'kwBBBBBBwwk.....',
    'kwwwwwwkkkk.....',
    'kwBBBBkcwcck....',
    'kwwwwwkwccck....',
    'kwBBBBkcBBck....',
    'kwwwwwkcccck....',
    'kwBBBwwkkkkk....',
    'kwBBBBBBwwkkk...',
    'kwwwwwwwwwk.kk..',
    'kwBBBBwwwwk..kk.',
    'kwwwwwwwwwk...kk',
    'kkkkkkkkkkk.....',
]

ICONS['PROJECT'] = compose((window(13, 12), 0, 0), (GEAR9, 7, 7))

ICONS['FORM'] = [
    '................',
    'kkkkkkkkkkkkkkkk',
    'kBBBBBBBBBBBBBBk',
    'kBBBBBBBBBBBBBBk',
    'kggggggggggggggk',
    'kggkggkggkggkggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggkggkggkggkggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggkggkggkggkggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kkkkkkkkkkkkkkkk',
    '................',
]

ICONS['MDIFORM'] = [
    'kkkkkkkkkkkkkkkk',
    'kBBBBBBBBBBBBBBk',
    'kggggggggggggggk',
    'kGGGGGGGGGGGGGGk',
    'kGkkkkkkkGGGGGGk',
    'kGkBBBBBkGGGGGGk',
    'kGkwwwwwkGGGGGGk',
    'kGkwwwwkkkkkkkGk',
    'kGkwwwwkBBBBBkGk',
    'kGkwwwwkwwwwwkGk',
    'kGkkkkkkwwwwwkGk',
    'kGGGGGGkwwwwwkGk',
    'kGGGGGGkwwwwwkGk',
    'kGGGGGGkkkkkkkGk',
    'kGGGGGGGGGGGGGGk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['STD'] = [
    '..kkkkkkkkk.....',
    '..kwwwwwwwkk....',
    '..kwbbbbwwkwk...',
    '..kwwwwwwwkkkk..',
    '..kwwwwwwwwwwk..',
    '..kwbbbbbbwwwk..',
    '..kwwwwwwwwwwk..',
    '..kwwwbbbbbbwk..',
    '..kwwwwwwwwwwk..',
    '..kwwwbbbbwwwk..',
    '..kwwwwwwwwwwk..',
    '..kwbbbbbbbwwk..',
    '..kwwwwwwwwwwk..',
    '..kwbbbbwwwwwk..',
    '..kwwwwwwwwwwk..',
    '..kkkkkkkkkkkk..',
]

ICONS['CLASS'] = [
    '..kkkkkkkkk.....',
    '..kwwwwwwwkk....',
    '..kwbbbbwwkwk...',
    '..kwwwwwwwkkkk..',
    '..kwbbbbbbbbwk..',
    '..kwwwwwwwwwwk..',
    '..kwwwkkkkkkwk..',
    '..kwwkyyyykkwk..',
    '..kwkkkkkkCkwk..',
    '..kwkcccckCkwk..',
    '..kwkcccckCkwk..',
    '..kwkcccckCkwk..',
    '..kwkcccckkwwk..',
    '..kwkkkkkkwwwk..',
    '..kwwwwwwwwwwk..',
    '..kkkkkkkkkkkk..',
]

ICONS['USERCTRL'] = [
    '................',
    'kkkkkkkkkkkkkkkk',
    'kBBBBBBBBBBBBBBk',
    'kBBBBBBBBBBBBBBk',
    'kggggggggggggggk',
    'kgkgggggkggggkgk',
    'kggkkkkkkkkkkggk',
    'kggkwwwwwwwwkggk',
    'kggkwggggggGkggk',
    'kgkkwggggggGkkgk',
    'kggkwggggggGkggk',
    'kggkGGGGGGGGkggk',
    'kggkkkkkkkkkkggk',
    'kgkgggggkggggkgk',
    'kkkkkkkkkkkkkkkk',
    '................',
]

ICONS['PROPPAGE'] = [
    'kkkkkk..........',
    'kggggkkkkkk.....',
    'kggggkGGGGk.....',
    'kggggkkkkkkkkkk.',
    'kgggggggggggggk.',
    'kgggggkkkkkkkgk.',
    'kgGGGgkwwwwwkgk.',
    'kgggggkkkkkkkgk.',
    'kgggggggggggggk.',
    'kgggggkkkkkkkgk.',
    'kgGGGgkwwwwwkgk.',
    'kgggggkkkkkkkgk.',
    'kgggggggggggggk.',
    'kgkkkgGGGGGGggk.',
    'kgggggggggggggk.',
    'kkkkkkkkkkkkkkk.',
]

ICONS['USERDOC'] = [
    '..kkkkkkkkk.....',
    '..kwwwwwwwkk....',
    '..kwwwwwwwkwk...',
    '..kwwwwwwwkkkk..',
    '..kwwwwwwwwwwk..',
    '..kwkkkkkkkkwk..',
    '..kwkBBBBBBkwk..',
    '..kwkggggggkwk..',
    '..kwkggggggkwk..',
    '..kwkggggggkwk..',
    '..kwkkkkkkkkwk..',
    '..kwwwwwwwwwwk..',
    '..kwGGGGGGGwwk..',
    '..kwwwwwwwwwwk..',
    '..kwGGGGwwwwwk..',
    '..kkkkkkkkkkkk..',
]

ICONS['DESIGNER'] = compose(
    ([
        'k...............',
        'kk..............',
        'kyk.............',
        'kyyk............',
        'kyyyk...........',
        'kyyyyk..........',
        'kyykyyk.........',
        'kyykkyyk........',
        'kyyk.kyyk.......',
        'kyyk..kyyk......',
        'kyykkkkkyyk.....',
        'kyyyyyyyyyyk....',
        'kkkkkkkkkkkkk...',
    ], 3, 0),
    ([
        '..........kk',
        '.........kmmk',
        '........kGkmk',
        '.......kyGGk.',
        '......kyyyk..',
        '.....kyyyk...',
        '....kyyyk....',
        '...kwwyk.....',
        '...kwwk......',
        '...kkk.......',
    ], 0, 3),
)

ICONS['FOLDER'] = [
    '................',
    '................',
    '.kkkkk..........',
    'kwyyyyk.........',
    'kwyyyyykkkkkkkk.',
    'kwwwwwwwwwwwwwk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kwyyyyyyyyyyyYk.',
    'kYYYYYYYYYYYYYk.',
    'kkkkkkkkkkkkkkk.',
    '................',
]

ICONS['FOLDOPEN'] = [
    '................',
    '................',
    '.kkkkk..........',
    'kwyyyyk.........',
    'kwyyyyykkkkkkk..',
    'kwYYYYYYYYYYYk..',
    'kwYYYYYYYYYYYk..',
    'kwYYkkkkkkkkkkkk',
    'kwYYkyyyyyyyyyyk',
    'kwYkyyyyyyyyyyk.',
    'kwYkyyyyyyyyyyk.',
    'kwkyyyyyyyyyyk..',
    'kwkyyyyyyyyyyk..',
    'kkyyyyyyyyyyk...',
    'kkkkkkkkkkkkk...',
    '................',
]

ICONS['METHOD'] = compose(
    ([
        'GGG..',
        '.....',
        'GGGG.',
        '.....',
        '.GGG.',
    ], 6, 0),
    (BRICK11, 5, 4),
)

ICONS['PROPERTY'] = [
    '................',
    '....kkkkkkkkkkk.',
    '....kwwwwwwwwwk.',
    '....kwBBBBBBBwk.',
    '....kwwwwwwwwwk.',
    '....kwBBBBBwwwk.',
    '....kwwwwwwwwwk.',
    '..kkkwBBBBBBwwk.',
    '.kwwkwwwwwwwwwk.',
    '.kwwwkkkkkkkkkk.',
    'kwwwwwkkkk......',
    'kwwwwwwwwwk.....',
    'kwwwwwwkkk......',
    'kwwwwwwwwk......',
    '.kwwwwwkk.......',
    '..kkkkk.........',
]

ICONS['CONTROL'] = [
    'kkkkkkkkkkkkkkkk',
    'kwwwwwwwwkwwwwwk',
    'kwBBBBBBwkwwwwwk',
    'kwBBBBBBwkwwwwwk',
    'kwwwwwwwwkwwwwwk',
    'kkkkkkkkkkkkkkkk',
    '................',
    'kkkkkkkkkkkkkkkk',
    'kwwwwwwwwwwwwwGk',
    'kwggggggggggggGk',
    'kwggggggggggggGk',
    'kwggkkkkkkkkggGk',
    'kwggggggggggggGk',
    'kwggggggggggggGk',
    'kGGGGGGGGGGGGGGk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['LIBRARY'] = [
    '....kkkkk.......',
    '....kbbbk.......',
    'kkkkkyyyk.......',
    'krrrkbbbkkkkk...',
    'kyyykbbbkEEEk...',
    'krrrkbbbkyyykkkk',
    'krrrkbbbkEEEkCCk',
    'krrrkbbbkEEEkyyk',
    'krrrkbbbkEEEkCCk',
    'krrrkbbbkEEEkCCk',
    'krrrkbbbkEEEkCCk',
    'krrrkbbbkEEEkCCk',
    'kyyykyyykyyykyyk',
    'krrrkbbbkEEEkCCk',
    'krrrkbbbkEEEkCCk',
    'kkkkkkkkkkkkkkkk',
]

_VB_LETTERS = [
    'bb...bb.bbbbbb.',
    'bb...bb.bb...bb',
    'bb...bb.bb...bb',
    '.bb.bb..bb...bb',
    '.bb.bb..bbbbbb.',
    '.bb.bb..bb...bb',
    '..bbb...bb...bb',
    '..bbb...bb...bb',
    '...b....bbbbbb.',
]
ICONS['VB'] = compose((recolor(_VB_LETTERS, {'b': 'B'}), 4, 1), (_VB_LETTERS, 3, 0))

ICONS['GROUP'] = compose(
    (window(11, 9, title='G'), 0, 0), (GEAR7, 4, 6),
    (window(11, 9), 6, 5), (GEAR7, 9, 9),
)

ICONS['MDICHILD'] = [
    'kkkkkkkkkkkkkkkk',
    'kBBBBBBBBBBBBBBk',
    'kggggggggggggggk',
    'kGGGGGGGGGGGGGGk',
    'kGyyyyyyyyyyyyGk',
    'kGykkkkkkkkkkyGk',
    'kGykbbbbbbbbkyGk',
    'kGykbbbbbbbbkyGk',
    'kGykwwwwwwwwkyGk',
    'kGykwwwwwwwwkyGk',
    'kGykwwwwwwwwkyGk',
    'kGykwwwwwwwwkyGk',
    'kGykkkkkkkkkkyGk',
    'kGyyyyyyyyyyyyGk',
    'kGGGGGGGGGGGGGGk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['DECLARE'] = compose(
    (recolor(BRICK11, {'m': 'c', 'M': 'C'}), 8, 0),
    ([
        '..kkkkkk',
        '..keeeek',
        '...keeek',
        '..keeeek',
        '.keeekek',
        'keeek.kk',
        'keek....',
        '.kk.....',
    ], 0, 8),
)

ICONS['INFORMATION'] = [
    '.....kkkkkk.....',
    '...kkbbbbbbkk...',
    '..kbbbbbbbbbbk..',
    '.kbbbbbwwbbbbbk.',
    '.kbbbbbwwbbbbbk.',
    'kbbbbbbbbbbbbbbk',
    'kbbbbbwwwbbbbbbk',
    'kbbbbbbwwbbbbbbk',
    'kbbbbbbwwbbbbbbk',
    'kbbbbbbwwbbbbbbk',
    'kbbbbbbwwbbbbbbk',
    '.kbbbbbwwbbbbbk.',
    '.kbbbbwwwwbbbbk.',
    '..kbbbbbbbbbbk..',
    '...kkbbbbbbkk...',
    '.....kkkkkk.....',
]

ICONS['EXCLAMATION'] = [
    '.......kk.......',
    '......kyyk......',
    '......kyyk......',
    '.....kyyyyk.....',
    '.....kykkyk.....',
    '....kyykkyyk....',
    '....kyykkyyk....',
    '...kyyykkyyyk...',
    '...kyyykkyyyk...',
    '..kyyyykkyyyyk..',
    '..kyyyyyyyyyyk..',
    '.kyyyyykkyyyyyk.',
    '.kyyyyykkyyyyyk.',
    'kyyyyyyyyyyyyyyk',
    'kyyyyyyyyyyyyyyk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['CRITICAL'] = [
    '.....kkkkkk.....',
    '...kkrrrrrrkk...',
    '..krrrrrrrrrrk..',
    '.krrrrrrrrrrrrk.',
    '.krrwwrrrrwwrrk.',
    'krrrwwwrrwwwrrrk',
    'krrrrwwwwwwrrrrk',
    'krrrrrwwwwrrrrrk',
    'krrrrrwwwwrrrrrk',
    'krrrrwwwwwwrrrrk',
    'krrrwwwrrwwwrrrk',
    '.krrwwrrrrwwrrk.',
    '.krrrrrrrrrrrrk.',
    '..krrrrrrrrrrk..',
    '...kkrrrrrrkk...',
    '.....kkkkkk.....',
]

ICONS['COMMENT'] = [
    '................',
    '.kkkkkkkkkkkkkk.',
    'kwwwwwwwwwwwwwwk',
    'kwEEwwwwwwwwwwwk',
    'kwEEwEEEEEEEEwwk',
    'kwwEwwwwwwwwwwwk',
    'kwEwwEEEEEEwwwwk',
    'kwwwwwwwwwwwwwwk',
    'kwwwwEEEEEEEEwwk',
    'kwwwwwwwwwwwwwwk',
    '.kkkwwkkkkkkkkk.',
    '...kwk..........',
    '..kwk...........',
    '..kk............',
    '................',
    '................',
]

ICONS['CONSTANT'] = [
    '................',
    '.kkkkkkkkkkkkkk.',
    '.kwwwwwwwwwwwGk.',
    '.kwggBBggBBggGk.',
    '.kwggBBggBBggGk.',
    '.kwBBBBBBBBBBGk.',
    '.kwBBBBBBBBBBGk.',
    '.kwggBBggBBggGk.',
    '.kwggBBggBBggGk.',
    '.kwBBBBBBBBBBGk.',
    '.kwBBBBBBBBBBGk.',
    '.kwggBBggBBggGk.',
    '.kwggBBggBBggGk.',
    '.kGGGGGGGGGGGGk.',
    '.kkkkkkkkkkkkkk.',
    '................',
]

_TAB_KEY = [
    '....k...k',
    '....kk..k',
    'kkkkkkk.k',
    '....kk..k',
    '....k...k',
]
ICONS['TABORDER'] = compose(
    (['BBBBB', 'BBwBB', 'BwwBB', 'BBwBB', 'BBwBB', 'BwwwB', 'BBBBB'], 0, 0),
    (_TAB_KEY, 1, 7),
    (['BBBBB', 'BwwBB', 'BBBwB', 'BBwBB', 'BwBBB', 'BwwwB', 'BBBBB'], 8, 0),
    (_TAB_KEY, 9, 7),
)

ICONS['PROJECTS'] = compose(
    (window(12, 7, title='G', title_rows=1), 0, 4),
    (window(12, 7, title='G', title_rows=1), 4, 2),
    (window(12, 8), 8, 0),
    (GEAR7, 9, 9),
)

ICONS['LOCAL'] = compose(
    ([
        'kkkkkkkkkkk',
        'kwwwwwwwwwk',
        'kwBwwwBwwwk',
        'kwwBwBwwwwk',
        'kwwwBwwwwwk',
        'kwwBwBwwwwk',
        'kwBwwwBwwwk',
        'kwwwwwwwwwk',
        'kkkkkkkkkkk',
    ], 0, 0),
    (HOUSE9, 7, 7),
)

ICONS['IMMEDIATE'] = compose(
    (window(16, 14), 1, 0),
    ([
        'kk......',
        '.kk.....',
        '..kk....',
        '.kk.....',
        'kk..kkkk',
    ], 6, 2),
    (['GGGGGGGGG'], 12, 2),
)

ICONS['OBJECTBROWSER'] = compose(
    (window(16, 14), 1, 0),
    (recolor(CUBE8, {'c': 'r', 'C': 'R'}), 4, 1),
    (LENS8, 8, 8),
)

# toolbar 0

ICONS['REFRESH'] = [
    '................',
    '.....kkkkkk.....',
    '...kkeeeeeekk...',
    '..keeeeeeeeeek..',
    '..kkkkkkkkeeek..',
    '..........kkeek.',
    '..kk.......keek.',
    '.keek.....keeeek',
    'keeeek.....keek.',
    '.keek.......kk..',
    '.keekk..........',
    '..keeekkkkkkkk..',
    '..keeeeeeeeeek..',
    '...kkeeeeeekk...',
    '.....kkkkkk.....',
    '................',
]

ICONS['DEPENDENCY'] = [
    'kkkkkk..........',
    'kyyyyk..........',
    'kyyyyk..........',
    'kkkkkk..........',
    '..k.............',
    '..k...kkkkkk....',
    '..kkkkkcccck....',
    '..k...kcccck....',
    '..k...kkkkkk....',
    '..k.......k.....',
    '..k.......k.kkkk',
    '..k...kkkkkkkcck',
    '..kkkkkcccck.kkk',
    '......kcccck....',
    '......kkkkkk....',
    '................',
]

ICONS['OPTIMIZE'] = compose(
    (ICONS['STD'], 0, -2),
    ([
        '.........kk',
        '........kEk',
        '.kk....kEEk',
        'kEEk..kEEk.',
        'kEEEkkEEk..',
        '.kEEEEEk...',
        '..kEEEk....',
        '...kkk.....',
    ], 7, 5),
)

_PROC_ITEM = ['.kkkk', 'kmmmk', 'kkkk.']
ICONS['PROC'] = compose(
    (_PROC_ITEM, 0, 0), (['kkkkkkkk'], 1, 7),
    (_PROC_ITEM, 4, 0), (['kkkkkk'], 5, 7),
    (_PROC_ITEM, 8, 0), (['kkkkkkkkk'], 9, 7),
    (_PROC_ITEM, 12, 0), (['kkkkk'], 13, 7),
)

ICONS['CTRL'] = compose(
    (['kkkkkk', 'kwwwwk', 'kwwwwk', 'kkkkkk'], 1, 0), (['kkkkkkk'], 2, 8),
    (['wwwwwk', 'wggggk', 'wggggk', 'kkkkkk'], 6, 0), (['kkkkk'], 7, 8),
    (['kkkk', 'kwEk', 'kEwk', 'kkkk'], 11, 1), (['kkkkkkkk'], 12, 8),
)

ICONS['DOWN'] = [
    '......kkkk......',
    '......kbbk......',
    '......kbbk......',
    '......kbbk......',
    '......kbbk......',
    '...kkkkbbkkkk...',
    '....kbbbbbbk....',
    '.....kbbbbk.....',
    'kkkkkkkbbkkkkkkk',
    'kggggggkkggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['UP'] = [
    '.......kk.......',
    '......kbbk......',
    '.....kbbbbk.....',
    '....kbbbbbbk....',
    '...kkkkbbkkkk...',
    '......kbbk......',
    '......kbbk......',
    '......kbbk......',
    'kkkkkkkbbkkkkkkk',
    'kgggggkbbkgggggk',
    'kgggggkkkkgggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kggggggggggggggk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['SAVE'] = [
    'kkkkkkkkkkkkkkk.',
    'kBkwwwwwwwwwwkBk',
    'kBkwwwwwwwwwwkBk',
    'kBkwGGGGGGGGwkBk',
    'kBkwwwwwwwwwwkBk',
    'kBkwGGGGGGGGwkBk',
    'kBkwwwwwwwwwwkBk',
    'kBBkkkkkkkkkkBBk',
    'kBBBBBBBBBBBBBBk',
    'kBBBkkkkkkkkBBBk',
    'kBBBkggggGGkBBBk',
    'kBBBkggggGGkBBBk',
    'kBBBkggggGGkBBBk',
    'kBBBkggggGGkBBBk',
    'kBBBkggggGGkBBBk',
    'kkkkkkkkkkkkkkkk',
]

ICONS['COPY'] = compose((SMALL_SHEET, 0, 0), (SMALL_SHEET, 4, 7))

ICONS['FIND'] = [
    '................',
    '..kkkk....kkkk..',
    '..kgGk....kgGk..',
    '..kgGk....kgGk..',
    '.kkkkkk..kkkkkk.',
    '.kgGGGkkkkgGGGk.',
    '.kgGGGkGGkgGGGk.',
    'kkkkkkkkkkkkkkkk',
    'kgGGGGk..kgGGGGk',
    'kgGGGGk..kgGGGGk',
    'kgGGGGk..kgGGGGk',
    'kgGGGGk..kgGGGGk',
    'kcwccck..kcwccck',
    'kccccck..kccccck',
    'kkkkkkk..kkkkkkk',
    '................',
]

ICONS['EDITOR'] = [
    '...k..k..k..k...',
    '.kkGkkGkkGkkGkk.',
    '.kwGwwGwwGwwGwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwGGGGGGGGwwwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwGGGGGGwwwwwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwGGGGGGGGGGwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwGGGGGwwwwwwk.',
    '.kwwwwwwwwwwwwk.',
    '.kwGGGGGGGGwwwk.',
    '.kwwwwwwwwwwwwk.',
    '.kkkkkkkkkkkkkk.',
]

ICONS['ABOUT'] = [
    '..kkkkkkkkkkkk..',
    '.kwwwwwwwwwwwwk.',
    'kwwwwwbbbbwwwwwk',
    'kwwwwbbwwbbwwwwk',
    'kwwwwwwwwbbwwwwk',
    'kwwwwwwwbbwwwwwk',
    'kwwwwwwbbwwwwwwk',
    'kwwwwwwbbwwwwwwk',
    'kwwwwwwwwwwwwwwk',
    'kwwwwwwbbwwwwwwk',
    '.kwwwwwbbwwwwwk.',
    '..kwwkkkkkkkkk..',
    '..kwk...........',
    '..kk............',
    '................',
    '................',
]

# toolbar 1

ICONS['OPEN'] = compose((ICONS['FOLDOPEN'], 1, 0), (OPEN_CURVE, 0, 7))

ICONS['PRJPROP'] = compose((window(12, 11), 0, 0), (GEAR7, 4, 2), (PROP_LIST, 7, 7))

ICONS['REFERENCE'] = compose(
    ([
        '...kkkk....',
        '...kbbk....',
        'kkkkyyk....',
        'krrkbbkkkkk',
        'kyykbbkEEEk',
        'krrkbbkyyyk',
        'krrkbbkEEEk',
        'krrkbbkEEEk',
        'krrkbbkEEEk',
        'kyykyykyyyk',
        'krrkbbkEEEk',
        'kkkkkkkkkkk',
    ], 0, 0),
    (CHAIN_LINK, 9, 4), (CHAIN_LINK, 11, 9),
)

_TOOLBOX = ['kkkkkkkkkkkkkkk'] + ['kggggggGggggggk'] * 14 + ['kkkkkkkkkkkkkkk']
ICONS['COMPONENT'] = compose(
    (_TOOLBOX, 0, 0),
    (['GGGGGGGGGGGGG'], 5, 1), (['GGGGGGGGGGGGG'], 10, 1),
    (['k...', 'kk..', 'kkk.', 'k.k.'], 1, 2),
    (['.BB.', 'B..B', 'BBBB', 'B..B'], 1, 9),
    (['kkkkkk', 'kwwwwk', 'kwwwwk', 'kkkkkk'], 6, 1),
    (['wwwwwk', 'wgggGk', 'wGGGGk', 'kkkkkk'], 6, 8),
    (['kkkk', 'kwEk', 'kEwk', 'kkkk'], 11, 2),
    (['.kk.', 'kbbk', 'kbbk', '.kk.'], 11, 10),
)

ICONS['ADDIN'] = [
    '................',
    '.....kkkk.......',
    '....keeeek......',
    '....keeeek......',
    '.kkkkkeekkkkkk..',
    '.keeeeeeeeeeek..',
    '.keeeeeeeeeeekk.',
    '.keeeeeeeeeeeeek',
    '.keeeeeeeeeeeeek',
    '.keeeeeeeeeeekk.',
    '.keeeeeeeeeeek..',
    '.keeeeeeeeeeek..',
    '.keeeeeeeeeeek..',
    '.keeeeeeeeeeek..',
    '.kkkkkkkkkkkkk..',
    '................',
]

ICONS['COMPILE'] = compose(
    (window(9, 12), 2, 7),
    (GEAR7, 5, 8),
    (RIGHT_ARROW, 5, 0),
)

ICONS['WIPER'] = compose(
    (window(14, 12), 0, 0),
    (['GGGGGGGG', '........', 'GGGGGG..', '........', 'GGGGGGGGG'], 4, 2),
    (ERASER, 8, 5),
)

ICONS['MSDN'] = [
    '..kkkkkkkkkkkkk.',
    '..kBbbbbbbbbbbk.',
    '..kBbbbyyyybbbk.',
    '..kBbbyybbyybbk.',
    '..kBbbbbbbyybbk.',
    '..kBbbbbbyybbbk.',
    '..kBbbbbyybbbbk.',
    '..kBbbbbyybbbbk.',
    '..kBbbbbbbbbbbk.',
    '..kBbbbbyybbbbk.',
    '..kBbbbbyybbbbk.',
    '..kBbbbbbbbbbbk.',
    '..kBkkkkkkkkkkk.',
    '..kBwwwwwwwwwwk.',
    '...kkkkkkkkkkkk.',
    '................',
]

ICONS['HORIZONTAL'] = compose((window(16, 8), 0, 0), (window(16, 8, title='G'), 8, 0))

ICONS['VERTICAL'] = compose((window(8, 14), 1, 0), (window(8, 14, title='G'), 1, 8))

ICONS['TILE'] = compose(
    (window(10, 9, title='G'), 0, 0),
    (window(10, 9, title='G'), 3, 3),
    (window(10, 9), 6, 6),
)

_MINIMIZED = ['kkkk', 'kBBk', 'kkkk']
ICONS['ICON'] = compose(
    (window(16, 14, body='G', title_rows=1), 1, 0),
    (_MINIMIZED, 10, 1), (_MINIMIZED, 10, 6), (_MINIMIZED, 10, 11),
)

ICONS['CLOSE'] = compose(
    (window(11, 10, title='G'), 0, 0),
    (window(11, 10), 3, 3),
    (RED_X, 9, 9),
)

ORDER = [
    'APPLICATION', 'PROJECT', 'FORM', 'MDIFORM', 'STD', 'CLASS', 'USERCTRL', 'PROPPAGE',
    'USERDOC', 'DESIGNER', 'FOLDER', 'FOLDOPEN', 'METHOD', 'PROPERTY', 'CONTROL', 'LIBRARY',
    'VB', 'GROUP', 'MDICHILD', 'DECLARE', 'INFORMATION', 'EXCLAMATION', 'CRITICAL', 'COMMENT',
    'CONSTANT', 'TABORDER', 'PROJECTS', 'LOCAL', 'IMMEDIATE', 'OBJECTBROWSER',
    'REFRESH', 'DEPENDENCY', 'OPTIMIZE', 'PROC', 'CTRL', 'DOWN', 'UP', 'SAVE', 'COPY', 'FIND',
    'EDITOR', 'ABOUT',
    'OPEN', 'PRJPROP', 'REFERENCE', 'COMPONENT', 'ADDIN', 'COMPILE', 'WIPER', 'MSDN',
    'HORIZONTAL', 'VERTICAL', 'TILE', 'ICON', 'CLOSE',
]


# ---------------------------------------------------------------- output

def check(name, grid):
    if len(grid) != SIZE or any(len(line) != SIZE for line in grid):
        bad = [i for i, line in enumerate(grid) if len(line) != SIZE]
        raise ValueError('%s: grid is not 16 x 16 (rows %s, %d rows)' % (name, bad, len(grid)))
    for line in grid:
        for ch in line:
            if ch not in PALETTE:
                raise ValueError('%s: unknown colour %r' % (name, ch))


def rgba(ch):
    rgb = PALETTE[ch]
    return (0, 0, 0, 0) if rgb is None else rgb + (255,)


def write_png(path, pixels):
    """pixels: list of rows of (r, g, b, a)."""
    height, width = len(pixels), len(pixels[0])
    raw = b''.join(b'\x00' + b''.join(struct.pack('4B', *p) for p in row) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


# 3 x 5 capitals for the contact sheet labels
FONT = {
    'A': ['.k.', 'k.k', 'kkk', 'k.k', 'k.k'], 'B': ['kk.', 'k.k', 'kk.', 'k.k', 'kk.'],
    'C': ['.kk', 'k..', 'k..', 'k..', '.kk'], 'D': ['kk.', 'k.k', 'k.k', 'k.k', 'kk.'],
    'E': ['kkk', 'k..', 'kk.', 'k..', 'kkk'], 'F': ['kkk', 'k..', 'kk.', 'k..', 'k..'],
    'G': ['.kk', 'k..', 'k.k', 'k.k', '.kk'], 'H': ['k.k', 'k.k', 'kkk', 'k.k', 'k.k'],
    'I': ['kkk', '.k.', '.k.', '.k.', 'kkk'], 'J': ['..k', '..k', '..k', 'k.k', '.k.'],
    'K': ['k.k', 'k.k', 'kk.', 'k.k', 'k.k'], 'L': ['k..', 'k..', 'k..', 'k..', 'kkk'],
    'M': ['k.k', 'kkk', 'kkk', 'k.k', 'k.k'], 'N': ['kk.', 'k.k', 'k.k', 'k.k', 'k.k'],
    'O': ['.k.', 'k.k', 'k.k', 'k.k', '.k.'], 'P': ['kk.', 'k.k', 'kk.', 'k..', 'k..'],
    'Q': ['.k.', 'k.k', 'k.k', 'kk.', '.kk'], 'R': ['kk.', 'k.k', 'kk.', 'k.k', 'k.k'],
    'S': ['.kk', 'k..', '.k.', '..k', 'kk.'], 'T': ['kkk', '.k.', '.k.', '.k.', '.k.'],
    'U': ['k.k', 'k.k', 'k.k', 'k.k', 'kkk'], 'V': ['k.k', 'k.k', 'k.k', 'k.k', '.k.'],
    'W': ['k.k', 'k.k', 'kkk', 'kkk', 'k.k'], 'X': ['k.k', 'k.k', '.k.', 'k.k', 'k.k'],
    'Y': ['k.k', 'k.k', '.k.', '.k.', '.k.'], 'Z': ['kkk', '..k', '.k.', 'k..', 'kkk'],
}


def write_sheet(path, icons):
    """4x enlargements on a checkerboard, plus 1x copies on grey and white, with the key."""
    cols, cell_w, cell_h = 6, 140, 82
    rows = (len(icons) + cols - 1) // cols
    width, height = cols * cell_w, rows * cell_h
    img = [[(0xFF, 0xFF, 0xFF, 255)] * width for _ in range(height)]
    for i, (name, grid) in enumerate(icons):
        ox, oy = (i % cols) * cell_w + 4, (i // cols) * cell_h + 4
        for y in range(64):
            for x in range(64):
                ch = grid[y // 4][x // 4]
                if ch == '.':
                    light = ((x // 8) + (y // 8)) % 2 == 0
                    img[oy + y][ox + x] = (0xE8, 0xE8, 0xE8, 255) if light else (0xD0, 0xF0, 0xD0, 255)
                else:
                    img[oy + y][ox + x] = rgba(ch)
        for bx, back in ((70, PALETTE['g']), (92, PALETTE['w'])):
            for y in range(-2, 18):
                for x in range(-2, 18):
                    img[oy + 20 + y][ox + bx + x] = back + (255,)
            for y in range(16):
                for x in range(16):
                    ch = grid[y][x]
                    if ch != '.':
                        img[oy + 20 + y][ox + bx + x] = rgba(ch)
        tx = ox
        for letter in name:
            glyph = FONT.get(letter, ['...'] * 5)
            for gy, line in enumerate(glyph):
                for gx, ch in enumerate(line):
                    if ch == 'k':
                        for sy in range(2):
                            for sx in range(2):
                                img[oy + 66 + gy * 2 + sy][tx + gx * 2 + sx] = (0, 0, 0, 255)
            tx += 8
    write_png(path, img)


def write_qrc(path, names):
    lines = ['<!DOCTYPE RCC>', '<RCC version="1.0">', '<qresource prefix="/images">']
    lines += ['    <file alias="%s">images/%s.png</file>' % (n, n) for n in names]
    lines += ['</qresource>', '</RCC>', '']
    with open(path, 'w', newline='\n') as f:
        f.write('\n'.join(lines))


def main(argv):
    here = os.path.dirname(os.path.abspath(__file__))
    if sorted(ORDER) != sorted(ICONS):
        raise ValueError('ORDER and ICONS differ: %s' % sorted(set(ORDER) ^ set(ICONS)))
    for name in ORDER:
        check(name, ICONS[name])
    for name in ORDER:
        write_png(os.path.join(here, name + '.png'),
                  [[rgba(ch) for ch in line] for line in ICONS[name]])
    write_qrc(os.path.join(os.path.dirname(here), 'resources.qrc'), ORDER)
    if len(argv) >= 2 and argv[0] == '--sheet':
        write_sheet(argv[1], [(n, ICONS[n]) for n in ORDER])
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
