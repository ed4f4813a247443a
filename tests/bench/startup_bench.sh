#!/bin/sh
# Start-up of the player against a bare Win32 window (a class, a 930 x 600
# window, two empty child dialogs) and against its floor (the same window with
# the controls and pictures the first screen shows, and no quiz logic), for 21
# and 96 questions, started as a user starts them, in one run: the sample
# quiz with no progress file and with all 21 answers restored, and a
# 96-question quiz with every answer restored. Prints the median times and
# their ratios to the floor and to the bare window.
#   startup_bench.sh BUILD_DIR [RUNS]
set -eu
build=$(realpath "$1")
runs=${2:-5}
top=$(cd "$(dirname "$0")/../.." && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
mkdir "$scratch/empty" "$scratch/sample" "$scratch/quiz96"
# The right answers, as a player would have typed them, one line each.
answers() { sed -n 's/^answer = "\(.*\)"/\1/p' "$1" | sed 's/$/\r/'; }
answers "$top/quizzes/fruits/fruits.toml" > "$scratch/sample/fruits.txt"
answers "$top/tests/windows/fixtures/fruits/quiz96.toml" > "$scratch/quiz96/quiz96.txt"
driver="$build/tests/windows/driver.exe"
# The first start of a fresh server may fail while it comes up: a warm-up
# that is allowed to, then one more try for any measure.
wine "$driver" startup 1 "$build/tests/windows/bare_window.exe" "$scratch/empty" >/dev/null 2>&1 || sleep 2
times_of() {
  wine "$driver" startup "$runs" "$@" 2>/dev/null | tr -d '\r' | grep . ||
    { echo "retrying" >&2; wine "$driver" startup "$runs" "$@" | tr -d '\r'; }
}
# Round by round, each program once a round (the driver's startup).
times_of "$build/tests/windows/bare_window.exe" "$scratch/empty" \
  "$build/tests/windows/floor21.exe" "$scratch/empty" "$build/tests/windows/floor96.exe" "$scratch/empty" \
  "$build/fruits.exe" "$scratch/empty" "$build/fruits.exe" "$scratch/sample" \
  "$build/quiz96.exe" "$scratch/quiz96" > "$scratch/times"
figure() { sed -n "${1}p" "$scratch/times"; }
bare=$(figure 1)
floor21=$(figure 2)
floor96=$(figure 3)
empty=$(figure 4)
sample=$(figure 5)
big=$(figure 6)
wineserver -k 2>/dev/null || true
echo "start-up, median of $runs rounds (ms); the floor does only what the screen needs:"
awk -v b="$bare" -v f="$floor21" -v g="$floor96" -v e="$empty" -v s="$sample" -v q="$big" 'BEGIN {
  printf "  %-30s %8s %9s %9s\n", "", "ms", "/ floor", "/ bare"
  printf "  %-30s %8.1f\n", "bare window", b
  printf "  %-30s %8.1f %9s %8.2fx\n", "floor, 21 questions", f, "", f / b
  printf "  %-30s %8.1f %9s %8.2fx\n", "floor, 96 questions", g, "", g / b
  printf "  %-30s %8.1f %8.2fx %8.2fx\n", "sample, no progress file", e, e / f, e / b
  printf "  %-30s %8.1f %8.2fx %8.2fx  (goal 1.10x the floor)\n", "sample, 21 answers restored", s, s / f, s / b
  printf "  %-30s %8.1f %8.2fx %8.2fx  (goal 1.15x the floor)\n", "96 questions, all restored", q, q / g, q / b
}'

# What stays in memory: working sets once the window is up, and after 60
# times a wrong then the right answer for question 1 (a find and a loss).
first=$(sed -n 's/^answer = "\(.*\)"/\1/p' "$top/tests/windows/fixtures/fruits/quiz96.toml" | head -1)
memory_of() {
  wine "$driver" memory "$@" 2>/dev/null | tr -d '\r' | grep . ||
    { echo "retrying $1" >&2; wine "$driver" memory "$@" | tr -d '\r'; }
}
bare_mb=$(memory_of "$build/tests/windows/bare_window.exe" "$scratch/empty" 0)
floor_mb=$(memory_of "$build/tests/windows/floor96.exe" "$scratch/empty" 0)
player_mb=$(memory_of "$build/quiz96.exe" "$scratch/quiz96" 60 "$first")
echo "working set (MB):"
echo "$bare_mb $floor_mb $player_mb" | awk '{
  printf "  %-40s %8.1f\n", "bare window", $1
  printf "  %-40s %8.1f\n", "floor, 96 questions", $2
  printf "  %-40s %8.1f  %+.1f against the floor (goal +15)\n", "96 questions, all restored", $3, $3 - $2
  printf "  %-40s %8.1f  %+.1f after the start (%s)\n", "  after 60 finds and losses of question 1", $4, $4 - $3, $5
}'

# Where the player's time goes: one more start of each, its phases written by
# the player itself (QUIZ_STARTUP_PHASES), in milliseconds and calls.
phases() {  # phases NAME PLAYER FOLDER
  rm -f "$scratch/phases"
  QUIZ_STARTUP_PHASES=$(winepath -w "$scratch/phases" 2>/dev/null) wine "$driver" startup 1 "$2" "$3" >/dev/null || true
  echo "  $1:"
  awk -F '\t' '{ printf "    %-52s %8.1f ms %6d\n", $1, $2, $3 }' "$scratch/phases" 2>/dev/null || echo "    (no figures)"
}
echo "start-up phases inside the player (one start each):"
phases "sample, 21 answers restored" "$build/fruits.exe" "$scratch/sample"
phases "96 questions, all restored" "$build/quiz96.exe" "$scratch/quiz96"
wineserver -k 2>/dev/null || true
