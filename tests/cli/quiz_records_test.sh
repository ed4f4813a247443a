#!/usr/bin/env bash
# The records the build packed from the quiz source load in the player's
# loader without an alert, with every question, code line and text in place.
# Usage: quiz_records_test.sh QUIZPACK QUIZ.toml QUIZ_BUILD_DIR
set -u
QP=$1
SOURCE=$2
DIR=$3
report=$(mktemp)
trap 'rm -f "$report"' EXIT
"$QP" inspect --json "$DIR/builtin.bin" "$DIR/record104.bin" "$DIR/record105.bin" >"$report" || exit 1
/usr/bin/python3 - "$SOURCE" "$report" <<'PYEOF'
import json, sys, tomllib
quiz = tomllib.load(open(sys.argv[1], "rb"))
r = json.load(open(sys.argv[2], encoding="utf-8"))
failures = []
def same(what, expected, got):
    if expected != got:
        failures.append(f"{what}: expected {expected!r}, got {got!r}")
same("alerts", [], r["alerts"])
defaults = {"author": "", "subtitle": "", "linkText": "", "statusText": "", "layoutType": 0,
            "answersPerQuestion": 1, "quizKind": 1, "background": [90, 95, 150]}
for key in ("title", "author", "subtitle", "linkText", "statusText", "layoutType",
            "answersPerQuestion", "quizKind", "background"):
    same(key, quiz.get(key, defaults.get(key)), r[key])
same("questionCount", len(quiz["question"]), r["questionCount"])
def compared(text):
    # What the player compares: a-z and 0xE0-0xFF upper-cased in code page 1252.
    raw = bytes(b - 0x20 if 0x61 <= b <= 0x7A or b >= 0xE0 else b for b in text.encode("cp1252"))
    return raw.decode("cp1252")
for k, q in enumerate(quiz["question"]):
    got = r["questions"][k]
    answers = q["answers"] if "answers" in q else [q["answer"]]
    same(f"question {k+1} answer", compared(answers[0]), got["answer1"])
    if len(answers) == 2:
        same(f"question {k+1} second answer", compared(answers[1]), got["answer2"])
    same(f"question {k+1} spare", q.get("spare", ""), got["spareText"])
    same(f"question {k+1} text", q.get("text", ""), got["extraText"])
    same(f"question {k+1} code", q.get("code", ""), r["questionLines"][k])
for f in failures:
    print("FAIL", f)
print(f"{0 if failures else 1} passed, {1 if failures else 0} failed")
sys.exit(1 if failures else 0)
PYEOF
