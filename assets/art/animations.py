"""The looping animations shown while something goes on, on the window's white:
the turning globe of the main window's right-hand column, the signal bars of
the connection status, the ring and tick of the task notice, the two chasing
arrows of the version lookup. GIFs on one palette per animation
(`save.SaveGif`); the task dial is with the other clocks."""

import math

from PIL import Image, ImageDraw

from art.draw import (GREEN, ORANGE, TEAL_DARK, TEAL_LIGHT, TEAL_MID, WHITE, ArrowHead, Canvas,
                      CheckMark, ClockPoint)
from art.save import SaveGif


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


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "globe_anim.gif": ("GIF", (100, 100), None, (8, 12)),
    "link_anim.gif": ("GIF", (18, 18), None, (4, 4)),
    "notice_anim.gif": ("GIF", (70, 70), None, (2, 1000)),
    "version_anim.gif": ("GIF", (100, 100), None, (2, 1000)),
}


def Make(zoom):
    MakeGlobeAnim(zoom)
    MakeLinkAnim(zoom)
    MakeNoticeAnim(zoom)
    MakeVersionAnim(zoom)
