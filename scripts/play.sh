#!/usr/bin/env bash
# Builds the sample quiz (or the quiz of QUIZ_SOURCE) into the player .exe and
# starts it under Wine. With a display (DISPLAY set) the window opens there.
# Without one, the player runs on a private Xvfb: a screenshot is saved to
# build/screenshot.png, the player is closed as a user would close it, and the
# command exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

# The quiz is always named: the build keeps the last one it was given.
cmake --preset windows -DQUIZ_SOURCE="$(realpath "${QUIZ_SOURCE:-quizzes/fruits/fruits.toml}")" >/dev/null
cmake --build --preset windows

build=$PWD/build/windows
# The .exe of this quiz, not one an earlier quiz left in the folder.
name=$(sed -n 's/^set(QUIZ_EXECUTABLE_NAME "\(.*\)")$/\1/p' "$build/quiz/quiz.cmake")
player=$build/$name.exe
[ -n "$name" ] && [ -f "$player" ] || { echo "no player .exe in $build"; exit 1; }
export WINEPREFIX=$build/wineprefix-play WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The player writes its progress file in its current directory: the game
# played from here keeps it under build/, never in the source tree.
mkdir -p "$build/play"
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
