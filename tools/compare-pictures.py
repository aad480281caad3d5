#!/usr/bin/env python3
"""Compares two pictures of the aquarium drawn by different renderers.

    tools/compare-pictures.py REFERENCE.png CANDIDATE.png

Both are 8-bit RGB or RGBA PNG files of one size (alpha is ignored). Passes
(exit 0) when
  - at least 97% of the pixels are within 8 levels in every channel, and
  - nothing drawn is missing or added: the drawn pixels (any channel above
    the black background by more than 16 levels) of each picture lie within
    one pixel of drawn pixels of the other, but for 1% of them over the
    whole picture and 20% within any 40 x 40 cell with 24 or more drawn
    pixels, so a lost fish, rock or tank edge fails in its own cell however
    small it is beside the whole.
Prints one line of figures, and each failing cell; exit 1 on a failure, 2 on
an unreadable file. Standard library only.
"""
import struct
import sys
import zlib

LEVELS = 8
CLOSE_SHARE = 0.97
DRAWN = 16
CELL = 40
CELL_MIN = 24
CELL_SHARE = 0.20
WHOLE_SHARE = 0.01


def read_png(path):
    """(width, height, rows of RGB bytes) of an 8-bit RGB or RGBA PNG."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, [], None
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat.append(body)
        elif kind == b"IEND":
            break
        pos += 12 + length
    if header is None:
        raise ValueError("no IHDR chunk")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace != 0:
        raise ValueError("wants 8-bit RGB or RGBA, not interlaced")
    step = 3 if colour == 2 else 4
    stride = width * step
    raw = zlib.decompress(b"".join(idat))
    if len(raw) != height * (stride + 1):
        raise ValueError("image data of the wrong size")
    rows, prior = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        if kind == 1:
            for i in range(step, stride):
                line[i] = (line[i] + line[i - step]) & 255
        elif kind == 2:
            for i in range(stride):
                line[i] = (line[i] + prior[i]) & 255
        elif kind == 3:
            for i in range(stride):
                left = line[i - step] if i >= step else 0
                line[i] = (line[i] + ((left + prior[i]) >> 1)) & 255
        elif kind == 4:
            for i in range(stride):
                a = line[i - step] if i >= step else 0
                b = prior[i]
                c = prior[i - step] if i >= step else 0
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                pred = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pred) & 255
        elif kind != 0:
            raise ValueError("unknown row filter %d" % kind)
        prior = line
        if step == 4:
            del line[3::4]
        rows.append(bytes(line))
    return width, height, rows


def drawn_rows(rows, width):
    """Each row as an int whose bit x is set where pixel x is drawn."""
    masks = []
    for row in rows:
        bits = 0
        for x in range(width):
            if max(row[3 * x], row[3 * x + 1], row[3 * x + 2]) > DRAWN:
                bits |= 1 << x
        masks.append(bits)
    return masks


def dilated(masks, width):
    """Every pixel within one pixel (8 neighbours) of a drawn one."""
    full = (1 << width) - 1
    across = [(m | (m << 1) | (m >> 1)) & full for m in masks]
    out = []
    for y in range(len(masks)):
        bits = across[y]
        if y > 0:
            bits |= across[y - 1]
        if y + 1 < len(masks):
            bits |= across[y + 1]
        out.append(bits)
    return out


def unmatched(of, against, width, height, name, failures):
    """Drawn pixels of `of` with nothing drawn near them in `against`."""
    near = dilated(against, width)
    lost = [of[y] & ~near[y] for y in range(height)]
    total_drawn = sum(bin(m).count("1") for m in of)
    total_lost = sum(bin(m).count("1") for m in lost)
    for top in range(0, height, CELL):
        for left in range(0, width, CELL):
            cell = ((1 << min(CELL, width - left)) - 1) << left
            drawn = sum(bin(of[y] & cell).count("1") for y in range(top, min(top + CELL, height)))
            gone = sum(bin(lost[y] & cell).count("1") for y in range(top, min(top + CELL, height)))
            if drawn >= CELL_MIN and gone > CELL_SHARE * drawn:
                failures.append("%s in cell x %d-%d, y %d-%d: %d of %d drawn pixels" % (
                    name, left, left + CELL - 1, top, top + CELL - 1, gone, drawn))
    if total_drawn and total_lost > WHOLE_SHARE * total_drawn:
        failures.append("%s: %d of %d drawn pixels over the picture" % (name, total_lost, total_drawn))
    return total_lost, total_drawn


def main(argv):
    if len(argv) != 3:
        sys.stderr.write("usage: compare-pictures.py REFERENCE.png CANDIDATE.png\n")
        return 2
    try:
        w1, h1, ref = read_png(argv[1])
        w2, h2, got = read_png(argv[2])
    except (OSError, ValueError, zlib.error) as e:
        sys.stderr.write("compare-pictures: %s\n" % e)
        return 2
    if (w1, h1) != (w2, h2):
        print("FAIL: %dx%d against %dx%d" % (w1, h1, w2, h2))
        return 1
    close = 0
    for a, b in zip(ref, got):
        for x in range(0, 3 * w1, 3):
            if (abs(a[x] - b[x]) <= LEVELS and abs(a[x + 1] - b[x + 1]) <= LEVELS
                    and abs(a[x + 2] - b[x + 2]) <= LEVELS):
                close += 1
    share = close / float(w1 * h1)
    failures = []
    if share < CLOSE_SHARE:
        failures.append("only %.2f%% of pixels within %d levels" % (100 * share, LEVELS))
    ref_drawn, got_drawn = drawn_rows(ref, w1), drawn_rows(got, w1)
    missing, drawn = unmatched(ref_drawn, got_drawn, w1, h1, "missing", failures)
    extra, drawn2 = unmatched(got_drawn, ref_drawn, w1, h1, "added", failures)
    print("%s: %.2f%% of pixels within %d levels; drawn %d and %d, missing %d, added %d" % (
        "FAIL" if failures else "ok", 100 * share, LEVELS, drawn, drawn2, missing, extra))
    for f in failures:
        print("  " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
