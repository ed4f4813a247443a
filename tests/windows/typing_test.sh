#!/bin/sh
# Types into the player as a person does, with real key events under X:
# an answer and Return, Tab to the next field, an answer and Tab; reads the
# verdicts back.   typing_test.sh PLAYER.exe DRIVER.exe
set -eu
player=$1
driver=$2
export WINEPREFIX="${QUIZ_WINEPREFIX:-$PWD/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"  # the progress file lands here, and none is found at start
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
wine "$player" &
wine "$driver" wait 60
window=$(xdotool search --sync --name '^Les fruits$' | head -n 1)
xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
sleep 1
xdotool type --delay 30 abricot
xdotool key Return
sleep 0.5
expect "Return judges the field" BRAVO "$(wine "$driver" text 5001 | tr -d '\r')"
xdotool key Tab
xdotool type --delay 30 amande
xdotool key Tab
sleep 0.5
expect "the typed text" amande "$(wine "$driver" text 4002 | tr -d '\r')"
expect "Tab judges the field it leaves" BRAVO "$(wine "$driver" text 5002 | tr -d '\r')"
wine "$driver" close 30
wait
expect "closing saves what was typed" "abricot amande" "$(head -n 2 ./*.txt | tr -d '\r' | tr '\n' ' ' | sed 's/ $//')"
echo "$(( 4 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
