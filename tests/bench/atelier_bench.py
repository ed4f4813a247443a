#!/usr/bin/python3
"""The atelier's speed and memory against quizpack's, in one run: the
sample's .exe made in the page (its files handed over, checked, made) against
`quizpack exe` (goal: 2x at most); a mosaic of 24 photos of 12 megapixels
likewise, and the library's WebAssembly memory at its peak (goal: 256 MB at
most); the page's size and its time to ready. Prints, never fails on a time:
the machine's load moves both sides.

  atelier_bench.py QUIZPACK SOURCE_TREE WINDOWS_BUILD [ROUNDS]
"""
import glob
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "web"))
from headless import chromium  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402

quizpack, top, build = (os.path.abspath(p) for p in sys.argv[1:4])
rounds = int(sys.argv[4]) if len(sys.argv) > 4 else 3
stub = os.path.join(build, "player-stub.exe")
scratch = tempfile.mkdtemp(prefix="quiz-atelier-bench-")
downloads = os.path.join(scratch, "downloads")
os.makedirs(downloads)

photos = os.path.join(build, "bench-photos")
if not os.path.exists(os.path.join(photos, "photo24.jpg")):
    os.makedirs(photos, exist_ok=True)
    subprocess.run([os.path.join(build, "host/tools/example_pictures/example_pictures"), "photos", photos, "24"], check=True)
mosaic = os.path.join(photos, "atelier-photos.toml")
with open(mosaic, "w") as f:
    f.write('executable = "photos"\ntitle = "Photos"\n\n[mosaique]\n')
    for i in range(1, 25):
        f.write('\n[[question]]\nimage = "photo%d.jpg"\nanswer = "Photo %s"\n' % (i, chr(64 + i)))

atelier = os.path.join(scratch, "atelier.html")
subprocess.run([quizpack, "atelier", "--out", atelier, "--stub", stub], check=True, stdout=subprocess.DEVNULL)


def native(source):
    start = time.perf_counter()
    subprocess.run([quizpack, "exe", source, "--stub", stub, "--out", os.path.join(scratch, "native.exe")],
                   check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return (time.perf_counter() - start) * 1000


driver = chromium(scratch, {"download.default_directory": downloads, "download.prompt_for_download": False})
driver.set_script_timeout(300)
# Waits for a step `what` after the first `start` steps.
WAIT = ("const [what, start, done] = arguments; const wait = () => window.atelierStats().timings.slice(start)"
        ".some(s => s.what === what) ? done() : setTimeout(wait, 10); wait();")
STEPS = "return window.atelierStats().timings.length;"
try:
    readies = []
    for _ in range(rounds):
        driver.get("file://" + atelier)
        driver.execute_async_script("const done = arguments[0]; const wait = () => window.atelierReady ?"
                                    " done() : setTimeout(wait, 5); wait();")
        readies.append(driver.execute_script("return window.atelierReady;"))
    print("the atelier: %d bytes, ready in %.0f ms (median of %d)" % (os.path.getsize(atelier), statistics.median(readies), rounds))

    for name, source, pictures in (("the sample", os.path.join(top, "quizzes/fruits/fruits.toml"), []),
                                   ("a mosaic of 24 photos of 12 megapixels", mosaic,
                                    sorted(glob.glob(os.path.join(photos, "photo*.jpg"))))):
        page, floor = [], []
        for _ in range(rounds):
            start = driver.execute_script(STEPS)
            driver.find_element(By.ID, "open").send_keys("\n".join([source] + pictures))
            driver.execute_async_script(WAIT, "check", start)
            driver.find_element(By.ID, "download-exe").click()
            driver.execute_async_script(WAIT, "make", start)
            steps = driver.execute_script("return window.atelierStats().timings;")[start:]
            page.append(sum(s["ms"] for s in steps))  # this round's read, check and make
            floor.append(native(source))
        memory = driver.execute_script("return window.atelierStats().memory;") / 1e6
        p, f = statistics.median(page), statistics.median(floor)
        print("%s: made in the page in %.0f ms, by quizpack exe in %.0f ms: %.2fx (goal: 2 at most)" % (name, p, f, p / f))
        print("%s: the library's memory at its peak %.0f MB (goal: 256 at most)" % (name, memory))
finally:
    driver.quit()
    shutil.rmtree(scratch, ignore_errors=True)
