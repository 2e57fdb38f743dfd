"""Writes the add-in's toolbar and panel images as PNG files from the
character pictures below (run by hand; the PNGs are kept in the tree)."""
import struct
import zlib

COLOURS = {
    '.': (192, 192, 192, 0),   # transparent (the button face shows)
    'k': (0, 0, 0, 255),
    'w': (255, 255, 255, 255),
    'g': (128, 128, 128, 255),
    'r': (200, 30, 30, 255),
    'G': (30, 150, 30, 255),
    'b': (30, 60, 200, 255),
    'y': (230, 190, 40, 255),
    'c': (40, 160, 200, 255),
    'o': (200, 110, 20, 255),
}


def write_png(path, rows):
    height = len(rows)
    width = len(rows[0])
    raw = b''
    for row in rows:
        assert len(row) == width, (path, row)
        raw += b'\x00' + b''.join(bytes(COLOURS[ch]) for ch in row)

    def chunk(kind, data):
        body = kind + data
        return struct.pack('>I', len(data)) + body + struct.pack('>I', zlib.crc32(body) & 0xffffffff)

    png = b'\x89PNG\r\n\x1a\n'
    png += chunk(b'IHDR', struct.pack('>IIBBBBB', width, height, 8, 6, 0, 0, 0))
    png += chunk(b'IDAT', zlib.compress(raw, 9))
    png += chunk(b'IEND', b'')
    with open(path, 'wb') as f:
        f.write(png)


ICONS = {
    'add_operation': [
        "................",
        "..G.............",
        ".GGG............",
        "..G.............",
        "..G.............",
        "..G.............",
        "..G.......kk....",
        "..G.......kk....",
        "..G.....kkkkkk..",
        "..G.....kkkkkk..",
        "..G.......kk....",
        "..Grrrrrr.kk....",
        "..G....rrr......",
        "........r.......",
        "................",
    ],
    'toolstore': [
        "................",
        "......gggg......",
        "......gwwg......",
        "......gwwg......",
        "......gwwg......",
        "......gwwg......",
        ".....cccccc.....",
        "......cccc......",
        "......cwcc......",
        "......ccwc......",
        "......cwcc......",
        "......ccwc......",
        "......cwcc......",
        "......cccc......",
        "................",
    ],
    'machines': [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kwwwwwwwwwwwwk.",
        ".kwGGGwwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwbbbbbbbwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kwbbbbwwwwwwwk.",
        ".kwwwwwwwwwwwwk.",
        ".kkkkkkkkkkkkkk.",
        "......kkkk......",
        "......kkkk......",
        "....kkkkkkkk....",
        "................",
        "................",
    ],
    'open_nc': [
        "................",
        "................",
        ".yyyy...........",
        "ykkkky..........",
        "ykyyykkkkkkkk...",
        "ykyyyyyyyyyyk...",
        "ykyykkkkkkkkkkk.",
        "ykyykyyyyyyyyyk.",
        "ykykyyyyyyyyyk..",
        "ykkyyyyyyyyyyk..",
        "ykkkkkkkkkkkk...",
        "................",
        "..bb.b.bbb......",
        "..b.bb.b........",
        "..b..b.bbb......",
    ],
    'save_nc': [
        "................",
        ".kkkkkkkkkkkkk..",
        ".kbbwwwwwwwbbk..",
        ".kbbwwwwwwwbbk..",
        ".kbbwwwwwwwbbk..",
        ".kbbbbbbbbbbbk..",
        ".kbbbbbbbbbbbk..",
        ".kbbkkkkkkkbbk..",
        ".kbbkggkwwkbbk..",
        ".kbbkggkwwkbbk..",
        "..kkkkkkkkkkk...",
        "................",
        "..bb.b.bbb......",
        "..b.bb.b........",
        "..b..b.bbb......",
    ],
    'contour': [
        "................",
        ".rrrrrrrrrrrrrr.",
        ".r............r.",
        ".r.kkkkkkkkkk.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.k........k.r.",
        ".r.kkkkkkkkkk.r.",
        ".r............r.",
        ".rrrrrrrrrrrrrr.",
        "................",
    ],
    'pocket': [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".krrrrrrrrrrrrk.",
        ".k...........rk.",
        ".krrrrrrrrrrrrk.",
        ".kr...........k.",
        ".krrrrkkkkrrrrk.",
        ".k...rk..kr...k.",
        ".krrrrkkkkrrrrk.",
        ".k...........rk.",
        ".krrrrrrrrrrrrk.",
        ".kr...........k.",
        ".krrrrrrrrrrrrk.",
        ".kkkkkkkkkkkkkk.",
        "................",
    ],
    'simulate': [
        "................",
        "...G............",
        "...GG...........",
        "...GGG..........",
        "...GGGG.........",
        "...GGGGG........",
        "...GGGGGG.......",
        "...GGGGGGG......",
        "...GGGGGG.......",
        "...GGGGG........",
        "...GGGG.........",
        "...GGG..........",
        "...GG...........",
        "...G............",
        "................",
    ],
    'simulation_start': [
        "................",
        "................",
        "....G...........",
        "....GG..........",
        "....GGG.........",
        "....GGGG........",
        "....GGGGG.......",
        "....GGGGGG......",
        "....GGGGG.......",
        "....GGGG........",
        "....GGG.........",
        "....GG..........",
        "....G...........",
        "................",
        "................",
    ],
    'simulation_stop': [
        "................",
        "................",
        "................",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "...rrrr..rrrr...",
        "................",
        "................",
        "................",
    ],
}


def enlarge(rows, factor):
    out = []
    for row in rows:
        wide = ''.join(ch * factor for ch in row)
        out.extend([wide] * factor)
    return out


for name, rows in ICONS.items():
    write_png('bitmaps/%s.png' % name, rows)
# The panels' pictures: the command's image twice the size.
for name in ('add_operation', 'contour', 'pocket', 'simulate'):
    write_png('bitmaps/%s_panel.png' % name, enlarge(ICONS[name], 2))
