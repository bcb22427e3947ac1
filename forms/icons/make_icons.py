#!/usr/bin/env python3
"""Draws the program's two 32 x 32, 16-colour icons as XPM files.

program.xpm: a calendar sheet with a red header and a grid of days.
cat.xpm:     a seated cat ornament with a raised paw, a red collar and a bell.
Run it from this folder; the XPM files are committed, so the build needs no Python.
"""

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


if __name__ == "__main__":
    write("program", program_icon())
    write("cat", cat_icon())
