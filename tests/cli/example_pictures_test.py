#!/usr/bin/python3
"""The fixture pictures example_pictures draws are what they say: the GIF's
size and its colours in the palette (rounded to the 6 x 6 x 6
cube), the BMP's header.

  example_pictures_test.py EXAMPLE_PICTURES WORKDIR
"""
import os
import shutil
import struct
import subprocess
import sys

tool, work = sys.argv[1:3]
shutil.rmtree(work, ignore_errors=True)
os.makedirs(work)
subprocess.run([tool, "fixture", work], check=True)
failures = 0


def check(name, expected, actual):
    global failures
    print(("ok   " if expected == actual else "FAIL ") + name + ("" if expected == actual else ": expected %r, got %r" % (expected, actual)))
    failures += expected != actual


gif = open(os.path.join(work, "parapluie.gif"), "rb").read()
check("the GIF: 300 x 400", (b"GIF87a", 300, 400), (gif[:6],) + struct.unpack("<HH", gif[6:10]))
table = gif[13:13 + 3 * (2 << (gif[10] & 7))] if gif[10] & 0x80 else b""
colours = {table[i:i + 3] for i in range(0, len(table), 3)}
check("  its palette holds the umbrella's red and its background's grey", True,
      bytes([204, 0, 51]) in colours and bytes([102, 102, 102]) in colours)
bmp = open(os.path.join(work, "flocon.bmp"), "rb").read()
check("the BMP: 200 x 200, 24 bits, its size in its header", (b"BM", len(bmp), 200, 200, 24),
      (bmp[:2], struct.unpack("<I", bmp[2:6])[0]) + struct.unpack("<ii", bmp[18:26]) + struct.unpack("<H", bmp[28:30]))
print("%d failed" % failures)
sys.exit(1 if failures else 0)
