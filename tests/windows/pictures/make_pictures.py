#!/usr/bin/python3
"""Makes the picture loader's test pictures in this folder (run by hand with
Debian's python3-pil; the tests only read what it wrote).

Every picture but grey2.png shows the same 3 x 2 pixels: red, green, blue on
the top row, white, black, brown (128, 64, 32) below.
"""
import struct
import zlib

from PIL import Image

COLOURS = [(255, 0, 0), (0, 255, 0), (0, 0, 255), (255, 255, 255), (0, 0, 0), (128, 64, 32)]
ROWS = [COLOURS[0:3], COLOURS[3:6]]
PALETTE = bytes(c for rgb in COLOURS for c in rgb)


def chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


def png(width, height, depth, colour_type, raw, plte=None, interlace=0, stream=None):
    out = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour_type, 0, 0, interlace))
    if plte:
        out += chunk(b"PLTE", plte)
    out += chunk(b"IDAT", stream if stream is not None else zlib.compress(raw, 9))
    return out + chunk(b"IEND", b"")


def write(name, data):
    with open(name, "wb") as f:
        f.write(data)


def main():
    gif = Image.new("P", (3, 2))
    gif.putpalette(list(PALETTE) + [0] * (768 - len(PALETTE)))
    gif.putdata([0, 1, 2, 3, 4, 5])
    gif.save("small.gif")
    # The same pixels as a 24-bit BMP and as a JPEG (lossy: near, not equal).
    rgb = Image.new("RGB", (3, 2))
    rgb.putdata(COLOURS)
    rgb.save("small.bmp")
    rgb.save("small.jpg", quality=100, subsampling=0)

    raw = b"".join(b"\x00" + bytes(c for p in row for c in p) for row in ROWS)
    write("rgb.png", png(3, 2, 8, 2, raw))
    # RGBA, alpha 200; the second row Up-filtered.
    top = bytes(c for p in ROWS[0] for c in p + (200,))
    bottom = bytes(c for p in ROWS[1] for c in p + (200,))
    write("rgba.png", png(3, 2, 8, 6, b"\x00" + top + b"\x02" + bytes((b - a) & 255 for a, b in zip(top, bottom))))
    # 4-bit palette, indices 0 to 5.
    write("palette4.png", png(3, 2, 4, 3, b"\x00\x01\x20\x00\x34\x50", plte=PALETTE))
    # 2-bit grey, 4 x 1: the levels 0, 1, 2, 3.
    write("grey2.png", png(4, 1, 2, 0, b"\x00\x1b"))
    # Adam7: pass 1 (0,0), pass 4 (2,0), pass 6 (1,0), pass 7 the second row.
    px = lambda x, y: bytes(ROWS[y][x])
    raw = b"\x00" + px(0, 0) + b"\x00" + px(2, 0) + b"\x00" + px(1, 0) + b"\x00" + px(0, 1) + px(1, 1) + px(2, 1)
    write("adam7.png", png(3, 2, 8, 2, raw, interlace=1))
    write("garbage.bin", b"GIF89a this is not a PNG at all")
    # 2 x 1, two colours, index 0 declared transparent (a graphic control
    # extension); the frame's 3-bit codes: clear, 0, 1, end.
    write("transparent.gif", b"GIF89a" + bytes([2, 0, 1, 0, 0x80, 0, 0, 200, 100, 50, 10, 20, 30])
          + bytes([0x21, 0xF9, 4, 1, 0, 0, 0, 0]) + bytes([0x2C, 0, 0, 0, 0, 2, 0, 1, 0, 0])
          + bytes([2, 2, 0x44, 0x0A, 0]) + b"\x3B")
    write("badzlib.png", png(3, 2, 8, 2, b"", stream=b"\x88\x01\x03\x00"))  # window field 8
    write("badfilter.png", png(3, 2, 8, 2, b"\x05" + bytes(9) + b"\x00" + bytes(9)))
    # The grid's overlay of question 10, 31 x 242: every pixel its own colour.
    raw = b"".join(b"\x00" + bytes(c for x in range(31) for c in (8 * x, y, 200)) for y in range(242))
    write("overlay10.png", png(31, 242, 8, 2, raw))


if __name__ == "__main__":
    main()
