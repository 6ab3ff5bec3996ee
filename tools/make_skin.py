#!/usr/bin/python3
"""Draws the programs' own skin, "EfirNight", and writes it in both forms the skin manager
reads: the skin folder assets/skins/EfirNight/ ("Options.dat" and its 24-bit BMP pictures)
and the packed skin assets/skins/packed/EfirNight.asz (the same files in one container, the
form window layouts store). Committed; the build never runs this.

  tools/make_skin.py            regenerate assets/skins/
  tools/make_skin.py --check    regenerate into a temporary folder and compare with the
                                committed files; exit 1 on any difference
  tools/make_skin.py --pack DIR OUT.asz    pack any skin folder

Same look as the program pictures (tools/make_assets.py, whose palette and pen it uses):
dark blue bodies, teal for what is hot or chosen. Magenta (0xFF00FF) is the skin's
transparent colour; glyphs are three state cells (normal, hot, pressed) side by side over
a mask row of the same size, where black shows the picture and white the background.
"""
import io
import os
import shutil
import struct
import sys
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import make_assets as art  # noqa: E402  (exits 2 itself when Pillow is missing)
from PIL import Image, ImageChops, ImageDraw  # noqa: E402

ROOT = art.ROOT
SKINS = os.path.join(ROOT, "assets", "skins")
NAME = "EfirNight"
KEY = (255, 0, 255)
SS = art.SS

NAVY0, NAVY1, NAVY2, NAVY3, NAVY4 = art.NAVY0, art.NAVY1, art.NAVY2, art.NAVY3, art.NAVY4
TEAL, TEAL_DIM, ICE, MIST, CORAL = art.TEAL, art.TEAL_DIM, art.ICE, art.MIST, art.CORAL


def colour(rgb):
    """A skin colour value: 0x00BBGGRR."""
    r, g, b = rgb
    return "0x%06X" % (b << 16 | g << 8 | r)


def coverage(size, draw):
    """How much of each pixel the shapes drawn by draw(pen) cover, 0..255."""
    w, h = size
    mask = Image.new("L", (w * SS, h * SS), 0)
    draw(art.Pen(ImageDraw.Draw(mask)))
    return mask.resize(size, Image.Resampling.LANCZOS)


# ---------------------------------------------------------------- frames

def frame_state(size, radius, fill, line, width=1):
    """One state of a frame: a rounded body with an outline; outside the body is the key."""
    w, h = size
    body = coverage(size, lambda p: p.rect(0, 0, w, h, radius))
    inner = coverage(size, lambda p: p.rect(width, width, w - width, h - width, max(radius - width, 0)))
    img = Image.new("RGB", size, KEY)
    for y in range(h):
        for x in range(w):
            b, i = body.getpixel((x, y)), inner.getpixel((x, y))
            if b < 128:
                continue
            t = i / 255
            img.putpixel((x, y), tuple(round(l + (f - l) * t) for f, l in zip(fill, line)))
    return img


def strip(cells):
    """Cells side by side, all of one size."""
    w, h = cells[0].size
    out = Image.new(cells[0].mode, (w * len(cells), h))
    for i, cell in enumerate(cells):
        out.paste(cell, (i * w, 0))
    return out


def frames():
    s = (24, 24)
    return {
        "BUTTON.BMP": strip([frame_state(s, 5, NAVY3, NAVY4), frame_state(s, 5, NAVY4, TEAL),
                             frame_state(s, 5, NAVY2, TEAL)]),
        "EDIT.BMP": strip([frame_state(s, 3, NAVY0, NAVY3), frame_state(s, 3, NAVY0, TEAL_DIM),
                           frame_state(s, 3, NAVY0, TEAL)]),
        "FORM.BMP": strip([frame_state((48, 48), 0, NAVY1, NAVY3, 2),
                           frame_state((48, 48), 0, NAVY1, TEAL_DIM, 2)]),
        "MENU.BMP": strip([frame_state(s, 0, NAVY1, NAVY4), frame_state(s, 0, NAVY1, NAVY4)]),
        "GROOVE.BMP": strip([frame_state((12, 12), 0, NAVY0, NAVY2)] * 3),
    }


# ---------------------------------------------------------------- glyphs

def glyph(cell, states):
    """A glyph strip: for each state a list of layers [(rgb, draw(pen)), ...], painted over
    one another; the row below holds the mask of everything drawn."""
    w, h = cell
    pictures, masks = [], []
    for layers in states:
        picture = Image.new("RGB", cell, NAVY0)
        union = Image.new("L", cell, 0)
        for rgb, draw in layers:
            c = coverage(cell, draw)
            picture = Image.composite(Image.new("RGB", cell, rgb), picture, c)
            union = ImageChops.lighter(union, c)
        pictures.append(picture)
        masks.append(Image.eval(union, lambda v: 255 - v).convert("RGB"))
    out = Image.new("RGB", (w * len(states), h * 2))
    out.paste(strip(pictures), (0, 0))
    out.paste(strip(masks), (0, h))
    return out


STATE_INK = (MIST, ICE, TEAL)


def arrow(direction):
    """A small chevron pointing up, down, left or right in a 16 x 16 cell."""
    pts = {"up": [(4, 10), (8, 6), (12, 10)], "down": [(4, 6), (8, 10), (12, 6)],
           "left": [(10, 4), (6, 8), (10, 12)], "right": [(6, 4), (10, 8), (6, 12)]}[direction]
    return glyph((16, 16), [[(ink, lambda p: p.line(pts, 2))] for ink in STATE_INK])


def boxes():
    cell = (16, 16)
    box = (lambda p: p.rect(1, 1, 15, 15, 3))
    hole = (lambda p: p.rect(2.5, 2.5, 13.5, 13.5, 2))
    tick = (lambda p: p.line([(4.5, 8.5), (7, 11), (11.5, 5)], 2))
    dash = (lambda p: p.line([(5, 8), (11, 8)], 2))
    ring = (lambda p: p.disc(8, 8, 7))
    ring_hole = (lambda p: p.disc(8, 8, 5.5))
    dot = (lambda p: p.disc(8, 8, 3))
    edges = (NAVY4, TEAL_DIM, TEAL)
    return {
        "BOXUNCHECKED.BMP": glyph(cell, [[(e, box), (NAVY0, hole)] for e in edges]),
        "BOXCHECKED.BMP": glyph(cell, [[(e, box), (NAVY0, hole), (TEAL, tick)] for e in edges]),
        "BOXGRAYED.BMP": glyph(cell, [[(e, box), (NAVY0, hole), (MIST, dash)] for e in edges]),
        "RADIOUNCHECKED.BMP": glyph(cell, [[(e, ring), (NAVY0, ring_hole)] for e in edges]),
        "RADIOCHECKED.BMP": glyph(cell, [[(e, ring), (NAVY0, ring_hole), (TEAL, dot)] for e in edges]),
    }


def title_icons(prefix, n):
    """Close, maximize, restore and minimize symbols on a chip that lights up when hot."""
    m = n / 21
    symbols = {
        "CLOSE": lambda p: (p.line([(7 * m, 7 * m), (14 * m, 14 * m)], 1.6 * m),
                            p.line([(14 * m, 7 * m), (7 * m, 14 * m)], 1.6 * m)),
        "MAX": lambda p: p.frame(6.5 * m, 6.5 * m, 14.5 * m, 14.5 * m, m, 1.5 * m),
        "NORM": lambda p: (p.frame(5.5 * m, 8.5 * m, 12.5 * m, 15.5 * m, m, 1.4 * m),
                           p.line([(8.5 * m, 5.5 * m), (15.5 * m, 5.5 * m), (15.5 * m, 12.5 * m)], 1.4 * m)),
        "MIN": lambda p: p.line([(6.5 * m, 14 * m), (14.5 * m, 14 * m)], 1.6 * m),
    }
    chip = (lambda p: p.rect(0.5, 0.5, n - 0.5, n - 0.5, 4 * m))
    out = {}
    for name, symbol in symbols.items():
        hot = CORAL if name == "CLOSE" else NAVY4
        states = [[(NAVY2, chip), (MIST, symbol)], [(hot, chip), (ICE, symbol)],
                  [(TEAL_DIM, chip), (ICE, symbol)]]
        out["%sICON%s.BMP" % (prefix, name)] = glyph((n, n), states)
    return out


def slider():
    thumb_h = (lambda p: p.rect(1, 1, 10, 20, 3))
    thumb_v = (lambda p: p.rect(1, 1, 20, 10, 3))
    groove = (lambda p: p.rect(0, 2, 16, 6, 2))
    return {
        "SLIDERH.BMP": glyph((11, 21), [[(c, thumb_h)] for c in (NAVY4, TEAL_DIM, TEAL)]),
        "SLIDERV.BMP": glyph((21, 11), [[(c, thumb_v)] for c in (NAVY4, TEAL_DIM, TEAL)]),
        "CHANNEL.BMP": glyph((16, 8), [[(NAVY0, groove)]] * 3),
    }


def pictures():
    out = {}
    out.update(frames())
    for d in ("up", "down", "left", "right"):
        out["ARROW%s.BMP" % d.upper()] = arrow(d)
    out.update(boxes())
    out.update(title_icons("B", 21))
    out.update(title_icons("S", 16))
    out.update(slider())
    return out


# ---------------------------------------------------------------- definition

def options():
    """The skin's "Options.dat" text. Names are upper case: the engine looks them up exactly."""
    def band(top, bottom):
        return "%d;%d;100;0;0" % tuple(int(colour(c), 16) for c in (top, bottom))

    glyph_keys = ["%s=!%s.BMP!3!1!2" % (k, k) for k in (
        "BOXCHECKED", "BOXUNCHECKED", "BOXGRAYED", "RADIOCHECKED", "RADIOUNCHECKED",
        "BICONCLOSE", "BICONMAX", "BICONNORM", "BICONMIN",
        "SICONCLOSE", "SICONMAX", "SICONNORM", "SICONMIN")]

    def plain(fill, ink, hot_fill=None, hot_ink=None):
        return ["COLOR=" + colour(fill), "HOTCOLOR=" + colour(hot_fill or fill),
                "FONTCOLOR=" + colour(ink), "HOTFONTCOLOR=" + colour(hot_ink or ink)]

    see_through = ["TRANSPARENCY=100", "HOTTRANSPARENCY=100"]
    sections = [
        ("GLOBALINFO", ["VERSION=7.5", "AUTHOR=Эфирушка Плюс",
                        "DESCRIPTION=Тёмно-синяя тема с бирюзовыми акцентами",
                        "TITLEHEIGHT=26", "MAXHEIGHT=24", "BORDERWIDTH=4", "FORMOFFSET=4"]
         + plain(NAVY1, ICE) + glyph_keys),
        ("FORM", plain(NAVY1, ICE) + ["GIVEOWNFONT=TRUE", "BORDERSMASK=!FORM.BMP!2!0!0!4!4!4!4"]),
        ("DIALOG", ["PARENTCLASS=FORM"]),
        ("FORMTITLE", plain(NAVY2, MIST, NAVY3, ICE)
         + ["GRADIENTPERCENT=100", "GRADIENTDATA=" + band(NAVY2, NAVY1),
            "HOTGRADIENTPERCENT=100", "HOTGRADIENTDATA=" + band(NAVY3, NAVY2)]),
        ("PANEL", plain(NAVY1, ICE) + ["GIVEOWNFONT=TRUE"]),
        ("BUTTON", plain(NAVY3, ICE, NAVY4, ICE)
         + ["SHOWFOCUS=TRUE", "FADINGENABLED=TRUE", "BORDERSMASK=!BUTTON.BMP!3!0!0!5!5!5!5"]),
        ("SPEEDBUTTON_SMALL", ["PARENTCLASS=BUTTON"]),
        ("COMBOBTN", ["PARENTCLASS=BUTTON", "BORDERSMASK=!BUTTON.BMP!3!0!0!5!5!5!5"]),
        ("EDIT", plain(NAVY0, ICE) + ["BORDERSMASK=!EDIT.BMP!3!0!0!3!3!3!3"]),
        ("COMBOBOX", ["PARENTCLASS=EDIT", "GLYPHMASK=!ARROWDOWN.BMP!3!1!2"]),
        ("CHECKBOX", plain(NAVY1, ICE, NAVY1, TEAL) + see_through),
        ("RADIOBUTTON", ["PARENTCLASS=CHECKBOX"]),
        ("GROUPBOX", plain(NAVY1, MIST) + see_through),
        ("TRACKBAR", plain(NAVY1, MIST) + see_through
         + ["SLIDERCHANNEL=!CHANNEL.BMP!3!1!2", "SLIDERMASK=!SLIDERH.BMP!3!1!2",
            "SLIDERVMASK=!SLIDERV.BMP!3!1!2"]),
        ("SCROLLBAR1V", plain(NAVY0, MIST) + ["BORDERSMASK=!GROOVE.BMP!3!0!0!3!3!3!3"]),
        ("SCROLLBAR2V", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLBAR1H", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLBAR2H", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLSLIDERV", ["PARENTCLASS=BUTTON"]),
        ("SCROLLSLIDERH", ["PARENTCLASS=BUTTON"]),
        ("SCROLLBTNTOP", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWUP.BMP!3!1!2"]),
        ("SCROLLBTNBOTTOM", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWDOWN.BMP!3!1!2"]),
        ("SCROLLBTNLEFT", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWLEFT.BMP!3!1!2"]),
        ("SCROLLBTNRIGHT", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWRIGHT.BMP!3!1!2"]),
        ("MAINMENU", plain(NAVY1, ICE) + ["BORDERSMASK=!MENU.BMP!2!0!0!1!1!1!1"]),
        ("MENUITEM", plain(NAVY1, ICE, NAVY3, TEAL) + ["TRANSPARENCY=100"]),
        ("DIVIDERV", plain(NAVY3, NAVY3)),
        ("HINT", plain(NAVY2, ICE) + ["BORDERSMASK=!MENU.BMP!2!0!0!1!1!1!1"]),
    ]
    lines = ["; " + NAME + ": the skin of the player and the station editor, drawn by tools/make_skin.py"]
    for name, keys in sections:
        lines += ["", "[%s]" % name] + keys
    return art.cp1251(lines)


# ---------------------------------------------------------------- packing and files

def pack(files):
    """The packed container: "ASzf", the entry count, then per entry the name length, the
    name, the unpacked size and a zlib stream. "Options.dat" goes first."""
    names = sorted(files, key=lambda n: (n != "Options.dat", n))
    out = [b"ASzf", struct.pack("<i", len(names))]
    for name in names:
        raw = name.encode("cp1251")
        data = files[name]
        out += [struct.pack("<i", len(raw)), raw, struct.pack("<i", len(data)), zlib.compress(data, 9)]
    return b"".join(out)


def bmp(img):
    buf = io.BytesIO()
    img.convert("RGB").save(buf, "BMP")
    return buf.getvalue()


def skin_files():
    files = {"Options.dat": options()}
    files.update({name: bmp(img) for name, img in pictures().items()})
    return files


def all_files():
    """Every file of assets/skins/ as {relative path: bytes}."""
    skin = skin_files()
    out = {os.path.join(NAME, name): data for name, data in skin.items()}
    out[os.path.join("packed", NAME + ".asz")] = pack(skin)
    return out


def main(args):
    if args[:1] == ["--pack"] and len(args) == 3:
        folder, target = args[1], args[2]
        files = {}
        for name in sorted(os.listdir(folder)):
            with open(os.path.join(folder, name), "rb") as f:
                files[name] = f.read()
        with open(target, "wb") as f:
            f.write(pack(files))
        return 0
    files = all_files()
    if "--check" in args:
        ok = art.check(files, SKINS, "efir-skin-")
        print("skin matches" if ok else "skin differs: run tools/make_skin.py")
        return 0 if ok else 1
    if os.path.isdir(SKINS):
        shutil.rmtree(SKINS)
    art.write(files, SKINS)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
