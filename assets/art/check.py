"""The checks run after every picture is written: each file's format, pixel
size, mode, frame count and looping against the table the families declare
(`FILES` in each module, doubled for the 2x files), a 2x animation's frames
and delays against its 1x one, the icon file's exact layout and its 24 and
48 px images against the mark, and the byte budgets of the 1x and 2x sets.
It reads the files back from disk, so it checks what the resources embed."""

import os
import struct

from PIL import Image

from art.icons import ICON_SIZES
from art.save import OUT, Named


# Byte budgets in KB: the 1x pictures with the icon, and the 2x pictures. Both
# together keep the executable well under 3 MB.
LIMIT_1X, LIMIT_2X = 400, 800


def Expected(families):
    """Every file the families write: their 1x tables, then every picture but
    the icon also at 2x, twice the size with the same frames."""
    expected = {}
    for family in families:
        expected.update(family.FILES)
    expected.update({Named(name, 2): (fmt, (w * 2, h * 2), mode, frames)
                     for name, (fmt, (w, h), mode, frames) in list(expected.items())
                     if fmt != "ICO"})
    return expected


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


def Verify(expected):
    problems = []
    totals = {1: 0, 2: 0}
    for name, (fmt, size, mode, frames) in expected.items():
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
