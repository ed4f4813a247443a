#!/usr/bin/python3
"""Makes the player's link cursor and program icon.

resources/hand.cur: 32 x 32 monochrome, a hand with its raised index finger,
hot spot (6, 0) at the fingertip.
resources/question.ico: 32 x 32, 16 colours, a blue question mark with grey
shading on a transparent ground.

Run by hand (needs Debian's python3-pil and fonts-dejavu-core); the build only
reads what it wrote:
    /usr/bin/python3 tools/make_cursor_icon.py
"""

import os
import struct

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "resources")

# '.' transparent, 'X' black, 'o' white. The fingertip is at (6, 0).
HAND = """
......XX........................
.....XooX.......................
.....XooX.......................
.....XooX.......................
.....XooX.......................
.....XooXXX.....................
.....XooXooXXX..................
.....XooXooXooXX................
.....XooXooXooXoX...............
..XX.XooooooooXoX...............
.XooXXoooooooooooX..............
.XoooXoooooooooooX..............
..XooXoooooooooooX..............
...XoXoooooooooooX..............
...XoooooooooooooX..............
....XooooooooooooX..............
....XoooooooooooX...............
.....XooooooooooX...............
.....XoooooooooX................
......XooooooooX................
......XooooooooX................
......XXXXXXXXXX................
"""

VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]


def rows_bottom_up(rows):
    return list(reversed(rows))


def pack_bits(bits):
    """One row of 1-bit values, padded to 32 bits."""
    out = bytearray()
    for i in range(0, 32, 8):
        byte = 0
        for b in bits[i:i + 8]:
            byte = (byte << 1) | b
        out.append(byte)
    return bytes(out)


def make_cursor():
    art = [line for line in HAND.strip("\n").split("\n")]
    art += ["." * 32] * (32 - len(art))
    xor_rows, and_rows = [], []
    for line in art:
        xor_rows.append(pack_bits([1 if c == "o" else 0 for c in line]))
        and_rows.append(pack_bits([1 if c == "." else 0 for c in line]))
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 1, 0, 0, 0, 0, 2, 0)
    palette = bytes([0, 0, 0, 0, 255, 255, 255, 0])
    image = header + palette + b"".join(rows_bottom_up(xor_rows)) + b"".join(rows_bottom_up(and_rows))
    # ICONDIR (type 2: cursor), then one entry whose planes and bit count
    # fields hold the hot spot.
    data = struct.pack("<HHH", 0, 2, 1)
    data += struct.pack("<BBBBHHII", 32, 32, 0, 0, 6, 0, len(image), 6 + 16)
    with open(os.path.join(OUT, "hand.cur"), "wb") as f:
        f.write(data + image)


def nearest(rgb):
    return min(range(16), key=lambda i: sum((a - b) ** 2 for a, b in zip(rgb, VGA[i])))


def make_icon():
    font = ImageFont.truetype("/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf", 30)
    shade = Image.new("L", (32, 32), 0)
    ImageDraw.Draw(shade).text((18, 17), "?", fill=255, font=font, anchor="mm")
    glyph = Image.new("L", (32, 32), 0)
    ImageDraw.Draw(glyph).text((16, 15), "?", fill=255, font=font, anchor="mm")
    indices, mask = [], []
    for y in range(32):
        row, mrow = [], []
        for x in range(32):
            g, s = glyph.getpixel((x, y)), shade.getpixel((x, y))
            if g >= 96:
                colour = (0, 0, 255) if g >= 200 else (0, 0, 128)
                row.append(nearest(colour))
                mrow.append(0)
            elif s >= 96:
                row.append(nearest((128, 128, 128) if s >= 200 else (192, 192, 192)))
                mrow.append(0)
            else:
                row.append(0)
                mrow.append(1)
        indices.append(row)
        mask.append(mrow)
    xor_rows = []
    for row in indices:
        xor_rows.append(bytes((row[i] << 4) | row[i + 1] for i in range(0, 32, 2)))
    and_rows = [pack_bits(m) for m in mask]
    header = struct.pack("<IiiHHIIiiII", 40, 32, 64, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(bytes([b, g, r, 0]) for r, g, b in VGA)
    image = header + palette + b"".join(rows_bottom_up(xor_rows)) + b"".join(rows_bottom_up(and_rows))
    data = struct.pack("<HHH", 0, 1, 1)
    data += struct.pack("<BBBBHHII", 32, 32, 16, 0, 1, 4, len(image), 6 + 16)
    with open(os.path.join(OUT, "question.ico"), "wb") as f:
        f.write(data + image)
    # A large preview, to look at.
    preview = Image.new("RGB", (32, 32), (255, 255, 255))
    for y in range(32):
        for x in range(32):
            if not mask[y][x]:
                preview.putpixel((x, y), VGA[indices[y][x]])
    preview.resize((256, 256), Image.NEAREST).save("/tmp/question-preview.png")


if __name__ == "__main__":
    os.makedirs(OUT, exist_ok=True)
    make_cursor()
    make_icon()
