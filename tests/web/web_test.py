#!/usr/bin/python3
"""The quiz's web page in a real browser (headless Chromium through Selenium):
the sample played (a find, the score and code, the marked picture), every
kind of hint, a reload that restores, "Sauver" against the .exe's own save
under Wine, "Reprendre" of hostile files and its one step back, a quiz made
again by its author, a quiz of another kind, a two-answer quiz of our own,
300 random answers against quizpack verdict, a hostile quiz (a script for a
link, hints to peek at), Ctrl+Enter, the letter count of a small puzzle,
each verdict's colour and the labels' ink on a dark and a light background,
screenshots on a wide screen and a phone, and axe-core, its colour contrast
included.

  web_test.py QUIZPACK SOURCE_TREE AXE_JS OUT_DIR [PLAYER_EXE DRIVER_EXE]
"""
import base64
import json
import os
import random
import struct
import shutil
import subprocess
import sys
import tempfile
import time
import zlib

from headless import chromium
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.by import By
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

quizpack, top, axe_path, out_dir = sys.argv[1:5]
player, driver_exe = (sys.argv[5], sys.argv[6]) if len(sys.argv) > 6 else (None, None)
scratch = tempfile.mkdtemp(prefix="quiz-web-")
downloads = os.path.join(scratch, "downloads")
os.makedirs(downloads)
failures = 0
checks = 0


def check(what, expected, actual):
    global failures, checks
    checks += 1
    if expected == actual:
        print("ok   " + what)
    else:
        failures += 1
        print("FAIL %s: expected %r, got %r" % (what, expected, actual))


def page_of(source, name):
    page = os.path.join(scratch, name + ".html")
    subprocess.run([quizpack, "web", source, "--out", page], check=True, stdout=subprocess.DEVNULL)
    return page


def browser():
    return chromium(scratch, {"download.default_directory": downloads, "download.prompt_for_download": False})


def view(driver, width, height, mobile=False):
    driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                           {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": mobile})


def open_page(driver, page):
    driver.get("file://" + page)
    for _ in range(200):
        if driver.execute_script("return document.body.dataset.ready === '1'"):
            return
        time.sleep(0.05)
    raise SystemExit("the page never got ready: " + page)


def text(driver, id_):
    """A field's value, or a label's text as it stands (leading space kept)."""
    element = driver.find_element(By.ID, id_)
    return element.get_attribute("value") if element.tag_name == "input" else element.get_attribute("textContent")


def answer(driver, field, typed):
    """The text in field `field`, then Enter: as a player types it."""
    driver.execute_script(
        "const f = document.getElementById('answer-' + arguments[0]); f.value = arguments[1];"
        "f.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter', bubbles: true}));", field, typed)
    return text(driver, "verdict-%d" % field)


def verdicts(pairs):
    """quizpack verdict --batch over (expected, typed) pairs, CP1252."""
    lines = "".join("%s\t%s\n" % (e.encode("cp1252").hex(), t.encode("cp1252").hex()) for e, t in pairs)
    done = subprocess.run([quizpack, "verdict", "--batch"], input=lines.encode(), capture_output=True, check=True)
    return done.stdout.decode("utf-8").splitlines()


def saved(driver):
    """The file "Sauver" downloads."""
    for name in os.listdir(downloads):
        os.remove(os.path.join(downloads, name))
    driver.find_element(By.ID, "save").click()
    for _ in range(100):
        # Chrome writes into a hidden temporary file, then renames it.
        files = [f for f in os.listdir(downloads) if not f.endswith(".crdownload") and not f.startswith(".")]
        if files:
            with open(os.path.join(downloads, files[0]), "rb") as f:
                return files[0], f.read()
        time.sleep(0.05)
    return None, b""


def sample(driver):
    page = page_of(os.path.join(top, "quizzes/fruits/fruits.toml"), "fruits")
    view(driver, 1280, 800)
    open_page(driver, page)
    check("the score starts at 0", " 0 / 21", text(driver, "score"))
    check("a web address is a link", [True, "https://q.example"],
          [driver.find_element(By.ID, "link").is_displayed(), driver.execute_script("return document.getElementById('link').getAttribute('href')")])
    check("the letter count of a 459 x 505 puzzle shows on its picture", True, count_shows(driver, 1))
    check("  « Par : » and the author", [True, "L'équipe du quiz"], [shown(driver, "by"), text(driver, "author")])
    check("  the fields: no correction, completion nor capitals, 16 px",
          [["off", "off", "off", "false", "16px"]] * 2, driver.execute_script(
              "return [1, 21].map(a => { const f = document.getElementById('answer-' + a);"
              " return [f.autocomplete, f.getAttribute('autocapitalize'), f.getAttribute('autocorrect'),"
              " f.getAttribute('spellcheck'), getComputedStyle(f).fontSize]; });"))
    check("a verdict reads ? until judged", "?", text(driver, "verdict-1"))
    before = driver.find_element(By.ID, "picture-1").screenshot_as_png
    check("a find: BRAVO", "BRAVO", answer(driver, 1, "abricot"))
    check("  the score", " 1 / 21", text(driver, "score"))
    check("  the code", "V", text(driver, "code"))
    after = driver.find_element(By.ID, "picture-1").screenshot_as_png
    check("  the marked picture differs from the unmarked one", True, before != after)
    check("  its hint shows (layout 3)", True, driver.find_element(By.ID, "hint-1").is_displayed())
    check("a wrong answer: FAUX", "FAUX", answer(driver, 2, "zzz"))
    check("  an open question keeps its hint hidden", False, driver.find_element(By.ID, "hint-2").is_displayed())
    driver.find_element(By.ID, "answer-4").click()
    driver.find_element(By.ID, "answer-4").send_keys("cassis")
    driver.find_element(By.ID, "fill").click()  # the field left is judged; its text goes everywhere open
    check("try everywhere: question 5 found", "BRAVO", text(driver, "verdict-5"))
    check("  a right field keeps its text", "abricot", text(driver, "answer-1"))
    check("  an open one takes it", "cassis", text(driver, "answer-21"))
    driver.refresh()
    open_page(driver, page)
    check("a reload restores and judges again", ["BRAVO", "BRAVO", " 2 / 21"],
          [text(driver, "verdict-1"), text(driver, "verdict-5"), text(driver, "score")])
    driver.find_element(By.ID, "hide-found").click()
    check("Cacher hides a found question's picture", False, driver.find_element(By.ID, "picture-1").is_displayed())
    driver.find_element(By.ID, "hide-found").click()
    name, page_bytes = saved(driver)
    check("Sauver downloads NAME.txt", "fruits.txt", name)
    check("  one line per field", 21, page_bytes.count(b"\r\n"))
    if player:
        check("  the bytes the .exe saves for the same answers", exe_save(page_bytes), page_bytes)
    driver.save_screenshot(os.path.join(out_dir, "web-1280x800.png"))
    view(driver, 360, 740, mobile=True)
    time.sleep(0.3)
    driver.save_screenshot(os.path.join(out_dir, "web-360x740.png"))
    check("on a phone: no scrolling sideways", True,
          driver.execute_script("return document.documentElement.scrollWidth <= 360"))
    check("  one question to a row", True, driver.execute_script(
        "const a = document.getElementById('question-1').getBoundingClientRect();"
        "const b = document.getElementById('question-2').getBoundingClientRect(); return b.top >= a.bottom;"))
    check("  the picture fits the width", True, driver.execute_script(
        "return document.getElementById('picture-1').getBoundingClientRect().right <= 360"))
    view(driver, 1280, 800)
    axe(driver)
    # Storage refused: said, and the game goes on.
    driver.execute_script("Storage.prototype.setItem = function () { throw new DOMException('full', 'QuotaExceededError'); };")
    check("storage refused: the verdict still comes", "BRAVO", answer(driver, 2, "amande"))
    check("  and the page says so", True, "ne garde pas vos réponses" in text(driver, "message"))
    reprendre(driver, page)


def file_of(name, data):
    path = os.path.join(scratch, name)
    with open(path, "wb") as f:
        f.write(data)
    return path


def state(driver):
    """Every field's text, every verdict and the score: what a player would lose."""
    return driver.execute_script(
        "return [[...document.querySelectorAll('#grid input')].map(f => f.value),"
        " [...document.querySelectorAll('#grid output')].map(o => o.textContent),"
        " document.getElementById('score').textContent];")


def pick(driver, path, agree=True):
    """`path` chosen for "Reprendre", the question answered if one comes:
    the question asked (None if none) and what the page then says."""
    driver.execute_script("document.getElementById('message').textContent = '';"
                          "document.getElementById('resume-file').hidden = false;")
    driver.find_element(By.ID, "resume-file").send_keys(path)
    asked = None
    for _ in range(200):
        try:
            alert = driver.switch_to.alert
            asked = alert.text
            alert.accept() if agree else alert.dismiss()
        except NoAlertPresentException:
            if text(driver, "message"):
                break
        time.sleep(0.05)
    driver.execute_script("document.getElementById('resume-file').hidden = true;")
    return asked, text(driver, "message")


def shown(driver, id_):
    return driver.find_element(By.ID, id_).is_displayed()


def reprendre(driver, page):
    """"Reprendre": nothing changes until the file is read and the player
    agrees, the answers it replaced are one click away, "Cacher" holds."""
    open_page(driver, page)
    answer(driver, 1, "abricot")
    first = state(driver)
    gif = open(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), "rb").read()
    for what, name, data, said in [
            ("another quiz's file", "legumes.txt", b"carotte\r\nnavet\r\npoireau\r\n", "autre quiz"),
            ("an empty file", "vide.txt", b"", "aucune réponse"),
            ("a picture", "grille.gif", gif, "pas du texte"),
            ("a file too large", "gros.txt", b"abricot\r\n" * 200000, "trop grand")]:
        asked, message = pick(driver, file_of(name, data))
        check("Reprendre, %s: said" % what, (None, True, True),
              (asked, said in message, "rien n'a changé" in message))
        check("  and nothing changed", first, state(driver))
    # A phone's file (a UTF-8 mark, LF, UTF-8 text), refused at the question.
    phone = file_of("fruits.txt", b"\xef\xbb\xbfabricot\namand\xc3\xa9\nananas\n")
    asked, message = pick(driver, phone, agree=False)
    check("Reprendre over answers asks first", True, asked is not None and "fruits.txt" in asked)
    check("  no: nothing changed", (True, first), ("Rien n'a changé" in message, state(driver)))
    driver.find_element(By.ID, "hide-found").click()
    check("  Cacher hides question 1", False, shown(driver, "picture-1"))
    asked, message = pick(driver, phone)
    after = state(driver)
    check("  yes: the phone's file is read", (["abricot", "amandé", "ananas"] + [""] * 18, " 2 / 21"),
          (after[0], after[2]))
    check("  Cacher still does what its box shows", [True, False, True, False],
          [driver.find_element(By.ID, "hide-found").is_selected(), shown(driver, "picture-1"),
           shown(driver, "picture-2"), shown(driver, "picture-3")])
    check("  one step back is offered", (True, "Annuler la reprise"),
          (shown(driver, "undo-resume"), text(driver, "undo-resume")))
    driver.find_element(By.ID, "undo-resume").click()
    check("Annuler la reprise: the answers before it", first, state(driver))
    check("  and the step forward is offered", "Refaire la reprise", text(driver, "undo-resume"))
    open_page(driver, page)
    check("  kept through a reload", (first, True), (state(driver), shown(driver, "undo-resume")))
    check("  after the reload, the box shows what the game does", (False, True),
          (driver.find_element(By.ID, "hide-found").is_selected(), shown(driver, "picture-1")))
    driver.find_element(By.ID, "undo-resume").click()
    check("Refaire la reprise: the file's answers again", after, state(driver))
    # A Mac's file: CR alone, fewer lines than fields.
    pick(driver, file_of("mac.txt", b"abricot\ramande\r"))
    check("Reprendre reads CR line ends", (["abricot", "amande"] + [""] * 19, " 2 / 21"),
          tuple(state(driver)[0::2]))
    # The core's memory full: said, and nothing changes.
    before = state(driver)
    driver.execute_script("window.quizCore.then((m) => { window.realMalloc = m._malloc; m._malloc = () => 0; });")
    asked, message = pick(driver, phone)
    check("memory refused: a file is not read", (None, True, before), (asked, "mémoire" in message, state(driver)))
    answer(driver, 4, "banane")
    check("  a typed answer is not judged, and that is said", (before[1], True),
          (state(driver)[1], "mémoire" in text(driver, "message")))
    driver.execute_script("window.quizCore.then((m) => { m._malloc = window.realMalloc; });")
    check("  memory back: the game goes on", "BRAVO", answer(driver, 4, "banane"))


def republish(driver):
    """The author fixes the quiz and makes the page again at the same place:
    the player's answers come back, judged by the new quiz, and it is said."""
    folder = os.path.join(scratch, "reprise")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), folder)

    def made(subtitle, answers, executable="reprise", kind=1, name="reprise"):
        source = os.path.join(folder, "quiz.toml")
        with open(source, "w", encoding="utf-8") as f:
            f.write('executable = "%s"\nquizKind = %d\ntitle = "Reprise"\nsubtitle = "%s"\nlayoutType = 2\n'
                    'puzzle = "grille.gif"\n' % (executable, kind, subtitle))
            for a in answers:
                f.write('\n[[question]]\nanswer = "%s"\ntext = "Indice"\n' % a)
        return page_of(source, name)

    page = made("Première", ["Rome", "Oslo"])
    open_page(driver, page)
    answer(driver, 1, "rome")
    answer(driver, 2, "oslo")
    check("republish: played first", " 2 / 2", text(driver, "score"))
    oslo_for_berne = verdicts([("BERNE", "oslo")])[0]
    for what, subtitle, answers, expected in [
            ("a corrected subtitle", "Seconde", ["Rome", "Oslo"], [["rome", "oslo"], ["BRAVO", "BRAVO"], " 2 / 2"]),
            ("a changed answer", "Seconde", ["Rome", "Berne"],
             [["rome", "oslo"], ["BRAVO", oslo_for_berne], " 1 / 2"]),
            ("an added question", "Troisième", ["Rome", "Berne", "Oslo"],
             [["rome", "oslo", ""], ["BRAVO", oslo_for_berne, "?"], " 1 / 3"])]:
        assert made(subtitle, answers) == page
        open_page(driver, page)
        check("republish, %s: the answers judged again" % what, (subtitle, expected),
              (text(driver, "subtitle"), state(driver)))
        check("  and the change is said", True, "Ce quiz a changé" in text(driver, "message"))
        open_page(driver, page)
        check("  said once", ("", expected), (text(driver, "message"), state(driver)))
    kept = state(driver)
    open_page(driver, made("Troisième", ["Rome", "Berne", "Oslo"], executable="autre", name="autre"))
    check("another quiz's name shares nothing", [[""] * 3, ["?"] * 3, " 0 / 3"], state(driver))
    # Pages made before kept the bare answers under the name and a hash of the quiz.
    driver.execute_script("localStorage.setItem('quizpack:ancien:0badc0de', 'rome\\r\\noslo\\r\\n')")
    open_page(driver, made("Troisième", ["Rome", "Berne", "Oslo"], executable="ancien", name="ancien"))
    check("an earlier page's answers come back under the name",
          [["rome", "oslo", ""], ["BRAVO", oslo_for_berne, "?"], " 1 / 3"], state(driver))
    # A quiz of another kind: no rows, no Cacher, nothing saved, as in the .exe.
    made("Troisième", ["Rome", "Berne", "Oslo"], kind=2)
    open_page(driver, page)
    check("another kind: no field, no Cacher, the score", ([[], [], " 0 / 3"], False, ""),
          (state(driver), shown(driver, "hide-found-box"), text(driver, "code")))
    driver.find_element(By.ID, "save").click()
    check("  Sauver says there is nothing to save", True, "rien à sauver" in text(driver, "message"))
    made("Troisième", ["Rome", "Berne", "Oslo"])
    open_page(driver, page)
    check("  the answers kept before are untouched", kept, state(driver))


def exe_save(page_bytes):
    """The .exe, under Wine, given the page's answers: the file it saves."""
    folder = os.path.join(scratch, "exe")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(player, folder)
    env = dict(os.environ, WINEDEBUG="-all")
    if "QUIZ_WINEPREFIX" in os.environ:
        env["WINEPREFIX"] = os.environ["QUIZ_WINEPREFIX"]
    running = subprocess.Popen(["wine", os.path.basename(player)], cwd=folder, env=env)
    subprocess.run(["wine", driver_exe, "wait", "60"], env=env, check=True)
    for a, line in enumerate(page_bytes.split(b"\r\n")[:-1], start=1):
        if line:
            subprocess.run(["wine", driver_exe, "answer", str(4000 + a), line.decode("cp1252")], env=env,
                           stdout=subprocess.DEVNULL)
    subprocess.run(["wine", driver_exe, "save"], env=env, stdout=subprocess.DEVNULL)
    subprocess.run(["wine", driver_exe, "close"], env=env)
    running.wait(timeout=60)
    with open(os.path.join(folder, os.path.splitext(os.path.basename(player))[0] + ".txt"), "rb") as f:
        return f.read()


def axe(driver, what="the sample"):
    with open(axe_path, encoding="utf-8") as f:
        driver.execute_script(f.read())
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']},"
        " rules: {'color-contrast': {enabled: false}}}).then(r => done(r.violations.map(v => [v.id, v.impact])));")
    serious = [v for v in result if v[1] in ("serious", "critical")]
    check("axe-core, %s: no serious or critical violation" % what, [], serious)
    # The page's own colours, everywhere but the texts drawn on the author's
    # background (number labels, captions, hints), whose colours the author chose.
    contrast = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run({include: [document], exclude: [['#grid .number'], ['#grid .hint']]},"
        " {runOnly: {type: 'rule', values: ['color-contrast']}})"
        ".then(r => done([r.passes.length ? r.passes[0].nodes.length : 0,"
        " r.violations.flatMap(v => v.nodes.map(n => n.target.join(' ') + ': ' + n.failureSummary))]));")
    check("axe-core, %s: the page's own texts pass AA contrast" % what, [], contrast[1])
    check("  and it judged texts indeed", True, contrast[0] > 10)


def count_shows(driver, k):
    """Whether question k's letter count changes a pixel of the screen: the
    screen with it and without it, the count's box in the middle of it."""
    driver.execute_script(
        "document.activeElement.blur();"
        "document.querySelector('#picture-' + arguments[0] + ' .count').scrollIntoView({block: 'center'});", k)
    shots = []
    for visibility in ("visible", "hidden"):
        driver.execute_script("document.querySelector('#picture-' + arguments[0] + ' .count').style.visibility ="
                              " arguments[1];", k, visibility)
        shots.append(driver.get_screenshot_as_png())
    driver.execute_script("document.querySelector('#picture-' + arguments[0] + ' .count').style.visibility = '';", k)
    return shots[0] != shots[1]


def png(width, height):
    """A grey picture of that size, as a PNG."""
    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))
    rows = b"".join(b"\0" + b"\x99" * width for _ in range(height))
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 0, 0, 0, 0)) +
            chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


def with_link(page, link):
    """The page with another link text in its built-in record, whatever
    quizpack check would say of it: the record decoded, changed and coded
    again by quizpack lzw (the quiz is stored unscrambled)."""
    with open(page, encoding="utf-8") as f:
        html = f.read()
    start = html.index('id="quiz-data">') + len('id="quiz-data">')
    end = html.index("</script>", start)
    data = json.loads(html[start:end])
    record = base64.b64decode(data["records"][0])
    stream, plain = os.path.join(scratch, "builtin.lzw"), os.path.join(scratch, "builtin.bin")
    with open(stream, "wb") as f:
        f.write(record)
    subprocess.run([quizpack, "lzw", "decode", stream, plain], check=True, stdout=subprocess.DEVNULL)
    with open(plain, "rb") as f:
        fields = f.read().split(b"|")
    fields[0] = fields[0][:2] + link.encode("cp1252")  # two bytes the loader skips, then the link
    with open(plain, "wb") as f:
        f.write(b"|".join(fields))
    subprocess.run([quizpack, "lzw", "encode", plain, stream], check=True, stdout=subprocess.DEVNULL)
    with open(stream, "rb") as f:
        coded = f.read()
    assert len(coded) <= len(record), "the changed record outgrows its place"
    data["records"][0] = base64.b64encode(coded + bytes(len(record) - len(coded))).decode()
    hostile = page.replace(".html", "-hostile.html")
    with open(hostile, "w", encoding="utf-8") as f:
        f.write(html[:start] + json.dumps(data) + html[end:])
    return hostile


def hostile(driver):
    """A quiz whose page data names a script for its link, and whose hints a
    player would read in the page's source before finding anything."""
    folder = os.path.join(scratch, "hostile")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), folder)
    with open(os.path.join(folder, "hostile.toml"), "w", encoding="utf-8") as f:
        f.write('executable = "hostile"\ntitle = "Hostile"\nlayoutType = 2\nscrambled = false\n'
                'linkText = "https://q.example"\nstatusText = "Bonne chance"\npuzzle = "grille.gif"\n' +
                "".join('\n[[question]]\nanswer = "%s"\ntext = "SECRET-INDICE-%d"\n' % (a, k)
                        for k, a in enumerate(["POMME", "ORANGE", "CITRON"], start=1)))
    page = with_link(page_of(os.path.join(folder, "hostile.toml"), "hostile"), "javascript:alert(1)")
    view(driver, 1280, 800)
    open_page(driver, page)
    check("hostile: the page read its changed record", [" 0 / 3", "Bonne chance", ""],
          [text(driver, "score"), text(driver, "status"), text(driver, "message")])
    check("  a script for a link: no link, nothing that opens one", [False, None, 0], [
        driver.find_element(By.ID, "link").is_displayed(), driver.find_element(By.ID, "link").get_attribute("href"),
        driver.execute_script("return document.querySelectorAll('[href]').length")])
    driver.execute_script("document.activeElement.blur();")
    order = []
    for _ in range(5):
        ActionChains(driver).send_keys(Keys.TAB).perform()
        order.append(driver.switch_to.active_element.get_attribute("id"))
    check("  Tab goes from the header's controls to the first field, no link between",
          ["code", "hide-found", "save", "resume", "answer-1"], order)
    source = lambda: driver.execute_script("return document.documentElement.outerHTML")
    check("  no hint is in the page before its find", [False, False, False],
          ["SECRET-INDICE-%d" % k in source() for k in (1, 2, 3)])
    check("  'Essayer partout' waits for a field typed in", False, driver.find_element(By.ID, "fill").is_enabled())
    check("  a find: BRAVO", "BRAVO", answer(driver, 1, "pomme"))
    check("  its hint shows, and only its", [True, "SECRET-INDICE-1", False, False],
          [driver.find_element(By.ID, "hint-1").is_displayed(), text(driver, "hint-1")] +
          ["SECRET-INDICE-%d" % k in source() for k in (2, 3)])
    answer(driver, 1, "zzz")
    check("  a wrong answer takes the hint out again", False, "SECRET-INDICE-1" in source())
    # Ctrl+Enter in a field, typed as a player types: its text everywhere open.
    field = driver.find_element(By.ID, "answer-2")
    field.click()
    field.send_keys("orange")
    check("  typed in: the button is on", True, driver.find_element(By.ID, "fill").is_enabled())
    field.send_keys(Keys.CONTROL, Keys.ENTER)
    check("  Ctrl+Enter: the field judged, its text tried in every open field",
          [["orange", "BRAVO"], ["orange", "FAUX"], ["orange", "FAUX"]],
          [[text(driver, "answer-%d" % a), text(driver, "verdict-%d" % a)] for a in (2, 1, 3)])
    # The button, pressed without the field losing the focus (a touch
    # screen): the field's new text is judged first, then spread.
    field = driver.find_element(By.ID, "answer-3")
    field.click()
    field.clear()
    field.send_keys("citron")
    driver.execute_script("document.getElementById('fill').click();")
    check("  the button: the text last typed, judged first, then everywhere open",
          [["citron", "BRAVO"], ["citron", "FAUX"], ["orange", "BRAVO"]],
          [[text(driver, "answer-%d" % a), text(driver, "verdict-%d" % a)] for a in (3, 1, 2)])
    field = driver.find_element(By.ID, "answer-1")
    field.click()
    field.clear()
    field.send_keys("pomme", Keys.F1)
    check("  F1 where the browser lets it through: the same", "BRAVO", text(driver, "verdict-1"))
    answer(driver, 1, "pome")
    axe(driver, "the hostile quiz")


def small_puzzle(driver):
    """A 300 x 200 puzzle: the count, written at (183, 468), falls outside
    it, and is cut as on the player's bitmap instead of drawn over the next row."""
    folder = os.path.join(scratch, "petit")
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, "petit.png"), "wb") as f:
        f.write(png(300, 200))
    with open(os.path.join(folder, "petit.toml"), "w", encoding="utf-8") as f:
        f.write('executable = "petit"\ntitle = "Petit"\nlayoutType = 0\npuzzle = "petit.png"\n' +
                "".join('\n[[question]]\nanswer = "%s"\n' % a for a in ["CHAT", "CHIEN", "LOUP", "OURS", "LIEVRE", "RENARD", "CERF", "BICHE", "SANGLIER", "BLAIREAU"]))
    view(driver, 1280, 800)
    open_page(driver, page_of(os.path.join(folder, "petit.toml"), "petit"))
    check("a 300 x 200 puzzle: its letter count falls below the picture", True, driver.execute_script(
        "return document.querySelector('#picture-1 .count').getBoundingClientRect().top >="
        " document.getElementById('picture-1').getBoundingClientRect().bottom;"))
    check("  and shows nowhere, over the next row neither", False, count_shows(driver, 1))


def two_answers(driver):
    folder = os.path.join(scratch, "deux")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), folder)
    long_answer = "ABCDEFGHIJKLMNOPQRST"
    with open(os.path.join(folder, "deux.toml"), "w", encoding="utf-8") as f:
        f.write('executable = "deux"\ntitle = "Deux réponses"\nanswersPerQuestion = 2\nanswerCaption1 = "Ville"\n'
                'answerCaption2 = "Pays"\nlayoutType = 2\npuzzle = "grille.gif"\n\n'
                '[[question]]\nanswers = ["Rome", "Italie"]\ntext = "Au sud."\n\n'
                '[[question]]\nanswers = ["Monaco"]\ntext = "Une seule."\n\n'
                '[[question]]\nanswer = "%s"\ntext = "Longue."\n' % long_answer)
    open_page(driver, page_of(os.path.join(folder, "deux.toml"), "deux"))
    check("no author: the page says no « Par : »", False, shown(driver, "by"))
    captions = driver.execute_script(
        "return [1, 2].map(a => { const c = document.querySelector('label[for=answer-' + a + '] .caption');"
        " const f = document.getElementById('answer-' + a).getBoundingClientRect();"
        " if (!c) return null; const r = c.getBoundingClientRect();"
        " return [c.textContent, r.width > 0 && r.height > 0, r.right <= f.left, r.top < f.bottom && r.bottom > f.top]; });")
    check("two answers: each field's caption on screen, before it, on its line",
          [["Ville", True, True, True], ["Pays", True, True, True]], captions)
    check("two answers: a one-answer question shows one field", [True, False],
          [driver.find_element(By.ID, "answer-3").is_displayed(), driver.find_element(By.ID, "answer-4").is_displayed()])
    answer(driver, 1, "rome")
    check("  one of two right: not found yet", " 0 / 3", text(driver, "score"))
    answer(driver, 2, "italie")
    check("  both right: found", " 1 / 3", text(driver, "score"))
    check("  the one-answer question: found with its one", "BRAVO", answer(driver, 3, "monaco"))
    name, saved_bytes = saved(driver)
    check("  its hidden second line is what the .exe writes", b"rome\r\nitalie\r\nmonaco\r\n-\r\n\r\n-\r\n",
          saved_bytes)
    # Every kind of verdict, as quizpack verdict gives it, in the page.
    candidates = [long_answer[:n] for n in range(1, 20)] + [long_answer + "XYZ"[:n] for n in range(1, 4)]
    candidates += [long_answer[:i] + long_answer[i + 1:] for i in range(20)] + [long_answer[::-1], "ZZZZ"]
    candidates += [long_answer[:i] + "X" + long_answer[i:] for i in range(0, 20, 3)]
    candidates += [long_answer.lower(), "ABCXEFGXIJKXMNOPQRST"]  # right, and three letters changed
    kinds = {}
    for typed, expected in zip(candidates, verdicts([(long_answer, c) for c in candidates])):
        kinds.setdefault(expected, typed)
    check("every kind of verdict is reached", sorted(["Anagramme", "Quasiment", "Presque", "Trop court", "Trop long",
                                                      "Pas loin", "y a de l'idée", "FAUX", "BRAVO"]), sorted(kinds))
    check("  and the page gives each as quizpack verdict does", list(kinds),
          [answer(driver, 5, typed) for typed in kinds.values()])
    # 300 random answers, their verdicts equal to quizpack verdict's.
    rng = random.Random(28)
    letters = "ABCDEFGHIJKLMNOPQRSTabcdeféèàç -'"
    typed = ["".join(rng.choice(letters) for _ in range(rng.randint(0, 24))) for _ in range(300)]
    expected = verdicts([(long_answer, t) for t in typed])
    got = [answer(driver, 5, t) for t in typed]
    check("300 random answers: the page's verdicts are quizpack verdict's", expected, got)


def colours(driver):
    """The colours the page's style gives what the core names: each kind of
    verdict as the player paints its result labels, and the labels' ink on
    a dark background and on a light one."""
    folder = os.path.join(scratch, "couleurs")
    os.makedirs(folder, exist_ok=True)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), folder)
    label = "return getComputedStyle(document.querySelector('label[for=answer-1]')).color"
    for name, background, ink in [("sombre", "[0, 0, 40]", "rgb(255, 255, 255)"),
                                  ("clair", "[90, 95, 150]", "rgb(0, 0, 0)")]:
        with open(os.path.join(folder, name + ".toml"), "w", encoding="utf-8") as f:
            f.write('executable = "%s"\ntitle = "Couleurs"\nbackground = %s\nlayoutType = 0\npuzzle = "grille.gif"\n\n'
                    '[[question]]\nanswer = "ABRICOT"\n' % (name, background))
        open_page(driver, page_of(os.path.join(folder, name + ".toml"), name))
        check("the labels' ink on a background %s" % background, ink, driver.execute_script(label))
    shade = lambda: driver.execute_script("return getComputedStyle(document.getElementById('verdict-1')).backgroundColor")
    got = [[answer(driver, 1, typed), shade()] for typed in ["", "abricot", "zzz", "tocirba", "abricoz", "abric"]]
    check("each verdict in the player's colour", [
        ["?", "rgb(212, 208, 200)"], ["BRAVO", "rgb(0, 255, 0)"], ["FAUX", "rgb(255, 0, 0)"],
        ["Anagramme", "rgb(255, 100, 0)"], ["Quasiment", "rgb(255, 203, 38)"], ["Presque", "rgb(255, 203, 38)"]], got)


def compiled_later():
    """A browser that refuses to compile or start the core at once: the page
    falls back on doing it in the background, and plays the same."""
    driver = browser()
    try:
        driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source":
            "WebAssembly.Module = function () { throw new RangeError('too big to compile at once'); };"
            "WebAssembly.Instance = function () { throw new RangeError('too big to start at once'); };"})
        open_page(driver, page_of(os.path.join(top, "quizzes/fruits/fruits.toml"), "later"))
        check("a core compiled in the background: the page plays", [" 0 / 21", "FAUX"],
              [text(driver, "score"), answer(driver, 1, "zzz")])
        driver.execute_script("localStorage.clear();")  # the same quiz, in the same profile, comes next
    finally:
        driver.quit()


def main():
    compiled_later()
    driver = browser()
    try:
        sample(driver)
        republish(driver)
        two_answers(driver)
        hostile(driver)
        small_puzzle(driver)
        colours(driver)
    finally:
        driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d passed, %d failed" % (checks - failures, failures))
    return 1 if failures else 0


sys.exit(main())
