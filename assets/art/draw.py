"""The drawing kit every family of pictures shares: the palette, the font,
colour and clock-face geometry helpers, the `Canvas` that draws at several
times the final size and scales down so edges come out smooth, and the marks
more than one family draws (the power-clock mark, arrow heads, the disk seen
from the front, the tick). Every coordinate, text size, stroke width and blur
passed in is in 1x pixels; the Canvas multiplies it by the zoom, so one
drawing gives both the 1x and the 2x picture. Nothing here writes a file."""

import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont


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
