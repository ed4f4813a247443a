#!/usr/bin/env python3
"""Writes the seeds of the progress, source and archive fuzzers
(corpus/progress, corpus/source and corpus/zip), each at a limit of its
format: run from the repository's top.
"""
import os
import io
import struct
import zipfile
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.dirname(os.path.dirname(HERE))
SEPARATOR = b"\0picture\0"
FIELDS = 192     # 96 questions of two answers
LIMIT = 85       # bytes an answer field holds


def write(folder, name, data):
    path = os.path.join(HERE, "corpus", folder)
    os.makedirs(path, exist_ok=True)
    with open(os.path.join(path, name), "wb") as f:
        f.write(data)


def answer(f):
    """The right answer of field f (from 0) in the progress fuzzer's quiz."""
    k = f // 2 + 1
    return ("Ville %d" if f % 2 == 0 else "Pays %d") % k


def progress_seeds():
    full = [(b"%d-" % f + b"x" * LIMIT)[:LIMIT] for f in range(FIELDS)]
    for name, end in (("full85_crlf", b"\r\n"), ("full85_lf", b"\n"), ("full85_cr", b"\r")):
        write("progress", name, b"".join(line + end for line in full))
    right = [answer(f).encode() if f % 3 else answer(f).upper().encode() for f in range(FIELDS)]
    write("progress", "answers_crlf", b"".join(line + b"\r\n" for line in right))
    # One byte over and far over a field, then the line ends of other systems.
    over = [b"a" * (LIMIT + 1), b"b" * 200, b"c" * LIMIT]
    write("progress", "over_limit", b"".join(line + b"\r\n" for line in over * 44))  # 132 lines, within 16,704 bytes
    mixed = [b"Ville 1\r\n", b"Pays 1\n", b"Ville 2\r", b"Pays 2\n\r", b"Ville 3\r\r\n", b"\r\n", b"Pays 3"]
    write("progress", "mixed_ends", b"".join(mixed))
    write("progress", "more_lines", b"".join(b"%d\r\n" % f for f in range(FIELDS + 8)))
    utf8 = "\ufeffVille 1\r\nPays 1\r\nS\u00e3o Paulo\r\nBr\u00e9sil\r\n\u2019\r\n".encode()
    write("progress", "bom_utf8", utf8)
    write("progress", "binary", bytes(range(256)) * 4 + b"\0\r\n\0\r\n")
    write("progress", "empty", b"")


def png(width, height, rgb):
    rows = b"".join(b"\0" + bytes(rgb) * width for _ in range(height))
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows, 9)) + chunk(b"IEND", b""))


HEADER = """executable = "graines"
title = "Les graines"
author = "L'\u00e9quipe"
subtitle = "Quatre-vingt-seize questions"
linkText = "https://q.example"
statusText = "Graines"
background = [90, 95, 150]
scrambled = true
"""


def q96(two, overlays, count=96):
    """A picture quiz of `count` questions on a 12 x 8 grid of 25 x 37 cells."""
    text = HEADER + 'puzzle = "images/grille.png"\nlayoutType = 3\n'
    if two:
        text += 'answersPerQuestion = 2\nanswerCaption1 = "Ville"\nanswerCaption2 = "Pays"\n'
    for k in range(count):
        column, row = k % 12, k // 12
        text += "\n[[question]]\n"
        text += ('answers = ["Ville %d", "Pays %d"]\n' % (k + 1, k + 1)) if two else 'answer = "Ville %d"\n' % (k + 1)
        text += 'text = "Indice %d : une ville \u00e0 trouver"\ncode = "C%d"\n' % (k + 1, k + 1)
        if k % 7 == 0:
            text += "letters = %d\n" % (5 + k % 4)
        if overlays:
            text += 'overlay = "images/marque.png"\n'
            text += "place = [%d, %d, 24, 36]\n" % (column * 25, row * 37)
        else:
            text += "place = [%d, %d, 25, 37]\n" % (column * 25, row * 37)
    pictures = [png(300, 333, (200, 180, 40))]  # 9 rows: a 97th question still has its place
    if overlays:
        pictures.append(png(24, 36, (250, 60, 120)))
    return text.encode() + b"".join(SEPARATOR + p for p in pictures)


def picture(name):
    with open(os.path.join(HERE, "corpus", "picture", name), "rb") as f:
        return f.read()


def source_seeds():
    for name in ("fruits", "mosaique"):
        with open(os.path.join(TOP, "quizzes", name, name + ".toml"), "rb") as f:
            text = f.read()
        if name == "mosaique":
            colours = [(240, 200, 30), (200, 200, 220), (30, 60, 200), (230, 240, 255), (120, 120, 120), (20, 20, 20)]
            text += b"".join(SEPARATOR + png(60 + 10 * i, 50, c) for i, c in enumerate(colours))
        write("source", name, text)
        if name == "fruits":  # an old Mac's line ends
            write("source", "fruits_cr", text.replace(b"\n", b"\r"))
    write("source", "q96_two_answers", q96(True, False))
    write("source", "q96_overlays", q96(False, True))
    write("source", "q97", q96(False, False, 97))
    # A puzzle in each other format the judge reads, one question at its
    # right and bottom edge.
    for name in ("small.gif", "small.bmp", "small.jpg"):
        text = HEADER + 'puzzle = "grille.%s"\n\n[[question]]\nanswer = "Lyon"\nplace = [0, 0, 1, 1]\n' % name[-3:]
        write("source", "puzzle_" + name[-3:], text.encode() + SEPARATOR + picture(name))


def zip_seeds():
    """Archives as zipfile writes them: stored, deflated, with folders."""
    def archive(files, method):
        out = io.BytesIO()
        with zipfile.ZipFile(out, "w") as z:
            for name, data in files:
                info = zipfile.ZipInfo(name, (1980, 1, 1, 0, 0, 0))
                info.compress_type = method
                z.writestr(info, data)
        return out.getvalue()
    page = b"<!DOCTYPE html><title>Quiz</title>" + b"<p>Bonjour</p>" * 2000
    manifest = b'<?xml version="1.0"?><manifest identifier="q"></manifest>'
    package = [("imsmanifest.xml", manifest), ("index.html", page)]
    write("zip", "stored", archive(package, zipfile.ZIP_STORED))
    write("zip", "deflated", archive(package, zipfile.ZIP_DEFLATED))
    write("zip", "folders", archive([("d/", b""), ("d/\u00e9t\u00e9.txt", b"x" * 300),
                                     ("d/e/vide", b"")], zipfile.ZIP_DEFLATED))


progress_seeds()
source_seeds()
zip_seeds()
