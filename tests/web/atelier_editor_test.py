#!/usr/bin/python3
"""The atelier as an editor, in headless Chromium, doing what an author does:
a mosaic of six dropped pictures with their answers typed; two places dragged
on a photo of one's own; a word search of twelve words with clues. Each is
played at a try to a BRAVO, its .exe downloaded and played under Wine (a
find and a save, with the driver), and its source ZIP unzipped and built by
quizpack to the same bytes. On the way: problems beside their fields and a
click on one going there, questions moved with the keyboard, undo and redo,
the work back after a reload, a new quiz that asks before it replaces
unsaved work, storage refused, axe-core at two sizes and a phone's width.
Each author's task is timed; screenshots of each kind go to BUILD.

  atelier_editor_test.py QUIZPACK SOURCE_TREE PLAYER_STUB BUILD DRIVER
"""
import base64
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time
import zipfile
import zlib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless import chromium  # noqa: E402
from selenium.webdriver.common.action_chains import ActionChains  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402
from selenium.common.exceptions import NoAlertPresentException  # noqa: E402

quizpack, top, stub, build, driver_exe = (os.path.abspath(p) for p in sys.argv[1:6])
scratch = tempfile.mkdtemp(prefix="quiz-editor-")
downloads = os.path.join(scratch, "downloads")
screens = os.path.join(build, "atelier-screens")
os.makedirs(downloads)
os.makedirs(screens, exist_ok=True)
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


def wait_for(driver, script, timeout=30):
    """Until the script's expression is true in the page."""
    end = time.time() + timeout
    while time.time() < end:
        if driver.execute_script("return !!(" + script + ");"):
            return True
        time.sleep(0.05)
    return False


def idle(driver):
    driver.execute_async_script("window.atelierIdle().then(arguments[arguments.length - 1]);")


def ready(driver):
    driver.get("file://" + atelier)
    wait_for(driver, "window.atelierReady")


def problems(driver):
    return [(li.text, li.get_attribute("data-field"), li.get_attribute("data-question"))
            for li in driver.find_elements(By.CSS_SELECTOR, "#problems li")]


def sound(driver):
    said = problems(driver)
    return len(said) == 1 and "aucun problème" in said[0][0], said


def field(driver, where, name, index=0):
    within = "#question-%d" % where if where else "#header-fields"
    return driver.find_element(By.CSS_SELECTOR, '%s [data-field="%s"][data-index="%d"]' % (within, name, index))


def value(driver, where, name, index=0):
    """What a field shows, read at once: the form may be drawn again at any time."""
    within = "#question-%d" % where if where else "#header-fields"
    return driver.execute_script("const e = document.querySelector(arguments[0]); return e ? e.value : null;",
                                 '%s [data-field="%s"][data-index="%d"]' % (within, name, index))


def type_into(element, text):
    """What an author does: select what is there, type over it."""
    element.click()
    element.send_keys(Keys.CONTROL, "a")
    element.send_keys(Keys.DELETE)
    if text:
        element.send_keys(text)


def clear_downloads():
    for old in os.listdir(downloads):
        os.remove(os.path.join(downloads, old))


def drop(driver, paths):
    """Pictures dropped on the drop zone, as a file manager drops them."""
    datas = []
    for path in paths:
        with open(path, "rb") as f:
            datas.append(base64.b64encode(f.read()).decode())
    driver.execute_script(
        "const [names, datas] = arguments; const moved = new DataTransfer();"
        "names.forEach((n, i) => moved.items.add(new File([Uint8Array.from(atob(datas[i]), c => c.charCodeAt(0))], n)));"
        "document.getElementById('drop').dispatchEvent(new DragEvent('drop', {dataTransfer: moved, bubbles: true,"
        " cancelable: true}));", [os.path.basename(p) for p in paths], datas)


def start(driver, kind, wait=True):
    """A new quiz of a kind; over unsaved work, yes to the question asked."""
    driver.find_element(By.ID, "kind-" + kind).click()
    try:
        driver.switch_to.alert.accept()
    except NoAlertPresentException:
        pass
    if wait:
        idle(driver)


def play_at_a_try(driver, name, fields):
    """The quiz in the atelier's Essayer: each answer typed, each a BRAVO."""
    # The frame's page is another origin's (a blob of a file:// page): it is read
    # from inside. It keeps the last try's quiz, ready, until the new one is made:
    # marked old first.
    driver.switch_to.frame(driver.find_element(By.ID, "trial"))
    driver.execute_script("if (document.body) document.body.dataset.ready = 'old';")
    driver.switch_to.default_content()
    driver.find_element(By.ID, "try").click()
    driver.switch_to.frame(driver.find_element(By.ID, "trial"))
    try:
        check("%s: Essayer shows the quiz" % name, wait_for(driver, "document.body && document.body.dataset.ready === '1'"))
        for number, typed in fields:
            driver.find_element(By.ID, "answer-%d" % number).send_keys(typed, Keys.ENTER)
            verdict = driver.find_element(By.ID, "verdict-%d" % number).get_attribute("textContent")
            check("%s: at a try, %r in field %d: %s" % (name, typed, number, verdict), verdict == "BRAVO")
    finally:
        driver.switch_to.default_content()


def exe_plays(driver, name, executable, mode="marks"):
    """The .exe downloaded and played under Wine: a find, a save, a restart."""
    clear_downloads()
    driver.find_element(By.ID, "download-exe").click()
    got = downloaded(executable + ".exe")
    check("%s: %s.exe downloaded (%s bytes)" % (name, executable, None if got is None else len(got)), bool(got))
    if not got:
        return None
    played = os.path.join(scratch, "played", executable)
    os.makedirs(played, exist_ok=True)
    with open(os.path.join(played, executable + ".exe"), "wb") as f:
        f.write(got)
    wine = subprocess.run(["sh", os.path.join(top, "cmake/wine-run.sh"), driver_exe, "e2e",
                           os.path.join(played, executable + ".exe"), mode], capture_output=True, text=True)
    check("%s: the .exe plays under Wine (a find, a save, a restart): %s"
          % (name, (wine.stdout + wine.stderr).strip()[-200:]), wine.returncode == 0)
    return got


def zip_builds_the_same(driver, name, executable, exe):
    """The source ZIP, unzipped, gives quizpack the very .exe the atelier made."""
    driver.find_element(By.ID, "save-zip").click()
    got = downloaded(executable + "-source.zip")
    check("%s: the source ZIP downloaded" % name, bool(got))
    if not got:
        return None
    folder = os.path.join(scratch, "unzipped", executable)
    shutil.rmtree(folder, ignore_errors=True)
    with open(os.path.join(scratch, executable + ".zip"), "wb") as f:
        f.write(got)
    with zipfile.ZipFile(os.path.join(scratch, executable + ".zip")) as z:
        z.extractall(folder)
    made = run("exe", os.path.join(folder, "quiz.toml"), "--stub", stub, "--out", os.path.join(folder, "cli.exe"))
    with open(os.path.join(folder, "cli.exe"), "rb") if made.returncode == 0 else open(os.devnull, "rb") as f:
        cli = f.read()
    check("%s: quizpack builds the unzipped source to the same bytes (%d against %d) %s"
          % (name, len(cli), len(exe or b""), made.stderr.strip()[:200]), made.returncode == 0 and cli == exe)
    return folder


def png(width, height, pixel):
    """An 8-bit RGB PNG whose pixel (x, y) is pixel(x, y)."""
    rows = b"".join(b"\0" + b"".join(bytes(pixel(x, y)) for x in range(width)) for y in range(height))
    def chunk(kind, data):
        return len(data).to_bytes(4, "big") + kind + data + zlib.crc32(kind + data).to_bytes(4, "big")
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", width.to_bytes(4, "big") + height.to_bytes(4, "big") + b"\x08\x02\0\0\0")
            + chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def axe(driver, size):
    driver.set_window_size(*size)
    violations = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']}})"
        ".then(r => done(r.violations.map(v => [v.id, v.impact, v.nodes.length])));")
    check("axe-core at %dx%d: no serious or critical violation %r" % (size + (violations,)),
          [v for v in violations if v[1] in ("serious", "critical")] == [])


atelier = os.path.join(scratch, "atelier.html")
made = run("atelier", "--out", atelier, "--stub", stub)
check("quizpack atelier writes the page: " + made.stdout.strip() + made.stderr.strip(), made.returncode == 0)
times = []
driver = chromium(scratch, {"download.default_directory": downloads, "download.prompt_for_download": False})
driver.set_script_timeout(120)
driver.set_window_size(1280, 800)
try:
    ready(driver)
    # ---- A mosaic of six dropped pictures, their answers typed.
    began = time.time()
    start(driver, "mosaique")
    pictures = sorted(glob.glob(os.path.join(build, "mosaique", "*.png")))
    drop(driver, pictures)
    check("six pictures dropped, six questions", wait_for(driver, "document.querySelectorAll('.question').length === 6"))
    idle(driver)
    check("each answer from its picture's name, as quizpack new takes it",
          [value(driver, k, "answer") for k in (1, 2)] == ["Ancre", "Avion"])
    type_into(field(driver, 0, "title"), "Le ciel et la mer")
    type_into(field(driver, 0, "executable"), "cielmer")
    answers = ["Ancre marine", "Avion", "Flocon de neige", "Nuage", "Parapluie", "Soleil"]
    for k, typed in enumerate(answers, 1):
        type_into(field(driver, k, "answer"), typed)
    idle(driver)
    ok, said = sound(driver)
    check("the mosaic has no problem " + repr(said), ok)
    # A problem beside its field, and a click on it goes there.
    type_into(field(driver, 2, "answer"), "")
    idle(driver)
    named = [p for p in problems(driver) if p[1] == "answer" and p[2] == "2"]
    check("an answer left empty: a problem naming question 2's answer " + repr(problems(driver)), len(named) == 1)
    beside = driver.find_element(By.CSS_SELECTOR, "#question-2 .said").text
    check("  said beside the field too: " + beside, bool(beside))
    driver.find_element(By.CSS_SELECTOR, '#problems li[data-question="2"]').click()
    check("  a click on it goes to the field", driver.execute_script(
        "return document.activeElement === document.querySelector('#question-2 [data-field=answer]');"))
    driver.switch_to.active_element.send_keys("Avion")
    # Moved with the keyboard: question 1 down, then back up.
    down = driver.find_element(By.CSS_SELECTOR, '#question-1 [data-action="down"]')
    down.send_keys(Keys.ENTER)
    idle(driver)
    check("Entrée on « down » moves question 1 to 2",
          [value(driver, k, "answer") for k in (1, 2)] == ["Avion", "Ancre marine"])
    driver.switch_to.active_element.send_keys(Keys.ENTER)  # the focus followed it: down again
    idle(driver)
    driver.find_element(By.CSS_SELECTOR, '#question-3 [data-action="up"]').click()
    idle(driver)  # each move draws the questions again: the next button is a new one
    driver.find_element(By.CSS_SELECTOR, '#question-2 [data-action="up"]').click()
    idle(driver)
    check("and back up with the pointer: " + repr([value(driver, k, "answer") for k in (1, 2, 3)]),
          [value(driver, k, "answer") for k in (1, 2, 3)] == answers[:3])
    # Undo takes a field's keystrokes back at once; redo brings them again.
    type_into(field(driver, 0, "subtitle"), "Six images")
    idle(driver)
    driver.find_element(By.ID, "undo").click()
    idle(driver)
    check("undo: the subtitle's typing gone", value(driver, 0, "subtitle") == "")
    driver.find_element(By.ID, "redo").click()
    idle(driver)
    check("redo: the subtitle back", value(driver, 0, "subtitle") == "Six images")
    ok, said = sound(driver)
    check("the mosaic sound again " + repr(said), ok)
    driver.save_screenshot(os.path.join(screens, "mosaique.png"))
    play_at_a_try(driver, "the mosaic", [(1, "ancre marine"), (6, "SOLEIL")])
    exe = exe_plays(driver, "the mosaic", "cielmer")
    zip_builds_the_same(driver, "the mosaic", "cielmer", exe)
    times.append(("a mosaic of six pictures", time.time() - began))
    # Nothing typed is lost: a reload brings the work back.
    type_into(field(driver, 4, "answer"), "Gros nuage")
    idle(driver)
    ready(driver)
    idle(driver)
    check("after a reload, the work is back: " + driver.find_element(By.ID, "message").text,
          wait_for(driver, "document.querySelectorAll('.question').length === 6") and
          value(driver, 4, "answer") == "Gros nuage" and
          value(driver, 0, "title") == "Le ciel et la mer")
    # A new quiz asks before it replaces unsaved work.
    driver.find_element(By.ID, "kind-motsmeles").click()
    alert = driver.switch_to.alert
    check("a new quiz over unsaved work asks: " + alert.text, "pas enregistré" in alert.text)
    alert.dismiss()
    check("  and, refused, keeps the work", value(driver, 4, "answer") == "Gros nuage")

    # ---- A photo of one's own, two places dragged on it. It is wider than a
    # column of the grid: quizpack scales it, the places stay in its pixels.
    began = time.time()
    start(driver, "image", wait=False)  # the photo opened at once goes into the new quiz all the same
    photo = os.path.join(scratch, "port.png")
    with open(photo, "wb") as f:
        f.write(png(1000, 800, lambda x, y: ((x * 255) // 1000, (y * 255) // 800, 128 if (x // 50 + y // 50) % 2 else 40)))
    driver.find_element(By.ID, "open").send_keys(photo)
    check("the big picture in the editor", wait_for(driver, "document.querySelector('#puzzle-editor img')"))
    type_into(field(driver, 0, "title"), "Le port")
    type_into(field(driver, 0, "executable"), "port")
    for k, typed in ((1, "Phare"), (2, "Bateau")):
        driver.find_element(By.ID, "add-question").click()
        idle(driver)
        type_into(field(driver, k, "answer"), typed)
    picture = driver.find_element(By.CSS_SELECTOR, "#puzzle-editor img")
    for k, (left, top_, right, bottom) in ((1, (100, 80, 300, 200)), (2, (600, 400, 900, 700))):
        field(driver, k, "answer").click()  # the question the drag is for
        driver.execute_script("arguments[0].scrollIntoView({block: 'center'});", picture)
        shown = driver.execute_script("const r = arguments[0].getBoundingClientRect(); return [r.width, r.height];", picture)
        scale = 1000 / shown[0]
        # Offsets from the picture's centre, in screen pixels.
        at = lambda x, y: (round(x / scale - shown[0] / 2), round(y / scale - shown[1] / 2))
        ActionChains(driver).move_to_element_with_offset(picture, *at(left, top_)).click_and_hold() \
            .move_to_element_with_offset(picture, *at((left + right) // 2, (top_ + bottom) // 2)) \
            .move_to_element_with_offset(picture, *at(right, bottom)).release().perform()
        idle(driver)
        place = [int(v) for v in value(driver, k, "place").split(",")]
        want = [left, top_, right - left, bottom - top_]
        check("question %d's place dragged: %r in the picture's pixels, against %r" % (k, place, want),
              len(place) == 4 and all(abs(a - b) <= 2 * scale for a, b in zip(place, want)))
    # A pixel at a time from the keyboard.
    before = [int(v) for v in value(driver, 1, "place").split(",")]
    driver.execute_script("document.getElementById('place-1').focus();")
    ActionChains(driver).send_keys(Keys.ARROW_RIGHT).key_down(Keys.SHIFT).send_keys(Keys.ARROW_DOWN).key_up(Keys.SHIFT).perform()
    idle(driver)
    after = [int(v) for v in value(driver, 1, "place").split(",")]
    check("arrows move a place a pixel, Maj and arrows resize it: %r to %r" % (before, after),
          after == [before[0] + 1, before[1], before[2], before[3] + 1])
    # From the keyboard alone: a place put on the picture, then moved.
    driver.find_element(By.ID, "add-question").click()
    idle(driver)
    type_into(field(driver, 3, "answer"), "Quai")
    driver.find_element(By.CSS_SELECTOR, '#question-3 [data-action="place"]').send_keys(Keys.ENTER)
    idle(driver)
    focused = driver.execute_script("return document.activeElement.id;")
    ActionChains(driver).send_keys(Keys.ARROW_LEFT).perform()
    idle(driver)
    check("«Placer sur l'image» from the keyboard, then an arrow: %s, %s" % (focused, value(driver, 3, "place")),
          focused == "place-3" and value(driver, 3, "place") == "399, 320, 200, 160")
    check("the photo: no problem, quizpack's scaling said " + repr(problems(driver)),
          not [p for p in problems(driver) if "attention" not in p[0] and "aucun" not in p[0]])
    driver.save_screenshot(os.path.join(screens, "image.png"))
    play_at_a_try(driver, "the photo", [(1, "phare"), (2, "bateau")])
    exe = exe_plays(driver, "the photo", "port")
    folder = zip_builds_the_same(driver, "the photo", "port", exe)
    if folder:
        with open(os.path.join(folder, "quiz.toml"), encoding="utf-8") as f:
            text = f.read()
        check("the source keeps the places in the picture's own pixels",
              "place = [%s]" % ", ".join(str(v) for v in after) in text)
    times.append(("two places dragged on a photo", time.time() - began))

    # ---- A word search of twelve words with clues.
    began = time.time()
    driver.find_element(By.ID, "save-zip").click()  # saved: no question asked
    start(driver, "motsmeles")
    words = [("CHAT", "Il ronronne"), ("CHIEN", "Le meilleur ami"), ("LOUP", "Il hurle"), ("OURS", "Il hiberne"),
             ("LION", "Le roi"), ("TIGRE", "Rayé"), ("VACHE", "Elle rumine"), ("ZEBRE", "Noir et blanc"),
             ("RAT", "Des villes"), ("PIE", "Voleuse"), ("COQ", "Il chante"), ("AIGLE", "Royal")]
    area = driver.find_element(By.ID, "words")
    area.click()
    area.send_keys("\n".join("%s : %s" % w for w in words))
    idle(driver)
    check("twelve words, twelve questions", wait_for(driver, "document.querySelectorAll('.question').length === 12"))
    idle(driver)
    type_into(field(driver, 0, "title"), "Les animaux")
    type_into(field(driver, 0, "executable"), "animaux")
    idle(driver)
    ok, said = sound(driver)
    check("the word search has no problem " + repr(said), ok)
    check("its grid drawn by the library", wait_for(driver, "!document.getElementById('grid-view').hidden"))
    first = driver.execute_script("return document.getElementById('grid-view').src;")
    driver.find_element(By.ID, "reseed").click()
    idle(driver)
    check("« Une autre grille » draws another", wait_for(driver, "document.getElementById('grid-view').src !== arguments[0]"
                                                          .replace("arguments[0]", repr(first))))
    driver.save_screenshot(os.path.join(screens, "motsmeles.png"))
    play_at_a_try(driver, "the word search", [(1, "chat"), (12, "aigle")])
    exe = exe_plays(driver, "the word search", "animaux", "finds")
    folder = zip_builds_the_same(driver, "the word search", "animaux", exe)
    if folder:
        with open(os.path.join(folder, "quiz.toml"), encoding="utf-8") as f:
            check("the ZIP's source has the other grid's seed", "seed = 2\n" in f.read())
        # The package for the class's platform: quizpack scorm's very bytes.
        driver.find_element(By.ID, "download-scorm").click()
        got = downloaded("animaux.zip")
        made = run("scorm", os.path.join(folder, "quiz.toml"), "--out", os.path.join(folder, "cli-scorm.zip"))
        want = open(os.path.join(folder, "cli-scorm.zip"), "rb").read() if made.returncode == 0 else None
        check("the SCORM package, as quizpack scorm writes it (%s against %s bytes)"
              % (got and len(got), want and len(want)), got is not None and got == want)
    times.append(("a word search of twelve words", time.time() - began))
    # The ZIP opens again to the same form.
    driver.find_element(By.ID, "open").send_keys(os.path.join(scratch, "animaux.zip"))
    check("the saved ZIP opens again to the same form",
          wait_for(driver, "document.querySelectorAll('.question').length === 12 && document.querySelector("
                           "'#header-fields [data-field=title]').value === 'Les animaux'") and
          value(driver, 12, "text") == "Royal")
    idle(driver)
    area = driver.find_element(By.ID, "words")
    # A word that cannot go in is said as quizpack says it.
    area.click()
    area.send_keys(Keys.CONTROL, Keys.END)
    area.send_keys("\nHIPPOPOTAMESQUE : Trop long")
    idle(driver)
    time.sleep(0.3)
    idle(driver)
    shown = [p[0] for p in problems(driver)]
    clear_downloads()
    driver.find_element(By.ID, "save-zip").click()
    got = downloaded("animaux-source.zip")
    long_folder = os.path.join(scratch, "long")
    if got:
        with open(os.path.join(scratch, "long.zip"), "wb") as f:
            f.write(got)
        with zipfile.ZipFile(os.path.join(scratch, "long.zip")) as z:
            z.extractall(long_folder)
    said = run("check", os.path.join(long_folder, "quiz.toml"))
    lines = [l.replace(os.path.join(long_folder, "quiz.toml"), "quiz.toml") for l in said.stderr.splitlines()
             if l.startswith(os.path.join(long_folder, "quiz.toml") + ":")]
    check("a word too long: the lines of quizpack check %r" % shown, said.returncode != 0 and shown == lines)

    # ---- For everyone.
    with open(os.path.join(top, "tests/web/node_modules/axe-core/axe.min.js"), encoding="utf-8") as f:
        driver.execute_script(f.read())
    axe(driver, (1280, 800))
    axe(driver, (768, 1024))
    driver.set_window_size(390, 844)
    overflow = driver.execute_script(
        "return [...document.querySelectorAll('#form input[type=text], #words')].filter(e => e.offsetParent &&"
        " e.getBoundingClientRect().right > document.documentElement.clientWidth + 1).map(e => e.dataset.field || e.id);")
    check("on a phone's width, every text field fits the screen " + repr(overflow), overflow == [])
    remote = driver.execute_script("return performance.getEntriesByType('resource')"
                                   ".map(e => e.name).filter(n => !n.startsWith('blob:') && !n.startsWith('data:'));")
    check("nothing remote requested " + repr(remote), remote == [])
finally:
    driver.quit()

# Storage the browser refuses: said in French, the work goes on, the ZIP still comes.
refusing = chromium(os.path.join(scratch, "refusing"), {"download.default_directory": downloads,
                                                        "download.prompt_for_download": False})
try:
    refusing.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
        "IDBFactory.prototype.open = function () { throw new DOMException('refusé', 'SecurityError'); };"})
    driver = refusing
    ready(refusing)
    start(refusing, "mosaique")
    drop(refusing, sorted(glob.glob(os.path.join(build, "mosaique", "*.png")))[:3])
    wait_for(refusing, "document.querySelectorAll('.question').length === 3")
    idle(refusing)
    said = refusing.find_element(By.ID, "storage").text
    check("storage refused, said: " + said, "ne garde pas" in said)
    clear_downloads()
    refusing.find_element(By.ID, "save-zip").click()
    check("  and the ZIP still downloads", bool(downloaded("quiz-source.zip")))
finally:
    refusing.quit()
    shutil.rmtree(scratch, ignore_errors=True)

for what, seconds in times:
    print("time: %s, %.1f s" % (what, seconds))
print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
