#!/usr/bin/env python3
"""Draws the remote browsers' button bitmaps and folder icons (our own
pictures) as plain BMP and ICO files beside this script."""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
FACE = (0xC0, 0xC0, 0xC0)
LIGHT = (0xFF, 0xFF, 0xFF)
SHADOW = (0x80, 0x80, 0x80)
DARK = (0x00, 0x00, 0x00)
YELLOW = (0xF0, 0xC8, 0x40)
YELLOW_EDGE = (0x90, 0x70, 0x10)
GREEN = (0x20, 0x90, 0x20)
RED = (0xC0, 0x20, 0x20)
FOCUS = (0x20, 0x40, 0xC0)


def canvas(w, h, colour):
    return [[colour] * w for _ in range(h)]


def rect(img, x0, y0, x1, y1, colour):
    for y in range(y0, y1 + 1):
        for x in range(x0, x1 + 1):
            if 0 <= y < len(img) and 0 <= x < len(img[0]):
                img[y][x] = colour


def folder(img, x, y, open_=False):
    rect(img, x, y + 2, x + 5, y + 3, YELLOW_EDGE)          # tab
    rect(img, x, y + 3, x + 13, y + 11, YELLOW_EDGE)        # body edge
    rect(img, x + 1, y + 4, x + 12, y + 10, YELLOW)
    if open_:
        rect(img, x + 3, y + 6, x + 15, y + 11, YELLOW_EDGE)
        rect(img, x + 4, y + 7, x + 14, y + 10, (0xFF, 0xE0, 0x80))


def arrow_up(img, cx, top, colour):
    for i in range(4):
        rect(img, cx - i, top + i, cx + i, top + i, colour)
    rect(img, cx - 1, top + 4, cx + 1, top + 8, colour)


def star(img, cx, cy, colour):
    rect(img, cx - 3, cy, cx + 3, cy, colour)
    rect(img, cx, cy - 3, cx, cy + 3, colour)
    for d in (-2, -1, 1, 2):
        rect(img, cx + d, cy + d, cx + d, cy + d, colour)
        rect(img, cx + d, cy - d, cx + d, cy - d, colour)


def cross(img, cx, cy, colour):
    for d in range(-3, 4):
        rect(img, cx + d, cy + d, cx + d + 1, cy + d, colour)
        rect(img, cx + d, cy - d, cx + d + 1, cy - d, colour)


def button(draw, state):
    w, h = 24, 22
    img = canvas(w, h, FACE)
    pressed = state == "D"
    tl, br = (SHADOW, LIGHT) if pressed else (LIGHT, SHADOW)
    rect(img, 0, 0, w - 1, 0, tl)
    rect(img, 0, 0, 0, h - 1, tl)
    rect(img, 0, h - 1, w - 1, h - 1, DARK if not pressed else LIGHT)
    rect(img, w - 1, 0, w - 1, h - 1, DARK if not pressed else LIGHT)
    rect(img, 1, h - 2, w - 2, h - 2, br)
    rect(img, w - 2, 1, w - 2, h - 2, br)
    shift = 1 if pressed else 0
    draw(img, 4 + shift, 3 + shift)
    if state == "F":
        for x in range(3, w - 3, 2):
            img[2][x] = FOCUS
            img[h - 3][x] = FOCUS
        for y in range(3, h - 3, 2):
            img[y][2] = FOCUS
            img[y][w - 3] = FOCUS
    if state == "X":
        for y in range(1, h - 2):
            for x in range(1, w - 2):
                if img[y][x] != FACE:
                    r, g, b = img[y][x]
                    grey = (r + g + b) // 3
                    img[y][x] = LIGHT if grey > 0xB0 else SHADOW
    return img


def draw_up(img, x, y):
    folder(img, x, y + 2)
    arrow_up(img, x + 10, y, GREEN)


def draw_new(img, x, y):
    folder(img, x, y + 3)
    star(img, x + 12, y + 3, (0xE0, 0x80, 0x00))


def draw_remove(img, x, y):
    folder(img, x, y + 3)
    cross(img, x + 11, y + 9, RED)


def write_bmp(path, img):
    h, w = len(img), len(img[0])
    row = (w * 3 + 3) & ~3
    data = b""
    for y in reversed(range(h)):
        line = b"".join(struct.pack("BBB", b, g, r) for (r, g, b) in img[y])
        data += line + b"\0" * (row - w * 3)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def write_ico(path, img, transparent):
    h, w = len(img), len(img[0])
    xor = b""
    mask = b""
    for y in reversed(range(h)):
        bits = 0
        for x in range(w):
            r, g, b = img[y][x]
            clear = img[y][x] == transparent
            xor += struct.pack("BBBB", b, g, r, 0 if clear else 255)
            bits = (bits << 1) | (1 if clear else 0)
        mask += bits.to_bytes(w // 8, "big") + b"\0" * ((4 - (w // 8) % 4) % 4)
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
    image = info + xor + mask
    directory = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", w, h, 0, 0, 1, 32, len(image), 22)
    with open(path, "wb") as f:
        f.write(directory + image)


for name, draw in (("browse", draw_up), ("newfolder", draw_new), ("removefolder", draw_remove)):
    for state in "UDFX":
        write_bmp(os.path.join(HERE, f"{name}{state.lower()}.bmp"), button(draw, state))

NONE = (1, 2, 3)
for name, open_ in (("folder-closed", False), ("folder-open", True)):
    icon = canvas(16, 16, NONE)
    folder(icon, 0, 1, open_)
    write_ico(os.path.join(HERE, f"{name}.ico"), icon, NONE)
