#!/usr/bin/python3
"""Draws the programs' own skins and the skin engine's own pictures, and writes them under
assets/skins/:
  EfirNight/               the default skin as a folder ("Options.dat" and 24-bit BMPs)
  packed/<Name>.asz        every skin packed (the form window layouts store and the build
                           embeds): EfirNight, and its variants EfirDusk, EfirForest, EfirGraphite
  engine/                  the extended-border shadows (shadow_active.png, shadow_inactive.png)
                           and the state-button pictures (state_*.png), 32-bit PNGs
Committed; the build embeds the packed skins and the engine pictures but never runs this.

  tools/make_skin.py            regenerate assets/skins/
  tools/make_skin.py --check    regenerate into a temporary folder and compare with the
                                committed files; exit 1 on any difference
  tools/make_skin.py --pack DIR OUT.asz    pack any skin folder

EfirNight has the look of the program pictures (tools/make_assets.py, whose palette and pen it
uses): dark blue bodies, teal for what is hot or chosen. The variants turn the same drawing
to other colours. Magenta (0xFF00FF) is the skin's transparent colour; glyphs are three state
cells (normal, hot, pressed) side by side over a mask row of the same size, where black shows
the picture and white the background.
"""
import colorsys
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
KEY = (255, 0, 255)
SS = art.SS


class Palette:
    """The colours one skin is drawn in: five body shades from dark to light, the accent and
    its dim form, two text colours and a warning colour."""

    def __init__(self, name, description, navy, teal, teal_dim, ice, mist, coral):
        self.name, self.description = name, description
        self.navy0, self.navy1, self.navy2, self.navy3, self.navy4 = navy
        self.teal, self.teal_dim, self.ice, self.mist, self.coral = teal, teal_dim, ice, mist, coral


def turned(rgb, hue, saturation=1.0):
    """The colour with its hue turned by `hue` turns (0..1) and its saturation scaled."""
    h, s, v = colorsys.rgb_to_hsv(*(c / 255 for c in rgb))
    return tuple(round(c * 255) for c in colorsys.hsv_to_rgb((h + hue) % 1.0, min(s * saturation, 1.0), v))


NAVY = (art.NAVY0, art.NAVY1, art.NAVY2, art.NAVY3, art.NAVY4)


def variant(name, description, body_hue, accent_hue, body_saturation=1.0):
    body = tuple(turned(c, body_hue, body_saturation) for c in NAVY)
    return Palette(name, description, body, turned(art.TEAL, accent_hue), turned(art.TEAL_DIM, accent_hue),
                   art.ICE, turned(art.MIST, body_hue, body_saturation), art.CORAL)


NIGHT = Palette("EfirNight", "Тёмно-синяя тема с бирюзовыми акцентами", NAVY,
                art.TEAL, art.TEAL_DIM, art.ICE, art.MIST, art.CORAL)
# The default comes first: the player's first manager, and the editor's, carry it.
PALETTES = [
    NIGHT,
    variant("EfirDusk", "Сиреневые сумерки с розовыми акцентами", 0.17, 0.45),
    variant("EfirForest", "Тёмно-зелёная тема с янтарными акцентами", -0.22, -0.38),
    variant("EfirGraphite", "Графитовая тема с бирюзовыми акцентами", 0.0, 0.0, 0.25),
]


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


def frames(pal):
    s = (24, 24)
    return {
        "BUTTON.BMP": strip([frame_state(s, 5, pal.navy3, pal.navy4), frame_state(s, 5, pal.navy4, pal.teal),
                             frame_state(s, 5, pal.navy2, pal.teal)]),
        "EDIT.BMP": strip([frame_state(s, 3, pal.navy0, pal.navy3), frame_state(s, 3, pal.navy0, pal.teal_dim),
                           frame_state(s, 3, pal.navy0, pal.teal)]),
        "FORM.BMP": strip([frame_state((48, 48), 0, pal.navy1, pal.navy3, 2),
                           frame_state((48, 48), 0, pal.navy1, pal.teal_dim, 2)]),
        "MENU.BMP": strip([frame_state(s, 0, pal.navy1, pal.navy4), frame_state(s, 0, pal.navy1, pal.navy4)]),
        "GROOVE.BMP": strip([frame_state((12, 12), 0, pal.navy0, pal.navy2)] * 3),
    }


# ---------------------------------------------------------------- glyphs

def glyph(pal, cell, states):
    """A glyph strip: for each state a list of layers [(rgb, draw(pen)), ...], painted over
    one another; the row below holds the mask of everything drawn."""
    w, h = cell
    pictures, masks = [], []
    for layers in states:
        picture = Image.new("RGB", cell, pal.navy0)
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


def arrow(pal, direction):
    """A small chevron pointing up, down, left or right in a 16 x 16 cell."""
    pts = {"up": [(4, 10), (8, 6), (12, 10)], "down": [(4, 6), (8, 10), (12, 6)],
           "left": [(10, 4), (6, 8), (10, 12)], "right": [(6, 4), (10, 8), (6, 12)]}[direction]
    return glyph(pal, (16, 16), [[(ink, lambda p: p.line(pts, 2))] for ink in (pal.mist, pal.ice, pal.teal)])


def boxes(pal):
    cell = (16, 16)
    box = (lambda p: p.rect(1, 1, 15, 15, 3))
    hole = (lambda p: p.rect(2.5, 2.5, 13.5, 13.5, 2))
    tick = (lambda p: p.line([(4.5, 8.5), (7, 11), (11.5, 5)], 2))
    dash = (lambda p: p.line([(5, 8), (11, 8)], 2))
    ring = (lambda p: p.disc(8, 8, 7))
    ring_hole = (lambda p: p.disc(8, 8, 5.5))
    dot = (lambda p: p.disc(8, 8, 3))
    edges = (pal.navy4, pal.teal_dim, pal.teal)
    return {
        "BOXUNCHECKED.BMP": glyph(pal, cell, [[(e, box), (pal.navy0, hole)] for e in edges]),
        "BOXCHECKED.BMP": glyph(pal, cell, [[(e, box), (pal.navy0, hole), (pal.teal, tick)] for e in edges]),
        "BOXGRAYED.BMP": glyph(pal, cell, [[(e, box), (pal.navy0, hole), (pal.mist, dash)] for e in edges]),
        "RADIOUNCHECKED.BMP": glyph(pal, cell, [[(e, ring), (pal.navy0, ring_hole)] for e in edges]),
        "RADIOCHECKED.BMP": glyph(pal, cell, [[(e, ring), (pal.navy0, ring_hole), (pal.teal, dot)] for e in edges]),
    }


def title_icons(pal, prefix, n):
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
        hot = pal.coral if name == "CLOSE" else pal.navy4
        states = [[(pal.navy2, chip), (pal.mist, symbol)], [(hot, chip), (pal.ice, symbol)],
                  [(pal.teal_dim, chip), (pal.ice, symbol)]]
        out["%sICON%s.BMP" % (prefix, name)] = glyph(pal, (n, n), states)
    return out


def slider(pal):
    thumb_h = (lambda p: p.rect(1, 1, 10, 20, 3))
    thumb_v = (lambda p: p.rect(1, 1, 20, 10, 3))
    groove = (lambda p: p.rect(0, 2, 16, 6, 2))
    return {
        "SLIDERH.BMP": glyph(pal, (11, 21), [[(c, thumb_h)] for c in (pal.navy4, pal.teal_dim, pal.teal)]),
        "SLIDERV.BMP": glyph(pal, (21, 11), [[(c, thumb_v)] for c in (pal.navy4, pal.teal_dim, pal.teal)]),
        "CHANNEL.BMP": glyph(pal, (16, 8), [[(pal.navy0, groove)]] * 3),
        "TICKH.BMP": glyph(pal, (2, 4), [[(c, lambda p: p.rect(0, 0, 2, 4, 0))] for c in (pal.navy4, pal.teal_dim, pal.teal)]),
        "TICKV.BMP": glyph(pal, (4, 2), [[(c, lambda p: p.rect(0, 0, 4, 2, 0))] for c in (pal.navy4, pal.teal_dim, pal.teal)]),
    }


GLOW_SIZE = 32
GLOW_BORDER = 10


def glow(pal):
    """The halo round a hot slider: the accent fading out over the border, clear inside."""
    from PIL import ImageFilter
    n, b = GLOW_SIZE, GLOW_BORDER
    alpha = Image.new("L", (n, n), 0)
    ImageDraw.Draw(alpha).rounded_rectangle([b - 3, b - 3, n - b + 2, n - b + 2], 5, fill=150)
    alpha = alpha.filter(ImageFilter.GaussianBlur(3))
    ImageDraw.Draw(alpha).rectangle([b, b, n - b - 1, n - b - 1], fill=0)
    img = Image.new("RGBA", (n, n), pal.teal + (0,))
    img.putalpha(alpha)
    return img


def pictures(pal):
    out = {}
    out.update(frames(pal))
    for d in ("up", "down", "left", "right"):
        out["ARROW%s.BMP" % d.upper()] = arrow(pal, d)
    out.update(boxes(pal))
    out.update(title_icons(pal, "B", 21))
    out.update(title_icons(pal, "S", 16))
    out.update(slider(pal))
    return out


# ---------------------------------------------------------------- definition

def options(pal):
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
                        "DESCRIPTION=" + pal.description,
                        "TITLEHEIGHT=26", "MAXHEIGHT=24", "BORDERWIDTH=4", "FORMOFFSET=4"]
         + plain(pal.navy1, pal.ice) + glyph_keys),
        ("FORM", plain(pal.navy1, pal.ice) + ["GIVEOWNFONT=TRUE", "BORDERSMASK=!FORM.BMP!2!0!0!4!4!4!4"]),
        ("DIALOG", ["PARENTCLASS=FORM"]),
        ("FORMTITLE", plain(pal.navy2, pal.mist, pal.navy3, pal.ice)
         + ["GRADIENTPERCENT=100", "GRADIENTDATA=" + band(pal.navy2, pal.navy1),
            "HOTGRADIENTPERCENT=100", "HOTGRADIENTDATA=" + band(pal.navy3, pal.navy2)]),
        ("PANEL", plain(pal.navy1, pal.ice) + ["GIVEOWNFONT=TRUE"]),
        ("BUTTON", plain(pal.navy3, pal.ice, pal.navy4, pal.ice)
         + ["SHOWFOCUS=TRUE", "FADINGENABLED=TRUE", "BORDERSMASK=!BUTTON.BMP!3!0!0!5!5!5!5"]),
        ("SPEEDBUTTON_SMALL", ["PARENTCLASS=BUTTON"]),
        ("COMBOBTN", ["PARENTCLASS=BUTTON", "BORDERSMASK=!BUTTON.BMP!3!0!0!5!5!5!5"]),
        ("EDIT", plain(pal.navy0, pal.ice) + ["BORDERSMASK=!EDIT.BMP!3!0!0!3!3!3!3"]),
        ("COMBOBOX", ["PARENTCLASS=EDIT", "GLYPHMASK=!ARROWDOWN.BMP!3!1!2"]),
        ("CHECKBOX", plain(pal.navy1, pal.ice, pal.navy1, pal.teal) + see_through),
        ("RADIOBUTTON", ["PARENTCLASS=CHECKBOX"]),
        ("GROUPBOX", plain(pal.navy1, pal.mist) + see_through),
        ("TRACKBAR", plain(pal.navy1, pal.mist) + see_through
         + ["SLIDERCHANNEL=!CHANNEL.BMP!3!1!2", "SLIDERMASK=!SLIDERH.BMP!3!1!2",
            "SLIDERVMASK=!SLIDERV.BMP!3!1!2", "TICKHORZ=!TICKH.BMP!3!1!2", "TICKVERT=!TICKV.BMP!3!1!2",
            "FADINGENABLED=TRUE", "GLOW=1", "GLOWMARGIN=4",
            "GLOW0=!GLOW.PNG!1!0!3!%d!%d!%d!%d" % ((GLOW_BORDER,) * 4)]),
        ("SCROLLBAR1V", plain(pal.navy0, pal.mist) + ["BORDERSMASK=!GROOVE.BMP!3!0!0!3!3!3!3"]),
        ("SCROLLBAR2V", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLBAR1H", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLBAR2H", ["PARENTCLASS=SCROLLBAR1V"]),
        ("SCROLLSLIDERV", ["PARENTCLASS=BUTTON"]),
        ("SCROLLSLIDERH", ["PARENTCLASS=BUTTON"]),
        ("SCROLLBTNTOP", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWUP.BMP!3!1!2"]),
        ("SCROLLBTNBOTTOM", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWDOWN.BMP!3!1!2"]),
        ("SCROLLBTNLEFT", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWLEFT.BMP!3!1!2"]),
        ("SCROLLBTNRIGHT", ["PARENTCLASS=BUTTON", "GLYPHMASK=!ARROWRIGHT.BMP!3!1!2"]),
        ("MAINMENU", plain(pal.navy1, pal.ice) + ["BORDERSMASK=!MENU.BMP!2!0!0!1!1!1!1"]),
        ("MENUITEM", plain(pal.navy1, pal.ice, pal.navy3, pal.teal) + ["TRANSPARENCY=100"]),
        ("DIVIDERV", plain(pal.navy3, pal.navy3)),
        ("HINT", plain(pal.navy2, pal.ice) + ["BORDERSMASK=!MENU.BMP!2!0!0!1!1!1!1"]),
    ]
    lines = ["; " + pal.name + ": the skin of the player and the station editor, drawn by tools/make_skin.py"]
    for name, keys in sections:
        lines += ["", "[%s]" % name] + keys
    return art.cp1251(lines)


# ---------------------------------------------------------------- engine pictures

SHADOW_SIZE = (64, 64)
# Where the window lies in a shadow picture: the extended border's default margins.
SHADOW_MARGINS = (11, 7, 11, 11)


def shadow(strength):
    """A soft dark shadow around the window's place, falling off over the margins; the
    window's own place is left fully transparent."""
    from PIL import ImageFilter
    w, h = SHADOW_SIZE
    left, top, right, bottom = SHADOW_MARGINS
    alpha = Image.new("L", SHADOW_SIZE, 0)
    ImageDraw.Draw(alpha).rectangle([left - 2, top, w - right + 1, h - bottom + 3], fill=strength)
    alpha = alpha.filter(ImageFilter.GaussianBlur(4))
    ImageDraw.Draw(alpha).rectangle([left, top, w - right - 1, h - bottom - 1], fill=0)
    out = Image.new("RGBA", SHADOW_SIZE, (0, 0, 0, 0))
    out.putalpha(alpha)
    return out


def state_buttons(pal):
    """The five 48 x 16 state-button strips: three 16 x 16 cells each (off, on, mixed) in the
    look named by the picture: flat, raised, down, empty, checked."""
    looks = {"state_flat.png": (pal.navy2, pal.navy4), "state_raised.png": (pal.navy3, pal.teal_dim),
             "state_down.png": (pal.navy0, pal.navy3), "state_empty.png": (pal.navy1, pal.navy2),
             "state_checked.png": (pal.navy2, pal.teal)}
    marks = [None, (lambda p: p.line([(4.5, 8.5), (7, 11), (11.5, 5)], 2)),
             (lambda p: p.line([(5, 8), (11, 8)], 2))]
    out = {}
    for name, (fill, edge) in looks.items():
        img = Image.new("RGBA", (48, 16), (0, 0, 0, 0))
        for i, mark in enumerate(marks):
            cell = Image.new("RGBA", (16, 16), edge + (0,))
            cell.putalpha(coverage((16, 16), lambda p: p.rect(1, 1, 15, 15, 3)))
            inner = coverage((16, 16), lambda p: p.rect(2.5, 2.5, 13.5, 13.5, 2))
            cell.paste(Image.new("RGBA", (16, 16), fill + (255,)), (0, 0), inner)
            if mark:
                cell.paste(Image.new("RGBA", (16, 16), pal.ice + (255,)), (0, 0), coverage((16, 16), mark))
            img.paste(cell, (i * 16, 0))
        out[name] = img
    return out


def hint_balloon(pal):
    """The 32 x 32 default hint picture: a rounded dark body with a teal edge in the top-left
    24 x 24, its soft shadow falling right and down into the wide right and bottom borders."""
    from PIL import ImageFilter
    size = (32, 32)
    shade = Image.new("L", size, 0)
    ImageDraw.Draw(shade).rounded_rectangle([4, 4, 27, 27], 5, fill=110)
    shade = shade.filter(ImageFilter.GaussianBlur(2.5))
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    out.putalpha(shade)
    body = Image.new("RGBA", size, pal.teal + (255,))
    out.paste(body, (0, 0), coverage(size, lambda p: p.rect(0, 0, 24, 24, 5)))
    out.paste(Image.new("RGBA", size, pal.navy2 + (255,)), (0, 0), coverage(size, lambda p: p.rect(1, 1, 23, 23, 4)))
    return out


def engine_pictures():
    out = {"shadow_active.png": shadow(120), "shadow_inactive.png": shadow(60)}
    out.update(state_buttons(NIGHT))
    out["hint.png"] = hint_balloon(NIGHT)
    return out


def png(img):
    buf = io.BytesIO()
    img.save(buf, "PNG", optimize=True)
    return buf.getvalue()


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


def skin_files(pal):
    files = {"Options.dat": options(pal)}
    files.update({name: bmp(img) for name, img in pictures(pal).items()})
    files["GLOW.PNG"] = png(glow(pal))
    return files


def all_files():
    """Every file of assets/skins/ as {relative path: bytes}."""
    out = {}
    for pal in PALETTES:
        skin = skin_files(pal)
        if pal is NIGHT:
            out.update({os.path.join(pal.name, name): data for name, data in skin.items()})
        out[os.path.join("packed", pal.name + ".asz")] = pack(skin)
    out.update({os.path.join("engine", name): png(img) for name, img in engine_pictures().items()})
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
