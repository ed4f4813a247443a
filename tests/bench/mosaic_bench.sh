#!/bin/sh
# quizpack exe of a mosaic of 24 twelve-megapixel JPEGs against its floor,
# libjpeg reading the same files at the scales quizpack reads them and
# nothing else, round by round in one run. Prints both medians, their ratio
# (the goal: 1.5 at most), quizpack's peak memory (maximum resident set; the
# goal: under 200 MB) and the size of the .exe.
#   mosaic_bench.sh WINDOWS_BUILD RELEASE_BUILD [RUNS]
set -eu
windows=$(realpath "$1")
release=$(realpath "$2")
runs=${3:-3}
photos="$windows/bench-photos"
if [ ! -f "$photos/photo24.jpg" ]; then
  mkdir -p "$photos"
  "$windows/host/tools/example_pictures/example_pictures" photos "$photos" 24
fi
source="$photos/mosaic.toml"
{
  printf 'executable = "photos"\ntitle = "Photos"\n\n[mosaique]\n'
  for i in $(seq 1 24); do
    letter=$(printf "\\$(printf '%03o' $((64 + i)))")
    printf '\n[[question]]\nimage = "photo%d.jpg"\nanswer = "Photo %s"\n' "$i" "$letter"
  done
} >"$source"
/usr/bin/python3 - "$windows/host/tools/quizpack/quizpack" "$windows/player-stub.exe" "$source" \
  "$release/tests/bench/jpeg_floor" "$photos" "$runs" <<'PYEOF'
import os, statistics, subprocess, sys, time
quizpack, stub, source, floor, photos, runs = sys.argv[1:7]
out = os.path.join(photos, "photos.exe")
files = [os.path.join(photos, "photo%d.jpg" % i) for i in range(1, 25)]
def run(argv):
    start = time.perf_counter()
    child = subprocess.Popen(argv, stdout=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    child.returncode = 0
    if status != 0:
        sys.exit("%s failed" % argv[0])
    return time.perf_counter() - start, usage.ru_maxrss / 1024.0
exe, base, peaks = [], [], []
for _ in range(int(runs)):
    t, rss = run([quizpack, "exe", source, "--stub", stub, "--out", out])
    exe.append(t); peaks.append(rss)
    base.append(run([floor, "84"] + files)[0])
megabytes = sum(os.path.getsize(f) for f in files) / 1e6
e, b = statistics.median(exe), statistics.median(base)
print("quizpack exe, a mosaic of 24 photos of 12 megapixels (%.0f MB): %.0f ms (median of %s)" % (megabytes, e * 1000, runs))
print("floor, libjpeg reading them at quizpack's scales:             %.0f ms" % (b * 1000))
print("quizpack exe takes %.2fx the floor (goal: 1.5 at most)" % (e / b))
print("quizpack's peak memory: %.1f MB (goal: under 200)" % max(peaks))
print("the .exe: %d bytes" % os.path.getsize(out))
PYEOF
