#!/usr/bin/env python3
"""Puts PNG frames side by side (optionally a cropped, enlarged region) into one PNG.

    side_by_side.py OUT.png A.png B.png [...] [--crop X Y W H] [--zoom N]

Reads and writes 8-bit RGB/RGBA PNGs with the standard library only (zlib).
"""
import struct
import sys
import zlib


def read_png(path):
    data = open(path, "rb").read()
    assert data[:8] == b"\x89PNG\r\n\x1a\n", path
    pos, idat, width = 8, b"", 0
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            width, height, depth, colour = struct.unpack(">IIBB", body[:10])
            assert depth == 8 and colour in (2, 6), "8-bit RGB or RGBA only"
            channels = 3 if colour == 2 else 4
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, prev, i = [], bytearray(stride), 0
    for _ in range(height):
        ftype, line = raw[i], bytearray(raw[i + 1:i + 1 + stride])
        i += 1 + stride
        for x in range(stride):
            a = line[x - channels] if x >= channels else 0
            b = prev[x]
            c = prev[x - channels] if x >= channels else 0
            if ftype == 1:
                line[x] = (line[x] + a) & 255
            elif ftype == 2:
                line[x] = (line[x] + b) & 255
            elif ftype == 3:
                line[x] = (line[x] + (a + b) // 2) & 255
            elif ftype == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[x] = (line[x] + pred) & 255
        rows.append([tuple(line[x * channels:x * channels + 3]) for x in range(width)])
        prev = line
    return rows


def write_png(path, rows):
    height, width = len(rows), len(rows[0])
    raw = b"".join(b"\x00" + bytes(v for px in row for v in px) for row in rows)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def main(argv):
    crop, zoom, files = None, 1, []
    i = 0
    while i < len(argv):
        if argv[i] == "--crop":
            crop = [int(v) for v in argv[i + 1:i + 5]]
            i += 5
        elif argv[i] == "--zoom":
            zoom = int(argv[i + 1])
            i += 2
        else:
            files.append(argv[i])
            i += 1
    out, inputs = files[0], files[1:]
    panels = []
    for path in inputs:
        rows = read_png(path)
        if crop:
            x, y, w, h = crop
            rows = [row[x:x + w] for row in rows[y:y + h]]
        rows = [[px for px in row for _ in range(zoom)] for row in rows for _ in range(zoom)]
        panels.append(rows)
    gap = 8
    height = max(len(p) for p in panels)
    combined = []
    for y in range(height):
        line = []
        for n, p in enumerate(panels):
            if n:
                line += [(90, 90, 90)] * gap
            line += p[y] if y < len(p) else [(0, 0, 0)] * len(p[0])
        combined.append(line)
    write_png(out, combined)


if __name__ == "__main__":
    main(sys.argv[1:])
