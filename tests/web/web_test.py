#!/usr/bin/python3
"""The quiz's web page in a real browser (headless Chromium through Selenium):
the sample played (a find, the score and code, the marked picture), every
kind of hint, a reload that restores, "Sauver" against the .exe's own save
under Wine, "Reprendre" of hostile files and its one step back, a quiz made
again by its author, a quiz of another kind, a two-answer quiz of our own, 300 random answers against
quizpack verdict, screenshots on a wide screen and a phone, and axe-core.

  web_test.py QUIZPACK SOURCE_TREE AXE_JS OUT_DIR [PLAYER_EXE DRIVER_EXE]
"""
import os
import random
import shutil
import subprocess
import sys
import tempfile
import time

from headless import chromium
from selenium.common.exceptions import NoAlertPresentException
from selenium.webdriver.common.by import By

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


def axe(driver):
    with open(axe_path, encoding="utf-8") as f:
        driver.execute_script(f.read())
    result = driver.execute_async_script(
        "const done = arguments[arguments.length - 1];"
        "axe.run(document, {runOnly: {type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa']},"
        " rules: {'color-contrast': {enabled: false}}}).then(r => done(r.violations.map(v => [v.id, v.impact])));")
    serious = [v for v in result if v[1] in ("serious", "critical")]
    check("axe-core: no serious or critical violation", [], serious)


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


def main():
    driver = browser()
    try:
        sample(driver)
        republish(driver)
        two_answers(driver)
    finally:
        driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d passed, %d failed" % (checks - failures, failures))
    return 1 if failures else 0


sys.exit(main())
