#!/bin/sh
# Start-up of the player against a bare Win32 window (a class, a 930 x 600
# window, two empty child dialogs), started as a user starts them, in one
# run: the sample quiz with no progress file and with all 21 answers
# restored, and a 96-question quiz with every answer restored. Prints the
# median times and their ratios to the bare window (goals: 1.3 for the 21
# restored, 2 for the 96).   startup_bench.sh BUILD_DIR [RUNS]
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
answers "$top/tests/bench/quiz96/quiz96.toml" > "$scratch/quiz96/quiz96.txt"
driver="$build/tests/windows/driver.exe"
wine "$driver" startup "$build/tests/windows/bare_window.exe" 1 "$scratch/empty" >/dev/null  # warm
time_of() { wine "$driver" startup "$1" "$runs" "$2" | tr -d '\r'; }
bare=$(time_of "$build/tests/windows/bare_window.exe" "$scratch/empty")
empty=$(time_of "$build/fruits.exe" "$scratch/empty")
sample=$(time_of "$build/fruits.exe" "$scratch/sample")
big=$(time_of "$build/quiz96.exe" "$scratch/quiz96")
wineserver -k 2>/dev/null || true
echo "start-up, median of $runs runs (ms):"
awk -v b="$bare" -v e="$empty" -v s="$sample" -v q="$big" 'BEGIN {
  printf "  bare window                  %8.1f\n", b
  printf "  sample, no progress file     %8.1f   %.2fx\n", e, e / b
  printf "  sample, 21 answers restored  %8.1f   %.2fx  (goal 1.3x)\n", s, s / b
  printf "  96 questions, all restored   %8.1f   %.2fx  (goal 2x)\n", q, q / b
}'
