#!/usr/bin/python3
"""The atelier in headless Chromium, as an author uses it: a quiz's files
chosen in `open`, every problem shown, the .exe, the page and the key
downloaded; each against what quizpack makes of the same files on a disk:
the same lines, the same bytes. No request leaves the page.

  atelier_test.py QUIZPACK SOURCE_TREE PLAYER_STUB
"""
import glob
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from headless import chromium  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

quizpack, top, stub = (os.path.abspath(p) for p in sys.argv[1:4])
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

    broken = os.path.join(scratch, "broken")
    os.makedirs(broken)
    with open(os.path.join(broken, "quiz.toml"), "w") as f:
        f.write('executable = "essai"\ntitel = "Essai"\npuzzle = "absente.gif"\n\n[[question]]\nanswer = "Paris"\n')
    quizzes = [
        ("the sample (a word search)", os.path.join(top, "quizzes/fruits/fruits.toml"), []),
        ("a picture quiz of 96 questions", os.path.join(top, "tests/windows/fixtures/fruits/quiz96.toml"),
         sorted(glob.glob(os.path.join(top, "tests/windows/fixtures/fruits/*.gif")))),
        ("a broken source", os.path.join(broken, "quiz.toml"), []),
    ]
    for name, source, pictures in quizzes:
        for old in os.listdir(downloads):
            os.remove(os.path.join(downloads, old))
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
            check("%s: %s downloaded, the very bytes quizpack writes (%s against %d)"
                  % (name, file, "none" if got is None else len(got), len(want)), got == want)
    remote = driver.execute_script("return performance.getEntriesByType('resource')"
                                   ".map(e => e.name).filter(n => !n.startsWith('blob:') && !n.startsWith('data:'));")
    check("nothing remote requested " + repr(remote), remote == [])
finally:
    driver.quit()
    shutil.rmtree(scratch, ignore_errors=True)

print("%d failure(s)" % len(failures))
sys.exit(1 if failures else 0)
