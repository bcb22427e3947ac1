#!/usr/bin/env python3
"""Draws the program's two 32 x 32, 16-colour icons as XPM files, and the
program icon for the desktop's icon theme.

program.xpm: a calendar sheet with a red header and a grid of days.
cat.xpm:     a seated cat ornament with a raised paw, a red collar and a bell.
hicolor/:    the program icon as PNG at 16, 32, 48, 64, 128 and 256 pixels and
             as SVG (hicolor/scalable), all from the same 32 x 32 drawing: the
             larger sizes keep its pixels square and sharp, 16 and 48 average
             the covered pixels. The window icon set is taken from these too.
Run it from this folder; the files are committed, so the build needs no Python.
Standard library only.
"""

import os
import struct
import zlib

PALETTE = {
    ".": "None",
    "k": "#000000", "w": "#FFFFFF", "r": "#FF0000", "R": "#800000",
    "g": "#C0C0C0", "G": "#808080", "y": "#FFFF00", "Y": "#808000",
    "b": "#0000FF", "n": "#000080", "p": "#FF00FF", "c": "#00FFFF",
    "e": "#008000", "l": "#00FF00",
}


def blank():
    return [["."] * 32 for _ in range(32)]


def rect(img, x0, y0, x1, y1, c):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            img[y][x] = c


def ellipse(img, cx, cy, rx, ry, c):
    for y in range(32):
        for x in range(32):
            if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                img[y][x] = c


def outline(img, c="k"):
    """Puts a dark edge around every filled area that borders on transparency."""
    marks = []
    for y in range(32):
        for x in range(32):
            if img[y][x] != ".":
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < 32 and 0 <= ny < 32 and img[ny][nx] not in (".", c):
                    marks.append((x, y))
                    break
    for x, y in marks:
        img[y][x] = c


def program_icon():
    img = blank()
    rect(img, 3, 4, 28, 29, "w")          # the sheet
    rect(img, 3, 4, 28, 10, "r")          # the header band
    rect(img, 8, 2, 9, 6, "G")            # two binding rings
    rect(img, 22, 2, 23, 6, "G")
    for col in range(7):                  # the day grid, Sunday in red
        for row in range(5):
            x = 5 + col * 3 + (col // 4)
            y = 13 + row * 3
            img[y][x] = "r" if col == 0 else ("b" if col == 6 else "k")
            img[y][x + 1] = img[y][x]
    rect(img, 14, 22, 17, 24, "y")        # today, highlighted
    img[23][15] = img[23][16] = "k"
    rect(img, 29, 6, 29, 30, "G")         # shadow
    rect(img, 5, 30, 29, 30, "G")
    outline(img)
    return img


def cat_icon():
    img = blank()
    ellipse(img, 15.5, 22.5, 10, 8, "w")  # body
    ellipse(img, 15.5, 11.5, 9, 7.5, "w")  # head
    for i in range(5):                    # ears
        rect(img, 8 + i // 2, 3 + i, 10 + i // 2 - (i == 0), 3 + i, "w")
        rect(img, 21 - i // 2 + (i == 0), 3 + i, 23 - i // 2, 3 + i, "w")
    img[5][9] = img[5][22] = "p"          # inner ears
    img[6][9] = img[6][10] = img[6][21] = img[6][22] = "p"
    rect(img, 24, 6, 28, 15, "w")         # raised paw
    rect(img, 25, 4, 28, 5, "w")
    rect(img, 11, 10, 12, 11, "k")        # eyes
    rect(img, 19, 10, 20, 11, "k")
    img[13][15] = img[13][16] = "p"       # nose
    img[14][14] = img[14][17] = "k"       # mouth
    for x in (5, 6, 7, 24, 25, 26):       # whiskers
        img[13 if x < 10 else 13][x] = "G"
    rect(img, 8, 18, 23, 19, "r")         # collar
    rect(img, 14, 20, 17, 22, "y")        # bell
    img[22][15] = img[22][16] = "Y"
    rect(img, 9, 24, 11, 26, "Y")         # a gold coin in the other paw
    rect(img, 6, 29, 25, 30, "R")         # the cushion
    outline(img)
    return img


def write(name, img):
    used = sorted({c for row in img for c in row})
    with open(name + ".xpm", "w", encoding="ascii") as f:
        f.write("/* XPM */\n")
        f.write("static const char* const %s_xpm[] = {\n" % name)
        f.write('"32 32 %d 1",\n' % len(used))
        for c in used:
            f.write('"%s c %s",\n' % (c, PALETTE[c]))
        f.write(",\n".join('"%s"' % "".join(row) for row in img))
        f.write("};\n")


THEME_SIZES = (16, 32, 48, 64, 128, 256)


def rgba(c):
    if PALETTE[c] == "None":
        return (0, 0, 0, 0)
    v = PALETTE[c]
    return (int(v[1:3], 16), int(v[3:5], 16), int(v[5:7], 16), 255)


def scaled(img, size):
    """The drawing at size x size pixels: each pixel the area-weighted mean of
    the drawing's pixels it covers (colours weighted by their opacity)."""
    step = 32 / size
    out = []
    for oy in range(size):
        row = []
        y0, y1 = oy * step, (oy + 1) * step
        for ox in range(size):
            x0, x1 = ox * step, (ox + 1) * step
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(int(y0), min(32, int(-(-y1 // 1)))):
                wy = min(y1, sy + 1) - max(y0, sy)
                for sx in range(int(x0), min(32, int(-(-x1 // 1)))):
                    w = wy * (min(x1, sx + 1) - max(x0, sx))
                    if w <= 0:
                        continue
                    r, g, b, a = rgba(img[sy][sx])
                    acc[0] += w * r * a
                    acc[1] += w * g * a
                    acc[2] += w * b * a
                    acc[3] += w * a
            area = step * step
            alpha = acc[3] / area
            if acc[3] == 0:
                row.append((0, 0, 0, 0))
            else:
                row.append(tuple(round(acc[i] / acc[3]) for i in range(3)) + (round(alpha),))
        out.append(row)
    return out


def png(path, pixels):
    """Writes RGBA pixels as an 8-bit PNG, without timestamps (reproducible)."""
    size = len(pixels)
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in pixels)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", size, size, 8, 6, 0, 0, 0)))
        f.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        f.write(chunk(b"IEND", b""))


def svg(path, img, title):
    """Writes the drawing as SVG: one rectangle for each run of equal pixels,
    runs of equal rows joined, edges kept crisp."""
    runs = {}  # (x, width, colour) -> list of rows
    for y in range(32):
        x = 0
        while x < 32:
            c = img[y][x]
            end = x
            while end < 32 and img[y][end] == c:
                end += 1
            if c != ".":
                runs.setdefault((x, end - x, c), []).append(y)
            x = end
    rects = []
    for (x, w, c), rows in runs.items():
        start = prev = rows[0]
        for y in rows[1:] + [None]:
            if y is not None and y == prev + 1:
                prev = y
                continue
            rects.append((start, x, w, prev - start + 1, c))
            if y is not None:
                start = prev = y
    rects.sort()
    with open(path, "w", encoding="utf-8") as f:
        f.write('<?xml version="1.0" encoding="UTF-8"?>\n')
        f.write('<svg xmlns="http://www.w3.org/2000/svg" width="256" height="256" '
                'viewBox="0 0 32 32" shape-rendering="crispEdges">\n')
        f.write("  <title>%s</title>\n" % title)
        for y, x, w, h, c in rects:
            f.write('  <rect x="%d" y="%d" width="%d" height="%d" fill="%s"/>\n'
                    % (x, y, w, h, PALETTE[c].lower()))
        f.write("</svg>\n")


def write_theme(name, img, title):
    for size in THEME_SIZES:
        folder = os.path.join("hicolor", "%dx%d" % (size, size), "apps")
        os.makedirs(folder, exist_ok=True)
        png(os.path.join(folder, name + ".png"), scaled(img, size))
    folder = os.path.join("hicolor", "scalable", "apps")
    os.makedirs(folder, exist_ok=True)
    svg(os.path.join(folder, name + ".svg"), img, title)


if __name__ == "__main__":
    write("program", program_icon())
    write("cat", cat_icon())
    write_theme("vesk310", program_icon(), "VESK_310")
