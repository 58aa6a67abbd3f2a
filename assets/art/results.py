"""The pictures of a disk check's outcome: the drive with a round badge on its
lower right, one function for all of them (`MakeResultPicture`), each result
only choosing the badge's two shades and the white mark on it: a green tick
when the disks were read, an amber "!" when nothing could be read, a red
"!" on a larger badge when a disk predicts its own failure. A new
outcome is one more `Make...` here with its entry in FILES and its line in
Make (the checks and the sizes printed follow FILES), and its resource in
assets.h, images.rc and asset_sizes.h."""

from art.draw import AMBER, AMBER_LIGHT, GREEN, WHITE, Canvas, CheckMark, DrawDisk
from art.save import SavePng


def ExclamationMark(c, cx, cy, r, width, fill):
    c.Line([(cx, cy - r * 0.52), (cx, cy + r * 0.12)], width, fill)
    c.Circle(cx, cy + r * 0.46, width * 0.62, fill)


def MakeResultPicture(name, zoom, light, dark, Mark, br=15.5, rim=2.6):
    """A disk-check result: the disk with a round badge of radius `br` and a
    white rim on its lower right, shaded from `light` to `dark`, and
    `Mark(c, cx, cy, r)` in white on it."""
    c = Canvas(72, 72, 4, zoom)
    DrawDisk(c, 4, 16, 56, 34)
    c.Shadow(1.5, (0, 1.5), (0, 0, 0), 0.3)
    bx, by = 52, 50
    c.Circle(bx, by, br + rim, WHITE)
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
    # The disk predicts its own failure: red, the colour of the program's
    # failure texts, and a larger badge with a bolder "!" and a wider rim, so
    # that it differs from the amber "not read" badge in shape as well as in
    # colour.
    MakeResultPicture("result_failing.png", zoom, (240, 70, 55), (200, 0, 0),
                      lambda c, x, y, r: ExclamationMark(c, x, y, r, 4.4, WHITE), br=16.5, rim=3.2)


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "result_icon.png": ("PNG", (72, 72), "RGBA", None),
    "result_unread.png": ("PNG", (72, 72), "RGBA", None),
    "result_failing.png": ("PNG", (72, 72), "RGBA", None),
}


def Make(zoom):
    MakeResultIcon(zoom)
    MakeResultUnread(zoom)
    MakeResultFailing(zoom)
