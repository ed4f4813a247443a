#!/bin/sh
# Saving where nothing can be written, as a player meets it: a full disk and
# a read-only folder (a small tmpfs, filled, then remounted read-only). The
# player must say so, leave the answers saved before as they were, and ask
# before closing.   save_failure_test.sh PLAYER.exe DRIVER.exe
# Mounting takes root with the right to mount; a machine without it says
# "skipped" and the stage counts nothing.
set -eu
player=$1
driver=$2
export WINEPREFIX="${QUIZ_WINEPREFIX:-$PWD/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d)
folder=$scratch/jeu
mkdir "$folder"
cleanup() { umount "$folder" 2>/dev/null || true; rm -rf "$scratch"; }
trap cleanup EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$folder" 2>/dev/null; then
  echo "skipped: this machine cannot mount a small file system"
  exit 0
fi
name=$(basename "$player" .exe)
progress=$folder/$name.txt
printf 'abricot\r\n' > "$progress"
cp "$progress" "$scratch/before"
failures=0
check() {  # check WHAT DETAIL COMMAND...: the command must succeed
  what=$1 detail=$2
  shift 2
  if "$@"; then echo "ok   $what"; else echo "FAIL $what: $detail"; failures=$((failures + 1)); fi
}
contains() { case "$1" in *"$2"*) return 0 ;; *) return 1 ;; esac; }

cd "$folder"
dd if=/dev/zero of=filler bs=4k 2>/dev/null || true  # the disk is full now
wine "$player" &
wine "$driver" wait 60
said=$(wine "$driver" save | tr -d '\r' | iconv -f CP1252 -t UTF-8)
check "a full disk: Sauver says so" "$said" contains "$said" "Les réponses n'ont pas pu être enregistrées dans « Z:"
check "  naming the file" "$said" contains "$said" "$name.txt »"
check "  the saved answers stay" "$(od -c "$progress" | head -3)" cmp -s "$progress" "$scratch/before"
check "  nothing half-written is left" "$(ls "$folder")" test ! -e "$progress.new"
ended=$(wine "$driver" end-session | tr -d '\r')
check "  logging off is held up, not answered yes" "answer $ended" test "$ended" = 0
check "  and the saved answers stay" "$(od -c "$progress" | head -3)" cmp -s "$progress" "$scratch/before"

mount -o remount,ro "$folder"
said=$(wine "$driver" close-answer no | tr -d '\r' | iconv -f CP1252 -t UTF-8)
check "a read-only folder: closing asks" "$said" contains "$said" "Fermer quand même ?"
answer=$(wine "$driver" text 4001 | tr -d '\r')
check "  \"Non\" keeps the game and its answers" "field 4001: '$answer'" test "$answer" = abricot
check "  \"Oui\" closes" "no message box" wine "$driver" close-answer yes
wait
check "  the saved answers stay" "$(od -c "$progress" | head -3)" cmp -s "$progress" "$scratch/before"
cd "$scratch"
echo "$(( 10 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
