#!/usr/bin/env python3
"""Generate the pictures embedded in the Pavrelin UI.

Writes into src/ui/pictures/:
  banner.jpg       310x65 header banner (phone pictogram + product name)
  signal_bars.jpg  512x512 signal-strength picture (carries an Exif block)
  progress.gif     190x14 indeterminate progress bar, 4 looping frames
  app.ico          application icon, 256/128/48/32/16 px, 32-bit BGRA

Needs python3 + PIL only.  The output is deterministic: no timestamps, no
randomness, so re-running the script reproduces the same bytes.

Usage: python3 tools/make_pictures.py [output-dir]
"""

import io
import math
import os
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT_DIR = os.path.join(ROOT, "src", "ui", "pictures")

FONT_CANDIDATES = [
    "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/dejavu/DejaVuSans-Bold.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Bold.ttf",
]


def load_font(size):
    for path in FONT_CANDIDATES:
        if os.path.exists(path):
            return ImageFont.truetype(path, size)
    sys.exit("make_pictures: no bold TrueType font found "
             "(apt-get install fonts-dejavu-core)")


def shrink(img, size, resample=Image.LANCZOS):
    """Downscale a supersampled drawing (alpha-correct for RGBA)."""
    return img.resize(size, resample)


# ---------------------------------------------------------------- banner.jpg

def make_banner(path):
    W, H, S = 310, 65, 4                    # S = supersampling factor
    img = Image.new("RGB", (W * S, H * S), "white")
    d = ImageDraw.Draw(img)

    # Phone pictogram, full picture height.
    blue, screen, key = (28, 92, 200), (214, 232, 255), (170, 200, 245)
    px0, pw = 4 * S, 32 * S
    d.rounded_rectangle((px0, 0, px0 + pw - 1, H * S - 1), radius=6 * S,
                        fill=blue)
    d.rounded_rectangle((px0 + 12 * S - 2, 3 * S, px0 + 20 * S + 2, 4 * S + 2),
                        radius=S, fill=screen)                 # earpiece
    m = 4 * S
    d.rectangle((px0 + m, 7 * S, px0 + pw - 1 - m, 30 * S), fill=screen)
    kw, kh, gx, gy = 6 * S, 4 * S, 3 * S, 3 * S              # 3x4 keypad
    kx0 = px0 + (pw - (3 * kw + 2 * gx)) // 2
    for r in range(4):
        for c in range(3):
            x = kx0 + c * (kw + gx)
            y = 34 * S + r * (kh + gy)
            d.rounded_rectangle((x, y, x + kw - 1, y + kh - 1), radius=S,
                                fill=key)

    # Product name, vertically centred, about half the height.
    font = load_font(44 * S)
    text = "Pavrelin"
    l, t, r, b = font.getbbox(text)
    ty = (H * S - (b - t)) // 2 - t
    d.text((px0 + pw + 14 * S - l, ty), text, font=font, fill=(32, 150, 52))

    shrink(img, (W, H)).save(path, "JPEG", quality=90, progressive=False,
                             optimize=False)


# ----------------------------------------------------------- signal_bars.jpg

def make_signal_bars(path):
    W = H = 512
    S = 2
    img = Image.new("RGB", (W * S, H * S), "white")
    d = ImageDraw.Draw(img)
    colours = [(232, 84, 30),     # red-orange
               (150, 172, 34),    # olive yellow-green
               (40, 160, 64),     # green
               (34, 96, 206),     # blue
               (196, 22, 60)]     # crimson
    bar_w, gap, base = 55, 22, 384
    lo, hi = 55, 260
    left = (W - (5 * bar_w + 4 * gap)) // 2
    for i, col in enumerate(colours):
        h = round(lo + (hi - lo) * i / 4)
        x = left + i * (bar_w + gap)
        d.rectangle((x * S, (base - h) * S, (x + bar_w) * S - 1, base * S - 1),
                    fill=col)
    exif = Image.Exif()
    exif[0x0131] = "Pavrelin make_pictures"    # Software
    shrink(img, (W, H)).save(path, "JPEG", quality=90, progressive=False,
                             optimize=False, exif=exif.tobytes())


# -------------------------------------------------------------- progress.gif

def lzw_encode(indices, min_size):
    """GIF-flavoured LZW: variable code width, LSB-first bit packing."""
    clear, eoi = 1 << min_size, (1 << min_size) + 1
    out = bytearray()
    acc = nbits = 0

    def emit(code, width):
        nonlocal acc, nbits
        acc |= code << nbits
        nbits += width
        while nbits >= 8:
            out.append(acc & 0xFF)
            acc >>= 8
            nbits -= 8

    def reset():
        return {}, eoi + 1, min_size + 1

    table, next_code, width = reset()
    emit(clear, width)
    prefix = indices[0]
    for c in indices[1:]:
        key = (prefix, c)
        if key in table:
            prefix = table[key]
            continue
        emit(prefix, width)
        table[key] = next_code
        if next_code == (1 << width) and width < 12:
            width += 1
        next_code += 1
        if next_code == 4096:               # table full: start over
            emit(clear, width)
            table, next_code, width = reset()
        prefix = c
    emit(prefix, width)
    # The decoder adds one more entry after the last code; follow its width.
    if next_code == (1 << width) and width < 12:
        width += 1
    emit(eoi, width)
    if nbits:
        out.append(acc & 0xFF)
    return bytes(out)


def sub_blocks(data):
    out = bytearray()
    for i in range(0, len(data), 255):
        chunk = data[i:i + 255]
        out.append(len(chunk))
        out += chunk
    out.append(0)
    return bytes(out)


def progress_frame(offset):
    """One 190x14 frame; stripes shifted `offset` px to the right."""
    W, H, S = 190, 14, 8
    bg, outline = (255, 255, 255), (150, 154, 160)
    fill, dark, stripe = (40, 110, 215), (22, 70, 160), (120, 176, 245)
    img = Image.new("RGB", (W * S, H * S), bg)
    d = ImageDraw.Draw(img)
    # Outer shape: rows 1..12, rounded ends; outline is one pixel thick.
    d.rounded_rectangle((0, 1 * S, W * S - 1, 13 * S - 1), radius=6 * S,
                        fill=outline)
    inner = Image.new("L", img.size, 0)
    ImageDraw.Draw(inner).rounded_rectangle(
        (1 * S, 2 * S, (W - 1) * S - 1, 12 * S - 1), radius=5 * S, fill=255)
    # Interior: blue body, darker bottom edge, stripes leaning right ("/").
    body = Image.new("RGB", img.size, fill)
    bd = ImageDraw.Draw(body)
    bd.rectangle((0, 10 * S, W * S, H * S), fill=dark)
    period, width, lean = 26 * S, 10 * S, 8 * S
    top, bottom = 2 * S, 12 * S
    for x0 in range(-2 * period + offset * S, W * S + period, period):
        bd.polygon([(x0 + lean, top), (x0 + lean + width, top),
                    (x0 + width, bottom), (x0, bottom)], fill=stripe)
    bd.rectangle((0, 11 * S, W * S, H * S), fill=dark)   # keep the edge dark
    img.paste(body, (0, 0), inner)
    # Plain area averaging: nothing may bleed outside the animated area.
    return shrink(img, (W, H), Image.BOX)


def make_progress(path):
    W, H = 190, 14
    box = (1, 2, 189, 12)                    # area that changes between frames
    offsets = [0, 6, 13, 19]                 # steps 6,7,6,7 -> one period of 26
    frames = [progress_frame(o) for o in offsets]

    # One shared 128-colour palette for all frames.
    sheet = Image.new("RGB", (W, H * len(frames)))
    for i, f in enumerate(frames):
        sheet.paste(f, (0, i * H))
    q = sheet.quantize(colors=128, method=Image.MEDIANCUT,
                       dither=Image.Dither.NONE)
    pal = (q.getpalette()[:128 * 3] + [0] * (128 * 3))[:128 * 3]

    out = bytearray(b"GIF89a")
    out += struct.pack("<HHBBB", W, H, 0x80 | 0x70 | 6, 0, 0)  # GCT, 128 cols
    out += bytes(pal)
    out += b"\x21\xFF\x0BNETSCAPE2.0\x03\x01" + struct.pack("<H", 0) + b"\x00"
    for i in range(len(frames)):
        fr = q.crop((0, i * H, W, (i + 1) * H))
        x, y, w, h = (0, 0, W, H) if i == 0 else \
            (box[0], box[1], box[2] - box[0], box[3] - box[1])
        pixels = list(fr.crop((x, y, x + w, y + h)).getdata())
        # Graphic control: disposal 1 (leave in place), no transparency, delay 0
        out += b"\x21\xF9\x04" + bytes([1 << 2]) + struct.pack("<H", 0) \
            + b"\x00\x00"
        out += b"\x2C" + struct.pack("<HHHHB", x, y, w, h, 0)
        out += bytes([7]) + sub_blocks(lzw_encode(pixels, 7))
    out += b"\x3B"
    with open(path, "wb") as fh:
        fh.write(out)


# ------------------------------------------------------------------- app.ico

def flame(d, cx, base, w, h, lean, colour):
    """A tear-drop flame: round bottom at `base`, tip `h` above, bent by `lean`."""
    pts = []
    n = 48
    for k in range(n + 1):                   # right side, bottom -> tip
        u = k / n
        hw = w / 2 * math.sin(math.pi * (0.5 + 0.5 * u)) ** 1.4 \
            if u > 0 else w / 2
        pts.append((cx + hw + lean * u * u, base - h * u))
    for k in range(n, -1, -1):               # left side, tip -> bottom
        u = k / n
        hw = w / 2 * math.sin(math.pi * (0.5 + 0.5 * u)) ** 1.4 \
            if u > 0 else w / 2
        pts.append((cx - hw + lean * u * u, base - h * u))
    d.polygon(pts, fill=colour)
    d.ellipse((cx - w / 2, base - w / 2, cx + w / 2, base + w / 2), fill=colour)


def icon_master():
    N = 1024
    img = Image.new("RGBA", (N, N), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    x0, y0, x1, y1 = 32, 176, 848, 992       # orange tile, room for flames
    d.rounded_rectangle((x0, y0, x1, y1), radius=150, fill=(246, 140, 24, 255))
    # Broadcast symbol: dot in the lower-left, two quarter arcs around it.
    cx, cy = x0 + 200, y1 - 200
    d.ellipse((cx - 80, cy - 80, cx + 80, cy + 80), fill="white")
    for r in (300, 500):
        d.arc((cx - r, cy - r, cx + r, cy + r), 270, 360, fill="white",
              width=92)
    for a in (270, 360):                     # round caps on the arcs
        for r in (300 - 46, 500 - 46):
            ex = cx + r * math.cos(math.radians(a))
            ey = cy + r * math.sin(math.radians(a))
            d.ellipse((ex - 46, ey - 46, ex + 46, ey + 46), fill="white")
    # Flames rising over the top-right corner.
    red, yellow = (232, 58, 20, 255), (255, 206, 40, 255)
    tongues = ((780, 270, 200, 250, 36),     # centre x, base y, width, height, lean
               (910, 310, 140, 190, 26),
               (655, 250, 124, 160, -18))
    for cx_f, base, w, h, lean in tongues:
        flame(d, cx_f, base, w, h, lean, red)
    for cx_f, base, w, h, lean in tongues:
        flame(d, cx_f + 4, base, w * 0.55, h * 0.6, lean * 0.7, yellow)
    return img


def ico_dib(img):
    """32-bit BGRA DIB entry: header (height doubled), XOR rows, AND mask."""
    w, h = img.size
    mask_stride = ((w + 31) // 32) * 4
    hdr = struct.pack("<IiiHHIIiiII", 40, w, h * 2, 1, 32, 0,
                      (w * 4 + mask_stride) * h, 0, 0, 0, 0)
    xor = bytearray()
    andm = bytearray()
    px = img.load()
    for y in range(h - 1, -1, -1):           # bottom-up
        row = bytearray(mask_stride)
        for x in range(w):
            r, g, b, a = px[x, y]
            xor += bytes((b, g, r, a))
            if a < 128:
                row[x // 8] |= 0x80 >> (x % 8)
        andm += row
    return hdr + bytes(xor) + bytes(andm)


def make_icon(path):
    master = icon_master()
    sizes = [256, 128, 48, 32, 16]
    blobs = []
    for s in sizes:
        im = shrink(master, (s, s))
        # The large images as PNG (Windows Vista on reads them), the small
        # ones as DIBs that every icon reader knows; PNG keeps the exe small.
        if s >= 128:
            buf = io.BytesIO()
            im.save(buf, "PNG", optimize=True)
            blobs.append(buf.getvalue())
        else:
            blobs.append(ico_dib(im))
    out = bytearray(struct.pack("<HHH", 0, 1, len(sizes)))
    offset = 6 + 16 * len(sizes)
    for s, blob in zip(sizes, blobs):
        out += struct.pack("<BBBBHHII", s % 256, s % 256, 0, 0, 1, 32,
                           len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    with open(path, "wb") as fh:
        fh.write(out)


def main():
    out_dir = sys.argv[1] if len(sys.argv) > 1 else OUT_DIR
    os.makedirs(out_dir, exist_ok=True)
    make_banner(os.path.join(out_dir, "banner.jpg"))
    make_signal_bars(os.path.join(out_dir, "signal_bars.jpg"))
    make_progress(os.path.join(out_dir, "progress.gif"))
    make_icon(os.path.join(out_dir, "app.ico"))
    for name in sorted(os.listdir(out_dir)):
        print("%-16s %7d bytes" % (name, os.path.getsize(os.path.join(out_dir, name))))


if __name__ == "__main__":
    main()
