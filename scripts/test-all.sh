#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test:
#   native suites under AddressSanitizer and UBSan (debug preset),
#   the command-line tests of quizpack,
#   the same core suites cross-built with MinGW-w64 and run under Wine in Xvfb,
#   the libFuzzer targets for a bounded time (FUZZ_SECONDS each, default 60),
#   and a short run of the benchmarks (release preset).
set -uo pipefail
cd "$(dirname "$0")/.."
FUZZ_SECONDS=${FUZZ_SECONDS:-60}
JOBS=${JOBS:-$(nproc)}

scripts/install-deps.sh || { echo "could not install the dependencies"; exit 1; }

passed=0
failed=0
failures=()
stage() {  # stage NAME COMMAND...
  local name=$1
  shift
  echo
  echo "==== $name"
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    failures+=("$name")
  fi
}

native() {
  cmake --preset debug >/dev/null && cmake --build --preset debug -j "$JOBS" &&
    ctest --preset debug -j "$JOBS"
}

windows() {
  cmake --preset windows >/dev/null && cmake --build --preset windows -j "$JOBS" || return 1
  # The release archives, which the suites unpack and use.
  cmake --build --preset windows --target package linux_archive >build/windows/release.log 2>&1 ||
    { cat build/windows/release.log; return 1; }
  local rc=0
  xvfb-run -a -s "-screen 0 1280x1024x24" ctest --preset windows || rc=$?
  WINEPREFIX="$PWD/build/windows/wineprefix" wineserver -k 2>/dev/null || true
  return $rc
}

fuzz() {
  cmake --preset fuzz >/dev/null && cmake --build --preset fuzz -j "$JOBS" || return 1
  # target:corpus:max_len. A record holds 30,000 bytes at most; a PNG of many
  # IDAT chunks needs room, and so do an author's pictures. A progress file is
  # 192 fields of 85 bytes and CR LF at most (16,704 bytes). A source whose
  # texts fill a record is some 36 KB of TOML with its keys, and its pictures
  # get as much room as the picture fuzzer's (100 KiB in all). An archive
  # gets a page's room.
  # -len_control=0: libFuzzer would otherwise take
  # minutes to grow its inputs past a few kilobytes, short of a dictionary reset.
  local target name corpus max largest
  for target in lzw_decode_fuzz:lzw:30000 package_fuzz:package:30000 png_decode_fuzz:png:65536 \
      picture_decode_fuzz:picture:65536 pe_resources_fuzz:pe:65536 quiz_tables_fuzz:tables:1793 \
      progress_fuzz:progress:16704 quiz_source_fuzz:source:102400 zip_fuzz:zip:65536; do
    IFS=: read -r target name max <<<"$target"
    corpus=build/fuzz/corpus/$name
    mkdir -p "$corpus"
    echo "-- $target for ${FUZZ_SECONDS}s, inputs up to $max bytes"
    build/fuzz/tests/fuzz/$target -max_total_time="$FUZZ_SECONDS" -max_len="$max" -len_control=0 \
      -print_final_stats=1 "$corpus" "tests/fuzz/corpus/$name" 2>&1 |
      grep -E '^(stat::number_of_executed_units|#[0-9]+[[:space:]]+DONE|==[0-9]+==|SUMMARY|ERROR)'
    [ "${PIPESTATUS[0]}" -eq 0 ] || return 1
    largest=$(find "$corpus" "tests/fuzz/corpus/$name" -type f -printf '%s\n' | sort -n | tail -n 1)
    echo "   largest input in the corpus: ${largest:-0} bytes"
  done
}

startup() {
  xvfb-run -a -s "-screen 0 1280x1024x24" tests/bench/startup_bench.sh build/windows "${STARTUP_RUNS:-3}" &&
    tests/bench/exe_bench.sh build/windows "${STARTUP_RUNS:-3}" &&
    tests/bench/mosaic_bench.sh build/windows build/release "${STARTUP_RUNS:-3}" &&
    /usr/bin/python3 tests/bench/web_bench.py build/windows/host/tools/quizpack/quizpack . build/windows \
      "${WEB_ROUNDS:-15}" &&
    /usr/bin/python3 tests/bench/atelier_bench.py build/windows/host/tools/quizpack/quizpack . build/windows \
      "${STARTUP_RUNS:-3}"
}

bench() {
  cmake --preset release >/dev/null && cmake --build --preset release -j "$JOBS" &&
    build/release/tests/bench/core_bench --benchmark_min_time=0.05 &&
    build/release/tests/bench/png_bench --benchmark_min_time=0.05 &&
    build/release/tests/bench/word_search_bench --benchmark_min_time=0.05
}

stage "native suites (ASan, UBSan)" native
stage "Windows suites under Wine" windows
stage "fuzzing" fuzz
stage "benchmarks (short run)" bench
stage "start-up, quizpack exe, web page and atelier benchmarks (short run)" startup

echo
for f in "${failures[@]}"; do echo "FAILED: $f"; done
echo "stages: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
