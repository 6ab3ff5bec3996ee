#!/usr/bin/python3
"""Draws the mouse cursors the grid and the widgets load by resource name, into
assets/cursors/*.cur (committed; the build compiles them into every program through
assets/cursors/*.rc and never runs this).

  tools/make_cursors.py           regenerate assets/cursors/
  tools/make_cursors.py --check   compare with the committed files; exit 1 on a difference

Each cursor is a 32 x 32 monochrome picture: a white shape with a one-pixel black outline,
everything else transparent. Shapes are described as sets of filled pixels; the outline is
every pixel next to the shape. Plain Python, no libraries.
"""
import os
import struct
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "assets", "cursors")
SIZE = 32


def rect(x0, y0, x1, y1):
    return {(x, y) for x in range(x0, x1 + 1) for y in range(y0, y1 + 1)}


def disc(cx, cy, r):
    return {(x, y) for x in range(SIZE) for y in range(SIZE)
            if (x - cx) ** 2 + (y - cy) ** 2 <= r * r}


def ring(cx, cy, r, width):
    return disc(cx, cy, r) - disc(cx, cy, r - width)


def triangle(tip, base_y, half):
    """An isosceles triangle with its tip at `tip` and a horizontal base at `base_y`."""
    tx, ty = tip
    step = 1 if base_y > ty else -1
    height = abs(base_y - ty)
    return {(tx + dx, y) for i, y in enumerate(range(ty, base_y + step, step))
            for dx in range(-(half * i // height), half * i // height + 1)}


def side_triangle(tip, base_x, half):
    """The same, pointing left or right: tip at `tip`, a vertical base at `base_x`."""
    return {(y, x) for x, y in triangle((tip[1], tip[0]), base_x, half)}


def arrow(mirror=False):
    """The usual pointer: a tip at (0, 0), body down and to the right (left when mirrored)."""
    body = {(x, y) for y in range(0, 17) for x in range(0, y * 7 // 10 + 1) if y < 13 or x < 3}
    body |= {(x, y) for y in range(12, 20) for x in range(3 + (y - 12) // 2, 5 + (y - 12) // 2)}
    if mirror:
        body = {(13 - x, y) for x, y in body}
    return body


def hand():
    """A pointing hand: the index finger up, the fist below."""
    finger = rect(6, 0, 8, 10)
    fist = rect(3, 9, 14, 18) | rect(10, 6, 11, 9) | rect(13, 7, 14, 9) | rect(2, 11, 3, 14)
    return finger | fist | rect(5, 19, 13, 20)


def drag():
    """The pointer carrying a small box below its tail."""
    return arrow() | rect(8, 20, 17, 27)


def outline(shape):
    ring_ = set()
    for x, y in shape:
        for dx in (-1, 0, 1):
            for dy in (-1, 0, 1):
                p = (x + dx, y + dy)
                if p not in shape and 0 <= p[0] < SIZE and 0 <= p[1] < SIZE:
                    ring_.add(p)
    return ring_


def shift(shape, dx, dy):
    return {(x + dx, y + dy) for x, y in shape}


def cur_file(shape, hotspot, solid=frozenset()):
    """A .cur file: white `shape`, black outline and black `solid` pixels."""
    black = outline(shape) | set(solid)
    xor_rows, and_rows = [], []
    for y in reversed(range(SIZE)):  # DIB rows run bottom-up
        xor_bits = and_bits = 0
        for x in range(SIZE):
            bit = 1 << (SIZE - 1 - x)
            if (x, y) in black:
                pass                      # AND 0, XOR 0: black
            elif (x, y) in shape:
                xor_bits |= bit           # AND 0, XOR 1: white
            else:
                and_bits |= bit           # AND 1, XOR 0: the screen shows through
        xor_rows.append(struct.pack(">I", xor_bits))
        and_rows.append(struct.pack(">I", and_bits))
    image = (struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, 0, 0, 0, 2, 0)
             + bytes([0, 0, 0, 0, 255, 255, 255, 0]) + b"".join(xor_rows) + b"".join(and_rows))
    header = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hotspot[0], hotspot[1], len(image), 22)
    return header + entry + image


def roll(up, down):
    shape = disc(15, 15, 2)
    if up:
        shape |= triangle((15, 4), 10, 6)
    if down:
        shape |= triangle((15, 26), 20, 6)
    return shape


def cursors():
    split_bar = rect(14, 6, 17, 25)
    horz = split_bar | side_triangle((7, 15), 12, 4) | side_triangle((24, 15), 19, 4)
    vert_bar = rect(6, 14, 25, 17)
    vert = vert_bar | triangle((15, 7), 12, 4) | triangle((15, 24), 19, 4)
    no_drag = ring(22, 22, 7, 2) | {(x, y) for x in range(SIZE) for y in range(SIZE)
                                    if abs(x - y) <= 1 and (x - 22) ** 2 + (y - 22) ** 2 <= 25}
    return {
        "horz_split": (horz, (15, 15), split_bar - outline(split_bar)),
        "column_no_drag": (shift(arrow(), 1, 1) | no_drag, (1, 1), ()),
        "vert_split": (vert, (15, 15), vert_bar - outline(vert_bar)),
        "indicator_select": (side_triangle((24, 15), 10, 7), (24, 15), ()),
        "roll": (roll(True, True), (15, 15), disc(15, 15, 1)),
        "roll_up": (roll(True, False), (15, 15), disc(15, 15, 1)),
        "roll_down": (roll(False, True), (15, 15), disc(15, 15, 1)),
        "reversed_arrow": (shift(arrow(mirror=True), 1, 1), (14, 1), ()),
        "hand": (shift(hand(), 1, 1), (8, 1), ()),
        "drag": (shift(drag(), 1, 1), (1, 1), ()),
    }


def main(args):
    check = "--check" in args
    differ = False
    os.makedirs(OUT, exist_ok=True)
    for name, (shape, hotspot, solid) in cursors().items():
        data = cur_file(shape, hotspot, solid)
        path = os.path.join(OUT, name + ".cur")
        if check:
            with open(path, "rb") as f:
                if f.read() != data:
                    print("differs:", path)
                    differ = True
        else:
            with open(path, "wb") as f:
                f.write(data)
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
