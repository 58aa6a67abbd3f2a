"""The clock faces: the three icons beside the hour, minute and second fields,
each the same dial with its own hand in orange and the others dimmed, and
the main window's task dial, an animation that runs while a task is armed,
its orange hand and arc sweeping once round the dial."""

from art.draw import (ORANGE, TEAL_DARK, TEAL_MID, TRACK, WHITE, Canvas, ClockPoint,
                      PowerClock)
from art.save import SaveGif, SavePng


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


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "hour_icon.png": ("PNG", (32, 32), "RGBA", None),
    "minute_icon.png": ("PNG", (32, 32), "RGBA", None),
    "second_icon.png": ("PNG", (32, 32), "RGBA", None),
    "task_anim.gif": ("GIF", (200, 200), None, (12, 1000)),
}


def Make(zoom):
    MakeClockIcon("hour_icon.png", "hour", zoom)
    MakeClockIcon("minute_icon.png", "minute", zoom)
    MakeClockIcon("second_icon.png", "second", zoom)
    MakeTaskAnim(zoom)
