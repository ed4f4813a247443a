#!/usr/bin/python3
"""The quiz's SCORM package in a real browser with a real SCORM 1.2 run-time
(npm's scorm-again, pinned) playing the learning platform: a host page of
this test's own frames the package's page as a platform does, both served
from 127.0.0.1. Covered: the values after a wrong answer, a find and the
last find, the session's end on leaving; a return in a new browser profile
restored from the kept CMI data alone; a value the platform refuses; the
worst case (96 two-answer questions of long answers, all typed wrong: cut
at 4,096 characters, the rest in the browser) and a typical one; the page
without a platform says nothing of one.

  scorm_test.py QUIZPACK SOURCE_TREE SCORM12_JS
"""
import functools
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
import zipfile
from urllib.parse import urlencode

from headless import chromium
from selenium.webdriver.common.by import By

quizpack, top, scorm12 = sys.argv[1:4]
scratch = tempfile.mkdtemp(prefix="quiz-scorm-")
www = os.path.join(scratch, "www")
os.makedirs(www)
failures = 0
checks = 0
sizes = {}

# The platform's page: scorm-again's run-time as window.API, a return's CMI
# data given before the frame loads, every LMSSetValue logged (cmi.core.exit
# is write-only), and one element refused as the run-time refuses a value of
# the wrong type.
HOST = """<!DOCTYPE html><html lang="fr"><head><meta charset="utf-8"><title>Plateforme</title>
<script src="scorm12.js"></script>
<script>
  const asked = new URLSearchParams(location.search);
  window.API = new Scorm12API({autocommit: false, logLevel: 5});
  if (asked.get('cmi')) API.loadFromJSON(JSON.parse(asked.get('cmi')), '');
  window.sets = [];
  window.commits = 0;
  const set = API.LMSSetValue.bind(API), commit = API.LMSCommit.bind(API);
  API.LMSSetValue = (name, value) => {
    window.sets.push([name, String(value)]);
    return set(name, name === asked.get('refuse') ? 'pas un nombre' : value);
  };
  API.LMSCommit = (empty) => { window.commits++; return commit(empty); };
</script></head>
<body><iframe id="sco" title="Le quiz" src="%s" style="width:1200px;height:700px"></iframe></body></html>
"""


def check(what, expected, actual):
    global failures, checks
    checks += 1
    if expected == actual:
        print("ok   " + what)
    else:
        failures += 1
        print("FAIL %s: expected %r, got %r" % (what, expected, actual))


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=www))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def package(source, name):
    """The package quizpack writes, unpacked under www/NAME as a platform does; its launch page."""
    zip_path = os.path.join(scratch, name + ".zip")
    subprocess.run([quizpack, "scorm", source, "--out", zip_path], check=True, stdout=subprocess.DEVNULL)
    with zipfile.ZipFile(zip_path) as z:
        z.extractall(os.path.join(www, name))
        launch = re.search(rb'adlcp:scormtype="sco" href="([^"]+)"', z.read("imsmanifest.xml")).group(1).decode()
    return name + "/" + launch, os.path.getsize(zip_path)


def host(driver, port, launch, cmi=None, refuse=None):
    with open(os.path.join(www, "host.html"), "w", encoding="utf-8") as f:
        f.write(HOST % launch)
    query = "?" + urlencode({k: v for k, v in (("cmi", cmi and json.dumps(cmi)), ("refuse", refuse)) if v})
    driver.get("http://127.0.0.1:%d/host.html%s" % (port, query))
    driver.switch_to.frame("sco")
    for _ in range(300):
        if driver.execute_script("return document.body && document.body.dataset.ready === '1'"):
            return
        time.sleep(0.05)
    raise SystemExit("the framed page never got ready")


def platform(driver, script):
    """`script` run in the host page, the frame's page left as it is."""
    driver.switch_to.default_content()
    try:
        return driver.execute_script(script)
    finally:
        driver.switch_to.frame("sco")


def cmi(driver):
    return platform(driver, "return API.renderCMIToJSONObject().cmi;")


def last_set(driver, name):
    return platform(driver, "const s = window.sets.filter(p => p[0] === arguments[0]); return s.length ? s[s.length - 1][1] : null;"
                    .replace("arguments[0]", json.dumps(name)))


def answer(driver, field, typed):
    driver.execute_script(
        "const f = document.getElementById('answer-' + arguments[0]); f.value = arguments[1];"
        "f.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter', bubbles: true}));", field, typed)
    return driver.execute_script("return document.getElementById('verdict-' + arguments[0]).textContent;", field)


def answers_of(source):
    with open(source, encoding="utf-8") as f:
        return re.findall(r'^answer = "([^"]*)"', f.read(), re.M)


def message(driver):
    return driver.execute_script("return document.getElementById('message').textContent;")


def leave(driver):
    """The pupil leaves: the platform takes the frame away (pagehide)."""
    driver.switch_to.default_content()
    driver.execute_script("document.getElementById('sco').remove();")


def played(port, launch, fruits):
    profile = os.path.join(scratch, "first")
    driver = chromium(profile)
    try:
        host(driver, port, launch)
        score = lambda: cmi(driver)["core"]["score"]
        check("LMSInitialize, then the first values", [True, {"raw": "0", "min": "0", "max": "21"}, "incomplete"],
              [platform(driver, "return API.isInitialized();"), score(), cmi(driver)["core"]["lesson_status"]])
        check("a wrong answer", "FAUX", answer(driver, 1, "zzz"))
        check("  the score stays 0, incomplete", ["0", "incomplete"],
              [score()["raw"], cmi(driver)["core"]["lesson_status"]])
        check("  the typed text in the suspend data", True, cmi(driver)["suspend_data"].endswith("|zzz"))
        commits = platform(driver, "return window.commits;")
        check("a find", "BRAVO", answer(driver, 1, fruits[0].lower()))
        check("  score.raw 1, still incomplete, committed", ["1", "incomplete", True],
              [score()["raw"], cmi(driver)["core"]["lesson_status"], platform(driver, "return window.commits;") > commits])
        for k, fruit in enumerate(fruits[1:-1], start=2):
            answer(driver, k, fruit.capitalize())
        check("  one to find", ["20", "incomplete"], [score()["raw"], cmi(driver)["core"]["lesson_status"]])
        check("the last find", "BRAVO", answer(driver, 21, fruits[-1]))
        check("  score.raw 21 of 21, completed", [{"raw": "21", "min": "0", "max": "21"}, "completed"],
              [score(), cmi(driver)["core"]["lesson_status"]])
        kept = cmi(driver)
        sizes["typical"] = len(kept["suspend_data"])
        check("  the whole quiz in three characters an answer", 10 + 21 * 3, sizes["typical"])
        check("  nothing said of the platform", "", message(driver))
        leave(driver)
        check("leaving: exit suspend, a time span, LMSFinish", ["suspend", True, True],
              [driver.execute_script("const s = window.sets.filter(p => p[0] === 'cmi.core.exit'); return s.length ? s[s.length - 1][1] : null;"),
               bool(re.fullmatch(r"\d{2,4}:\d\d:\d\d\.\d\d", driver.execute_script(
                   "const s = window.sets.filter(p => p[0] === 'cmi.core.session_time'); return s.length ? s[s.length - 1][1] : '';"))),
               driver.execute_script("return API.isTerminated();")])
        return kept
    finally:
        driver.quit()


def returned(port, launch, kept, fruits):
    """Another computer: a new profile, nothing in its storage, the CMI data the platform kept."""
    driver = chromium(os.path.join(scratch, "second"))
    try:
        again = {"core": {"entry": "resume", "lesson_status": kept["core"]["lesson_status"],
                          "score": kept["core"]["score"]},
                 "suspend_data": kept["suspend_data"]}
        host(driver, port, launch, again)
        fields = driver.execute_script(
            "return [...document.querySelectorAll('input[data-field]')].map(f => f.value);")
        check("a return in a new profile: every answer as typed", [fruits[0].lower()] +
              [f.capitalize() for f in fruits[1:-1]] + [fruits[-1]], fields)
        check("  judged again: 21 / 21", " 21 / 21", driver.execute_script(
            "return document.getElementById('score').textContent;"))
        check("  kept in this browser too", True, driver.execute_script(
            "return Object.keys(localStorage).some(k => localStorage.getItem(k).includes('abricot'));"))
    finally:
        driver.quit()


def refused(port, launch, fruits):
    driver = chromium(os.path.join(scratch, "refused"))
    try:
        host(driver, port, launch, refuse="cmi.core.score.raw")
        said = message(driver)
        check("a refused value is said in French, with the run-time's code", True,
              said.startswith("La plateforme refuse la valeur de cmi.core.score.raw (erreur 405"))
        check("  and the game goes on: a find, kept in the browser", ["BRAVO", " 1 / 21", True],
              [answer(driver, 1, fruits[0]), driver.execute_script("return document.getElementById('score').textContent;"),
               driver.execute_script("return Object.keys(localStorage).some(k => localStorage.getItem(k).includes('ABRICOT'));")])
        check("  the other values still reach the platform", "|\\U", cmi(driver)["suspend_data"][10:])
    finally:
        driver.quit()


def worst(port):
    folder = os.path.join(scratch, "long")
    os.makedirs(folder)
    shutil.copy(os.path.join(top, "tests/windows/fixtures/fruits/grille.gif"), folder)
    with open(os.path.join(folder, "long.toml"), "w", encoding="utf-8") as f:
        f.write('executable = "long"\ntitle = "Longues réponses"\nanswersPerQuestion = 2\nlayoutType = 0\n'
                'puzzle = "grille.gif"\n')
        for k in range(1, 97):
            f.write('\n[[question]]\nanswers = ["%s", "%s"]\n' % (("Ville numéro %d " % k).ljust(85, "a"),
                                                                  ("Pays %d " % k).ljust(85, "b")))
    launch, _ = package(os.path.join(folder, "long.toml"), "long")
    wrong = ["%03d" % f + ("é" if f % 2 else "x") * 82 for f in range(1, 193)]
    driver = chromium(os.path.join(scratch, "worst"))
    try:
        host(driver, port, launch)
        driver.execute_script(
            "arguments[0].forEach((typed, i) => { const f = document.getElementById('answer-' + (i + 1)); f.value = typed;"
            " f.dispatchEvent(new KeyboardEvent('keydown', {key: 'Enter', bubbles: true})); });", wrong)
        data = cmi(driver)["suspend_data"]
        sizes["worst"] = len(data)
        check("the worst case: within SCORM 1.2's 4,096 characters", True, len(data) <= 4096)
        check("  47 fields of 86 characters, then the mark", [10 + 47 * 86 + 3, "|\\."], [len(data), data[-3:]])
        check("  the browser keeps the rest, and says so",
              "La plateforme ne garde que 4096 caractères de réponses : celles des champs 48 à 192 "
              "restent dans ce navigateur seulement.", message(driver))
        check("  the browser's storage has all 192", True, driver.execute_script(
            "return Object.keys(localStorage).some(k => localStorage.getItem(k).includes(arguments[0]));", wrong[191]))
    finally:
        driver.quit()
    driver = chromium(os.path.join(scratch, "worst-return"))
    try:
        host(driver, port, launch, {"core": {"entry": "resume"}, "suspend_data": data})
        fields = driver.execute_script("return [...document.querySelectorAll('input[data-field]')].map(f => f.value);")
        check("  in a new profile, the 47 the platform kept, the rest empty", wrong[:47] + [""] * 145, fields)
        check("  said", True, "des 47 premiers champs" in message(driver))
    finally:
        driver.quit()


def alone(launch):
    """The package's page opened by itself, no platform anywhere."""
    driver = chromium(os.path.join(scratch, "alone"))
    try:
        driver.get("file://" + os.path.join(www, launch))
        for _ in range(300):
            if driver.execute_script("return document.body.dataset.ready === '1'"):
                break
            time.sleep(0.05)
        check("no platform: nothing said, the game plays", ["", "FAUX"], [message(driver), answer(driver, 1, "zzz")])
    finally:
        driver.quit()


def main():
    shutil.copy(scorm12, os.path.join(www, "scorm12.js"))
    server = serve()
    port = server.server_address[1]
    try:
        source = os.path.join(top, "quizzes/fruits/fruits.toml")
        fruits = answers_of(source)
        launch, zip_size = package(source, "fruits")
        page = os.path.join(scratch, "fruits.html")
        subprocess.run([quizpack, "web", source, "--out", page], check=True, stdout=subprocess.DEVNULL)
        with open(page, "rb") as a, open(os.path.join(www, launch), "rb") as b:
            check("the package's page is the page quizpack web writes", True, a.read() == b.read())
        print("sizes: package %d bytes, page %d bytes" % (zip_size, os.path.getsize(page)))
        kept = played(port, launch, fruits)
        returned(port, launch, kept, fruits)
        refused(port, launch, fruits)
        worst(port)
        alone(launch)
        print("suspend data: typical (21 found) %d, worst (192 long wrong answers) %d characters"
              % (sizes.get("typical", -1), sizes.get("worst", -1)))
    finally:
        server.shutdown()
        shutil.rmtree(scratch, ignore_errors=True)
    print("%d passed, %d failed" % (checks - failures, failures))
    return 1 if failures else 0


sys.exit(main())
