"""The button faces drawn as pictures: the disk check's "开始检测" button up
and pressed, a teal rounded face with a magnifier and the label, the pressed
one darker and shifted by a pixel. JPEG, flattened on the window's white.
The label is part of the picture."""

from art.draw import TEAL_DARK, TEAL_DEEP, TEAL_LIGHT, WHITE, Canvas, ClockPoint, WithAlpha
from art.save import SaveJpeg


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


# name: (format, size at 1x, mode or None, frames or (min, max) or None)
FILES = {
    "check_up.jpg": ("JPEG", (137, 41), "RGB", None),
    "check_down.jpg": ("JPEG", (137, 41), "RGB", None),
}


def Make(zoom):
    MakeCheckButtons(zoom)
