#!/usr/bin/python3
"""The atelier in headless Chromium, as an author uses it: a quiz's files
chosen in `open`, every problem shown, the .exe, the page and the key
downloaded; each against what quizpack makes of the same files on a disk:
the same lines, the same bytes. No request leaves the page.

A mosaic whose JPEG photos (one turned by its EXIF orientation 6) the
browser decodes: its key against quizpack's, pixel by pixel within rounding,
and its .exe played under Wine (a find, a save, a restart). A folder of
pictures alone: the quiz quizpack new makes of it.

  atelier_test.py QUIZPACK SOURCE_TREE PLAYER_STUB BUILD DRIVER
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless import chromium  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

quizpack, top, stub, build, driver_exe = (os.path.abspath(p) for p in sys.argv[1:6])
scratch = tempfile.mkdtemp(prefix="quiz-atelier-")
downloads = os.path.join(scratch, "downloads")
os.makedirs(downloads)
failures = []


def check(what, ok):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def run(*args):
    return subprocess.run([quizpack, *args], capture_output=True, text=True)


def downloaded(name, timeout=30):
    path = os.path.join(downloads, name)
    end = time.time() + timeout
    while time.time() < end:
        if os.path.exists(path) and not glob.glob(os.path.join(downloads, "*.crdownload")):
            with open(path, "rb") as f:
                return f.read()
        time.sleep(0.1)
    return None


def png_pixels(data):
    """Width, height and RGB rows of an 8-bit RGB PNG (what quizpack writes)."""
    at, chunks, width, height = 8, b"", 0, 0
    while at < len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height = int.from_bytes(body[0:4], "big"), int.from_bytes(body[4:8], "big")
        elif kind == b"IDAT":
            chunks += body
        at += 12 + length
    raw, stride, rows, prior = zlib.decompress(chunks), width * 3, [], bytearray(width * 3)
    for y in range(height):
        line = raw[y * (stride + 1):(y + 1) * (stride + 1)]
        f, row = line[0], bytearray(line[1:])
        for x in range(stride):
            a, b = row[x - 3] if x >= 3 else 0, prior[x]
            c = prior[x - 3] if x >= 3 else 0
            if f == 1: row[x] = (row[x] + a) & 255
            elif f == 2: row[x] = (row[x] + b) & 255
            elif f == 3: row[x] = (row[x] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[x] = (row[x] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(row)
        prior = row
    return width, height, rows


def mean_difference(one, other):
    """The mean difference of two PNGs' channels; None when their sizes differ."""
    (w1, h1, r1), (w2, h2, r2) = png_pixels(one), png_pixels(other)
    if (w1, h1) != (w2, h2):
        return None
    return sum(abs(a - b) for y in range(h1) for a, b in zip(r1[y], r2[y])) / (w1 * h1 * 3)


def said_lines(driver):
    return [li.text for li in driver.find_elements(By.CSS_SELECTOR, "#problems li")]


atelier = os.path.join(scratch, "atelier.html")
made = run("atelier", "--out", atelier, "--stub", stub)
check("quizpack atelier writes the page: " + made.stdout.strip() + made.stderr.strip(), made.returncode == 0)

driver = chromium(scratch, {"download.default_directory": downloads, "download.prompt_for_download": False})
driver.set_script_timeout(60)
try:
    driver.get("file://" + atelier)
    driver.execute_async_script("const done = arguments[0]; const wait = () => window.atelierReady ? done() :"
                                " setTimeout(wait, 20); wait();")
    check("the library is ready", driver.find_element(By.ID, "message").text.startswith("Prêt"))
    # For everyone: French, every control labelled, the first Tab on the files' input.
    with open(os.path.join(top, "tests/web/node_modules/axe-core/axe.min.js"), encoding="utf-8") as f:
        driver.execute_script(f.read())
    violations = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}})"
        ".then(r => done(r.violations.map(v => [v.id, v.impact])));")
    check("axe-core: no serious or critical violation " + repr(violations),
          [v for v in violations if v[1] in ("serious", "critical")] == [])
    check("lang=fr", driver.execute_script("return document.documentElement.lang;") == "fr")
    driver.find_element(By.TAG_NAME, "body").send_keys(Keys.TAB)
    check("the first Tab reaches the files' input", driver.execute_script("return document.activeElement.id;") == "open")
    fields = driver.execute_script("return window.atelierFields();")
    answer_row = [f for f in fields["question"] if f["name"] == "answer"]
    check("the judge's table of fields, from the library: the answer's limit " + repr(answer_row),
          len(answer_row) == 1 and answer_row[0]["max"] == 85 and answer_row[0]["help"])

    broken = os.path.join(scratch, "broken")
    os.makedirs(broken)
    with open(os.path.join(broken, "quiz.toml"), "w") as f:
        f.write('executable = "essai"\ntitel = "Essai"\npuzzle = "absente.gif"\n\n[[question]]\nanswer = "Paris"\n')
    # A picture that is not one, and a source not in UTF-8.
    not_picture = os.path.join(scratch, "not-picture")
    os.makedirs(not_picture)
    with open(os.path.join(not_picture, "grille.png"), "w") as f:
        f.write("pas une image")
    with open(os.path.join(not_picture, "quiz.toml"), "w") as f:
        f.write('executable = "essai"\ntitle = "Essai"\npuzzle = "grille.png"\n\n[[question]]\nanswer = "Paris"\n')
    latin = os.path.join(scratch, "latin")
    os.makedirs(latin)
    with open(os.path.join(latin, "quiz.toml"), "wb") as f:
        f.write('executable = "essai"\ntitle = "Capitales d\'Europe, \u00e9t\u00e9"\n'.encode("latin-1"))
    # Two answers a question, one question with one.
    two = os.path.join(scratch, "deux")
    os.makedirs(two)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), two)
    with open(os.path.join(two, "deux.toml"), "w", encoding="utf-8") as f:
        f.write('executable = "deux"\ntitle = "Deux réponses"\nanswersPerQuestion = 2\nanswerCaption1 = "Ville"\n'
                'answerCaption2 = "Pays"\nlayoutType = 2\npuzzle = "grille.gif"\n\n'
                '[[question]]\nanswers = ["Rome", "Italie"]\ntext = "Au sud."\n\n'
                '[[question]]\nanswers = ["Monaco"]\ntext = "Une seule."\n')
    mosaic = os.path.join(build, "fixtures/mosaic")
    # A phone's photo of 12 megapixels, stored on its side: EXIF orientation 6.
    turned = os.path.join(scratch, "turned")
    os.makedirs(turned)
    with open(os.path.join(mosaic, "photo.jpg"), "rb") as f:
        photo = f.read()
    tiff = bytes([0x49, 0x49, 42, 0, 8, 0, 0, 0, 1, 0, 0x12, 0x01, 3, 0, 1, 0, 0, 0, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0])
    app1 = bytes([0xFF, 0xE1, 0, 2 + 6 + len(tiff)]) + b"Exif\0\0" + tiff
    with open(os.path.join(turned, "photo.jpg"), "wb") as f:
        f.write(photo[:2] + app1 + photo[2:])
    shutil.copy(os.path.join(mosaic, "nuage.png"), turned)
    with open(os.path.join(turned, "quiz.toml"), "w") as f:
        f.write('executable = "tourne"\ntitle = "Tourn\u00e9"\n\n[mosaique]\n\n[[question]]\nimage = "photo.jpg"\n'
                'answer = "Photo"\n\n[[question]]\nimage = "nuage.png"\nanswer = "Nuage"\n')
    example = os.path.join(build, "mosaique")
    pictures_of = lambda folder: sorted(p for p in glob.glob(os.path.join(folder, "*")) if not p.endswith((".toml", ".exe", ".html")))
    # name, source, its pictures, whether the browser decodes some (JPEG)
    quizzes = [
        ("the sample (a word search)", os.path.join(top, "quizzes/fruits/fruits.toml"), [], False),
        ("a picture quiz of 96 questions", os.path.join(top, "tests/windows/fixtures/fruits/quiz96.toml"),
         sorted(glob.glob(os.path.join(top, "tests/windows/fixtures/fruits/*.gif"))), False),
        ("a quiz of two answers", os.path.join(two, "deux.toml"), [os.path.join(two, "grille.gif")], False),
        ("the mosaic example (PNG)", os.path.join(example, "mosaique.toml"), pictures_of(example), False),
        ("a mosaic of every format, JPEG turned", os.path.join(mosaic, "mosaic.toml"),
         [p for p in pictures_of(mosaic) if not p.endswith("photo.jpg")], True),
        ("a 12-megapixel photo on its side (EXIF 6)", os.path.join(turned, "quiz.toml"),
         [os.path.join(turned, "photo.jpg"), os.path.join(turned, "nuage.png")], True),
        ("a broken source", os.path.join(broken, "quiz.toml"), [], False),
        ("a picture that is not one", os.path.join(not_picture, "quiz.toml"), [os.path.join(not_picture, "grille.png")], False),
        ("a source not in UTF-8", os.path.join(latin, "quiz.toml"), [], False),
    ]
    for name, source, pictures, photos in quizzes:
        for old in os.listdir(downloads):
            os.remove(os.path.join(downloads, old))
        driver.execute_script("document.getElementById('problems').replaceChildren();")
        driver.find_element(By.ID, "open").send_keys("\n".join([source] + pictures))
        driver.execute_async_script("const done = arguments[0]; const wait = () =>"
                                    " document.getElementById('problems').children.length ? done() :"
                                    " setTimeout(wait, 20); wait();")
        checked = run("check", source)
        base = os.path.basename(source)
        lines = [line.replace(source, base) for line in checked.stderr.splitlines() if line.startswith(source + ":")]
        shown = said_lines(driver)
        if checked.returncode != 0:
            check(name + ": the problems are quizpack check's lines " + repr(shown), shown == lines and lines)
            check(name + ": nothing to download",
                  all(not driver.find_element(By.ID, i).is_enabled() for i in ("download-exe", "download-page", "download-key")))
            continue
        check(name + ": no problem " + repr(shown), lines == [] and len(shown) == 1 and "aucun problème" in shown[0])
        out = os.path.join(scratch, "cli")
        shutil.rmtree(out, ignore_errors=True)
        os.makedirs(out)
        executable = None
        with open(source, encoding="utf-8") as f:
            for line in f:
                if line.startswith("executable"):
                    executable = line.split('"')[1]
        made = [run("exe", source, "--stub", stub, "--out", os.path.join(out, executable + ".exe")),
                run("web", source, "--out", os.path.join(out, executable + ".html")),
                run("preview", source, os.path.join(out, executable + "-corrige.png"))]
        check(name + ": quizpack makes all three", all(m.returncode == 0 for m in made))
        for button, file in (("download-exe", executable + ".exe"), ("download-page", executable + ".html"),
                             ("download-key", executable + "-corrige.png")):
            driver.find_element(By.ID, button).click()
            got = downloaded(file)
            with open(os.path.join(out, file), "rb") as f:
                want = f.read()
            if photos and file.endswith(".png"):
                # The browser's JPEG decoder and scaler round otherwise than
                # libjpeg's; a turn missed or doubled moves each gradient across
                # its tile, some tens of levels.
                difference = got and mean_difference(got, want)
                check("%s: the key as quizpack draws it, within rounding (mean difference %s)" % (name, difference),
                      difference is not None and difference < 6)
            elif photos:
                check("%s: %s downloaded (%s bytes)" % (name, file, "none" if got is None else len(got)), bool(got))
            else:
                check("%s: %s downloaded, the very bytes quizpack writes (%s against %d)"
                      % (name, file, "none" if got is None else len(got), len(want)), got == want)
            if photos and file.endswith(".exe") and got:
                played = os.path.join(scratch, "played")
                os.makedirs(played, exist_ok=True)
                with open(os.path.join(played, file), "wb") as f:
                    f.write(got)
                run_wine = subprocess.run(["sh", os.path.join(top, "cmake/wine-run.sh"), driver_exe, "e2e",
                                           os.path.join(played, file), "marks"], capture_output=True, text=True)
                check("%s: the .exe from the atelier plays under Wine (a find, a save, a restart): %s"
                      % (name, (run_wine.stdout + run_wine.stderr).strip()[-300:]), run_wine.returncode == 0)
    # A folder of pictures alone: the atelier makes of it what quizpack new does.
    for old in os.listdir(downloads):
        os.remove(os.path.join(downloads, old))
    alone, copied = os.path.join(scratch, "alone", "Le ciel"), os.path.join(scratch, "new", "Le ciel")
    for folder in (alone, copied):
        os.makedirs(folder)
        for picture in pictures_of(example):
            shutil.copy(picture, folder)
    driver.execute_script("document.getElementById('problems').replaceChildren();")
    driver.find_element(By.ID, "open-folder").send_keys(alone)
    driver.execute_async_script("const done = arguments[0]; const wait = () =>"
                                " document.getElementById('problems').children.length ? done() :"
                                " setTimeout(wait, 20); wait();")
    shown = said_lines(driver)
    check("a folder of pictures: a quiz of six " + repr(shown), len(shown) == 1 and "6 questions, aucun problème" in shown[0])
    made = run("new", copied, "--stub", stub)
    driver.find_element(By.ID, "download-exe").click()
    got = downloaded("Le-ciel.exe")
    with open(os.path.join(copied, "Le-ciel.exe"), "rb") as f:
        want = f.read()
    check("a folder of pictures: the .exe quizpack new makes of it (%s against %d)"
          % ("none" if got is None else len(got), len(want)), made.returncode == 0 and got == want)

    # A file larger than the library's memory is said, and the atelier goes on.
    huge = os.path.join(scratch, "huge", "enorme.png")
    os.makedirs(os.path.dirname(huge))
    with open(huge, "wb") as f:
        f.truncate(300 * 1000 * 1000)
    driver.find_element(By.ID, "open").send_keys(huge)
    driver.execute_async_script("const done = arguments[0]; const wait = () =>"
                                " /trop grand/.test(document.getElementById('message').textContent) ? done() :"
                                " setTimeout(wait, 50); wait();")
    check("a file too large for the memory: " + driver.find_element(By.ID, "message").text,
          "enorme.png" in driver.find_element(By.ID, "message").text)
    driver.execute_script("document.getElementById('problems').replaceChildren();")
    driver.find_element(By.ID, "open").send_keys(os.path.join(top, "quizzes/fruits/fruits.toml"))
    driver.execute_async_script("const done = arguments[0]; const wait = () =>"
                                " document.getElementById('problems').children.length ? done() :"
                                " setTimeout(wait, 20); wait();")
    check("after it, a quiz opens as before " + repr(said_lines(driver)), "aucun problème" in said_lines(driver)[0])

    remote = driver.execute_script("return performance.getEntriesByType('resource')"
                                   ".map(e => e.name).filter(n => !n.startsWith('blob:') && !n.startsWith('data:'));")
    check("nothing remote requested " + repr(remote), remote == [])
finally:
    driver.quit()
    shutil.rmtree(scratch, ignore_errors=True)

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
