#!/usr/bin/python3
"""Makes the sample quiz "Les fruits": a 13 x 13 word search.

Writes quizzes/fruits/fruits.toml and its pictures (GIF89a, one frame, a
256-colour palette, opaque): the puzzle picture grille.gif (459 x 505) and one
overlay per answer, the block of cells that covers it with the answer's cells
tinted pink.

Run it by hand after changing the words (needs Debian's python3-pil and
fonts-dejavu-core); the build itself only reads what it wrote:
    /usr/bin/python3 tools/make_sample_quiz.py
"""

import os
import random

from PIL import Image, ImageDraw, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "..", "quizzes", "fruits")
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"

SIZE = 13                  # cells across and down
CELL_W, CELL_H = 34, 35    # cell pitch in pixels
X0, Y0 = 9, 11             # top-left corner of the first cell
LINE = 3                   # grid lines between cells
WIDTH, HEIGHT = 459, 505   # picture; the strip under the grid stays empty

BLUE = (40, 70, 190)
WHITE = (255, 255, 255)
PALE = (222, 234, 250)
PINK = (255, 170, 205)
INK = (20, 20, 40)

# The answers in alphabetical order, with a short fact for each.
FRUITS = [
    ("ABRICOT", "Le Roussillon en est la grande r\u00e9gion de culture en France."),
    ("AMANDE", "On la trouve au c\u0153ur du noyau d'un fruit cousin de la p\u00eache."),
    ("ANANAS", "Christophe Colomb le rapporta des Antilles."),
    ("BANANE", "Elle pousse en r\u00e9gimes sur une herbe g\u00e9ante."),
    ("CASSIS", "Ses baies noires font la c\u00e9l\u00e8bre cr\u00e8me de Dijon."),
    ("CERISE", "Le Temps des cerises est une chanson de 1866."),
    ("CITRON", "Riche en vitamine C, il sauvait les marins du scorbut."),
    ("COING", "Trop dur cru, il donne une p\u00e2te de fruit ambr\u00e9e."),
    ("DATTE", "Le fruit du palmier des oasis."),
    ("FIGUE", "Sa fleur est cach\u00e9e \u00e0 l'int\u00e9rieur du fruit."),
    ("FRAISE", "Ses graines sont \u00e0 l'ext\u00e9rieur."),
    ("FRAMBOISE", "Rouge, mais il en existe des jaunes."),
    ("GROSEILLE", "En grappes, elle fait une gel\u00e9e acidul\u00e9e."),
    ("KIWI", "Il porte le nom d'un oiseau de Nouvelle-Z\u00e9lande."),
    ("MANGUE", "Fruit national de l'Inde."),
    ("MELON", "Celui de Cavaillon est renomm\u00e9."),
    ("MIRABELLE", "La petite prune dor\u00e9e de Lorraine."),
    ("MYRTILLE", "Elle bleuit la langue des cueilleurs."),
    ("NECTARINE", "Une p\u00eache \u00e0 la peau lisse."),
    ("ORANGE", "Son nom vient du sanskrit par l'arabe."),
    ("POIRE", "La Williams en fait une eau-de-vie."),
]

FINAL = "BRAVO ! VOUS AVEZ RECOLTE TOUT LE VERGER"

# right, down, diagonals down and up, and the two backward ways
DIRECTIONS = [(1, 0), (0, 1), (1, 1), (1, -1), (-1, 0), (0, -1)]


def place_words(seed):
    """Places every word in a straight line; letters may be shared."""
    rng = random.Random(seed)
    grid = [[None] * SIZE for _ in range(SIZE)]
    places = {}
    # Long words first: they are the hardest to fit.
    for word, _ in sorted(FRUITS, key=lambda f: -len(f[0])):
        options = []
        for dx, dy in DIRECTIONS:
            for x in range(SIZE):
                for y in range(SIZE):
                    cells = [(x + dx * i, y + dy * i) for i in range(len(word))]
                    if not all(0 <= cx < SIZE and 0 <= cy < SIZE for cx, cy in cells):
                        continue
                    shared = 0
                    for (cx, cy), letter in zip(cells, word):
                        if grid[cy][cx] is None:
                            continue
                        if grid[cy][cx] != letter:
                            break
                        shared += 1
                    else:
                        if shared < len(word):
                            options.append((shared, rng.random(), cells))
        if not options:
            return None
        options.sort(key=lambda o: (-o[0], o[1]))
        # Prefer sharing letters now and then, so that everything fits.
        pick = options[0] if options[0][0] and rng.random() < 0.5 else rng.choice(options)
        for (cx, cy), letter in zip(pick[2], word):
            grid[cy][cx] = letter
        places[word] = pick[2]
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ"
    for row in grid:
        for i, cell in enumerate(row):
            if cell is None:
                row[i] = rng.choice(letters)
    return grid, places


def cell_box(cx, cy):
    left, top = X0 + CELL_W * cx, Y0 + CELL_H * cy
    return left, top, left + CELL_W - LINE - 1, top + CELL_H - LINE - 1


def draw_puzzle(grid, tinted=()):
    image = Image.new("RGB", (WIDTH, HEIGHT), WHITE)
    draw = ImageDraw.Draw(image)
    font = ImageFont.truetype(FONT, 20)
    # Grid lines, 3 pixels wide, around and between the cells.
    for i in range(SIZE + 1):
        x = X0 - LINE + CELL_W * i
        draw.rectangle([x, Y0 - LINE, x + LINE - 1, Y0 + CELL_H * SIZE - 1], fill=BLUE)
        y = Y0 - LINE + CELL_H * i
        draw.rectangle([X0 - LINE, y, X0 + CELL_W * SIZE - 1, y + LINE - 1], fill=BLUE)
    for cy in range(SIZE):
        for cx in range(SIZE):
            box = cell_box(cx, cy)
            ground = PINK if (cx, cy) in tinted else (PALE if (cx + cy) % 2 else WHITE)
            draw.rectangle(box, fill=ground)
            middle = ((box[0] + box[2] + 1) / 2, (box[1] + box[3] + 1) / 2)
            draw.text(middle, grid[cy][cx], fill=INK, font=font, anchor="mm")
    return image


def save_gif(image, path):
    """GIF89a, one frame, a full 256-colour palette, no transparency."""
    indexed = image.quantize(colors=256, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = indexed.getpalette()[: 256 * 3]
    palette += [0] * (256 * 3 - len(palette))
    indexed.putpalette(palette)
    indexed.save(path, format="GIF", optimize=False, comment=b"Les fruits")
    with open(path, "rb") as f:
        data = f.read()
    assert data[:6] == b"GIF89a", path


def toml_text(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"') + '"'


def main():
    for seed in range(1, 10000):
        placed = place_words(seed)
        if placed:
            break
    grid, places = placed
    os.makedirs(os.path.join(OUT, "images"), exist_ok=True)
    save_gif(draw_puzzle(grid), os.path.join(OUT, "images", "grille.gif"))

    questions = []
    for k, (word, fact) in enumerate(FRUITS, start=1):
        cells = places[word]
        xs = [c[0] for c in cells]
        ys = [c[1] for c in cells]
        i, j = min(xs), min(ys)
        c, r = max(xs) - i + 1, max(ys) - j + 1
        left, top = X0 + CELL_W * i, Y0 + CELL_H * j
        width, height = CELL_W * c - LINE, CELL_H * r - LINE
        marked = draw_puzzle(grid, tinted=set(cells))
        overlay = marked.crop((left, top, left + width, top + height))
        name = "fruit%02d.gif" % k
        save_gif(overlay, os.path.join(OUT, "images", name))
        shown = -(-len(FINAL) * k // len(FRUITS))
        questions.append((word, fact, FINAL[:shown].rstrip(), name, (left, top, width, height)))

    lines = [
        "# Quiz d'exemple : \u00ab Les fruits \u00bb, un mots m\u00eal\u00e9s de 21 mots.",
        "# Fait par tools/make_sample_quiz.py, avec les images du dossier images/.",
        "",
        'executable = "fruits"',
        'title = "Les fruits"',
        'author = "L\'\u00e9quipe du quiz"',
        'subtitle = "21 fruits se cachent dans la grille. Ils sont class\u00e9s par ordre alphab\u00e9tique."',
        'linkText = "https://quiz.example/"',
        'statusText = "Mots m\u00eal\u00e9s : les fruits"',
        "quizKind = 1",
        "answersPerQuestion = 1",
        "layoutType = 3     # une question trouv\u00e9e montre son indice et sa grille marqu\u00e9e",
        "background = [90, 95, 150]",
        "scrambled = true",
        'puzzle = "images/grille.gif"',
    ]
    for word, fact, code, name, place in questions:
        lines += [
            "",
            "[[question]]",
            "answer = %s" % toml_text(word),
            "text = %s" % toml_text(fact),
            "code = %s" % toml_text(code),
            "letters = %d" % len(word),
            "overlay = %s" % toml_text("images/" + name),
            "place = [%d, %d, %d, %d]" % place,
        ]
    with open(os.path.join(OUT, "fruits.toml"), "w", encoding="utf-8") as f:
        f.write("\n".join(lines) + "\n")
    print("seed", seed)
    for row in grid:
        print(" ".join(row))


if __name__ == "__main__":
    main()
