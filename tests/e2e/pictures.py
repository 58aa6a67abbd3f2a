"""Whole-window pictures compared pixel for pixel with references in
tests/e2e/pictures/<window>-<state>.png, outside the regions that change on
their own (clock text, playing animations): those are declared here and
painted over in reference and capture alike, so a reference is byte-identical
from one regeneration to the next unless the window changed. A window is
captured once it holds still. With QH_UPDATE_PICTURES=1 captures are written
as the new references instead (scripts/update-pictures)."""
import os
from collections import namedtuple

from PIL import Image, ImageChops, ImageDraw

from harness import REPO, is_balloon, park_pointer, scaled, shell_windows, wait_until, xdotool

REFERENCES = REPO / "tests/e2e/pictures"
RESULTS = REPO / "build/results/pictures"
MASK_COLOUR = (255, 0, 255)


# A region of a window that changes with time: the control, and its 96-DPI
# client rect (left, top, right, bottom exclusive): a picture box's visible
# rectangle (its parent and the window clip it), a label's text box.
Mask = namedtuple("Mask", "control rect")
MAIN_CLOCK = Mask("标签1: local date and time, rewritten every second", (648, 504, 867, 520))
MAIN_GLOBE = Mask("图片框6: globe GIF, always playing", (720, 160, 824, 264))
MAIN_STATUS_ICON = Mask("图片框4: connection GIF, playing while connected", (8, 504, 32, 524))
# Plays while a task is armed and stops on whatever frame it has reached, so
# it stays masked in every state after the first scheduling.
MAIN_TASK_GIF = Mask("图片框5: task GIF", (672, 328, 867, 504))
# Plays during a lookup and keeps its last frame once the page is shown.
VERSION_WAIT_GIF = Mask("图片框4: waiting GIF", (0, 88, 96, 192))
MAIN_PROGRESS = Mask("进度条1: disk-check progress, moving for two seconds", (128, 264, 496, 296))
NOTICE_GIF = Mask("图片框2: notice GIF, playing while on the screen", (16, 104, 104, 184))

WINDOW_MASKS = {"main": [MAIN_CLOCK, MAIN_GLOBE, MAIN_STATUS_ICON], "version": [], "notice": [NOTICE_GIF],
                "confirm": []}


# Client points over no control with a hover look. The pointer leaves each window
# through one, a move the program sees at once: Wine reports a leave up to 400 ms late.
NEUTRAL_POINTS = {"main": (640, 230), "version": (200, 50)}


# The captures written as references in this run, by name: a state reached
# in two journeys must look the same in both.
written = {}


def masked(image, masks):
    image = image.copy()
    draw = ImageDraw.Draw(image)
    for mask in masks:
        left, top, right, bottom = mask.rect
        draw.rectangle((left, top, right - 1, bottom - 1), fill=MASK_COLOUR)
    return image


def changed(a, b):
    """Greyscale image: 255 where a and b differ, 0 where they agree."""
    return ImageChops.difference(a, b).convert("L").point(lambda v: 255 if v else 0)


def differing(a, b):
    return changed(a, b).histogram()[255]


def still_capture(window, masks, timeout=10, agreeing=3, interval=0.1):
    """The window's picture with its masks painted over, once `agreeing`
    captures in a row are the same: a click's effects arrive over several
    messages. Never while a shell balloon is up: on a busy machine the
    sweeper takes it down late, and it may lie over the window."""
    last, same = [None], [0]

    def probe():
        if any(map(is_balloon, shell_windows())):
            last[0] = None
            return None
        shot = masked(window.shot(), masks)
        if last[0] is not None and shot.size == last[0].size and differing(shot, last[0]) == 0:
            same[0] += 1
        else:
            same[0] = 1
        last[0] = shot
        return shot if same[0] >= agreeing else None
    return wait_until(probe, timeout, f"window {window.id:#x} holding still outside its masks "
                      "(is a region that changes with time not masked?)", interval=interval)


def difference_image(expected, actual):
    """The expected picture dimmed, with every differing pixel in red."""
    dimmed = Image.blend(expected, Image.new("RGB", expected.size, (255, 255, 255)), 0.7)
    return Image.composite(Image.new("RGB", expected.size, (255, 0, 0)), dimmed,
                           changed(expected, actual))


def check(window, kind, state, extra_masks=(), dpi=96):
    """None when the window agrees with its reference, else a one-line account
    (the images go to build/results/pictures). In update mode writes it."""
    if kind in NEUTRAL_POINTS:
        xdotool("mousemove", "--sync", *window.to_screen(*scaled(NEUTRAL_POINTS[kind], dpi)))
    park_pointer()
    masks = [Mask(m.control, scaled(m.rect, dpi)) for m in WINDOW_MASKS[kind] + list(extra_masks)]
    name = f"{kind}-{state}" + (f"@{dpi}" if dpi != 96 else "")  # main-start@144
    actual = still_capture(window, masks)
    reference = REFERENCES / f"{name}.png"
    if os.environ.get("QH_UPDATE_PICTURES") == "1":
        if name in written and differing(written[name], actual):
            return (f"{kind} window, state {state}: captured twice in this run, "
                    f"{differing(written[name], actual)} pixels apart")
        written[name] = actual
        REFERENCES.mkdir(parents=True, exist_ok=True)
        actual.save(reference)
        return None
    RESULTS.mkdir(parents=True, exist_ok=True)
    if not reference.is_file():
        actual.save(RESULTS / f"{name}-actual.png")
        return (f"{kind} window, state {state}: no reference {reference.relative_to(REPO)}; "
                "create it with scripts/update-pictures and review it before committing")
    expected = Image.open(reference).convert("RGB")
    if expected.size != actual.size:
        actual.save(RESULTS / f"{name}-actual.png")
        return f"{kind} window, state {state}: size {actual.size}, reference {expected.size}"
    count = differing(expected, actual)
    if count == 0:
        return None
    actual.save(RESULTS / f"{name}-actual.png")
    expected.save(RESULTS / f"{name}-expected.png")
    difference_image(expected, actual).save(RESULTS / f"{name}-difference.png")
    return (f"{kind} window, state {state}: {count} pixels differ from "
            f"{reference.relative_to(REPO)} (see {RESULTS.relative_to(REPO)}/{name}-*.png)")
