#!/bin/sh
# How long an author waits for a quiz's .exe: quizpack exe of the sample
# against the CMake rebuild of the same quiz the old way (quizpack build, the
# resource compiler, the link), after the quiz source changed. Prints both
# medians and their ratio.   exe_bench.sh BUILD_DIR [RUNS]
set -eu
build=$(realpath "$1")
runs=${2:-3}
top=$(cd "$(dirname "$0")/../.." && pwd)
source="$top/quizzes/fruits/fruits.toml"
quizpack="$build/host/tools/quizpack/quizpack"
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cmake --build "$build" --target player_compiled >/dev/null  # everything else built once
now() { date +%s%N; }
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
i=0
: >"$scratch/exe"
: >"$scratch/cmake"
while [ "$i" -lt "$runs" ]; do
  start=$(now)
  "$quizpack" exe "$source" --stub "$build/player-stub.exe" --out "$scratch/fruits.exe" >/dev/null
  echo $(( ($(now) - start) / 1000000 )) >>"$scratch/exe"
  touch "$source"  # the author changed the quiz
  start=$(now)
  cmake --build "$build" --target player_compiled >/dev/null
  echo $(( ($(now) - start) / 1000000 )) >>"$scratch/cmake"
  i=$((i + 1))
done
exe=$(median <"$scratch/exe")
rebuild=$(median <"$scratch/cmake")
echo "quizpack exe of the sample:          $exe ms (median of $runs)"
echo "CMake rebuild of the same quiz:      $rebuild ms (median of $runs)"
awk -v a="$rebuild" -v b="$exe" 'BEGIN { printf "the rebuild takes %.1fx quizpack exe\n", a / (b > 0 ? b : 1) }'
