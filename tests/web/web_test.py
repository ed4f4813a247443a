#!/usr/bin/python3
"""The quiz's web page in a real browser (headless Chromium through Selenium):
the sample played (a find, the score and code, the marked picture), every
kind of hint, a reload that restores, "Sauver" against the .exe's own save
under Wine, a two-answer quiz of our own, 300 random answers against
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
    # "Reprendre" loads a progress file.
    resume = os.path.join(scratch, "resume.txt")
    with open(resume, "wb") as f:
        f.write(b"\r\n\r\nananas\r\n")
    driver.execute_script("document.getElementById('resume-file').hidden = false;")
    driver.find_element(By.ID, "resume-file").send_keys(resume)
    time.sleep(0.5)
    check("Reprendre loads a progress file", ["?", "BRAVO", " 1 / 21"],
          [text(driver, "verdict-1"), text(driver, "verdict-3"), text(driver, "score")])


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
        two_answers(driver)
    finally:
        driver.quit()
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d passed, %d failed" % (checks - failures, failures))
    return 1 if failures else 0


sys.exit(main())
