#!/usr/bin/env python3
"""Writes the toolkit's own images: check faces, department button faces and
the hand cursor. Run once; the output files are kept in the repository."""
import struct

def bmp24(path, rows):
    h = len(rows); w = len(rows[0])
    stride = (w * 3 + 3) & ~3
    data = b""
    for r in reversed(rows):
        line = b"".join(struct.pack("<BBB", c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF) for c in r)
        data += line + b"\0" * (stride - len(line))
    hdr = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    open(path, "wb").write(hdr + info + data)

def grid(pattern, colours):
    return [[colours[ch] for ch in line] for line in pattern]

# Colours as 0xRRGGBB.
W, K, G, R, N, D = 0xFFFFFF, 0x000000, 0xC0C0C0, 0xC00000, 0x008000, 0x808080
box = ["................"] * 16

def face(marks, colour):
    rows = []
    for y in range(16):
        line = ""
        for x in range(16):
            if x in (0, 15) or y in (0, 15):
                line += "k"
            elif (x, y) in marks:
                line += "m"
            else:
                line += "w"
        rows.append(line)
    return grid(rows, {"k": K, "w": W, "m": colour})

question = set()
for x in range(5, 11): question.add((x, 3))
for y in range(4, 7): question.add((10, y)); question.add((11, y))
question |= {(9, 7), (8, 8), (7, 8), (7, 9), (8, 9), (7, 12), (8, 12), (7, 11), (8, 11)}
question |= {(5, 4), (4, 4), (4, 5), (5, 5)}
tick = set()
for i in range(4):
    tick |= {(3 + i, 7 + i), (3 + i, 8 + i)}
for i in range(7):
    tick |= {(6 + i, 10 - i), (6 + i, 9 - i)}
cross = set()
for i in range(9):
    cross |= {(3 + i, 3 + i), (4 + i, 3 + i), (12 - i, 3 + i), (11 - i, 3 + i)}

bmp24("check_undecided.bmp", face(question, 0x000080))
bmp24("check_accepted.bmp", face(tick, N))
bmp24("check_rejected.bmp", face(cross, R))

def button_face(kind):
    rows = [[G] * 16 for _ in range(16)]
    if kind == "legend":          # an open book
        for y in range(3, 13):
            for x in range(2, 14):
                rows[y][x] = W if x != 7 and x != 8 else D
            rows[y][1] = K; rows[y][14] = K
        for x in range(1, 15): rows[2][x] = K; rows[13][x] = K
        for y in (5, 7, 9, 11):
            for x in range(3, 7): rows[y][x] = K
            for x in range(9, 13): rows[y][x] = K
    elif kind == "orders":        # a sheet with lines
        for y in range(1, 15):
            for x in range(3, 13):
                rows[y][x] = K if x in (3, 12) or y in (1, 14) else W
        for y in (4, 7, 10):
            for x in range(5, 11): rows[y][x] = 0x800000
    else:                          # materials: stacked crates
        for (ox, oy) in ((2, 8), (8, 8), (5, 2)):
            for y in range(oy, oy + 6):
                for x in range(ox, ox + 6):
                    rows[y][x] = K if x in (ox, ox + 5) or y in (oy, oy + 5) else 0x2060A0
    return rows

# A department button's face covers the button: the picture at the left,
# shrunk to 12 x 12, leaving room for the caption the button draws.
def wide_face(kind):
    icon = button_face(kind)
    rows = [[G] * 64 for _ in range(16)]
    for y in range(12):
        for x in range(12):
            rows[2 + y][x] = icon[y * 16 // 12][x * 16 // 12]
    return rows

bmp24("face_legend.bmp", wide_face("legend"))
bmp24("face_orders.bmp", wide_face("orders"))
bmp24("face_materials.bmp", wide_face("materials"))

# Hand cursor as a 32x32 bitmap image (the layer reads the hot spot from the
# registration): white hand, black outline, magenta-free.
hand = [
"................................",
".....KK.........................",
"....KWWK........................",
"....KWWK........................",
"....KWWK........................",
"....KWWKKK......................",
"....KWWKWWKKK...................",
"....KWWKWWKWWKK.................",
"KK..KWWKWWKWWKWK................",
"KWK.KWWWWWWWWWWK................",
".KWKKWWWWWWWWWWK................",
"..KWWWWWWWWWWWWK................",
"...KWWWWWWWWWWWK................",
"...KWWWWWWWWWWK.................",
"....KWWWWWWWWWK.................",
".....KWWWWWWWK..................",
".....KKKKKKKKK..................",
] + ["." * 32] * 15
bmp24("hand.bmp", grid(hand, {".": 0xFF00FF, "K": K, "W": W}))
