"""The window backgrounds and headers: the teal field with its waves, glow and
dial watermark, cut into the main window's two header pieces (one canvas in
window coordinates, so they meet without a seam) and drawn again for the
notice window's header; the product name and tagline printed on it; the
emblem and the halo of rays the main header carries. JPEG for the opaque
pieces, transparent PNG for what the forms paint over them."""

import math

from PIL import Image, ImageDraw, ImageFilter

from art.draw import (ORANGE, TEAL_DARK, TEAL_DEEP, TEAL_LIGHT, WHITE, Canvas, ClockPoint,
                      Gradient, PowerClock)
from art.save import SaveJpeg, SavePng


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


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "header_left.jpg": ("JPEG", (752, 152), "RGB", None),
    "header_right.jpg": ("JPEG", (750, 149), "RGB", None),
    "notice_header.jpg": ("JPEG", (521, 94), "RGB", None),
    "header_emblem.png": ("PNG", (128, 128), "RGBA", None),
    "header_decor.png": ("PNG", (109, 116), "RGBA", None),
}


def Make(zoom):
    MakeHeaders(zoom)
    MakeHeaderEmblem(zoom)
    MakeHeaderDecor(zoom)
