#!/usr/bin/python3
"""Generates every picture the program embeds (icon, header pieces, emblems,
button faces, animations) into this folder, then checks each file's kind,
pixel size and frame count against what the forms expect. Shapes are drawn at
several times their final size and scaled down so edges come out smooth; no
randomness is used, so a re-run reproduces the files byte for byte.

Every picture comes at two zooms from the same drawing code: `name.ext` at 1x
and `name@2x.ext` at twice the width and height, for monitors at 200 %. All
coordinates, sizes, stroke widths and blurs are written in 1x pixels; the
Canvas and the helpers multiply them by the zoom.

Run: /usr/bin/python3 assets/make_art.py   (Debian python3-pil, fonts-wqy-zenhei)
"""

import math
import os
import struct
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

OUT = os.path.dirname(os.path.abspath(__file__))
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc"

TEAL_DARK = (14, 124, 134)     # #0E7C86
TEAL_LIGHT = (43, 179, 163)    # #2BB3A3
TEAL_DEEP = (9, 96, 106)
TEAL_MID = (24, 150, 150)
ORANGE = (255, 128, 0)
AMBER_LIGHT = (255, 172, 40)
AMBER = (232, 122, 0)
GREEN = (0, 128, 0)
WHITE = (255, 255, 255)
SLATE = (78, 100, 105)
TRACK = (226, 236, 237)
RED = (255, 0, 0)


# ---------------------------------------------------------------- helpers

def Named(name, zoom):
    """The file name of a picture at `zoom`: `name` at 1x, else `stem@2x.ext`."""
    if zoom == 1:
        return name
    stem, ext = os.path.splitext(name)
    return f"{stem}@{zoom}x{ext}"


def Font(size):
    return ImageFont.truetype(FONT_PATH, max(1, round(size)), index=0)


def Mix(c0, c1, t):
    return tuple(round(a + (b - a) * t) for a, b in zip(c0, c1))


def WithAlpha(c, a):
    return (c[0], c[1], c[2], a)


def ClockPoint(cx, cy, r, deg):
    """Point at `deg` degrees clockwise from 12 o'clock."""
    a = math.radians(deg)
    return (cx + r * math.sin(a), cy - r * math.cos(a))


def Gradient(size, c0, c1, wx, wy, mode="RGBA"):
    """Linear blend from c0 to c1 with t = wx*x/(w-1) + wy*y/(h-1), clipped."""
    w, h = size
    hr = Image.new("L", (w, 1))
    hr.putdata([round(255 * wx * x / max(w - 1, 1)) for x in range(w)])
    vr = Image.new("L", (1, h))
    vr.putdata([round(255 * wy * y / max(h - 1, 1)) for y in range(h)])
    mask = ImageChops.add(hr.resize((w, h), Image.NEAREST), vr.resize((w, h), Image.NEAREST))
    return Image.composite(Image.new(mode, size, c1 if mode != "RGBA" else WithAlpha(c1, 255)),
                           Image.new(mode, size, c0 if mode != "RGBA" else WithAlpha(c0, 255)),
                           mask)


class Canvas:
    """An RGBA drawing surface for a `w` x `h` picture (1x pixels) output at
    `zoom` (1, 2, or a fraction for the icon's smaller sizes), drawn `scale`
    times larger still. All coordinates passed in are in 1x pixels. Every
    shape goes through its own coverage mask so translucent colours and
    gradients blend over what is already there instead of replacing it."""

    def __init__(self, w, h, scale, zoom, bg=(0, 0, 0, 0)):
        self.w, self.h, self.s = round(w * zoom), round(h * zoom), scale * zoom
        self.im = Image.new("RGBA", (round(w * self.s), round(h * self.s)), bg)

    def _S(self, v):
        return v * self.s

    def _Mask(self):
        m = Image.new("L", self.im.size, 0)
        return m, ImageDraw.Draw(m)

    def Paint(self, mask, fill):
        """fill: RGB/RGBA tuple, or an RGBA image of canvas size (gradient)."""
        if isinstance(fill, Image.Image):
            layer = fill.copy()
            a = ImageChops.multiply(layer.getchannel("A"), mask)
        else:
            if len(fill) == 3:
                fill = WithAlpha(fill, 255)
            layer = Image.new("RGBA", self.im.size, fill)
            a = mask.point(lambda v, k=fill[3]: v * k // 255)
        layer.putalpha(a)
        self.im.alpha_composite(layer)

    def Grad(self, c0, c1, wx, wy):
        return Gradient(self.im.size, c0, c1, wx, wy)

    # shapes -------------------------------------------------------------
    def Circle(self, cx, cy, r, fill):
        m, d = self._Mask()
        s = self.s
        d.ellipse([(cx - r) * s, (cy - r) * s, (cx + r) * s - 1, (cy + r) * s - 1], fill=255)
        self.Paint(m, fill)

    def Ring(self, cx, cy, r, width, fill):
        self.Arc(cx, cy, r, width, 0, 360, fill, caps=False)

    def Arc(self, cx, cy, r, width, a0, a1, fill, caps=True):
        """Stroke centred on radius r from clock angle a0 to a1 (clockwise)."""
        m, d = self._Mask()
        s = self.s
        ro = r + width / 2
        box = [(cx - ro) * s, (cy - ro) * s, (cx + ro) * s - 1, (cy + ro) * s - 1]
        if a1 - a0 >= 360:
            d.ellipse(box, fill=255)
            ri = r - width / 2
            d.ellipse([(cx - ri) * s, (cy - ri) * s, (cx + ri) * s - 1, (cy + ri) * s - 1], fill=0)
        elif a1 > a0:
            d.arc(box, a0 - 90, a1 - 90, fill=255, width=max(1, round(width * s)))
            if caps:
                for a in (a0, a1):
                    px, py = ClockPoint(cx, cy, r, a)
                    rr = width / 2
                    d.ellipse([(px - rr) * s, (py - rr) * s, (px + rr) * s, (py + rr) * s], fill=255)
        self.Paint(m, fill)

    def Line(self, pts, width, fill, caps=True):
        m, d = self._Mask()
        s = self.s
        sp = [(x * s, y * s) for x, y in pts]
        d.line(sp, fill=255, width=max(1, round(width * s)), joint="curve")
        if caps:
            rr = width / 2 * s
            for x, y in (sp[0], sp[-1]):
                d.ellipse([x - rr, y - rr, x + rr, y + rr], fill=255)
        self.Paint(m, fill)

    def Polygon(self, pts, fill):
        m, d = self._Mask()
        d.polygon([(x * self.s, y * self.s) for x, y in pts], fill=255)
        self.Paint(m, fill)

    def RoundRect(self, x0, y0, x1, y1, radius, fill, outline=None, width=0):
        s = self.s
        m, d = self._Mask()
        d.rounded_rectangle([x0 * s, y0 * s, x1 * s - 1, y1 * s - 1], radius=radius * s, fill=255)
        if outline is not None and width > 0:
            self.Paint(m, outline)
            m, d = self._Mask()
            i = width
            d.rounded_rectangle([(x0 + i) * s, (y0 + i) * s, (x1 - i) * s - 1, (y1 - i) * s - 1],
                                radius=max(0, radius - i) * s, fill=255)
        self.Paint(m, fill)

    def Text(self, xy, text, size, fill, bold=0.0, anchor="mm"):
        m, d = self._Mask()
        s = self.s
        d.text((xy[0] * s, xy[1] * s), text, font=Font(size * s), fill=255, anchor=anchor,
               stroke_width=round(bold * s), stroke_fill=255)
        self.Paint(m, fill)

    def Halo(self, grow, blur, color, alpha):
        """Soft halo of everything drawn so far, placed under it: the shapes
        grown by `grow` and blurred by `blur`, at most `alpha` opaque."""
        a = self.im.getchannel("A").filter(ImageFilter.MaxFilter(2 * round(grow * self.s) + 1))
        a = a.filter(ImageFilter.GaussianBlur(blur * self.s))
        halo = Image.new("RGBA", self.im.size, WithAlpha(color, 255))
        halo.putalpha(a.point(lambda v: v * alpha // 255))
        halo.alpha_composite(self.im)
        self.im = halo

    def Shadow(self, blur, offset, color, alpha_scale=1.0):
        """Drop shadow of everything drawn so far, placed under it."""
        a = self.im.getchannel("A").filter(ImageFilter.GaussianBlur(blur * self.s))
        if alpha_scale != 1.0:
            a = a.point(lambda v: round(v * alpha_scale))
        sh = Image.new("RGBA", self.im.size, WithAlpha(color, 255))
        sh.putalpha(a)
        moved = Image.new("RGBA", self.im.size, (0, 0, 0, 0))
        moved.paste(sh, (round(offset[0] * self.s), round(offset[1] * self.s)))
        moved.alpha_composite(self.im)
        self.im = moved

    def Result(self):
        return self.im.resize((self.w, self.h), Image.LANCZOS)

    def ResultOn(self, bg):
        base = Image.new("RGBA", (self.w, self.h), WithAlpha(bg, 255))
        base.alpha_composite(self.Result())
        return base.convert("RGB")


def ArrowHead(c, cx, cy, r, deg, size, fill):
    """Triangle pointing clockwise along the circle, its base at `deg`."""
    a = math.radians(deg)
    tx, ty = math.cos(a), math.sin(a)          # clockwise tangent
    nx, ny = math.sin(a), -math.cos(a)         # outward normal
    px, py = ClockPoint(cx, cy, r, deg)
    c.Polygon([(px + nx * size * 0.95, py + ny * size * 0.95),
               (px - nx * size * 0.95, py - ny * size * 0.95),
               (px + tx * size * 1.25, py + ty * size * 1.25)], fill)


def PowerClock(c, cx, cy, r, stroke, ring, bar, hand, ticks=None, tick_len=0.0, hub=None):
    """The product mark: a power symbol whose bar doubles as a clock hand at
    twelve, with a second (accent) hand and optional dial ticks."""
    gap = 38
    if ticks is not None:
        for k in range(1, 12):
            a = k * 30
            p0 = ClockPoint(cx, cy, r + stroke * 0.5 + tick_len * 0.55, a)
            p1 = ClockPoint(cx, cy, r + stroke * 0.5 + tick_len * 1.45, a)
            c.Line([p0, p1], stroke * (0.32 if k % 3 else 0.45), ticks)
    c.Arc(cx, cy, r, stroke, gap, 360 - gap, ring)
    c.Line([(cx, cy), (cx, cy - r * 1.18)], stroke, bar)
    if hand is not None:
        c.Line([(cx, cy), ClockPoint(cx, cy, r * 0.62, 128)], stroke * 0.78, hand)
    if hub is not None:
        c.Circle(cx, cy, stroke * 0.62, bar)
        c.Circle(cx, cy, stroke * 0.3, hub)


def SavePng(im, name, zoom):
    im.save(os.path.join(OUT, Named(name, zoom)), optimize=True)


def SaveJpeg(im, name, zoom, quality=90):
    im.convert("RGB").save(os.path.join(OUT, Named(name, zoom)), quality=quality,
                           subsampling=0, optimize=True, progressive=False)


def SaveGif(frames, name, zoom, durations, colors=64, keep=()):
    """Frames share one palette, with no dithering: identical input gives
    identical bytes, and the encoder only stores the changed rectangle of each
    frame. Pure white and the brand colours are pinned in the palette so the
    background matches the window and small accents keep their hue; the rest
    is a median cut over all frames."""
    w, h = frames[0].size
    strip = Image.new("RGB", (w, h * len(frames)), WHITE)
    for i, f in enumerate(frames):
        strip.paste(f.convert("RGB"), (0, i * h))
    fixed = [WHITE] + list(keep)
    auto = strip.quantize(colors=colors - len(fixed), method=Image.Quantize.MEDIANCUT,
                          dither=Image.Dither.NONE)
    flat = [v for c in fixed for v in c] + auto.getpalette()[:3 * (colors - len(fixed))]
    entries = [tuple(flat[k:k + 3]) for k in range(0, len(flat), 3)]
    # Pillow's own palette mapping looks colours up at reduced precision and
    # can hand white to a near-white entry; an exact nearest match keeps the
    # frame edges identical to the window behind them.
    nearest = {}

    def Index(rgb):
        k = nearest.get(rgb)
        if k is None:
            k = min(range(len(entries)),
                    key=lambda j: sum((a - b) ** 2 for a, b in zip(rgb, entries[j])))
            nearest[rgb] = k
        return k

    q = []
    for f in frames:
        p = Image.new("P", (w, h))
        p.putpalette(flat + [0] * (768 - len(flat)))
        p.putdata([Index(rgb) for rgb in f.convert("RGB").getdata()])
        q.append(p)
    q[0].save(os.path.join(OUT, Named(name, zoom)), save_all=True, append_images=q[1:],
              duration=durations, loop=0, disposal=1, optimize=False)


# ---------------------------------------------------------------- icon

# The window and tray icon's sizes: small and large icons at 100 % to 200 %.
ICON_SIZES = (16, 20, 24, 32, 48)


def DrawAppMark(zoom):
    """The mark in a 24x24 square; each icon size is its own zoom, size / 24."""
    c = Canvas(24, 24, 16, zoom)
    cx = cy = 12
    c.Circle(cx, cy, 11.6, c.Grad(TEAL_LIGHT, TEAL_DARK, 0.45, 0.55))
    c.Ring(cx, cy, 11.1, 0.9, (255, 255, 255, 60))
    PowerClock(c, cx, cy + 0.6, 6.0, 2.1, WHITE, WHITE, ORANGE)
    return c.Result()


def MakeAppMark(zoom):
    SavePng(DrawAppMark(zoom), "app_mark.png", zoom)


def IcoEntry(im):
    """A 32-bit BMP-style icon image with its AND mask."""
    w, h = im.size
    px = im.load()
    xor = bytearray()
    for y in range(h - 1, -1, -1):            # bottom-up rows
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
    stride = ((w + 31) // 32) * 4
    andm = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray(stride)
        for x in range(w):
            if px[x, y][3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    info = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0, len(xor) + len(andm), 0, 0, 0, 0)
    return info + xor + andm


def WriteIco(images, name):
    """One 32-bit BMP-style entry per image, smallest first, written by hand
    so the layout is exactly what LoadImage/CreateIconFromResourceEx expect."""
    bodies = [IcoEntry(im) for im in images]
    header = struct.pack("<HHH", 0, 1, len(bodies))
    offset = 6 + 16 * len(bodies)
    for im, body in zip(images, bodies):
        header += struct.pack("<BBBBHHII", im.width, im.height, 0, 0, 1, 32, len(body), offset)
        offset += len(body)
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(header + b"".join(bodies))


def MakeAppIcon():
    WriteIco([DrawAppMark(size / 24) for size in ICON_SIZES], "app_icon.ico")


# ---------------------------------------------------------------- headers

def HeaderBackground(w, h, zoom, dial=None, waves=True, glow=None):
    """Teal field shared by the main and notice headers: darkest along the top
    rows where the forms print white/grey captions, lighter towards the bottom
    right, with faint wave lines and an optional dial watermark."""
    base = Gradient((w * zoom, h * zoom), TEAL_DARK, TEAL_LIGHT, 0.30, 0.70)
    c = Canvas(w, h, 2, zoom)
    if glow is not None:
        gx, gy, gr = glow
        g = Image.new("L", c.im.size, 0)
        s = c.s
        ImageDraw.Draw(g).ellipse([(gx - gr) * s, (gy - gr) * s,
                                   (gx + gr) * s, (gy + gr) * s], fill=70)
        g = g.filter(ImageFilter.GaussianBlur(gr * s * 0.45))
        c.Paint(g, WHITE)
    if waves:
        for k in range(4):
            pts = []
            for x in range(-4, w + 5, 3):
                y = (h * 0.70 + k * 7.5 + 11 * math.sin(2 * math.pi * x / 420.0 + k * 0.55)
                     + 4 * math.sin(2 * math.pi * x / 150.0 + k * 1.3))
                pts.append((x, y))
            c.Line(pts, 1.3, (255, 255, 255, 34 - k * 5), caps=False)
    if dial is not None:
        dx, dy, dr = dial
        col = (255, 255, 255, 30)
        c.Ring(dx, dy, dr, 2.2, col)
        c.Ring(dx, dy, dr * 0.80, 1.0, (255, 255, 255, 18))
        for k in range(60):
            a = k * 6
            ln = dr * (0.12 if k % 5 == 0 else 0.05)
            c.Line([ClockPoint(dx, dy, dr * 0.93 - ln, a), ClockPoint(dx, dy, dr * 0.93, a)],
                   1.6 if k % 5 == 0 else 0.9, col, caps=False)
        c.Line([(dx, dy), ClockPoint(dx, dy, dr * 0.5, 305)], 3.0, (255, 255, 255, 26))
        c.Line([(dx, dy), ClockPoint(dx, dy, dr * 0.72, 60)], 2.0, (255, 255, 255, 26))
        c.Circle(dx, dy, 3.2, (255, 255, 255, 34))
    base = base.convert("RGBA")
    base.alpha_composite(c.Result())
    return base


def MakeHeaders(zoom):
    # One canvas in main-window coordinates, shifted by 16 so the left piece's
    # hidden first 16 columns exist too; both pieces are cut from it, which is
    # what makes the seam at window x=128..152 invisible. At 2x they are cut
    # at twice the offsets, so they still meet.
    shift = 16
    W, H = 128 + 750 + shift, 152
    bg = HeaderBackground(W, H, zoom, dial=(268 + shift, 74, 64), glow=(460 + shift, 82, 92))

    def Cut(x0, y0, x1, y1):
        return bg.crop((x0 * zoom, y0 * zoom, x1 * zoom, y1 * zoom))

    # Product name and tagline right of the emblem, below the caption buttons.
    t = Canvas(W, H, 2, zoom)
    name_x = 548 + shift
    t.Text((name_x, 44), "QuondaHalvix", 40, WHITE, bold=0.7, anchor="la")
    t.RoundRect(name_x + 2, 95, name_x + 30, 98, 1.5, ORANGE)
    t.Text((name_x + 40, 96.5), "定时关机 · 从容掌控每一刻", 16, (255, 255, 255, 235), anchor="lm")
    t.Shadow(1.6, (0, 1.2), TEAL_DEEP, 0.55)
    bg.alpha_composite(t.Result())

    SaveJpeg(Cut(0, 0, 752, 152), "header_left.jpg", zoom)

    # Light badge under the "检查更新" link and its update icon (window
    # x 728..800, y 8..32): the form prints that caption in grey, which is
    # lost on the teal. It ends before the white "-" at x 816 and keeps its
    # shadow clear of it. Laid on after the left piece is cut: that picture
    # box stops at x 152, so the badge would only be hidden bytes there.
    badge = Canvas(W, H, 4, zoom)
    badge.RoundRect(722 + shift, 5, 804 + shift, 29, 12, (235, 245, 244),
                    outline=(250, 253, 253), width=1.0)
    badge.Shadow(1.2, (0, 0.8), TEAL_DEEP, 0.35)
    bg.alpha_composite(badge.Result())
    SaveJpeg(Cut(128 + shift, 0, 128 + shift + 750, 149), "header_right.jpg", zoom)

    # Notice window header: same field, its own dial away from the caption.
    nb = HeaderBackground(521, 94, zoom, dial=(300, 50, 40), glow=(300, 50, 70))
    SaveJpeg(nb, "notice_header.jpg", zoom)


def MakeHeaderEmblem(zoom):
    c = Canvas(128, 128, 4, zoom)
    cx, cy = 64, 62
    c.Circle(cx, cy, 51, WHITE)
    c.Shadow(3.0, (0, 2), TEAL_DEEP, 0.6)
    c.Ring(cx, cy, 46.5, 1.2, (43, 179, 163, 120))
    grad = c.Grad(TEAL_LIGHT, TEAL_DARK, 0.4, 0.6)
    PowerClock(c, cx, cy + 1, 27, 8.5, grad, TEAL_DARK, ORANGE,
               ticks=(43, 179, 163, 200), tick_len=6.5, hub=WHITE)
    SavePng(c.Result(), "header_emblem.png", zoom)


def MakeHeaderDecor(zoom):
    # A halo of arcs and short rays over the top of the emblem, plus a few
    # sparkles; everything stays outside the emblem's disc (centre about
    # (49, 76) here, radius under 52) so it frames the emblem whichever of the
    # two is painted first.
    c = Canvas(109, 116, 4, zoom)
    cx, cy = 49, 76
    c.Arc(cx, cy, 56, 2.2, 318, 402, (255, 255, 255, 150))
    c.Arc(cx, cy, 56, 1.4, 292, 312, (255, 255, 255, 90))
    c.Arc(cx, cy, 56, 1.4, 408, 428, (255, 255, 255, 90))
    for k, a in enumerate((-36, -18, 0, 18, 36)):
        ln = 9 if a == 0 else 6
        c.Line([ClockPoint(cx, cy, 61, a), ClockPoint(cx, cy, 61 + ln, a)],
               2.0 if a == 0 else 1.4, (255, 255, 255, 170 if a == 0 else 120))
    for (x, y, r, a) in ((10, 22, 2.4, 190), (97, 12, 1.8, 170), (104, 98, 2.0, 150),
                         (4, 104, 1.4, 130)):
        c.Line([(x - r * 2.2, y), (x + r * 2.2, y)], r * 0.55, (255, 255, 255, a))
        c.Line([(x, y - r * 2.2), (x, y + r * 2.2)], r * 0.55, (255, 255, 255, a))
        c.Circle(x, y, r * 0.7, (255, 255, 255, a))
    SavePng(c.Result(), "header_decor.png", zoom)


def MakeUpdateIcon(zoom):
    c = Canvas(16, 16, 8, zoom)
    cx, cy, r = 8, 8, 4.9
    for start in (15, 195):
        c.Arc(cx, cy, r, 1.8, start, start + 118, WHITE, caps=False)
        ArrowHead(c, cx, cy, r, start + 118, 2.9, WHITE)
    # A soft dark halo keeps the white arrows legible on light parts of the header.
    c.Halo(3 / 8, 0.5, TEAL_DEEP, 110)
    SavePng(c.Result(), "update_icon.png", zoom)


# ---------------------------------------------------------------- icons

def DrawDisk(c, x, y, w, h):
    """Front view of a drive: light body, dark front strip, status light."""
    lw = max(0.8, w / 30)
    grad = c.Grad((246, 249, 250), (190, 203, 207), 0.0, 1.0)
    c.RoundRect(x, y, x + w, y + h, h * 0.2, grad, outline=(88, 108, 114), width=lw)
    c.Line([(x + w * 0.08, y + lw * 1.8), (x + w * 0.92, y + lw * 1.8)], lw * 0.9,
           (255, 255, 255, 200))
    bx0, by0, bx1, by1 = x + w * 0.09, y + h * 0.52, x + w * 0.91, y + h * 0.84
    c.RoundRect(bx0, by0, bx1, by1, (by1 - by0) * 0.25, SLATE)
    mid = (by0 + by1) / 2
    for k in range(4):
        sx = bx0 + (by1 - by0) * 0.55 + k * w * 0.075
        c.Line([(sx, by0 + (by1 - by0) * 0.28), (sx, by1 - (by1 - by0) * 0.28)], lw * 0.9,
               (150, 170, 175))
    c.Circle(bx1 - (by1 - by0) * 0.62, mid, (by1 - by0) * 0.24, TEAL_LIGHT)


def MakeDiskIcon(zoom):
    c = Canvas(32, 32, 8, zoom)
    DrawDisk(c, 2.5, 8, 27, 17)
    c.Shadow(0.8, (0, 0.8), (0, 0, 0), 0.35)
    SavePng(c.Result(), "disk_icon.png", zoom)


def CheckMark(c, cx, cy, r, width, fill, progress=1.0):
    pts = [(cx - r * 0.48, cy + r * 0.02), (cx - r * 0.12, cy + r * 0.36),
           (cx + r * 0.50, cy - r * 0.32)]
    l1 = math.dist(pts[0], pts[1])
    l2 = math.dist(pts[1], pts[2])
    run = (l1 + l2) * progress
    if run <= 0:
        return
    if run <= l1:
        f = run / l1
        c.Line([pts[0], (pts[0][0] + (pts[1][0] - pts[0][0]) * f,
                         pts[0][1] + (pts[1][1] - pts[0][1]) * f)], width, fill)
    else:
        f = (run - l1) / l2
        c.Line([pts[0], pts[1], (pts[1][0] + (pts[2][0] - pts[1][0]) * f,
                                 pts[1][1] + (pts[2][1] - pts[1][1]) * f)], width, fill)


def ExclamationMark(c, cx, cy, r, width, fill):
    c.Line([(cx, cy - r * 0.52), (cx, cy + r * 0.12)], width, fill)
    c.Circle(cx, cy + r * 0.46, width * 0.62, fill)


def MakeResultPicture(name, zoom, light, dark, Mark):
    """A disk-check result: the disk with a round badge on its lower right,
    shaded from `light` to `dark`, and `Mark(c, cx, cy, r)` in white on it."""
    c = Canvas(72, 72, 4, zoom)
    DrawDisk(c, 4, 16, 56, 34)
    c.Shadow(1.5, (0, 1.5), (0, 0, 0), 0.3)
    bx, by, br = 52, 50, 15.5
    c.Circle(bx, by, br + 2.6, WHITE)
    c.Circle(bx, by, br, c.Grad(light, dark, 0.3, 0.7))
    Mark(c, bx, by, br)
    SavePng(c.Result(), name, zoom)


def MakeResultIcon(zoom):
    MakeResultPicture("result_icon.png", zoom, (30, 160, 40), GREEN,
                      lambda c, x, y, r: CheckMark(c, x, y, r, 3.6, WHITE))


def MakeResultUnread(zoom):
    # Nothing could be read from the disk: an amber "!" rather than the green
    # tick, calm enough not to look like a fault of the computer.
    MakeResultPicture("result_unread.png", zoom, AMBER_LIGHT, AMBER,
                      lambda c, x, y, r: ExclamationMark(c, x, y, r, 3.6, WHITE))


def MakeResultFailing(zoom):
    # The disk predicts its own failure: the badge turns red, the colour the
    # program's texts use for failure, with a bolder "!" on a wider white rim
    # so that it differs from the amber "not read" badge in shape as well as
    # colour.
    c = Canvas(72, 72, 4, zoom)
    DrawDisk(c, 4, 16, 56, 34)
    c.Shadow(1.5, (0, 1.5), (0, 0, 0), 0.3)
    bx, by, br = 52, 50, 16.5
    c.Circle(bx, by, br + 3.2, WHITE)
    c.Circle(bx, by, br, c.Grad((240, 70, 55), (200, 0, 0), 0.3, 0.7))
    ExclamationMark(c, bx, by, br, 4.4, WHITE)
    SavePng(c.Result(), "result_failing.png", zoom)


def MakeClockIcon(name, emphasis, zoom):
    c = Canvas(32, 32, 8, zoom)
    cx, cy = 16, 16
    c.Circle(cx, cy, 14.2, TEAL_DARK)
    c.Circle(cx, cy, 12.0, WHITE)
    for k in range(12):
        major = k % 3 == 0
        c.Line([ClockPoint(cx, cy, 10.9 - (1.8 if major else 0.9), k * 30),
                ClockPoint(cx, cy, 10.9, k * 30)], 1.1 if major else 0.7,
               TEAL_DARK if major else (150, 185, 188))
    dim = (150, 164, 168)
    hands = {"hour": (300, 5.8, 2.6), "minute": (60, 9.0, 1.9), "second": (165, 10.2, 1.0)}
    order = [k for k in ("hour", "minute", "second") if k != emphasis] + [emphasis]
    for k in order:
        deg, ln, wd = hands[k]
        if k == emphasis:
            wd *= 1.35
            if k == "second":
                wd = 1.5
            c.Line([ClockPoint(cx, cy, -2.2 if k == "second" else 0, deg),
                    ClockPoint(cx, cy, ln + 0.6, deg)], wd, ORANGE)
        else:
            c.Line([(cx, cy), ClockPoint(cx, cy, ln, deg)], wd * 0.85, dim)
    c.Circle(cx, cy, 1.9, ORANGE)
    c.Circle(cx, cy, 0.8, WHITE)
    SavePng(c.Result(), name, zoom)


def MakeProductEmblem(zoom):
    c = Canvas(96, 96, 4, zoom)
    cx, cy = 48, 46.5
    c.Circle(cx, cy, 42, c.Grad(TEAL_LIGHT, TEAL_DARK, 0.45, 0.55))
    c.Shadow(2.2, (0, 2), TEAL_DEEP, 0.45)
    c.Ring(cx, cy, 40.2, 1.6, (255, 255, 255, 70))
    PowerClock(c, cx, cy + 1, 21, 6.6, WHITE, WHITE, ORANGE,
               ticks=(255, 255, 255, 190), tick_len=5.0, hub=ORANGE)
    SavePng(c.Result(), "product_emblem.png", zoom)


def MakeWarningEmblem(zoom):
    c = Canvas(128, 128, 4, zoom)
    cx, cy = 64, 64
    c.Circle(cx, cy, 55, (255, 255, 255, 40))
    c.Ring(cx, cy, 54, 5.5, WHITE)
    c.Arc(cx, cy, 27, 9, 40, 320, WHITE)
    c.Line([(cx, cy - 36), (cx, cy - 6)], 9, WHITE)
    c.Shadow(2.0, (0, 1.5), (150, 0, 0), 0.45)
    SavePng(c.Result(), "warning_emblem.png", zoom)


def MakeCheckButtons(zoom):
    def Face(pressed):
        c = Canvas(137, 41, 4, zoom, bg=WithAlpha(WHITE, 255))
        top, bottom = (TEAL_LIGHT, TEAL_DARK) if not pressed else ((20, 140, 138), TEAL_DEEP)
        c.RoundRect(0.5, 0.5, 136.5, 40.5, 7, c.Grad(top, bottom, 0.0, 1.0),
                    outline=(8, 92, 100), width=1.0)
        if pressed:
            c.Line([(6, 2.6), (131, 2.6)], 1.6, (0, 40, 45, 90), caps=False)
        else:
            c.Line([(7, 2.2), (130, 2.2)], 1.0, (255, 255, 255, 110), caps=False)
        d = 1.0 if pressed else 0.0
        # magnifier over the label's left side, then the label
        gx, gy = 36 + d, 19.5 + d
        c.Ring(gx, gy, 5.2, 2.0, WHITE)
        c.Line([ClockPoint(gx, gy, 6.2, 135), ClockPoint(gx, gy, 10.5, 135)], 2.6, WHITE)
        c.Text((81 + d, 20.5 + d), "开始检测", 17, WHITE, bold=0.35)
        return c.ResultOn(WHITE)

    SaveJpeg(Face(False), "check_up.jpg", zoom, quality=92)
    SaveJpeg(Face(True), "check_down.jpg", zoom, quality=92)


# ---------------------------------------------------------------- animations

def Sphere(c, cx, cy, r, phase, tilt=22):
    """Orthographic globe: meridians turned by `phase` degrees, tilted axis."""
    c.Circle(cx, cy, r, c.Grad(TEAL_LIGHT, TEAL_DARK, 0.5, 0.5))
    b = math.radians(tilt)
    line = (255, 255, 255, 150)

    def Project(lam, phi):
        x = math.cos(phi) * math.sin(lam)
        y = math.sin(phi)
        z = math.cos(phi) * math.cos(lam)
        y2 = y * math.cos(b) - z * math.sin(b)
        z2 = y * math.sin(b) + z * math.cos(b)
        return (cx + r * x, cy - r * y2), z2

    def Stroke(samples, width):
        run = []
        for p, z in samples:
            if z > 0:
                run.append(p)
            else:
                if len(run) > 1:
                    c.Line(run, width, line)
                run = []
        if len(run) > 1:
            c.Line(run, width, line)

    for k in range(6):
        lam = math.radians(k * 30 + phase)
        Stroke([Project(lam, math.radians(p)) for p in range(-90, 91, 4)], r * 0.045)
        Stroke([Project(lam + math.pi, math.radians(p)) for p in range(-90, 91, 4)], r * 0.045)
    for phi in (-50, -25, 0, 25, 50):
        Stroke([Project(math.radians(l), math.radians(phi)) for l in range(0, 361, 4)],
               r * (0.06 if phi == 0 else 0.04))
    c.Ring(cx, cy, r - r * 0.03, r * 0.06, (255, 255, 255, 120))
    c.Circle(cx - r * 0.38, cy - r * 0.42, r * 0.22, (255, 255, 255, 45))


def MakeGlobeAnim(zoom):
    frames = []
    n = 12
    for i in range(n):
        c = Canvas(100, 100, 4, zoom)
        cx, cy = 50, 50
        # orbit: back half behind the globe, front half over it
        t = 2 * math.pi * i / n
        ox, oy = 44 * math.cos(t), 13 * math.sin(t)
        rot = math.radians(-20)
        sx = cx + ox * math.cos(rot) - oy * math.sin(rot)
        sy = cy + ox * math.sin(rot) + oy * math.cos(rot)
        orbit = []
        for k in range(0, 361, 4):
            u = math.radians(k)
            qx, qy = 44 * math.cos(u), 13 * math.sin(u)
            orbit.append((cx + qx * math.cos(rot) - qy * math.sin(rot),
                          cy + qx * math.sin(rot) + qy * math.cos(rot)))
        c.Line(orbit, 1.2, (43, 179, 163, 110), caps=False)
        if math.sin(t) < 0:
            c.Circle(sx, sy, 4.4, ORANGE)
        Sphere(c, cx, cy, 33, i * 30 / n)
        front = [p for k, p in enumerate(orbit) if math.sin(math.radians(k * 4)) > 0.05]
        c.Line(front, 1.4, (255, 255, 255, 200), caps=False)
        if math.sin(t) >= 0:
            c.Circle(sx, sy, 5.2, WHITE)
            c.Circle(sx, sy, 4.4, ORANGE)
        frames.append(c.ResultOn(WHITE))
    SaveGif(frames, "globe_anim.gif", zoom, [100] * n, colors=64,
            keep=(ORANGE, TEAL_DARK, TEAL_LIGHT))


def MakeTaskAnim(zoom):
    frames = []
    n = 24
    for i in range(n):
        c = Canvas(200, 200, 2, zoom)
        cx, cy = 100, 100
        head = 360.0 * i / n
        c.Ring(cx, cy, 86, 11, TRACK)
        c.Arc(cx, cy, 86, 11, head, 360, TEAL_MID, caps=head > 0)
        c.Circle(cx, cy, 70, (240, 248, 248))
        for k in range(12):
            major = k % 3 == 0
            c.Line([ClockPoint(cx, cy, 64 - (9 if major else 5), k * 30),
                    ClockPoint(cx, cy, 64, k * 30)], 3.2 if major else 2.0,
                   TEAL_DARK if major else (140, 190, 190))
        PowerClock(c, cx, cy + 1, 24, 7.5, TEAL_DARK, TEAL_DARK, None)
        c.Line([ClockPoint(cx, cy, -10, head), ClockPoint(cx, cy, 60, head)], 3.0, ORANGE)
        c.Circle(cx, cy, 6, ORANGE)
        c.Circle(cx, cy, 2.5, WHITE)
        hx, hy = ClockPoint(cx, cy, 86, head)
        c.Circle(hx, hy, 9.5, WHITE)
        c.Circle(hx, hy, 7.0, ORANGE)
        frames.append(c.ResultOn(WHITE))
    SaveGif(frames, "task_anim.gif", zoom, [100] * n, colors=64,
            keep=(ORANGE, TEAL_DARK, TEAL_MID, TRACK))


def MakeLinkAnim(zoom):
    # Drawn on the pixel grid directly: at 18x18 crisp bars read better than
    # smoothed ones. Each 1x pixel is a zoom x zoom block.
    frames = []
    bars = [(2, 11, 5, 16), (7, 7, 10, 16), (12, 2, 15, 16)]

    def Cells(x0, y0, x1, y1):
        """The 1x pixels x0..x1, y0..y1 (inclusive) as a box at the zoom."""
        return [x0 * zoom, y0 * zoom, (x1 + 1) * zoom - 1, (y1 + 1) * zoom - 1]

    for i in range(4):
        im = Image.new("RGB", (18 * zoom, 18 * zoom), WHITE)
        d = ImageDraw.Draw(im)
        for k, (x0, y0, x1, y1) in enumerate(bars):
            lit = k < i
            d.rectangle(Cells(x0, y0, x1, y1), fill=GREEN if lit else (206, 214, 216))
            if lit:
                d.rectangle(Cells(x0, y0, x1, y0), fill=(60, 170, 60))
        frames.append(im)
    SaveGif(frames, "link_anim.gif", zoom, [100] * 4, colors=8, keep=(GREEN,))


def MakeNoticeAnim(zoom):
    # The ring draws itself, the disc fills in, then the tick is written;
    # the last frame holds before the loop starts over.
    frames, durations = [], []
    ring_steps, fill_steps, check_steps = 8, 2, 4
    cx, cy, r, ring_w = 35, 35, 27, 4.5
    for i in range(ring_steps + fill_steps + check_steps):
        c = Canvas(70, 70, 4, zoom)
        c.Ring(cx, cy, r, ring_w, (226, 240, 226))
        sweep = 360.0 * min(i + 1, ring_steps) / ring_steps
        c.Arc(cx, cy, r, ring_w, 0, sweep, GREEN)
        if i >= ring_steps:
            grown = min(1.0, (i - ring_steps + 1) / fill_steps)
            c.Circle(cx, cy, (r + ring_w / 2) * (0.45 + 0.55 * grown), GREEN)
        if i >= ring_steps + fill_steps:
            CheckMark(c, cx, cy, r, 5.2, WHITE, (i - ring_steps - fill_steps + 1) / check_steps)
        frames.append(c.ResultOn(WHITE))
        durations.append(70)
    durations[-1] = 1200
    SaveGif(frames, "notice_anim.gif", zoom, durations, colors=32, keep=(GREEN,))


def MakeVersionAnim(zoom):
    frames = []
    n = 12
    for i in range(n):
        c = Canvas(100, 100, 4, zoom)
        cx, cy, r = 50, 50, 30
        rot = i * 180.0 / n
        c.Ring(cx, cy, r, 8, (232, 243, 243))
        for base in (0, 180):
            a0, a1 = base + rot + 20, base + rot + 140
            c.Arc(cx, cy, r, 8, a0, a1, TEAL_MID if base == 0 else TEAL_DARK, caps=False)
            c.Circle(*ClockPoint(cx, cy, r, a0), 4, TEAL_MID if base == 0 else TEAL_DARK)
            ArrowHead(c, cx, cy, r, a1, 9, TEAL_MID if base == 0 else TEAL_DARK)
        pulse = 0.5 - 0.5 * math.cos(2 * math.pi * i / n)
        c.Circle(cx, cy, 7 + 4 * pulse, (255, 128, 0, round(90 + 100 * (1 - pulse))))
        c.Circle(cx, cy, 6, ORANGE)
        frames.append(c.ResultOn(WHITE))
    SaveGif(frames, "version_anim.gif", zoom, [100] * n, colors=64,
            keep=(ORANGE, TEAL_DARK, TEAL_MID))


# ---------------------------------------------------------------- checks

# Byte budgets in KB: the 1x pictures with the icon, and the 2x pictures. Both
# together keep the executable well under 3 MB.
LIMIT_1X, LIMIT_2X = 400, 800

EXPECTED = {
    # name: (format, size, mode or None, frames or (min, max) or None)
    "app_icon.ico": ("ICO", (48, 48), None, None),
    "app_mark.png": ("PNG", (24, 24), "RGBA", None),
    "header_left.jpg": ("JPEG", (752, 152), "RGB", None),
    "header_right.jpg": ("JPEG", (750, 149), "RGB", None),
    "header_emblem.png": ("PNG", (128, 128), "RGBA", None),
    "header_decor.png": ("PNG", (109, 116), "RGBA", None),
    "update_icon.png": ("PNG", (16, 16), "RGBA", None),
    "result_icon.png": ("PNG", (72, 72), "RGBA", None),
    "result_unread.png": ("PNG", (72, 72), "RGBA", None),
    "result_failing.png": ("PNG", (72, 72), "RGBA", None),
    "disk_icon.png": ("PNG", (32, 32), "RGBA", None),
    "hour_icon.png": ("PNG", (32, 32), "RGBA", None),
    "minute_icon.png": ("PNG", (32, 32), "RGBA", None),
    "second_icon.png": ("PNG", (32, 32), "RGBA", None),
    "product_emblem.png": ("PNG", (96, 96), "RGBA", None),
    "check_up.jpg": ("JPEG", (137, 41), "RGB", None),
    "check_down.jpg": ("JPEG", (137, 41), "RGB", None),
    "globe_anim.gif": ("GIF", (100, 100), None, (8, 12)),
    "task_anim.gif": ("GIF", (200, 200), None, (12, 1000)),
    "link_anim.gif": ("GIF", (18, 18), None, (4, 4)),
    "notice_header.jpg": ("JPEG", (521, 94), "RGB", None),
    "notice_anim.gif": ("GIF", (70, 70), None, (2, 1000)),
    "warning_emblem.png": ("PNG", (128, 128), "RGBA", None),
    "version_anim.gif": ("GIF", (100, 100), None, (2, 1000)),
}
# Every picture but the icon also at 2x: twice the size, the same frames.
EXPECTED.update({Named(name, 2): (fmt, (w * 2, h * 2), mode, frames)
                 for name, (fmt, (w, h), mode, frames) in list(EXPECTED.items()) if fmt != "ICO"})


def CheckIco(path, problems):
    data = open(path, "rb").read()
    header = struct.unpack_from("<HHH", data, 0)
    if header != (0, 1, len(ICON_SIZES)):
        problems.append(f"app_icon.ico: header {header}, want {len(ICON_SIZES)} icons")
        return
    at = 6 + 16 * len(ICON_SIZES)
    for k, n in enumerate(ICON_SIZES):
        entry = struct.unpack_from("<BBBBHHII", data, 6 + 16 * k)
        size = 40 + n * n * 4 + (n + 31) // 32 * 4 * n     # header, BGRA rows, AND mask
        if entry != (n, n, 0, 0, 1, 32, size, at):
            problems.append(f"app_icon.ico: entry {k} is {entry}, want {n}x{n} 32-bit, "
                            f"{size} bytes at {at}")
        elif struct.unpack_from("<IiiHHI", data, at) != (40, n, 2 * n, 1, 32, 0):
            problems.append(f"app_icon.ico: entry {k} is not a 32-bit {n}x{n} BMP")
        at += size
    if at != len(data):
        problems.append(f"app_icon.ico is {len(data)} bytes, want {at}")
    # The mark drawn inside windows is the icon's 24 and 48 px images.
    with Image.open(path) as ico:
        for n, name in ((24, "app_mark.png"), (48, "app_mark@2x.png")):
            with Image.open(os.path.join(OUT, name)) as mark:
                if ico.ico.getimage((n, n)).tobytes() != mark.tobytes():
                    problems.append(f"{name} differs from the icon's {n} px image")


def Delays(im):
    out = []
    for k in range(getattr(im, "n_frames", 1)):
        im.seek(k)
        out.append(im.info.get("duration"))
    return out


def Verify():
    problems = []
    totals = {1: 0, 2: 0}
    for name, (fmt, size, mode, frames) in EXPECTED.items():
        path = os.path.join(OUT, name)
        if not os.path.exists(path):
            problems.append(f"{name}: missing")
            continue
        totals[2 if "@2x" in name else 1] += os.path.getsize(path)
        with Image.open(path) as im:
            if im.format != fmt:
                problems.append(f"{name}: format {im.format}, want {fmt}")
            if im.size != size:
                problems.append(f"{name}: size {im.size}, want {size}")
            if mode is not None and im.mode != mode:
                problems.append(f"{name}: mode {im.mode}, want {mode}")
            if frames is not None:
                n = getattr(im, "n_frames", 1)
                if not frames[0] <= n <= frames[1]:
                    problems.append(f"{name}: {n} frames, want {frames[0]}..{frames[1]}")
                if im.info.get("loop") != 0:
                    problems.append(f"{name}: does not loop forever")
                if name == "link_anim.gif" and Delays(im) != [100] * 4:
                    problems.append(f"{name}: delays {Delays(im)}, want 100 ms each")
                if "@2x" in name:
                    with Image.open(os.path.join(OUT, name.replace("@2x", ""))) as one:
                        if Delays(im) != Delays(one):
                            problems.append(f"{name}: frames and delays differ from 1x")
            if fmt == "ICO":
                im.load()
    CheckIco(os.path.join(OUT, "app_icon.ico"), problems)
    for zoom, limit in ((1, LIMIT_1X), (2, LIMIT_2X)):
        if totals[zoom] > limit * 1024:
            problems.append(f"{zoom}x total size {totals[zoom]} bytes is over {limit} KB")
    return problems, totals


def main():
    MakeAppIcon()
    for zoom in (1, 2):
        MakeAppMark(zoom)
        MakeHeaders(zoom)
        MakeHeaderEmblem(zoom)
        MakeHeaderDecor(zoom)
        MakeUpdateIcon(zoom)
        MakeResultIcon(zoom)
        MakeResultUnread(zoom)
        MakeResultFailing(zoom)
        MakeDiskIcon(zoom)
        MakeClockIcon("hour_icon.png", "hour", zoom)
        MakeClockIcon("minute_icon.png", "minute", zoom)
        MakeClockIcon("second_icon.png", "second", zoom)
        MakeProductEmblem(zoom)
        MakeCheckButtons(zoom)
        MakeGlobeAnim(zoom)
        MakeTaskAnim(zoom)
        MakeLinkAnim(zoom)
        MakeNoticeAnim(zoom)
        MakeWarningEmblem(zoom)
        MakeVersionAnim(zoom)

    problems, totals = Verify()
    for name in EXPECTED:
        print(f"{os.path.getsize(os.path.join(OUT, name)):8d}  {name}")
    print(f"{totals[1]:8d}  1x total (with the icon)")
    print(f"{totals[2]:8d}  2x total")
    if problems:
        for p in problems:
            print("PROBLEM:", p, file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
