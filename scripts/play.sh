#!/usr/bin/env bash
# Makes the sample quiz's .exe (or that of the quiz QUIZ_SOURCE names) with
# quizpack exe and starts it under Wine. With a display (DISPLAY set) the window opens there.
# Without one, the player runs on a private Xvfb: a screenshot is saved to
# build/screenshot.png, the player is closed as a user would close it, and the
# command exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The player stub and the native quizpack are built once; the quiz's .exe is
# then made as an author makes it, by quizpack exe, without compiling the
# player again.
cmake --preset windows >/dev/null
cmake --build --preset windows --target host_tools player_stub driver

build=$PWD/build/windows
source=$(realpath "${QUIZ_SOURCE:-quizzes/fruits/fruits.toml}")
# The .exe takes the name the quiz gives: its progress file follows that name.
name=$(sed -n 's/^[[:space:]]*executable[[:space:]]*=[[:space:]]*"\([A-Za-z0-9_-]*\)".*/\1/p' "$source" | head -n 1)
[ -n "$name" ] || name=quiz
mkdir -p "$build/play"
player=$build/play/$name.exe
"$build/host/tools/quizpack/quizpack" exe "$source" --stub "$build/player-stub.exe" --out "$player"
export WINEPREFIX=$build/wineprefix-play WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The player writes its progress file in its current directory: the game
# played from here keeps it under build/, never in the source tree.
cd "$build/play"

if [ -n "${DISPLAY:-}" ]; then
  echo "Starting $player"
  exec wine "$player"
fi

shot=$(dirname "$build")/screenshot.png
xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
  set -e
  # Without a window manager, Wine draws the window frame and caption itself.
  wine reg add "HKCU\\Software\\Wine\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1
  wine "$1" &
  wine "$2" wait 60
  sleep 1
  import -window root "$3"
  wine "$2" close 30
  wait
' play "$player" "$build/tests/windows/driver.exe" "$shot"
wineserver -k 2>/dev/null || true
echo "No display: the player ran on Xvfb; its screenshot is $shot"
