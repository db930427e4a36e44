#!/usr/bin/env python3
"""Puts two pictures side by side in one PNG, each with a caption bar above.

    side_by_side.py LEFT RIGHT OUT.png "left caption" "right caption"

LEFT and RIGHT are PNG (8-bit RGB or RGBA, not interlaced) or xwd dumps of a
true-colour window. Both are shown at the height of the smaller one, halved
when WIDTH exceeds 2048 (box filter). Standard library only.
"""

import struct
import sys
import zlib


def read_png(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG")
    pos, idat, w = 8, b"", 0
    while pos < len(data):
        (n,) = struct.unpack(">I", data[pos:pos + 4])
        kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + n]
        pos += 12 + n
        if kind == b"IHDR":
            w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", body)
            if depth != 8 or colour not in (2, 6) or interlace:
                raise ValueError("only 8-bit RGB/RGBA PNGs without interlacing")
            ch = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
    raw = zlib.decompress(idat)
    stride = w * ch
    rows, prev = [], bytearray(stride)
    for y in range(h):
        f, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - ch] if i >= ch else 0
            b, c = prev[i], prev[i - ch] if i >= ch else 0
            if f == 1:
                line[i] = (line[i] + a) & 255
            elif f == 2:
                line[i] = (line[i] + b) & 255
            elif f == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        prev = line
        rows.append(bytes(line[j] for i in range(0, stride, ch) for j in (i, i + 1, i + 2)))
    return w, h, rows


def read_xwd(data):
    for order in (">", "<"):
        hd = struct.unpack(order + "25I", data[:100])
        if hd[1] == 7:
            break
    else:
        raise ValueError("not an xwd dump")
    size, w, h, byte_order, bpp, bpl = hd[0], hd[4], hd[5], hd[7], hd[11], hd[12]
    masks, ncolors = hd[14:17], hd[19]
    # Depth-24 servers may label 4-byte pixels as 24 bits; the row length tells.
    if bpp not in (24, 32) or bpl < 4 * w:
        raise ValueError("only xwd dumps with 4 bytes a pixel")
    shifts = [(m & -m).bit_length() - 1 for m in masks]
    start = size + 12 * ncolors
    fmt = ("<" if byte_order == 0 else ">") + "%dI" % w
    rows = []
    for y in range(h):
        words = struct.unpack_from(fmt, data, start + y * bpl)
        rows.append(bytes(((v & m) >> s) for v in words for m, s in zip(masks, shifts)))
    return w, h, rows


def load(path):
    data = open(path, "rb").read()
    return read_png(data) if data[:4] == b"\x89PNG" else read_xwd(data)


def halve(w, h, rows):
    out = []
    for y in range(0, h - 1, 2):
        a, b = rows[y], rows[y + 1]
        out.append(bytes((a[6 * x + k] + a[6 * x + 3 + k] + b[6 * x + k] + b[6 * x + 3 + k] + 2) // 4
                         for x in range(w // 2) for k in range(3)))
    return w // 2, h // 2, out


# 5 x 7 capitals, digits and a few signs for the captions.
GLYPHS = {
    "A": "0111010001100011111110001100011000110001", "B": "1111010001100011111010001100011000111110",
    "C": "0111010001100001000010000100001000101110", "D": "1111010001100011000110001100011000111110",
    "E": "1111110000100001111010000100001000011111", "F": "1111110000100001111010000100001000010000",
    "G": "0111010001100001011110001100011000101111", "H": "1000110001100011111110001100011000110001",
    "I": "0111000100001000010000100001000010001110", "J": "0011100010000100001000010100101001001100",
    "K": "1000110010101001100010100100101000110001", "L": "1000010000100001000010000100001000011111",
    "M": "1000111011101011010110001100011000110001", "N": "1000111001101011001110001100011000110001",
    "O": "0111010001100011000110001100011000101110", "P": "1111010001100011111010000100001000010000",
    "Q": "0111010001100011000110101100101001001101", "R": "1111010001100011111010100100101000110001",
    "S": "0111110000100000111000001000010000111110", "T": "1111100100001000010000100001000010000100",
    "U": "1000110001100011000110001100011000101110", "V": "1000110001100010101001010010100010000000",
    "W": "1000110001100011010110101101011101110001", "X": "1000110001010100010001010100011000110001",
    "Y": "1000110001010100010000100001000010000100", "Z": "1111100001000100010001000100001000011111",
    "0": "0111010001100111010111001100011000101110", "1": "0010001100001000010000100001000010001110",
    "2": "0111010001000010001000100010001000011111", "3": "1111100010001000001000001000011000101110",
    "4": "0001000110010101001011111000100001000010", "5": "1111110000111100000100001000011000101110",
    "6": "0011001000100001111010001100011000101110", "7": "1111100001000100010001000010000100001000",
    "8": "0111010001100010111010001100011000101110", "9": "0111010001100010111100001000010001001100",
    " ": "0" * 40, "-": "0000000000000001111100000000000000000000", ",": "0000000000000000000000110001000100000000",
    ".": "0000000000000000000000000000000110001100", ":": "0000001100011000000000110001100000000000",
    "(": "0001000100010000100001000010000010000010", ")": "0100000100000100001000010000100010001000",
    "/": "0000100010000100010001000010001000000000",
}


def caption_rows(text, width, scale=2, pad=8):
    height = 8 * scale + 2 * pad
    rows = [bytearray(b"\x20\x20\x20" * width) for _ in range(height)]
    x0 = pad
    for ch in text.upper():
        g = GLYPHS.get(ch, GLYPHS[" "])
        for gy in range(8):
            for gx in range(5):
                if gy < 8 and gx + 5 * gy < 40 and g[gx + 5 * gy] == "1":
                    for dy in range(scale):
                        for dx in range(scale):
                            x, y = x0 + gx * scale + dx, pad + gy * scale + dy
                            if x < width:
                                rows[y][3 * x:3 * x + 3] = b"\xf0\xf0\xf0"
        x0 += 6 * scale
    return [bytes(r) for r in rows]


def write_png(path, w, rows):
    raw = b"".join(b"\x00" + r for r in rows)
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, len(rows), 8, 2, 0, 0, 0))
                + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    if len(sys.argv) != 6:
        sys.exit(__doc__)
    left, right = load(sys.argv[1]), load(sys.argv[2])
    h = min(left[1], right[1])
    pics = [(p[0], p[2][:h]) for p in (left, right)]
    if sum(p[0] for p in pics) > 2048:
        pics = [halve(w, h, rows)[::2] for w, rows in pics]
        h //= 2
    gap = 8
    width = sum(p[0] for p in pics) + gap
    caps = [caption_rows(t, p[0]) for t, p in zip(sys.argv[4:6], pics)]
    spacer_cap = [b"\x20\x20\x20" * gap] * len(caps[0])
    spacer = b"\x20\x20\x20" * gap
    rows = [caps[0][y] + spacer_cap[y] + caps[1][y] for y in range(len(caps[0]))]
    rows += [pics[0][1][y] + spacer + pics[1][1][y] for y in range(h)]
    write_png(sys.argv[3], width, rows)


if __name__ == "__main__":
    main()
