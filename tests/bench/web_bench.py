#!/usr/bin/python3
"""The web page's speed: from opening it to its first answer field ready
(the core compiled and started, the saved answers restored, the fields
filled and listening: window.quizReady), for the sample and the 96-question
quiz, against a floor: the same page without its scripts (quizpack web
--floor), so the same pictures and fields, ready once the HTML is parsed
(domContentLoadedEventEnd). Page and floor take turns, round by round, in one
browser. Prints both medians, their ratio (goal: 1.5 at most), and the
page's size against the .exe's (goal: a third more at most). Prints, never
fails on a time: the machine's load moves both.

  web_bench.py QUIZPACK SOURCE_TREE WINDOWS_BUILD [ROUNDS]
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web"))
from headless import chromium  # noqa: E402

quizpack, top, build = sys.argv[1:4]
rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 5
scratch = tempfile.mkdtemp(prefix="quiz-web-bench-")

driver = chromium(scratch)
driver.set_page_load_timeout(60)

READY = ("return new Promise(done => { const wait = () => window.quizReady ? done(window.quizReady)"
         " : setTimeout(wait, 5); wait(); });")
FLOOR = "return performance.getEntriesByType('navigation')[0].domContentLoadedEventEnd;"

try:
    for source, exe in (("quizzes/fruits/fruits.toml", "fruits.exe"), ("tests/windows/fixtures/fruits/quiz96.toml", "quiz96.exe")):
        name = os.path.splitext(os.path.basename(source))[0]
        page, floor = os.path.join(scratch, name + ".html"), os.path.join(scratch, name + "-floor.html")
        subprocess.run([quizpack, "web", os.path.join(top, source), "--out", page], check=True, stdout=subprocess.DEVNULL)
        subprocess.run([quizpack, "web", os.path.join(top, source), "--out", floor, "--floor"], check=True,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        times, floors = [], []
        for _ in range(rounds + 1):  # a first round to warm the browser, not counted
            driver.get("file://" + page)
            times.append(driver.execute_script(READY))
            driver.execute_script("localStorage.clear();")
            driver.get("file://" + floor)
            floors.append(driver.execute_script(FLOOR))
        t, f = statistics.median(times[1:]), statistics.median(floors[1:])
        size, exe_size = os.path.getsize(page), os.path.getsize(os.path.join(build, exe))
        print("%s: the page's first field ready in %.0f ms, the floor's in %.0f ms: %.2fx (goal: 1.5 at most)"
              % (name, t, f, t / f))
        print("%s: the page %d bytes, the .exe %d: %.2fx (goal: 1.33 at most)" % (name, size, exe_size, size / exe_size))
finally:
    driver.quit()
    shutil.rmtree(scratch, ignore_errors=True)
