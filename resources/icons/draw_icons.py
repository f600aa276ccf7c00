#!/usr/bin/env python3
"""Draws the fourteen 19 x 17 list icons of the directory page, pixel by
pixel, and writes them as PNG files next to this script. Run it again after
changing a picture; the PNG files are kept in the repository."""

import os
import struct
import zlib

WIDTH, HEIGHT = 19, 17

PALETTE = {
    '.': (0, 0, 0, 0),
    'k': (48, 52, 60, 255),      # outline
    'w': (255, 255, 255, 255),
    'G': (196, 200, 206, 255),   # page fold
    'd': (90, 96, 106, 255),     # dark grey ink
    'y': (250, 204, 72, 255),    # folder body
    'Y': (214, 160, 30, 255),    # folder tab and edge
    'b': (38, 104, 200, 255),
    'c': (150, 200, 245, 255),   # sky
    'g': (46, 150, 72, 255),
    'l': (120, 200, 110, 255),
    'p': (130, 62, 170, 255),
    't': (18, 140, 140, 255),
    'T': (170, 225, 222, 255),
    'o': (226, 120, 24, 255),
    'r': (206, 44, 44, 255),
    'n': (30, 50, 120, 255),
    'm': (196, 40, 140, 255),
    's': (255, 196, 40, 255),    # sun
}

FOLDER = """
...................
...................
.YYYYYY............
YyyyyyyY...........
YyyyyyyyYYYYYYYYY..
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
YyyyyyyyyyyyyyyyyY.
.YYYYYYYYYYYYYYYY..
...................
"""

# A sheet of paper with a folded corner; every type icon draws on it.
PAGE = """
..kkkkkkkkkkk......
..kwwwwwwwwwkk.....
..kwwwwwwwwwkGk....
..kwwwwwwwwwkGGk...
..kwwwwwwwwwkkkkk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kwwwwwwwwwwwwwk..
..kkkkkkkkkkkkkkk..
"""

# Pictures drawn on the page, 13 x 11, placed at column 3, row 5; '.' keeps
# the page underneath.
GLYPHS = {
    'unknown': """
....ddddd....
...dd...dd...
.........dd..
........dd...
.......dd....
......dd.....
......dd.....
.............
......dd.....
......dd.....
.............
""",
    'expr': """
.........bbb.
...........b.
.........bbb.
.........b...
.bb...bb.bbb.
..bb.bb......
...bbb.......
...bbb.......
..bb.bb......
.bb...bb.....
.............
""",
    'list': """
...g.....g...
..g.......g..
..g.......g..
..g.......g..
.g.........g.
..g.gg.gg.g..
..g.gg.gg.g..
..g.......g..
..g.......g..
...g.....g...
.............
""",
    'mat': """
.ppp.....ppp.
.p.........p.
.p.p..p..p.p.
.p.........p.
.p.........p.
.p.p..p..p.p.
.p.........p.
.p.........p.
.p.p..p..p.p.
.p.........p.
.ppp.....ppp.
""",
    'dat': """
.............
.ttttttttttt.
.ttttttttttt.
.t...t...t.t.
.ttttttttttt.
.t...t...t.t.
.ttttttttttt.
.t...t...t.t.
.ttttttttttt.
.t...t...t.t.
.ttttttttttt.
""",
    'text': """
.............
.dddddddddd..
.............
.ddddddddddd.
.............
.dddddddd....
.............
.dddddddddd..
.............
.dddddd......
.............
""",
    'str': """
.............
.oo.oo.......
.oo.oo.......
..o..o.......
.............
..ooo..o.....
.....o.o.....
..oooo.ooo...
.o...o.o..o..
..oooo.ooo...
.............
""",
    'gfx': """
.d...........
.d.......rr..
.d......r..r.
.d.rr..r.....
.dr..rr......
.d...........
.d...........
.ddddddddddd.
.d...........
.............
.............
""",
    'fig': """
......g......
.....glg.....
....glllg....
....glllg....
...glllllg...
...glllllg...
..glllllllg..
..glllllllg..
.glllllllllg.
.ggggggggggg.
.............
""",
    'pic': """
ccccccccccccc
ccccccccsssc.
cccccccsssss.
cccccccsssss.
ccgcccccsssc.
cgggccccccccc
gggggccgccccc
ggggggggggccc
gggggggggggcc
ggggggggggggg
ggggggggggggg
""",
    'prg': """
.............
.n..nnnnnn...
.n...........
.....nnnnnnn.
.n...........
.n..nnnnn....
.............
.....nnnnnn..
.n...........
.n..nnnnnnnn.
.............
""",
    'func': """
.............
..rr.........
.r...r.....r.
.r..r.......r
rrr.r.r...r.r
.r..r..r.r..r
.r..r...r...r
.r..r..r.r..r
.r..r.r...r.r
.r..r.......r
.r...r.....r.
""",
    'macr': """
.............
....mmmmm....
...m.....m...
..m..mmm..m..
..m.mmmmm.m..
..m.mmmmm.m..
..m.mmmmm.m..
..m..mmm..m..
...m.....m...
....mmmmm....
.............
""",
}

# Image index order of the list: folder, spare, then the type icons.
ICONS = [
    ('folder', None), ('unknown', 'unknown'), ('expr', 'expr'), ('list', 'list'),
    ('mat', 'mat'), ('dat', 'dat'), ('text', 'text'), ('str', 'str'), ('gfx', 'gfx'),
    ('fig', 'fig'), ('pic', 'pic'), ('prg', 'prg'), ('func', 'func'), ('macr', 'macr'),
]


def rows(art):
    lines = art.strip('\n').split('\n')
    return [list(line) for line in lines]


def compose(glyph):
    if glyph is None:
        pixels = rows(FOLDER)
    else:
        pixels = rows(PAGE)
        for y, line in enumerate(rows(GLYPHS[glyph])):
            for x, ch in enumerate(line):
                if ch != '.':
                    pixels[5 + y][3 + x] = ch
    assert len(pixels) == HEIGHT, glyph
    for line in pixels:
        assert len(line) == WIDTH, (glyph, ''.join(line))
    return pixels


def png(pixels):
    raw = b''.join(b'\x00' + b''.join(bytes(PALETTE[ch]) for ch in line) for line in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack('>IIBBBBB', WIDTH, HEIGHT, 8, 6, 0, 0, 0)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
            chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b''))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for index, (name, glyph) in enumerate(ICONS):
        path = os.path.join(here, '%02d-%s.png' % (index, name))
        with open(path, 'wb') as out:
            out.write(png(compose(glyph)))


if __name__ == '__main__':
    main()
