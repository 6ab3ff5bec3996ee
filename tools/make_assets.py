#!/usr/bin/python3
"""Draws every picture of the program folder and writes the demo station folder and the
settings files a first run needs, into assets/program/ (committed; the build never runs this).

  tools/make_assets.py            regenerate assets/program/
  tools/make_assets.py --check    regenerate into a temporary folder and compare with the
                                  committed files; exit 1 on any difference
  tools/make_assets.py --sheet    also write build/asset-sheet.png, every picture with its name

Runs on Debian's python3 with python3-pil (the shebang names it: a private Python without
Pillow would not do). Output is deterministic for one Pillow/libjpeg version.

All shapes are drawn at SS times the final size and scaled down, which gives clean,
antialiased edges without any font or picture from outside: the few letters on station logos
come from the stroke alphabet below.
"""
import io
import math
import os
import shutil
import struct
import sys
import tempfile

try:
    from PIL import Image, ImageDraw, ImageFont
except ImportError:
    # Exit 2, not 1: a missing tool is not a difference in the assets.
    print("make_assets.py needs Pillow: Debian's python3-pil, run by /usr/bin/python3",
          file=sys.stderr)
    sys.exit(2)

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "assets", "program")
SHEET = os.path.join(ROOT, "build", "asset-sheet.png")
SS = 4

# Palette: dark blue body, teal accent, one warm colour for the favourite star.
NAVY0 = (10, 22, 36)
NAVY1 = (15, 33, 51)
NAVY2 = (21, 45, 68)
NAVY3 = (32, 64, 92)
NAVY4 = (48, 86, 118)
TEAL = (40, 196, 180)
TEAL_DIM = (26, 122, 118)
ICE = (224, 240, 246)
MIST = (136, 166, 186)
AMBER = (244, 190, 78)
CORAL = (234, 88, 98)
LIME = (0, 255, 0)  # the windows' transparent colour: used only where a window is cut away


# ---------------------------------------------------------------- drawing primitives

class Pen:
    """Draws on a supersampled coverage mask in final-pixel coordinates."""

    def __init__(self, draw):
        self.d = draw

    @staticmethod
    def _pts(pts):
        return [(x * SS, y * SS) for x, y in pts]

    @staticmethod
    def _box(x0, y0, x1, y1):
        return [x0 * SS, y0 * SS, x1 * SS, y1 * SS]

    def poly(self, pts, fill=255):
        self.d.polygon(self._pts(pts), fill=fill)

    def line(self, pts, width, fill=255):
        self.d.line(self._pts(pts), fill=fill, width=round(width * SS), joint="curve")
        for x, y in (pts[0], pts[-1]):
            self.disc(x, y, width / 2, fill)

    def disc(self, cx, cy, r, fill=255):
        self.d.ellipse(self._box(cx - r, cy - r, cx + r, cy + r), fill=fill)

    def ring(self, cx, cy, r, width, fill=255):
        self.d.ellipse(self._box(cx - r, cy - r, cx + r, cy + r), outline=fill,
                       width=round(width * SS))

    def rect(self, x0, y0, x1, y1, radius=0, fill=255):
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=radius * SS, fill=fill)

    def frame(self, x0, y0, x1, y1, radius, width, fill=255):
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=radius * SS, outline=fill,
                                 width=round(width * SS))

    def arc(self, cx, cy, r, start, end, width, fill=255):
        """Arc in screen degrees (0 = right, clockwise), with round caps."""
        pts = arc_points(cx, cy, r, r, -start, -end)
        self.line(pts, width, fill)


def arc_points(cx, cy, rx, ry, a0, a1, steps=24):
    """Points on an ellipse from angle a0 to a1 (degrees, counter-clockwise, y down)."""
    return [(cx + rx * math.cos(math.radians(a)), cy - ry * math.sin(math.radians(a)))
            for a in (a0 + (a1 - a0) * i / steps for i in range(steps + 1))]


def render(size, layers, base=None):
    """Composes layers [(colour, draw(pen)), ...] into an RGBA picture of the given size."""
    w, h = size
    img = base.copy() if base else Image.new("RGBA", size, (0, 0, 0, 0))
    for colour, draw in layers:
        mask = Image.new("L", (w * SS, h * SS), 0)
        draw(Pen(ImageDraw.Draw(mask)))
        mask = mask.resize(size, Image.Resampling.LANCZOS)
        alpha = colour[3] if len(colour) == 4 else 255
        if alpha != 255:
            mask = mask.point(lambda v, a=alpha: v * a // 255)
        layer = Image.new("RGBA", size, colour[:3] + (0,))
        layer.putalpha(mask)
        img = Image.alpha_composite(img, layer)
    return img


def gradient(size, top, bottom):
    w, h = size
    col = Image.new("RGB", (1, h))
    for y in range(h):
        t = y / max(h - 1, 1)
        col.putpixel((0, y), tuple(round(a + (b - a) * t) for a, b in zip(top, bottom)))
    return col.resize(size).convert("RGBA")


# ---------------------------------------------------------------- stroke alphabet

def _letters():
    """Capital letters on a 4 x 6 grid, as polylines; only those the logos spell."""
    return {
        "A": [[(0, 6), (2, 0), (4, 6)], [(0.7, 4), (3.3, 4)]],
        "C": [arc_points(2.2, 3, 2.2, 3, 45, 315)],
        "D": [[(1.4, 0), (0, 0), (0, 6), (1.4, 6)] + arc_points(1.4, 3, 2.6, 3, -90, 90)],
        "E": [[(4, 0), (0, 0), (0, 6), (4, 6)], [(0, 3), (3, 3)]],
        "H": [[(0, 0), (0, 6)], [(4, 0), (4, 6)], [(0, 3), (4, 3)]],
        "I": [[(2, 0), (2, 6)], [(1, 0), (3, 0)], [(1, 6), (3, 6)]],
        "J": [[(4, 0), (4, 4)] + arc_points(2, 4, 2, 2, 0, -180)],
        "K": [[(0, 0), (0, 6)], [(4, 0), (0, 4)], [(1.4, 2.6), (4, 6)]],
        "L": [[(0, 0), (0, 6), (4, 6)]],
        "M": [[(0, 6), (0, 0), (2, 3.6), (4, 0), (4, 6)]],
        "N": [[(0, 6), (0, 0), (4, 6), (4, 0)]],
        "O": [arc_points(2, 3, 2.2, 3, 0, 360, 40)],
        "P": [[(0, 6), (0, 0), (2.4, 0)] + arc_points(2.4, 1.6, 1.6, 1.6, 90, -90)
              + [(0, 3.2)]],
        "R": [[(0, 6), (0, 0), (2.4, 0)] + arc_points(2.4, 1.6, 1.6, 1.6, 90, -90)
              + [(0, 3.2)], [(2.2, 3.2), (4, 6)]],
        "S": [arc_points(2, 1.5, 2, 1.5, 15, 270) + arc_points(2, 4.5, 2, 1.5, 90, -195)],
        "U": [[(0, 0), (0, 4)] + arc_points(2, 4, 2, 2, 180, 360) + [(4, 0)]],
        "W": [[(0, 0), (1, 6), (2, 2), (3, 6), (4, 0)]],
        "Z": [[(0, 0), (4, 0), (0, 6), (4, 6)]],
    }


LETTERS = _letters()


def text_width(text, height):
    unit = height / 6
    return (len(text) * 4 + (len(text) - 1) * 1.8) * unit


def spell(pen, text, cx, top, height, stroke):
    """Writes text centred on cx with the stroke alphabet."""
    unit = height / 6
    x = cx - text_width(text, height) / 2
    for ch in text:
        for path in LETTERS[ch]:
            pen.line([(x + px * unit, top + py * unit) for px, py in path], stroke)
        x += 5.8 * unit


# ---------------------------------------------------------------- icon families

def speaker_icons():
    """vol.png / voloff.png: the mute toggle (24 x 24, bottom bar beside the volume slider)."""
    def body(p):
        p.poly([(3, 9), (8, 9), (13, 4), (13, 20), (8, 15), (3, 15)])

    waves = [(TEAL, lambda p: (p.arc(12, 12, 5, -45, 45, 2), p.arc(12, 12, 9, -50, 50, 2)))]
    muted = [(CORAL, lambda p: (p.line([(16, 9), (21, 15)], 2.2),
                                p.line([(21, 9), (16, 15)], 2.2)))]
    return {
        "vol.png": render((24, 24), [(ICE, body)] + waves),
        "voloff.png": render((24, 24), [(MIST, body)] + muted),
    }


def star_points(cx, cy, outer, inner):
    return [(cx + (outer if i % 2 == 0 else inner) * math.sin(math.radians(i * 36)),
             cy - (outer if i % 2 == 0 else inner) * math.cos(math.radians(i * 36)))
            for i in range(10)]


def star_icons():
    """fav.png / notfav.png: the favourite toggle and the reminder's armed state (24 x 24)."""
    pts = star_points(12, 12.8, 10.5, 4.4)

    def outline(p):
        p.line(pts + [pts[0]], 1.8)

    return {
        "fav.png": render((24, 24), [(AMBER, lambda p: p.poly(pts)),
                                     ((255, 236, 180, 160), outline)]),
        "notfav.png": render((24, 24), [(MIST, outline)]),
    }


def chip(size, radius):
    """The round-cornered tile behind the title-bar buttons."""
    return (NAVY3, lambda p: p.rect(0.5, 0.5, size - 0.5, size - 0.5, radius))


def title_buttons():
    """close.png / hide.png: top right of the borderless windows (20 x 20)."""
    cross = (ICE, lambda p: (p.line([(6, 6), (14, 14)], 2), p.line([(14, 6), (6, 14)], 2)))
    minus = (ICE, lambda p: p.line([(5.5, 13), (14.5, 13)], 2))
    return {
        "close.png": render((20, 20), [chip(20, 5), cross]),
        "hide.png": render((20, 20), [chip(20, 5), minus]),
    }


def transport_glyphs():
    """play.png / stop.png / rec.png: glyphs of the play, stop and record buttons (20 x 20)."""
    return {
        "play.png": render((20, 20), [(TEAL, lambda p: p.poly([(5, 3), (17, 10), (5, 17)]))]),
        "stop.png": render((20, 20), [(ICE, lambda p: p.rect(4, 4, 16, 16, 2))]),
        "rec.png": render((20, 20), [(CORAL, lambda p: p.disc(10, 10, 6.5)),
                                     ((255, 255, 255, 70), lambda p: p.disc(8, 8, 2))]),
    }


def _gear(p):
    for i in range(8):
        a = math.radians(i * 45)
        p.line([(12 + 6 * math.cos(a), 12 + 6 * math.sin(a)),
                (12 + 9.5 * math.cos(a), 12 + 9.5 * math.sin(a))], 3.2)
    p.disc(12, 12, 7.2)
    p.disc(12, 12, 3, fill=0)


def pencil(ox=0, oy=0):
    """A pencil's body and tip, drawn for 24 x 24 and moved by (ox, oy)."""
    def body(p):
        p.line([(6 + ox, 18 + oy), (17 + ox, 7 + oy)], 4.2)

    def tip(p):
        p.poly([(3.5 + ox, 20.5 + oy), (4.6 + ox, 15.8 + oy), (8.2 + ox, 19.4 + oy)])

    return body, tip


def _bell(p):
    p.poly([(6, 17), (7.5, 14)] + arc_points(12, 10, 4.5, 5, 180, 0) + [(16.5, 14), (18, 17)])
    p.rect(4.5, 16.5, 19.5, 18.5, 1)
    p.disc(12, 20.2, 1.8)
    p.disc(12, 4.2, 1.3)


def _qr(p):
    for x, y in ((3, 3), (14, 3), (3, 14)):
        p.frame(x, y, x + 7, y + 7, 1, 1.6)
        p.rect(x + 2.6, y + 2.6, x + 4.4, y + 4.4)
    for x, y in ((14, 14), (17, 17), (19, 14), (14, 19.5), (17, 21), (20.5, 19)):
        p.rect(x, y, x + 2.5, y + 2.5)


def toolbar_icons():
    """The bottom bar's pictures (24 x 24): about, settings, station editor, reminder,
    tiles/list switch (icons.png shows the tiles, list.png the list) and station QR page;
    search.png for the search dialog."""
    def tiles(p):
        for x in (4, 13):
            for y in (4, 13):
                p.rect(x, y, x + 7, y + 7, 1.5)

    def rows(p):
        for y in (6, 12, 18):
            p.disc(5, y, 1.6)
            p.line([(9, y), (20, y)], 2.2)

    def info(p):
        p.ring(12, 12, 9, 2)
        p.disc(12, 7.6, 1.5)
        p.line([(12, 11), (12, 17)], 2.4)

    def magnifier(p):
        p.ring(10, 10, 6, 2.4)
        p.line([(14.5, 14.5), (20, 20)], 3)

    body, tip = pencil()
    layers = {"about.png": [(ICE, info)], "settings.png": [(ICE, _gear)],
              "editor.png": [(ICE, body), (TEAL, tip)], "alarm.png": [(ICE, _bell)],
              "icons.png": [(ICE, tiles)], "list.png": [(ICE, rows)], "qr.png": [(ICE, _qr)],
              "search.png": [(ICE, magnifier)]}
    return {name: render((24, 24), picture) for name, picture in layers.items()}


def row_icons():
    """edit.png / trash.png: the editor's per-row symbols (32 x 32). The grid row is white,
    or black when selected, so each symbol sits on its own coloured tile."""
    def bin_(p):
        p.rect(9, 8, 23, 10.5, 1)
        p.rect(13.5, 5.5, 18.5, 8.5, 1)
        p.poly([(10, 12), (22, 12), (21, 25), (11, 25)])
        for x in (13.6, 16, 18.4):
            p.line([(x, 14.5), (x, 22.5)], 1.3, fill=0)

    def tile(colour):
        return (colour, lambda p: p.rect(1, 1, 31, 31, 7))

    return {
        "edit.png": render((32, 32), [tile(TEAL_DIM)] + [(ICE, part) for part in pencil(4, 4)]),
        "trash.png": render((32, 32), [tile((150, 58, 70)), (ICE, bin_)]),
    }


def emblem(size):
    """The program's mark: a teal disc with a radio mast sending waves."""
    s = size / 32

    def waves(p):
        p.arc(16 * s, 14 * s, 6 * s, -150, -30, 2.2 * s)
        p.arc(16 * s, 14 * s, 10.5 * s, -145, -35, 2.2 * s)

    def mast(p):
        p.disc(16 * s, 14 * s, 2.6 * s)
        p.line([(12 * s, 27 * s), (16 * s, 15 * s), (20 * s, 27 * s)], 2.4 * s)
        p.line([(13.6 * s, 22.5 * s), (18.4 * s, 22.5 * s)], 2 * s)

    return render((size, size), [(TEAL, lambda p: p.disc(16 * s, 16 * s, 15.5 * s)),
                                 (NAVY1, mast), (NAVY1, waves)])


def emblem_pictures():
    """logo.png (96 x 96, picture of the about box) and logo_small.png (24 x 24, title icon
    of the main window and of the editor's list window)."""
    return {"logo.png": emblem(96), "logo_small.png": emblem(24)}


def tab_marker():
    """tab.png: the marker under the active tab (moved between Left 10 and 158; 140 x 4)."""
    return {"tab.png": render((140, 4), [(TEAL, lambda p: p.rect(0, 0, 140, 4, 2))])}


# ---------------------------------------------------------------- window backgrounds

def _band(img, y0, y1, top, bottom):
    w = img.width
    img.paste(gradient((w, y1 - y0), top, bottom), (0, y0))


def _cut_corners(img, radius):
    """Paints lime outside round corners; hard-edged, since an antialiased edge would leave
    greenish pixels that the transparent colour does not remove."""
    w, h = img.size
    mask = Image.new("L", img.size, 0)
    ImageDraw.Draw(mask).rounded_rectangle([0, 0, w - 1, h - 1], radius=radius, fill=255)
    img.paste(Image.new("RGBA", img.size, LIME + (255,)), (0, 0), mask.point(lambda v: 255 - v))


def _well(x0, y0, x1, y1):
    """A sunken area where a grid or a group of controls sits."""
    return [(NAVY0, lambda p: p.rect(x0, y0, x1, y1, 6)),
            (NAVY3, lambda p: p.frame(x0, y0, x1, y1, 6, 1))]


def window_background(size, title, rounded=False, close_drawn=False, bands=(), extra=()):
    """A window background: title band with faint waves, teal rule, body, thin light
    border. bands: lighter strips (y0, y1); extra: further layers (wells, rules).
    rounded: corners cut away in lime, for windows shaped by the transparent colour.
    close_drawn: the close symbol is part of the picture (an invisible click area lies over
    it), 20 x 20 at (width - 26, 5)."""
    w, h = size
    img = gradient(size, NAVY1, NAVY0)
    _band(img, 0, title, NAVY3, NAVY2)
    for y0, y1 in bands:
        _band(img, y0, y1, NAVY2, NAVY1)
    waves = ((40, 196, 180, 34), lambda p: [p.arc(w - 90, title, title * k, -165, -15, 2)
                                            for k in (0.3, 0.55, 0.8)])
    rule = (TEAL, lambda p: p.rect(0, title, w, title + 2))
    border = (NAVY4, lambda p: p.frame(0, 0, w, h, 10 if rounded else 0, 1))
    img = render(size, [waves, rule, *extra, border], img)
    if close_drawn:
        img.alpha_composite(title_buttons()["close.png"], (w - 26, 5))
    if rounded:
        _cut_corners(img, 10)
    return img.convert("RGB")


def main_background():
    """bg_main.png: the main window, 514 x 520. The normal window is its top 391 rows; the
    reminder panel below shows when the window grows to 520. The placement it is drawn for
    is in assets/README.md: title band 0..40, status line, tabs (rule at y 93), grid well,
    bottom bar 352..390, reminder well."""
    w = 514
    extra = [(NAVY3, lambda p: p.rect(8, 93, 506, 94)),
             (TEAL_DIM, lambda p: p.rect(0, 351, w, 352)),
             (NAVY3, lambda p: p.rect(0, 390, w, 391))]
    extra += _well(17, 96, 497, 350) + _well(8, 398, 506, 512)
    return {"bg_main.png": window_background((w, 520), 40, rounded=True, bands=[(352, 391)],
                                             extra=extra)}


def backgrounds():
    """Backgrounds of the other windows at their client sizes, with a 30-pixel title band.
    The player's dialogs are not shaped (square corners); the editor's three windows are,
    by lime. The editor's list grid (488 x 366) sits in a well under the title."""
    return {
        "bg_settings.png": window_background((309, 390), 30),
        "bg_station.png": window_background((515, 199), 30),
        "bg_update.png": window_background((311, 275), 30),
        "bg_about.png": window_background((621, 332), 30),
        "bg_search.png": window_background((515, 136), 30),
        "ed_main.png": window_background((501, 485), 30, rounded=True,
                                         extra=_well(5, 38, 496, 408)),
        "ed_edit.png": window_background((497, 164), 30, rounded=True, close_drawn=True),
        "ed_confirm.png": window_background((301, 136), 30, rounded=True, close_drawn=True),
    }


# ---------------------------------------------------------------- station logos

def _moon(p):
    p.disc(45, 30, 15)
    p.disc(53, 24, 13, fill=0)
    for x, y in ((24, 18), (66, 34), (58, 12)):
        p.disc(x, y, 1.6)


def _bolt(p):
    p.poly([(50, 8), (32, 34), (44, 34), (38, 52), (60, 24), (47, 24), (54, 8)])


def _sun_waves(p):
    p.disc(45, 24, 8)
    for i in (0, 4, 5, 6, 7):  # no rays downwards, into the water
        a = math.radians(i * 45)
        p.line([(45 + 11.5 * math.cos(a), 24 + 11.5 * math.sin(a)),
                (45 + 15 * math.cos(a), 24 + 15 * math.sin(a))], 2.2)
    for y in (44, 51):
        p.line(arc_points(31, y, 7, 3, 180, 360, 8) + arc_points(45, y, 7, 3, 180, 0, 8)[1:]
               + arc_points(59, y, 7, 3, 180, 360, 8)[1:], 2.4)


def _globe(p):
    p.ring(45, 29, 18, 2.6)
    p.line(arc_points(45, 29, 8, 18, 90, 270), 2.2)
    p.line(arc_points(45, 29, 8, 18, 90, -90), 2.2)
    p.line([(27, 29), (63, 29)], 2.2)
    p.line([(45, 11), (45, 47)], 2.2)


def _note(p):
    p.disc(38, 42, 7)
    p.line([(44.5, 42), (44.5, 12)], 3)
    p.poly([(44.5, 11), (58, 18), (58, 24), (44.5, 18)])


def _bars(p):
    for i, hgt in enumerate((14, 26, 34, 20, 30, 12)):
        x = 22 + i * 8.4
        p.rect(x, 48 - hgt, x + 5.4, 48, 1.5)


def _waves(p):
    p.disc(45, 32, 4)
    for r in (10, 17, 24):
        p.arc(45, 32, r, -50, 50, 3)
        p.arc(45, 32, r, 130, 230, 3)


def _radio(p):
    p.line([(30, 18), (58, 8)], 2.4)
    p.frame(22, 20, 68, 50, 6, 3)
    p.ring(36, 35, 7, 2.6)
    p.line([(50, 30), (61, 30)], 2.4)
    p.line([(50, 38), (61, 38)], 2.4)


# number: (file name, address, name, mode line or None, colours, emblem, text, genre)
STATIONS = [
    ("1.png", "http://127.0.0.1:8765/demo", "Демо-волна Эфирушки", "0",
     ((46, 196, 182), (16, 92, 104)), _waves, "DEMO", "демо"),
    ("2.jpg", "http://stream.example.com:8000/moonjazz", "Лунный Джаз", "0",
     ((70, 72, 160), (24, 26, 70)), _moon, "JAZZ", "джаз"),
    ("3.gif", "http://radio.example.net/rockwave.mp3", "Волна Рока", "0",
     ((214, 64, 64), (100, 20, 30)), _bolt, "ROCK", "рок"),
    ("4.png", "http://example.org/listen/chill", "Тёплый Лаунж", None,
     ((240, 160, 80), (168, 74, 52)), _sun_waves, "CHILL", "лаунж"),
    ("5.jpg", "http://news.example.com/live", "Новости Часа", "0",
     ((70, 120, 170), (28, 52, 84)), _globe, "NEWS", "новости"),
    ("6.gif", "http://example.net/stream/opus", "Классика у Камина", "0",
     ((146, 76, 120), (64, 26, 54)), _note, "OPUS", "классика"),
    ("7.jpg", "http://dance.example.org:8080/stream", "Ночной Танцпол", "0",
     ((190, 70, 200), (60, 24, 110)), _bars, "DANCE", "танцевальная"),
]

LOGO = 90  # tiles are about 91 x 90 and stretch the picture; the editor shows it at 32 x 32


def logo(colours, mark, text):
    img = gradient((LOGO, LOGO), *colours)
    layers = [((255, 255, 255, 36), lambda p: p.disc(LOGO * 0.8, LOGO * 0.1, 40)),
              ((255, 255, 255, 235), mark)]
    if text:
        layers.append((ICE, lambda p: spell(p, text, LOGO / 2, 62, 14, 2.4)))
    return render((LOGO, LOGO), layers, img).convert("RGB")


def station_logos():
    out = {"Stations/" + name: logo(colours, mark, text)
           for name, _a, _n, _m, colours, mark, text, _g in STATIONS}
    # The editor's placeholder for new and reset slots.
    out["nil.jpg"] = logo(((150, 160, 170), (88, 98, 110)), _radio, "")
    return out


# ---------------------------------------------------------------- text files

def cp1251(lines, end="\r\n"):
    return "".join(line + end for line in lines).encode("cp1251")


def station_files():
    out = {}
    for number, (logo_name, address, name, mode, *_rest) in enumerate(STATIONS, 1):
        lines = [address, name] + ([mode] if mode is not None else [])
        out["Stations/play%d.txt" % number] = cp1251(lines)
    return out


# Further catalogue entries; the first lines name the stations of the folder above, in order,
# since line i of the catalogue stands for station i.
CATALOGUE_MORE = [
    ("Радио Подсолнух", "поп"), ("Утренний Кофе", "лёгкая музыка"),
    ("Старый Патефон", "ретро"), ("Волна Севера", "разное"), ("Городские Огни", "поп"),
    ("Тихий Берег", "релакс"), ("Струны Души", "акустика"), ("Детская Полянка", "детское"),
    ("Радио Попутчик", "разное"), ("Звёздный Блюз", "блюз"), ("Песни у Костра", "бардовская"),
    ("Электро Пульс", "электроника"), ("Горное Эхо", "фолк"), ("Капель", "инструментальная"),
    ("Дворовые Песни", "шансон"), ("Солнечный Рэгги", "рэгги"), ("Ска-Парад", "ска"),
    ("Органный Зал", "классика"), ("Вечерний Романс", "романс"), ("Весёлая Минутка", "юмор"),
    ("Ретро-Кассета", "ретро"), ("Фолк-Тропа", "фолк"), ("Хиты Недели", "поп"),
    ("Лаунж на Крыше", "лаунж"), ("Спокойной Ночи", "релакс"), ("Ритмы Юга", "латино"),
    ("Книжная Полка", "аудиокниги"), ("Бард-Клуб", "бардовская"), ("Морской Бриз", "релакс"),
]


def catalogue():
    """Stations.txt: "number|name|genre", one station a line."""
    entries = [(name, genre) for _f, _a, name, _m, _c, _e, _t, genre in STATIONS]
    entries += CATALOGUE_MORE
    return {"Stations.txt": cp1251("%d|%s|%s" % (i, name, genre)
                                   for i, (name, genre) in enumerate(entries, 1))}


# Band values 0..30 from the lowest band to the highest; gain in dB is 15 - value.
PRESETS = {
    "classical": [15, 15, 15, 15, 15, 15, 19, 19, 19, 21],
    "club": [15, 15, 12, 10, 10, 10, 12, 15, 15, 15],
    "dance": [9, 11, 14, 15, 15, 18, 19, 19, 15, 15],
    "fullbass": [8, 8, 8, 11, 14, 18, 20, 21, 22, 22],
    "fullbasstremble": [10, 11, 15, 20, 18, 13, 9, 8, 7, 7],
    "pop": [16, 13, 11, 10, 12, 15, 16, 16, 16, 16],
    "party": [11, 11, 15, 15, 15, 15, 15, 15, 11, 11],
    "live": [18, 15, 13, 12, 12, 12, 13, 14, 14, 14],
    "largehall": [10, 10, 12, 12, 15, 18, 18, 18, 15, 15],
    "softrock": [13, 14, 15, 17, 16, 15, 14, 13, 12, 11],
    "reggae": [15, 15, 16, 18, 15, 12, 12, 15, 15, 15],
    "rock": [10, 12, 17, 19, 16, 12, 10, 9, 9, 9],
    "ska": [16, 18, 17, 15, 13, 12, 10, 9, 8, 9],
    "Эквалайзер": [15] * 10,
}


def settings_files():
    """equalizer.txt must exist at start (its absence stops the start-up work); the preset
    files back the items of the preset box; the editor's slot count and slot template."""
    out = {"equalizer.txt": cp1251(["15"] * 10)}
    for name, bands in PRESETS.items():
        out["Equalizer/%s.txt" % name] = cp1251(str(v) for v in bands)
    out["sc.txt"] = str(len(STATIONS)).encode("ascii")  # digits only, no line end
    out["nil.txt"] = cp1251(["http://example.com/stream", "Имя Радиостанции", "0"])
    return out


# ---------------------------------------------------------------- encoding and output

def ico_bytes(images):
    """An .ico of 32-bit images with their AND masks, written by hand so that every
    Windows version (and Wine) reads it, whatever Pillow's ICO writer prefers."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for img in images:
        n = img.width
        header = struct.pack("<IiiHHIIiiII", 40, n, 2 * n, 1, 32, 0, 0, 0, 0, 0, 0)
        rows = [img.crop((0, y, n, y + 1)).tobytes("raw", "BGRA") for y in range(n - 1, -1, -1)]
        stride = (n + 31) // 32 * 4
        mask = b""
        for y in range(n - 1, -1, -1):
            bits = 0
            for x in range(n):
                bits = bits << 1 | (img.getpixel((x, y))[3] == 0)
            mask += (bits << (stride * 8 - n)).to_bytes(stride, "big")
        blob = header + b"".join(rows) + mask
        entries.append(struct.pack("<BBBBHHII", n % 256, n % 256, 0, 0, 1, 32, len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries) + b"".join(blobs)


def encode(name, img):
    buf = io.BytesIO()
    if name.endswith(".png"):
        img.save(buf, "PNG")
    elif name.endswith(".jpg"):
        img.convert("RGB").save(buf, "JPEG", quality=92, subsampling=0)
    elif name.endswith(".gif"):
        img.convert("RGB").quantize(colors=64, method=Image.Quantize.MEDIANCUT,
                                    dither=Image.Dither.NONE).save(buf, "GIF")
    return buf.getvalue()


def pictures():
    out = {}
    for family in (speaker_icons, star_icons, title_buttons, transport_glyphs, toolbar_icons,
                   row_icons, emblem_pictures, tab_marker, main_background, backgrounds,
                   station_logos):
        out.update(family())
    return out


def all_files():
    """Every file of assets/program/ as {relative path: bytes}, plus the pictures."""
    pics = pictures()
    files = {name: encode(name, img) for name, img in pics.items()}
    # Tray icon: the 16 x 16 image is what the notification area shows; 32 x 32 for
    # larger display scales.
    files["tray.ico"] = ico_bytes([emblem(16), emblem(32)])
    for family in (station_files, catalogue, settings_files):
        files.update(family())
    return files, pics


def write(files, out_dir):
    for rel, data in files.items():
        path = os.path.join(out_dir, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, "wb") as f:
            f.write(data)


def listing(top):
    found = set()
    for folder, _dirs, names in os.walk(top):
        found.update(os.path.relpath(os.path.join(folder, n), top) for n in names)
    return found


def check(files, folder=OUT, prefix="efir-assets-"):
    """Regenerates into a temporary folder and compares with the committed files in folder."""
    tmp = tempfile.mkdtemp(prefix=prefix)
    try:
        write(files, tmp)
        fresh, committed = listing(tmp), listing(folder)
        differ = sorted(fresh ^ committed)
        for rel in sorted(fresh & committed):
            with open(os.path.join(tmp, rel), "rb") as a, open(os.path.join(folder, rel), "rb") as b:
                if a.read() != b.read():
                    differ.append(rel)
    finally:
        shutil.rmtree(tmp)
    for rel in differ:
        print("differs: " + rel)
    return not differ


def sheet_tile(img):
    """Small pictures three times larger on the window colour, where they will be seen;
    large ones as they are, on a checkerboard so that transparency shows."""
    rgba = img.convert("RGBA")
    if max(img.size) <= 32:
        rgba = rgba.resize((img.width * 3, img.height * 3), Image.Resampling.NEAREST)
        back = Image.new("RGB", rgba.size, NAVY1)
    else:
        back = Image.new("RGB", rgba.size, (200, 200, 200))
        draw = ImageDraw.Draw(back)
        for y in range(0, back.height, 8):
            for x in range((y // 8) % 2 * 8, back.width, 16):
                draw.rectangle([x, y, x + 7, y + 7], fill=(250, 250, 250))
    back.paste(rgba, (0, 0), rgba)
    return back


def sheet(pics, path):
    """Every picture with its name underneath."""
    font = ImageFont.load_default()
    items = sorted(pics.items(), key=lambda kv: (kv[1].width * kv[1].height, kv[0]))
    items += [("tray.ico 16", emblem(16)), ("tray.ico 32", emblem(32))]
    tiles = [(name, sheet_tile(img)) for name, img in items]
    width, pad = 1300, 12
    x, y, row_h, places = pad, pad, 0, []
    for name, tile in tiles:
        w, h = max(tile.width, 100), tile.height + 16
        if x + w > width:
            x, y, row_h = pad, y + row_h + pad, 0
        places.append((name, tile, x, y))
        x, row_h = x + w + pad, max(row_h, h)
    out = Image.new("RGB", (width, y + row_h + pad), (236, 238, 240))
    draw = ImageDraw.Draw(out)
    for name, tile, x, y in places:
        out.paste(tile, (x, y))
        draw.text((x, y + tile.height + 3), name, fill=(20, 20, 20), font=font)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    out.save(path)


def main(args):
    files, pics = all_files()
    if "--check" in args:
        ok = check(files)
        print("assets match" if ok else "assets differ: run tools/make_assets.py")
        return 0 if ok else 1
    write(files, OUT)
    if "--sheet" in args:
        sheet({name: Image.open(os.path.join(OUT, name)) for name in pics}, SHEET)
        print("sheet: " + SHEET)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
