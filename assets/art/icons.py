"""The program's mark and the small icons: the window and tray icon
(`app_icon.ico`, one image per size, each drawn at its own size from the same
24x24 mark) and that mark alone for inside windows, the emblems of the main
window's disk page and the exit confirmation, the update link's icon and the
disk icon.
Transparent PNGs; the icon file is written by hand in `save.WriteIco`."""

from art.draw import (ORANGE, TEAL_DARK, TEAL_DEEP, TEAL_LIGHT, WHITE, ArrowHead, Canvas, DrawDisk,
                      PowerClock)
from art.save import SavePng, WriteIco


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


def MakeAppIcon():
    WriteIco([DrawAppMark(size / 24) for size in ICON_SIZES], "app_icon.ico")


def MakeUpdateIcon(zoom):
    c = Canvas(16, 16, 8, zoom)
    cx, cy, r = 8, 8, 4.9
    for start in (15, 195):
        c.Arc(cx, cy, r, 1.8, start, start + 118, WHITE, caps=False)
        ArrowHead(c, cx, cy, r, start + 118, 2.9, WHITE)
    # A soft dark halo keeps the white arrows legible on light parts of the header.
    c.Halo(3 / 8, 0.5, TEAL_DEEP, 110)
    SavePng(c.Result(), "update_icon.png", zoom)


def MakeDiskIcon(zoom):
    c = Canvas(32, 32, 8, zoom)
    DrawDisk(c, 2.5, 8, 27, 17)
    c.Shadow(0.8, (0, 0.8), (0, 0, 0), 0.35)
    SavePng(c.Result(), "disk_icon.png", zoom)


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


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "app_icon.ico": ("ICO", (48, 48), None, None),
    "app_mark.png": ("PNG", (24, 24), "RGBA", None),
    "update_icon.png": ("PNG", (16, 16), "RGBA", None),
    "disk_icon.png": ("PNG", (32, 32), "RGBA", None),
    "product_emblem.png": ("PNG", (96, 96), "RGBA", None),
    "warning_emblem.png": ("PNG", (128, 128), "RGBA", None),
}


def Make(zoom):
    """Every picture of the family at `zoom` but the icon file, which holds
    all its sizes at once (`MakeAppIcon`)."""
    MakeAppMark(zoom)
    MakeUpdateIcon(zoom)
    MakeDiskIcon(zoom)
    MakeProductEmblem(zoom)
    MakeWarningEmblem(zoom)
