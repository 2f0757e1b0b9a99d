#!/usr/bin/python3
"""Draws Pellucard's skin images and writes them as PNG files, one per resource id, and its icons.

    tools/skin/make_skin_images.py [--out resources/images] [--icons resources/icons]
                                   [--sheet docs/skin-contact-sheet.png]

The icons (application 128, closed and open folder 5120 and 5121, file 5122, backup file 5123)
are written as <id>.ico with 32-bit pictures and masks; beside them the application icon for
the host's desktop: pellucard-48/64/128/256.png and pellucard.svg.

Everything is drawn from code at four times the final size and reduced with premultiplied
alpha, so edges are smooth.  Colours are rounded to what a 16-bit 5-6-5 screen shows, so the
files look exactly as the device draws them.  Images with a mask are written as a pair: the
colour image (magenta where fully transparent) and a grey mask whose value, read as a 5-6-5
pixel, carries the 5-bit alpha in its lowest bits (0 = background stays).  Output is
deterministic: the same script writes the same bytes.
"""

import argparse
import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SS = 4  # supersampling factor
MAGENTA = (255, 0, 255)

# The theme.
INK = (40, 92, 152)
INK_DARK = (28, 66, 112)
PAPER = (247, 249, 252)
BG_TOP = (242, 246, 251)
BG_BOTTOM = (214, 225, 239)
SEPARATOR = (184, 199, 219)
BAR_TOP = (214, 232, 251)
BAR_BOTTOM = (168, 203, 242)
BAR_EDGE = (86, 136, 198)
GREEN = (38, 158, 92)
ORANGE = (236, 120, 36)
WHITE = (255, 255, 255)

BAYER4 = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]


# --------------------------------------------------------------------------------------------
# Drawing surface


class Layer:
    """An RGBA surface at SS times the output size, addressed in output pixels (floats)."""

    def __init__(self, w, h, fill=(0, 0, 0, 0)):
        self.w = w
        self.h = h
        self.img = Image.new("RGBA", (w * SS, h * SS), fill)

    def _xy(self, pts):
        return [(x * SS, y * SS) for (x, y) in pts]

    def compose(self, paint, colour, clip=None):
        """Draws one shape with paint(draw) on a fresh layer and blends it over this one."""
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        paint(ImageDraw.Draw(layer), rgba(colour))
        if clip is not None:
            r, g, b, a = layer.split()
            layer = Image.merge("RGBA", (r, g, b, ImageChops.multiply(a, clip)))
        self.img = Image.alpha_composite(self.img, layer)

    def ellipse(self, cx, cy, rx, ry, colour, clip=None):
        box = [(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS]
        self.compose(lambda d, c: d.ellipse(box, fill=c), colour, clip)

    def ring(self, cx, cy, r, width, colour, clip=None):
        box = [(cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS]
        self.compose(lambda d, c: d.ellipse(box, outline=c, width=max(1, round(width * SS))), colour, clip)

    def rect(self, x0, y0, x1, y1, colour, clip=None):
        box = [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]
        self.compose(lambda d, c: d.rectangle(box, fill=c), colour, clip)

    def rounded(self, x0, y0, x1, y1, radius, colour, outline=None, width=1.0, clip=None):
        box = [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]
        self.compose(lambda d, c: d.rounded_rectangle(box, radius=radius * SS, fill=c), colour, clip)
        if outline is not None:
            w = max(1, round(width * SS))
            self.compose(lambda d, c: d.rounded_rectangle(box, radius=radius * SS, outline=c, width=w), outline, clip)

    def polygon(self, pts, colour, clip=None):
        xy = self._xy(pts)
        self.compose(lambda d, c: d.polygon(xy, fill=c), colour, clip)

    def line(self, pts, width, colour, clip=None, round_caps=True):
        xy = self._xy(pts)
        w = max(1, round(width * SS))

        def paint(d, c):
            d.line(xy, fill=c, width=w, joint="curve")
            if round_caps:
                for x, y in (xy[0], xy[-1]):
                    d.ellipse([x - w / 2, y - w / 2, x + w / 2, y + w / 2], fill=c)

        self.compose(paint, colour, clip)

    def arc(self, cx, cy, rx, ry, start, end, width, colour, clip=None):
        box = [(cx - rx) * SS, (cy - ry) * SS, (cx + rx) * SS, (cy + ry) * SS]
        w = max(1, round(width * SS))
        self.compose(lambda d, c: d.arc(box, start, end, fill=c, width=w), colour, clip)

    def vgradient(self, x0, y0, x1, y1, top, bottom, clip=None):
        """Vertical colour ramp over a rectangle."""
        layer = Image.new("RGBA", self.img.size, (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        ys, ye = int(y0 * SS), int(y1 * SS)
        for y in range(ys, ye):
            t = (y - ys) / max(1, ye - ys - 1)
            d.line([(x0 * SS, y), (x1 * SS - 1, y)], fill=rgba(mix(top, bottom, t)))
        if clip is not None:
            r, g, b, a = layer.split()
            layer = Image.merge("RGBA", (r, g, b, ImageChops.multiply(a, clip)))
        self.img = Image.alpha_composite(self.img, layer)

    def shape_mask(self, paint):
        """A coverage mask (mode L, supersampled) for clipping later shapes."""
        m = Image.new("L", self.img.size, 0)
        paint(ImageDraw.Draw(m))
        return m

    def circle_mask(self, cx, cy, r):
        box = [(cx - r) * SS, (cy - r) * SS, (cx + r) * SS, (cy + r) * SS]
        return self.shape_mask(lambda d: d.ellipse(box, fill=255))

    def shadow(self, paint, colour, blur, dy):
        """A soft drop shadow of a shape, blurred in output pixels and moved down by dy."""
        m = Image.new("L", self.img.size, 0)
        paint(ImageDraw.Draw(m))
        m = m.filter(ImageFilter.GaussianBlur(blur * SS))
        m = ImageChops.offset(m, 0, round(dy * SS))
        layer = Image.new("RGBA", self.img.size, rgba(colour))
        r, g, b, a = layer.split()
        layer = Image.merge("RGBA", (r, g, b, ImageChops.multiply(a, m)))
        self.img = Image.alpha_composite(self.img, layer)

    def paste(self, other, x, y):
        self.img.alpha_composite(other.img, (x * SS, y * SS))

    def reduced(self):
        """The finished image at its output size (premultiplied box filter)."""
        return self.img.convert("RGBa").reduce(SS).convert("RGBA")


def rgba(c):
    return c if len(c) == 4 else (c[0], c[1], c[2], 255)


def alpha(c, a):
    return (c[0], c[1], c[2], int(round(a * 255)))


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def shade(c, f):
    """f < 1 darkens, f > 1 lightens towards white."""
    if f <= 1:
        return tuple(int(round(v * f)) for v in c[:3])
    return mix(c, WHITE, f - 1)


# --------------------------------------------------------------------------------------------
# 16-bit output


def q5(v, t=0.5):
    return max(0, min(31, int(v * 31 / 255 + t)))


def q6(v, t=0.5):
    return max(0, min(63, int(v * 63 / 255 + t)))


def e5(v):
    return (v << 3) | (v >> 2)


def e6(v):
    return (v << 2) | (v >> 4)


def to565(img, dither):
    """Rounds an RGB(A) image to the 5-6-5 grid (optionally with ordered dither); RGB out."""
    src = img.convert("RGB")
    out = Image.new("RGB", src.size)
    sp = src.load()
    op = out.load()
    for y in range(src.size[1]):
        for x in range(src.size[0]):
            r, g, b = sp[x, y]
            t = (BAYER4[y & 3][x & 3] + 0.5) / 16 if dither else 0.5
            op[x, y] = (e5(q5(r, t)), e6(q6(g, t)), e5(q5(b, t)))
    return out


def split_masked(img, dither=False):
    """RGBA -> (colour image, mask image).  Fully transparent colour pixels become magenta."""
    colour = to565(img, dither)
    cp = colour.load()
    ap = img.getchannel("A").load()
    mask = Image.new("L", img.size, 0)
    mp = mask.load()
    for y in range(img.size[1]):
        for x in range(img.size[0]):
            a5 = q5(ap[x, y])
            mp[x, y] = e5(a5)
            if a5 == 0:
                cp[x, y] = MAGENTA
            else:
                cp[x, y] = avoid_key(cp[x, y])
    return colour, mask


def opaque(img, dither=True):
    colour = to565(img, dither)
    cp = colour.load()
    for y in range(colour.size[1]):
        for x in range(colour.size[0]):
            cp[x, y] = avoid_key(cp[x, y])
    return colour


def avoid_key(p):
    # A visible pixel must never read back as the colour key.
    if p[0] >> 3 == 31 and p[1] >> 2 == 0 and p[2] >> 3 == 31:
        return (p[0], e6(1), p[2])
    return p


# --------------------------------------------------------------------------------------------
# Screen background (ids 200, 300, 400, 500, 800)


def background(w, h):
    L = Layer(w, h)
    L.vgradient(0, 0, w, h, BG_TOP, BG_BOTTOM)
    # A few large, faint discs in the lower corner: quiet shapes that never get in the way of text.
    big = max(w, h)
    L.ellipse(w * 0.92, h * 0.96, big * 0.42, big * 0.42, alpha(WHITE, 0.28))
    L.ellipse(w * 1.02, h * 0.70, big * 0.20, big * 0.20, alpha(WHITE, 0.22))
    L.ellipse(w * 0.10, h * 1.05, big * 0.25, big * 0.25, alpha((190, 208, 232), 0.30))
    L.ring(w * 0.92, h * 0.96, big * 0.50, 1.0, alpha(WHITE, 0.30))
    return opaque(L.reduced(), dither=True)


# --------------------------------------------------------------------------------------------
# List row stripe and selection bar (ids 216-219 and their sets)


def row_stripe(w, h):
    L = Layer(w, h)
    L.rect(0, 0, w, h, alpha(WHITE, 0.42))
    L.rect(0, 0, w, 1, alpha(WHITE, 0.85))
    L.rect(0, h - 1, w, h, alpha(SEPARATOR, 1.0))
    return split_masked(L.reduced())


def selection_bar(w, h):
    """A pale pill with rounded ends, a soft shadow and a gloss; both ends survive the two-slice draw."""
    L = Layer(w, h)
    x0, y0, x1, y1 = 2, 2, w - 2, h - 3
    radius = (y1 - y0) * 0.32
    box = [x0 * SS, y0 * SS, x1 * SS - 1, y1 * SS - 1]
    L.shadow(lambda d: d.rounded_rectangle(box, radius=radius * SS, fill=255), alpha(INK_DARK, 0.30), 1.2, 1.0)
    clip = L.shape_mask(lambda d: d.rounded_rectangle(box, radius=radius * SS, fill=255))
    L.vgradient(x0, y0, x1, y1, BAR_TOP, BAR_BOTTOM, clip=clip)
    inner = [(x0 + 1.5) * SS, (y0 + 1.2) * SS, (x1 - 1.5) * SS - 1, (y0 + (y1 - y0) * 0.45) * SS]
    gloss = L.shape_mask(lambda d: d.rounded_rectangle(inner, radius=(radius - 1.5) * SS, fill=255))
    L.compose(lambda d, c: d.rectangle([0, 0, w * SS, h * SS], fill=c), alpha(WHITE, 0.35), clip=gloss)
    L.rounded(x0, y0, x1, y1, radius, (0, 0, 0, 0), outline=BAR_EDGE, width=1.0)
    return split_masked(L.reduced())


# --------------------------------------------------------------------------------------------
# Tab header arrows (ids 204-207 and 404-407): two states stacked, normal on top, pressed below


def arrow_strip(w, half, right):
    L = Layer(w, half * 2)
    for state in (0, 1):
        pressed = state == 1
        top = state * half
        bh = min(half - 2, 22)
        by0 = top + (half - bh) / 2
        by1 = by0 + bh
        bx0, bx1 = 0.5, w - 0.5
        radius = min(5.0, bh / 2.5)
        box = [bx0 * SS, by0 * SS, bx1 * SS - 1, by1 * SS - 1]
        if pressed:
            clip = L.shape_mask(lambda d: d.rounded_rectangle(box, radius=radius * SS, fill=255))
            L.vgradient(bx0, by0, bx1, by1, (52, 112, 182), INK_DARK, clip=clip)
            L.rounded(bx0, by0, bx1, by1, radius, (0, 0, 0, 0), outline=INK_DARK, width=1.0)
            ink = WHITE
        else:
            L.shadow(lambda d: d.rounded_rectangle(box, radius=radius * SS, fill=255), alpha(INK_DARK, 0.25), 0.6,
                     0.8)
            clip = L.shape_mask(lambda d: d.rounded_rectangle(box, radius=radius * SS, fill=255))
            L.vgradient(bx0, by0, bx1, by1, (255, 255, 255), (226, 236, 248), clip=clip)
            L.rounded(bx0, by0, bx1, by1, radius, (0, 0, 0, 0), outline=(140, 168, 204), width=1.0)
            ink = INK
        cx = w / 2
        cy = (by0 + by1) / 2 + (0.6 if pressed else 0)
        dx = 2.2 if bh >= 16 else 1.7
        dy = 4.2 if bh >= 16 else 3.0
        sign = 1 if right else -1
        pts = [(cx - sign * dx, cy - dy), (cx + sign * dx, cy), (cx - sign * dx, cy + dy)]
        L.line(pts, 2.0 if bh >= 16 else 1.6, ink)
    return split_masked(L.reduced())


# --------------------------------------------------------------------------------------------
# Icons: gift types (received, given, idea) and loan directions (borrowed, lent)


def badge(L, s, x0, incoming):
    """Round badge in the lower right corner: green arrow in, orange arrow out."""
    r = s * 0.22
    cx, cy = x0 + s * 0.74, s * 0.72
    L.ellipse(cx, cy, r + max(1.0, s * 0.04), r + max(1.0, s * 0.04), WHITE)
    L.ellipse(cx, cy, r, r, GREEN if incoming else ORANGE)
    a = r * 0.55
    w = max(1.5, s * 0.07)
    if incoming:
        # Down into the object.
        L.line([(cx, cy - a), (cx, cy + a)], w, WHITE)
        L.line([(cx - a * 0.75, cy + a * 0.2), (cx, cy + a), (cx + a * 0.75, cy + a * 0.2)], w, WHITE)
    else:
        L.line([(cx, cy + a), (cx, cy - a)], w, WHITE)
        L.line([(cx - a * 0.75, cy - a * 0.2), (cx, cy - a), (cx + a * 0.75, cy - a * 0.2)], w, WHITE)


def gift_box(L, s, x0):
    body = (226, 88, 98)
    lid = (236, 108, 116)
    ribbon = (252, 206, 72)
    bx0, bx1 = x0 + s * 0.12, x0 + s * 0.70
    L.rounded(bx0, s * 0.42, bx1, s * 0.88, s * 0.05, body)
    L.rounded(bx0 - s * 0.04, s * 0.30, bx1 + s * 0.04, s * 0.45, s * 0.04, lid)
    mid = (bx0 + bx1) / 2
    rw = max(1.5, s * 0.10)
    L.rect(mid - rw / 2, s * 0.30, mid + rw / 2, s * 0.88, ribbon)
    L.rect(bx0 - s * 0.04, s * 0.36, bx1 + s * 0.04, s * 0.36 + max(1.2, s * 0.05), shade(ribbon, 0.92))
    # Bow.
    lw = max(1.3, s * 0.06)
    L.ellipse(mid - s * 0.09, s * 0.22, s * 0.09, s * 0.07, (0, 0, 0, 0))
    L.arc(mid - s * 0.09, s * 0.22, s * 0.09, s * 0.07, 0, 360, lw, ribbon)
    L.arc(mid + s * 0.09, s * 0.22, s * 0.09, s * 0.07, 0, 360, lw, ribbon)
    L.ellipse(mid, s * 0.28, s * 0.04, s * 0.035, shade(ribbon, 0.85))


def light_bulb(L, s, x0):
    glass = (255, 212, 60)
    cx = x0 + s * 0.5
    # Rays.
    ray = (246, 168, 40)
    w = max(1.3, s * 0.055)
    for ang in (-150, -115, -65, -30, -90):
        a = math.radians(ang)
        r0, r1 = s * 0.33, s * 0.45
        L.line([(cx + math.cos(a) * r0, s * 0.40 + math.sin(a) * r0),
                (cx + math.cos(a) * r1, s * 0.40 + math.sin(a) * r1)], w, ray)
    L.ellipse(cx, s * 0.40, s * 0.24, s * 0.24, glass)
    L.polygon([(cx - s * 0.15, s * 0.52), (cx + s * 0.15, s * 0.52), (cx + s * 0.11, s * 0.70),
               (cx - s * 0.11, s * 0.70)], glass)
    L.arc(cx - s * 0.04, s * 0.36, s * 0.12, s * 0.12, 190, 260, max(1.2, s * 0.05), alpha(WHITE, 0.9))
    base = (132, 144, 162)
    L.rounded(cx - s * 0.12, s * 0.69, cx + s * 0.12, s * 0.86, s * 0.03, base)
    L.rect(cx - s * 0.12, s * 0.745, cx + s * 0.12, s * 0.745 + max(1.0, s * 0.03), (200, 208, 220))
    L.rounded(cx - s * 0.06, s * 0.85, cx + s * 0.06, s * 0.92, s * 0.03, shade(base, 0.8))


def book(L, s, x0):
    cover = (64, 122, 196)
    pages = (250, 248, 240)
    bx0, bx1, by0, by1 = x0 + s * 0.14, x0 + s * 0.66, s * 0.14, s * 0.86
    L.rounded(bx0 + s * 0.04, by0 + s * 0.03, bx1 + s * 0.04, by1 + s * 0.02, s * 0.05, pages)
    L.rect(bx1 - s * 0.02, by0 + s * 0.08, bx1 + s * 0.035, by1 - s * 0.04, (214, 208, 196))
    L.rounded(bx0, by0, bx1, by1 - s * 0.04, s * 0.05, cover)
    L.rect(bx0, by0, bx0 + max(1.5, s * 0.09), by1 - s * 0.04, shade(cover, 0.75))
    lw = max(1.0, s * 0.045)
    L.rect(bx0 + s * 0.17, s * 0.28, bx1 - s * 0.08, s * 0.28 + lw, alpha(WHITE, 0.85))
    L.rect(bx0 + s * 0.17, s * 0.37, bx1 - s * 0.14, s * 0.37 + lw, alpha(WHITE, 0.6))


def gift_strip(s):
    L = Layer(s * 3, s)
    gift_box(L, s, 0)
    badge(L, s, 0, True)
    gift_box(L, s, s)
    badge(L, s, s, False)
    light_bulb(L, s, 2 * s)
    return split_masked(L.reduced())


def loan_strip(s):
    L = Layer(s * 2, s)
    book(L, s, 0)
    badge(L, s, 0, True)
    book(L, s, s)
    badge(L, s, s, False)
    return split_masked(L.reduced())


# --------------------------------------------------------------------------------------------
# Avatars: nine people, drawn for each frame size


PEOPLE = [
    # hair style, skin, hair, clothes, background, extras
    dict(hair="long", skin=(247, 214, 188), hair_c=(168, 74, 42), clothes=(46, 150, 150), bg=(253, 222, 196),
         extras=()),
    dict(hair="short", skin=(226, 178, 136), hair_c=(66, 44, 30), clothes=(58, 108, 192), bg=(196, 220, 248),
         extras=("collar",)),
    dict(hair="bald", skin=(240, 198, 166), hair_c=(196, 198, 204), clothes=(70, 140, 84), bg=(212, 236, 210),
         extras=("beard", "glasses")),
    dict(hair="bun", skin=(156, 102, 68), hair_c=(34, 28, 28), clothes=(214, 74, 108), bg=(226, 212, 246),
         extras=("earrings",)),
    dict(hair="afro", skin=(104, 66, 42), hair_c=(30, 24, 22), clothes=(246, 188, 46), bg=(198, 234, 230),
         extras=()),
    dict(hair="bob", skin=(250, 222, 200), hair_c=(236, 192, 92), clothes=(136, 88, 188), bg=(250, 238, 186),
         extras=()),
    dict(hair="beanie", skin=(246, 208, 182), hair_c=(206, 96, 48), clothes=(238, 128, 56), bg=(204, 214, 230),
         extras=("freckles",), hat=(52, 74, 112)),
    dict(hair="curls", skin=(232, 192, 156), hair_c=(232, 232, 238), clothes=(150, 48, 72), bg=(204, 238, 222),
         extras=("glasses",)),
    dict(hair="spiky", skin=(204, 148, 102), hair_c=(104, 66, 36), clothes=(86, 168, 76), bg=(250, 212, 222),
         extras=()),
]


def avatar(p, s):
    L = Layer(s, s)
    c = s / 2
    R = s * 0.48
    big = s >= 40
    px = 1.0 / 1  # one output pixel
    L.ellipse(c, c, R, R, p["bg"])
    clip = L.circle_mask(c, c, R)
    skin = p["skin"]
    hair = p["hair_c"]
    u = lambda v: v * s  # noqa: E731
    style = p["hair"]

    # Hair that falls behind the head.
    if style == "long":
        L.rounded(u(0.27), u(0.26), u(0.73), u(0.80), u(0.18), hair, clip=clip)
    elif style == "bob":
        L.rounded(u(0.27), u(0.22), u(0.73), u(0.66), u(0.16), hair, clip=clip)
    elif style == "afro":
        L.ellipse(u(0.5), u(0.38), u(0.28), u(0.25), hair, clip=clip)
        # A ring of small curls makes the outline soft and round.
        for i in range(14):
            a = math.radians(-200 + i * 220 / 13)
            L.ellipse(u(0.5 + math.cos(a) * 0.28), u(0.40 + math.sin(a) * 0.25), u(0.065), u(0.065), hair, clip=clip)
        L.ellipse(u(0.30), u(0.52), u(0.09), u(0.11), hair, clip=clip)
        L.ellipse(u(0.70), u(0.52), u(0.09), u(0.11), hair, clip=clip)
    elif style == "bun":
        L.ellipse(u(0.5), u(0.16), u(0.11), u(0.10), hair, clip=clip)

    # Body and neck.
    clothes = p["clothes"]
    L.ellipse(u(0.5), u(1.06), u(0.38), u(0.34), clothes, clip=clip)
    L.rect(u(0.44), u(0.58), u(0.56), u(0.76), shade(skin, 0.88), clip=clip)
    L.polygon([(u(0.40), u(0.73)), (u(0.60), u(0.73)), (u(0.5), u(0.84))], shade(skin, 0.88), clip=clip)
    if "collar" in p["extras"]:
        L.polygon([(u(0.38), u(0.72)), (u(0.5), u(0.80)), (u(0.45), u(0.88))], WHITE, clip=clip)
        L.polygon([(u(0.62), u(0.72)), (u(0.5), u(0.80)), (u(0.55), u(0.88))], WHITE, clip=clip)

    # Head and ears.
    L.ellipse(u(0.31), u(0.47), u(0.045), u(0.06), shade(skin, 0.93), clip=clip)
    L.ellipse(u(0.69), u(0.47), u(0.045), u(0.06), shade(skin, 0.93), clip=clip)
    L.ellipse(u(0.5), u(0.45), u(0.19), u(0.22), skin, clip=clip)
    if "earrings" in p["extras"] and big:
        L.ellipse(u(0.305), u(0.54), max(0.8, u(0.022)), max(0.8, u(0.022)), (250, 204, 60), clip=clip)
        L.ellipse(u(0.695), u(0.54), max(0.8, u(0.022)), max(0.8, u(0.022)), (250, 204, 60), clip=clip)

    # Hair on top of the head.
    if style in ("long", "bob"):
        L.ellipse(u(0.5), u(0.33), u(0.205), u(0.13), hair, clip=clip)
        L.polygon([(u(0.30), u(0.34)), (u(0.47), u(0.30)), (u(0.34), u(0.46)), (u(0.295), u(0.50))], hair, clip=clip)
        L.polygon([(u(0.70), u(0.34)), (u(0.50), u(0.30)), (u(0.66), u(0.44)), (u(0.705), u(0.50))], hair, clip=clip)
    elif style == "short":
        L.ellipse(u(0.5), u(0.31), u(0.20), u(0.11), hair, clip=clip)
        L.polygon([(u(0.30), u(0.31)), (u(0.33), u(0.43)), (u(0.36), u(0.33))], hair, clip=clip)
        L.polygon([(u(0.70), u(0.31)), (u(0.67), u(0.43)), (u(0.64), u(0.33))], hair, clip=clip)
        L.polygon([(u(0.38), u(0.28)), (u(0.66), u(0.30)), (u(0.60), u(0.36)), (u(0.42), u(0.33))], hair, clip=clip)
    elif style == "bun":
        L.ellipse(u(0.5), u(0.31), u(0.20), u(0.105), hair, clip=clip)
        L.polygon([(u(0.30), u(0.31)), (u(0.32), u(0.44)), (u(0.37), u(0.32))], hair, clip=clip)
        L.polygon([(u(0.70), u(0.31)), (u(0.68), u(0.44)), (u(0.63), u(0.32))], hair, clip=clip)
    elif style == "afro":
        L.ellipse(u(0.5), u(0.29), u(0.21), u(0.10), hair, clip=clip)
    elif style == "bald":
        L.ellipse(u(0.315), u(0.40), u(0.035), u(0.07), hair, clip=clip)
        L.ellipse(u(0.685), u(0.40), u(0.035), u(0.07), hair, clip=clip)
        if big:
            L.arc(u(0.5), u(0.30), u(0.09), u(0.05), 200, 340, max(1.0, u(0.015)), alpha(WHITE, 0.6), clip=clip)
    elif style == "beanie":
        L.polygon([(u(0.32), u(0.35)), (u(0.31), u(0.46)), (u(0.36), u(0.38))], hair, clip=clip)
        L.polygon([(u(0.68), u(0.35)), (u(0.69), u(0.46)), (u(0.64), u(0.38))], hair, clip=clip)
        hat = p["hat"]
        L.ellipse(u(0.5), u(0.28), u(0.215), u(0.17), hat, clip=clip)
        L.rect(u(0.5) - u(0.215), u(0.27), u(0.5) + u(0.215), u(0.33), hat, clip=clip)
        L.rounded(u(0.275), u(0.27), u(0.725), u(0.345), u(0.03), shade(hat, 1.25), clip=clip)
        L.ellipse(u(0.5), u(0.10), u(0.06), u(0.055), WHITE, clip=clip)
    elif style == "curls":
        for (x, y, r) in ((0.34, 0.34, 0.075), (0.42, 0.27, 0.08), (0.52, 0.25, 0.085), (0.61, 0.28, 0.08),
                          (0.67, 0.35, 0.07), (0.32, 0.43, 0.05), (0.69, 0.43, 0.05)):
            L.ellipse(u(x), u(y), u(r), u(r), hair, clip=clip)
            if big:
                L.arc(u(x), u(y), u(r) * 0.6, u(r) * 0.6, 200, 320, max(1.0, u(0.01)), shade(hair, 0.85), clip=clip)
    elif style == "spiky":
        pts = [(u(0.29), u(0.40))]
        for i, x in enumerate([0.30, 0.36, 0.42, 0.48, 0.54, 0.60, 0.66, 0.71]):
            pts.append((u(x), u(0.31) if i % 2 == 0 else u(0.16)))
        pts += [(u(0.71), u(0.40)), (u(0.66), u(0.32)), (u(0.34), u(0.32))]
        L.polygon(pts, hair, clip=clip)
        L.ellipse(u(0.5), u(0.30), u(0.20), u(0.07), hair, clip=clip)

    # Face.
    eye = (44, 36, 36)
    ey = u(0.47)
    er = max(0.75, u(0.022))
    L.ellipse(u(0.425), ey, er, max(0.9, u(0.028)), eye, clip=clip)
    L.ellipse(u(0.575), ey, er, max(0.9, u(0.028)), eye, clip=clip)
    if big:
        brow = shade(hair, 0.8) if style != "bald" else (150, 150, 158)
        if style in ("curls",):
            brow = (170, 170, 178)
        bw = max(1.0, u(0.016))
        L.line([(u(0.39), u(0.415)), (u(0.455), u(0.405))], bw, brow, clip=clip)
        L.line([(u(0.545), u(0.405)), (u(0.61), u(0.415))], bw, brow, clip=clip)
        L.ellipse(u(0.385), u(0.545), u(0.035), u(0.022), alpha((236, 120, 120), 0.30), clip=clip)
        L.ellipse(u(0.615), u(0.545), u(0.035), u(0.022), alpha((236, 120, 120), 0.30), clip=clip)
        L.arc(u(0.5), u(0.50), u(0.02), u(0.03), 20, 160, max(1.0, u(0.012)), shade(skin, 0.78), clip=clip)
    if "freckles" in p["extras"] and big:
        for (x, y) in ((0.39, 0.52), (0.42, 0.54), (0.37, 0.545), (0.61, 0.52), (0.58, 0.54), (0.63, 0.545)):
            L.ellipse(u(x), u(y), max(0.5, u(0.008)), max(0.5, u(0.008)), shade(skin, 0.72), clip=clip)
    if "beard" in p["extras"]:
        L.polygon([(u(0.33), u(0.50)), (u(0.67), u(0.50)), (u(0.64), u(0.60)), (u(0.56), u(0.68)), (u(0.5), u(0.70)),
                   (u(0.44), u(0.68)), (u(0.36), u(0.60))], hair, clip=clip)
        L.ellipse(u(0.5), u(0.575), u(0.05), u(0.02), shade(skin, 0.6), clip=clip)
    else:
        mw = max(1.0, u(0.018))
        L.arc(u(0.5), u(0.555), u(0.055), u(0.035), 20, 160, mw, (170, 70, 70), clip=clip)
    if "glasses" in p["extras"] and big:
        gw = max(1.0, u(0.016))
        gr = u(0.058)
        L.ring(u(0.425), ey, gr, gw, (50, 50, 60), clip=clip)
        L.ring(u(0.575), ey, gr, gw, (50, 50, 60), clip=clip)
        L.line([(u(0.425) + gr, ey - u(0.005)), (u(0.575) - gr, ey - u(0.005))], gw, (50, 50, 60), clip=clip)

    # A thin ring in a deeper tone of the background finishes the frame.
    L.ring(c, c, R - 0.5 * px, max(0.8, s * 0.02), shade(p["bg"], 0.80))
    return L


def avatar_strip(s):
    L = Layer(s * 9, s)
    for i, p in enumerate(PEOPLE):
        L.paste(avatar(p, s), i * s, 0)
    return split_masked(L.reduced())


# --------------------------------------------------------------------------------------------
# Card background of the detail and form screens (ids 224, 324, 424, 524, 824)


def card(w, h, header, notes):
    L = Layer(w, h)
    L.rect(0, 0, w, h, PAPER)
    hb = header[3]
    L.vgradient(0, 0, w, hb, (232, 240, 250), (214, 228, 245))
    L.ellipse(w * 0.85, -h * 0.05, w * 0.45, hb * 0.9, alpha(WHITE, 0.35))
    L.rect(0, hb - 1, w, hb, (176, 196, 222))
    L.rect(0, hb, w, hb + 3, (226, 234, 244, 200))
    # A quiet panel behind the notes.
    x0, y0, x1 = notes[0] - 4, notes[1] - 3, notes[2] + 4
    L.rounded(x0, y0, x1, h + 8, 6, WHITE, outline=(208, 218, 232), width=1.0)
    return opaque(L.reduced(), dither=True)


# --------------------------------------------------------------------------------------------
# The sets


def image_table():
    """id -> (kind, function returning an image or a (colour, mask) pair)."""
    items = {}

    def pair(cid, make):
        items[cid] = ("pair", make)

    def one(cid, make):
        items[cid] = ("one", make)

    one(200, lambda: background(240, 320))
    one(300, lambda: background(320, 240))
    one(400, lambda: background(240, 320))
    one(500, lambda: background(320, 240))
    one(800, lambda: background(240, 240))

    pair(202, lambda: avatar_strip(32))
    pair(402, lambda: avatar_strip(26))
    pair(204, lambda: arrow_strip(16, 26, True))
    pair(206, lambda: arrow_strip(16, 26, False))
    pair(404, lambda: arrow_strip(16, 14, True))
    pair(406, lambda: arrow_strip(16, 14, False))
    pair(208, lambda: gift_strip(32))
    pair(408, lambda: gift_strip(26))
    pair(210, lambda: loan_strip(32))
    pair(410, lambda: loan_strip(26))

    for base, w, h in ((200, 240, 40), (300, 320, 40), (400, 240, 36), (500, 320, 35), (800, 240, 35)):
        pair(base + 16, lambda w=w, h=h: row_stripe(w, h))
        pair(base + 18, lambda w=w, h=h: selection_bar(w, h))

    cards = {
        224: (240, 266, (10, 0, 230, 88), (10, 94, 230, 266)),
        324: (320, 186, (10, 0, 310, 88), (10, 94, 310, 186)),
        424: (240, 268, (10, 0, 224, 58), (10, 64, 224, 268)),
        524: (320, 188, (10, 0, 304, 58), (10, 64, 304, 188)),
        824: (240, 188, (10, 0, 224, 58), (10, 64, 224, 188)),
    }
    for cid, (w, h, header, notes) in cards.items():
        one(cid, lambda w=w, h=h, header=header, notes=notes: card(w, h, header, notes))

    pair(226, lambda: avatar_strip(80))
    pair(228, lambda: avatar_strip(50))
    return items



# --------------------------------------------------------------------------------------------
# Icons (resource type ICON: ids 128 and 5120-5123) and the application icon for the host.
#
# Each icon is drawn on a 16-unit grid from the same few shapes, so it can be rasterised at any
# size and written as SVG too.  Shapes sit on whole units where they can, so the 16- and
# 32-pixel pictures keep crisp edges.


FOLDER = (250, 204, 84)
FOLDER_BACK = (232, 168, 44)
FOLDER_EDGE = (176, 118, 24)
PAGE_EDGE = (112, 136, 170)
PAGE_FOLD = (218, 228, 242)
PAGE_LINE = (176, 192, 214)
RIBBON = (226, 88, 98)
RIBBON_DARK = (186, 56, 70)


class Grid:
    """Draws on a Layer in units of a 16-unit grid, whatever the pixel size."""

    def __init__(self, layer, size):
        self.L = layer
        self.k = size / 16.0

    def _p(self, pts):
        return [(x * self.k, y * self.k) for (x, y) in pts]

    def rounded(self, x0, y0, x1, y1, r, colour, outline=None, width=1.0):
        k = self.k
        self.L.rounded(x0 * k, y0 * k, x1 * k, y1 * k, r * k, colour, outline=outline, width=max(1.0, width * k))

    def rect(self, x0, y0, x1, y1, colour):
        k = self.k
        self.L.rect(x0 * k, y0 * k, x1 * k, y1 * k, colour)

    def ellipse(self, cx, cy, rx, ry, colour):
        k = self.k
        self.L.ellipse(cx * k, cy * k, rx * k, ry * k, colour)

    def polygon(self, pts, colour, outline=None, width=1.0):
        self.L.polygon(self._p(pts), colour)
        if outline is not None:
            w = max(1.0, width * self.k)
            self.L.line(self._p(pts + [pts[0]]), w, outline, round_caps=False)

    def line(self, pts, width, colour):
        self.L.line(self._p(pts), max(1.0, width * self.k), colour)


class SvgGrid:
    """The same drawing calls written as SVG elements in a 16-unit view box."""

    def __init__(self):
        self.parts = []

    @staticmethod
    def _c(colour):
        return "#%02x%02x%02x" % colour[:3]

    @staticmethod
    def _n(v):
        return ("%.3f" % v).rstrip("0").rstrip(".")

    def rounded(self, x0, y0, x1, y1, r, colour, outline=None, width=1.0):
        n = self._n
        self.parts.append(f'<rect x="{n(x0)}" y="{n(y0)}" width="{n(x1 - x0)}" height="{n(y1 - y0)}" rx="{n(r)}" '
                          f'fill="{self._c(colour)}"/>')
        if outline is not None:
            h = width / 2
            self.parts.append(f'<rect x="{n(x0 + h)}" y="{n(y0 + h)}" width="{n(x1 - x0 - width)}" '
                              f'height="{n(y1 - y0 - width)}" rx="{n(max(0.0, r - h))}" fill="none" '
                              f'stroke="{self._c(outline)}" stroke-width="{n(width)}"/>')

    def rect(self, x0, y0, x1, y1, colour):
        n = self._n
        self.parts.append(f'<rect x="{n(x0)}" y="{n(y0)}" width="{n(x1 - x0)}" height="{n(y1 - y0)}" '
                          f'fill="{self._c(colour)}"/>')

    def ellipse(self, cx, cy, rx, ry, colour):
        n = self._n
        self.parts.append(f'<ellipse cx="{n(cx)}" cy="{n(cy)}" rx="{n(rx)}" ry="{n(ry)}" fill="{self._c(colour)}"/>')

    def polygon(self, pts, colour, outline=None, width=1.0):
        points = " ".join(f"{self._n(x)},{self._n(y)}" for x, y in pts)
        stroke = f' stroke="{self._c(outline)}" stroke-width="{self._n(width)}" stroke-linejoin="round"' if outline else ""
        self.parts.append(f'<polygon points="{points}" fill="{self._c(colour)}"{stroke}/>')

    def line(self, pts, width, colour):
        points = " ".join(f"{self._n(x)},{self._n(y)}" for x, y in pts)
        self.parts.append(f'<polyline points="{points}" fill="none" stroke="{self._c(colour)}" '
                          f'stroke-width="{self._n(width)}" stroke-linecap="round" stroke-linejoin="round"/>')

    def document(self, size):
        body = "\n  ".join(self.parts)
        return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{size}" height="{size}" viewBox="0 0 16 16">\n'
                f'  {body}\n</svg>\n')


def app_icon(g):
    """A friend's card tied with a gift ribbon: the program's emblem."""
    g.rounded(0, 4, 16, 15, 1.6, PAPER, outline=INK, width=1.0)
    # The friend: head and shoulders.
    g.ellipse(4.5, 8.0, 1.7, 1.7, INK)
    g.rounded(2, 10.5, 7, 14, 1.5, INK)
    # Two lines of the card.
    g.rounded(8, 7, 10, 8, 0.5, PAGE_LINE)
    g.rounded(8, 10, 10, 11, 0.5, PAGE_LINE)
    # The ribbon round the card and its bow.
    g.rect(11, 4, 13, 15, RIBBON)
    g.ellipse(10.2, 2.6, 1.8, 1.4, RIBBON)
    g.ellipse(13.8, 2.6, 1.8, 1.4, RIBBON)
    g.ellipse(10.4, 2.7, 0.7, 0.5, PAPER)
    g.ellipse(13.6, 2.7, 0.7, 0.5, PAPER)
    g.ellipse(12.0, 3.7, 1.1, 1.0, RIBBON_DARK)


def folder_back(g):
    g.polygon([(0.5, 2.5), (6.0, 2.5), (7.5, 4.0), (15.5, 4.0), (15.5, 14.5), (0.5, 14.5)], FOLDER_BACK,
              outline=FOLDER_EDGE, width=1.0)


def closed_folder(g):
    folder_back(g)
    g.rounded(0.5, 5.5, 15.5, 14.5, 0.6, FOLDER, outline=FOLDER_EDGE, width=1.0)
    g.rect(1.5, 6.5, 14.5, 7.5, shade(FOLDER, 1.35))


def open_folder(g):
    folder_back(g)
    g.rect(2.5, 5.0, 13.5, 11.0, WHITE)
    g.rect(4.0, 6.5, 12.0, 7.3, PAGE_LINE)
    g.polygon([(2.5, 7.5), (15.5, 7.5), (13.5, 14.5), (0.5, 14.5)], FOLDER, outline=FOLDER_EDGE, width=1.0)


def page(g):
    g.polygon([(2.5, 0.5), (10.0, 0.5), (13.5, 4.0), (13.5, 15.5), (2.5, 15.5)], WHITE, outline=PAGE_EDGE, width=1.0)
    g.polygon([(10.0, 0.5), (10.0, 4.0), (13.5, 4.0)], PAGE_FOLD, outline=PAGE_EDGE, width=1.0)


def file_icon(g):
    page(g)
    for y in (6, 9, 12):
        g.rect(5, y, 11, y + 1, PAGE_LINE)


def backup_icon(g):
    """A page holding the database: a blue cylinder in front of it."""
    page(g)
    g.rect(5, 4, 9, 5, PAGE_LINE)
    g.rect(8, 9, 15, 14, INK)
    g.ellipse(11.5, 14, 3.5, 1.2, INK)
    g.rect(8, 11, 15, 12, INK_DARK)
    g.ellipse(11.5, 9, 3.5, 1.3, (108, 154, 210))
    g.ellipse(11.5, 9, 2.4, 0.7, (148, 184, 228))


ICONS = {
    128: ("application", app_icon, (16, 32, 48, 64)),
    5120: ("closed folder", closed_folder, (16, 32)),
    5121: ("open folder", open_folder, (16, 32)),
    5122: ("file", file_icon, (16, 32)),
    5123: ("backup file", backup_icon, (16, 32)),
}
HOST_SIZES = (48, 64, 128, 256)


def icon_picture(draw, size):
    """RGBA at `size`, colours rounded to 5-6-5 and fully transparent pixels black."""
    L = Layer(size, size)
    draw(Grid(L, size))
    img = L.reduced()
    colour = to565(img, False)
    out = Image.new("RGBA", img.size)
    cp, ap, op = colour.load(), img.getchannel("A").load(), out.load()
    for y in range(size):
        for x in range(size):
            a = ap[x, y]
            op[x, y] = (*cp[x, y], a) if a else (0, 0, 0, 0)
    return out


def ico_bytes(pictures):
    """An .ico file of 32-bit pictures, each with its AND mask (transparent below half cover)."""
    import struct

    header = struct.pack("<HHH", 0, 1, len(pictures))
    entries, blobs = b"", b""
    offset = 6 + 16 * len(pictures)
    for img in pictures:
        w, h = img.size
        px = img.load()
        xor = bytearray()
        for y in range(h - 1, -1, -1):
            for x in range(w):
                r, g, b, a = px[x, y]
                xor += bytes((b, g, r, a))
        stride = ((w + 31) // 32) * 4
        mask = bytearray()
        for y in range(h - 1, -1, -1):
            row = bytearray(stride)
            for x in range(w):
                if px[x, y][3] < 128:
                    row[x // 8] |= 0x80 >> (x % 8)
            mask += row
        info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(mask), 0, 0, 0, 0)
        blob = info + bytes(xor) + bytes(mask)
        entries += struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32, len(blob), offset)
        blobs += blob
        offset += len(blob)
    return header + entries + blobs


def write_icons(out_dir):
    os.makedirs(out_dir, exist_ok=True)
    for iid, (_, draw, sizes) in ICONS.items():
        with open(os.path.join(out_dir, f"{iid}.ico"), "wb") as f:
            f.write(ico_bytes([icon_picture(draw, s) for s in sizes]))
    for size in HOST_SIZES:
        L = Layer(size, size)
        app_icon(Grid(L, size))
        save_png(L.reduced(), os.path.join(out_dir, f"pellucard-{size}.png"))
    svg = SvgGrid()
    app_icon(svg)
    with open(os.path.join(out_dir, "pellucard.svg"), "w", encoding="utf-8") as f:
        f.write(svg.document(256))


def icon_tiles(icon_dir):
    """Contact sheet parts: every picture of every icon on white and on the highlight colour,
    small ones enlarged, then the host's sizes of the application icon."""
    tiles = []
    highlight = (49, 106, 197)
    for iid, (name, draw, sizes) in ICONS.items():
        parts = []
        for size in sizes:
            pic = icon_picture(draw, size)
            zoom = 4 if size <= 16 else 2 if size <= 32 else 1
            for under in (WHITE, highlight):
                ground = Image.new("RGBA", pic.size, rgba(under))
                shown = Image.alpha_composite(ground, pic).convert("RGB").resize((size * zoom, size * zoom), Image.NEAREST)
                label = (f"{iid} {name} " if size == sizes[0] and under == WHITE else "") + f"{size}"
                parts.append((label + (f" x{zoom}" if zoom > 1 else "") if under == WHITE else "selected", shown))
        tiles.append((iid, parts))
    for size in HOST_SIZES:
        img = Image.open(os.path.join(icon_dir, f"pellucard-{size}.png")).convert("RGBA")
        ground = Image.new("RGBA", img.size, rgba(WHITE))
        tiles.append((size, [(f"host {size}", Image.alpha_composite(ground, img).convert("RGB"))]))
    return tiles


def save_png(img, path):
    # Fixed settings and no metadata, so a re-run writes identical bytes.
    img.save(path, format="PNG", optimize=False, compress_level=9)


# --------------------------------------------------------------------------------------------
# Contact sheet


def blend565(colour, mask, under):
    """What the device shows: the 5-bit blend over a background, as the drawing code does it."""
    out = under.copy().convert("RGB")
    cp, mp, op = colour.load(), mask.load(), out.load()
    for y in range(colour.size[1]):
        for x in range(colour.size[0]):
            m = mp[x, y]
            if m == 0:
                continue
            a = m >> 3
            c = cp[x, y]
            if a == 31:
                op[x, y] = c
                continue
            d = op[x, y]
            ch = []
            for i in range(3):
                cv, dv = c[i] >> 3, d[i] >> 3
                v = ((cv * a + dv * (31 - a)) >> 5) + 1
                ch.append(e5(min(31, v)))
            op[x, y] = tuple(ch)
    return out


def contact_sheet(images, out_dir, path, extra_tiles=()):
    font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", 11)
    bold = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 13)
    tiles = []
    under = Image.open(os.path.join(out_dir, "200.png")).convert("RGB")
    for cid in sorted(images):
        kind, _ = images[cid]
        colour = Image.open(os.path.join(out_dir, f"{cid}.png")).convert("RGB")
        if kind == "pair":
            mask = Image.open(os.path.join(out_dir, f"{cid + 1}.png")).convert("L")
            w, h = colour.size
            bgcrop = under.resize((max(w, 240), max(h, 320))).crop((0, 40, w, 40 + h))
            shown = blend565(colour, mask, bgcrop)
            zoom = 2 if w * 2 <= 720 else 1
            parts = [(f"{cid} {w}x{h}", colour), (f"{cid + 1} mask", mask.convert("RGB")),
                     ("on background" + (" x2" if zoom == 2 else ""), shown.resize((w * zoom, h * zoom), Image.NEAREST))]
        else:
            w, h = colour.size
            parts = [(f"{cid} {w}x{h}", colour)]
        tiles.append((cid, parts))
    tiles.extend(extra_tiles)

    margin = 10
    sheet_w = 1520

    def part_width(label, img):
        return max(img.size[0], int(font.getlength(label)) + 4)

    # Each image's parts sit side by side, or one under the other when that is too wide.
    x, y, row_h = margin, 40, 0
    placed = []
    for cid, parts in tiles:
        tw = sum(part_width(*p) for p in parts) + margin * (len(parts) - 1)
        th = max(p[1].size[1] for p in parts) + 16
        vertical = tw > sheet_w - 2 * margin
        if vertical:
            tw = max(part_width(*p) for p in parts)
            th = sum(p[1].size[1] + 16 for p in parts) + margin * (len(parts) - 1)
        if x + tw > sheet_w - margin:
            x, y, row_h = margin, y + row_h + margin, 0
        placed.append((x, y, parts, vertical))
        x += tw + margin * 3
        row_h = max(row_h, th)
    sheet_h = y + row_h + margin
    sheet = Image.new("RGB", (sheet_w, sheet_h), (255, 255, 255))
    d = ImageDraw.Draw(sheet)
    d.text((margin, 12), "Pellucard skin images (colour, mask, and the 5-bit blend over the background) and icons", fill=(0, 0, 0),
           font=bold)
    for x, y, parts, vertical in placed:
        px, py = x, y
        for label, img in parts:
            d.text((px, py), label, fill=(60, 60, 60), font=font)
            sheet.paste(img, (px, py + 14))
            if vertical:
                py += img.size[1] + 16 + margin
            else:
                px += part_width(label, img) + margin
    save_png(sheet, path)


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--out", default=os.path.join(root, "resources", "images"))
    ap.add_argument("--sheet", default=os.path.join(root, "docs", "skin-contact-sheet.png"))
    ap.add_argument("--icons", default=os.path.join(root, "resources", "icons"),
                    help="where the icons (<id>.ico) and the host's application icons go")
    ap.add_argument("--only", type=int, nargs="*", help="write only these colour ids")
    args = ap.parse_args()
    os.makedirs(args.out, exist_ok=True)
    images = image_table()
    for cid in sorted(images):
        if args.only and cid not in args.only:
            continue
        kind, make = images[cid]
        result = make()
        if kind == "pair":
            colour, mask = result
            save_png(colour, os.path.join(args.out, f"{cid}.png"))
            save_png(mask, os.path.join(args.out, f"{cid + 1}.png"))
        else:
            save_png(result, os.path.join(args.out, f"{cid}.png"))
    if not args.only and args.icons:
        write_icons(args.icons)
    if not args.only and args.sheet:
        os.makedirs(os.path.dirname(args.sheet), exist_ok=True)
        contact_sheet(images, args.out, args.sheet, icon_tiles(args.icons) if args.icons else ())
    return 0


if __name__ == "__main__":
    sys.exit(main())
