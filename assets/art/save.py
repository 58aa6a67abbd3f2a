"""Writing the pictures into the assets folder: the `name@2x.ext` naming of
the second zoom, PNG and JPEG with fixed encoder settings, GIF animations on
one pinned palette without dithering, and the icon file laid out by hand.
Every writer is deterministic, so an unchanged drawing gives the same bytes."""

import os
import struct

from PIL import Image

from art.draw import WHITE

# The assets folder, the package's parent: the resource script embeds from there.
OUT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))


def Named(name, zoom):
    """The file name of a picture at `zoom`: `name` at 1x, else `stem@2x.ext`."""
    if zoom == 1:
        return name
    stem, ext = os.path.splitext(name)
    return f"{stem}@{zoom}x{ext}"


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
