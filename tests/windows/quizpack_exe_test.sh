#!/bin/sh
# quizpack.exe under Wine: it writes the very bytes of the native quizpack,
# for the sample and for a hand-made quiz (GIF, PNG and JPEG pictures, the
# opaque GIF ones stored as PNG, the JPEG one left to the platform, in a
# folder whose name has an "é"); a source dropped on it (its one argument)
# gets its .exe beside it and a message box, a broken one the box of its
# problems and no .exe.
#   quizpack_exe_test.sh QUIZPACK.exe NATIVE_QUIZPACK STUB.exe DRIVER.exe SOURCE_TREE
set -eu
quizpack_exe=$1
native=$2
stub=$3
driver=$4
top=$5
export WINEPREFIX="${QUIZ_WINEPREFIX:-$PWD/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Arguments with an "é" reach Windows programs through the locale's code page.
export LC_ALL=C.UTF-8
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
same() {  # same WHAT FILE1 FILE2
  if cmp -s "$2" "$3"; then echo "ok   $1"; else echo "FAIL $1: $2 and $3 differ"; failures=$((failures + 1)); fi
}

# The first start after a change of locale updates the prefix: done here, out
# of the way.
wine "$quizpack_exe" --version >/dev/null 2>&1 || true

# The sample.
wine "$quizpack_exe" exe "$top/quizzes/fruits/fruits.toml" --out "$scratch/fruits-wine.exe" >"$scratch/said" 2>&1 || true
"$native" exe "$top/quizzes/fruits/fruits.toml" --stub "$stub" --out "$scratch/fruits-native.exe" >/dev/null
same "the sample: quizpack.exe under Wine and the native quizpack write the same bytes" \
  "$scratch/fruits-wine.exe" "$scratch/fruits-native.exe"
expect "quizpack.exe says what it wrote" 1 "$(grep -c "fruits-wine.exe .crit : 21 questions" "$scratch/said" || cat "$scratch/said" >&2)"

# A hand-made quiz with a picture of each kind.
quiz="$scratch/Quiz é"
mkdir -p "$quiz"
cp "$top/tests/windows/fixtures/fruits/grille.gif" "$top/tests/windows/fixtures/fruits/fruit01.gif" \
   "$top/tests/windows/pictures/overlay10.png" "$top/tests/fuzz/corpus/picture/small.jpg" "$quiz/"
cat >"$quiz/mélange.toml" <<'QUIZ'
executable = "melange"
title = "Mélange"
author = "L'équipe du quiz"
subtitle = "Trois images, trois formats."
linkText = "https://q.example"
statusText = "Un quiz fait à la main"
answersPerQuestion = 1
layoutType = 3
background = [90, 95, 150]
version = "2.5.1"
puzzle = "grille.gif"

[[question]]
answer = "ABRICOT"
text = "Un GIF."
code = "A"
letters = 7
overlay = "fruit01.gif"
place = [43, 186, 31, 242]

[[question]]
answer = "CITRON"
text = "Un PNG."
code = "AB"
letters = 6
overlay = "overlay10.png"
place = [417, 11, 31, 242]

[[question]]
answer = "FRAISE"
text = "Un JPEG."
code = "ABC"
letters = 6
overlay = "small.jpg"
place = [100, 100, 3, 2]

QUIZ
# Six more without a picture of their own: three rows, so that the grid scrolls.
code=ABC
for fruit in POMME POIRE PRUNE CERISE MANGUE KIWI; do
  code=${code}D
  printf '\n[[question]]\nanswer = "%s"\ntext = "Sans image à elle."\ncode = "%s"\nletters = %d\n' \
    "$fruit" "$code" "${#fruit}" >>"$quiz/mélange.toml"
done
wine "$quizpack_exe" exe "$quiz/mélange.toml" --out "$scratch/wine.exe" >"$scratch/said" 2>&1 || cat "$scratch/said"
"$native" exe "$quiz/mélange.toml" --stub "$stub" --out "$scratch/native.exe" >/dev/null
same "a hand-made quiz in a folder with an é: the same bytes" "$scratch/wine.exe" "$scratch/native.exe"
# ... and it plays: found, saved, restored, with its GIF (as PNG), PNG and JPEG overlays.
played=0
wine "$driver" e2e "$scratch/wine.exe" >"$scratch/e2e" 2>&1 || played=$?
expect "the hand-made quiz plays end to end" 0 "$played"
grep FAIL "$scratch/e2e" || true

# Dropped on quizpack.exe: the .exe beside the source, and a box that says so.
wine "$driver" box "$quizpack_exe" quizpack "le jeu pour Windows" "$quiz/mélange.toml" >"$scratch/box" 2>&1 || cat "$scratch/box"
# The box text is read in the Windows code page: one byte for the é.
expect "the box says what is ready, for what" 1 "$(LC_ALL=C grep -c "^- melange.exe : le jeu pour Windows" "$scratch/box")"
expect "  in which folder, by its name" 1 "$(LC_ALL=C grep -c "dans le dossier . Quiz . . :.$" "$scratch/box")"
expect "  and no count, byte or read-back" 0 "$(LC_ALL=C grep -cE "octets|ressources|relu" "$scratch/box")"
same "the dropped source's .exe beside it" "$quiz/melange.exe" "$scratch/native.exe"
"$native" web "$quiz/mélange.toml" --out "$scratch/native.html" >/dev/null
same "  and its web page, as the native quizpack web makes it" "$quiz/melange.html" "$scratch/native.html"
expect "  the box names the page too" 1 "$(LC_ALL=C grep -c "^- melange.html : le m.me jeu dans un navigateur" "$scratch/box")"

# A broken source: its problems in the box, and no .exe.
rm -f "$quiz/melange.exe" "$quiz/melange.html"
printf '\n[[question]]\nanswer = ""\n' >>"$quiz/mélange.toml"
wine "$driver" box "$quizpack_exe" quizpack "Le quiz n'est pas fait" "$quiz/mélange.toml" >"$scratch/box" 2>&1 || cat "$scratch/box"
expect "the box lists the problem by its line" 1 "$(LC_ALL=C grep -c "^ligne [0-9]* : question\[[0-9]*\]\.answer : " "$scratch/box")"
expect "no .exe for a broken source" no "$([ -e "$quiz/melange.exe" ] && echo yes || echo no)"

# A folder of pictures dropped on it: its quiz.toml and its .exe in it, the
# bytes of the native quizpack new.
mkdir -p "$scratch/Images du ciel" "$scratch/native/Images du ciel"
cp "$(dirname "$stub")"/mosaique/*.png "$scratch/Images du ciel/"
cp "$(dirname "$stub")"/mosaique/*.png "$scratch/native/Images du ciel/"
# A file Windows hides is no picture: a hidden one among them, only here.
for png in "$scratch/Images du ciel/"*.png; do cp "$png" "$scratch/Images du ciel/nuit.png"; break; done
wine attrib +h "$(winepath -w "$scratch/Images du ciel/nuit.png")" >/dev/null 2>&1 || true
expect "  Windows hides one picture" "+h" "$(wine cmd /c attrib "$(winepath -w "$scratch/Images du ciel/nuit.png")" 2>/dev/null | cut -c1-12 | grep -q H && echo +h)"
wine "$driver" box "$quizpack_exe" quizpack "des noms des images" "$scratch/Images du ciel" >"$scratch/box" 2>&1 || cat "$scratch/box"
expect "a dropped folder: its quiz.toml" yes "$([ -f "$scratch/Images du ciel/quiz.toml" ] && echo yes || echo no)"
expect "  which leaves the hidden picture out" 0 "$(grep -c nuit "$scratch/Images du ciel/quiz.toml")"
"$native" new "$scratch/native/Images du ciel" --stub "$stub" >/dev/null
same "  and its .exe, as the native quizpack new makes it" "$scratch/Images du ciel/Images-du-ciel.exe" \
  "$scratch/native/Images du ciel/Images-du-ciel.exe"

# Double-clicked, with no argument: a box says what to do, and no console
# stays open behind it (the driver checks that too).
opened=0
wine "$driver" box "$quizpack_exe" quizpack "faites glisser le fichier du quiz sur quizpack.exe" >"$scratch/box" 2>&1 || opened=$?
expect "double-clicked, it says what to do" 0 "$opened"
[ "$opened" -eq 0 ] || cat "$scratch/box"

# A signed stub: its signature cannot sign the quiz, so it is left out, and
# said; the quiz's .exe is then signed, verifies, and plays.
( cd "$scratch" && openssl req -x509 -newkey rsa:2048 -nodes -keyout key.pem -out cert.pem -days 2 \
    -subj "/CN=Quiz test" -addext extendedKeyUsage=codeSigning >/dev/null 2>&1 )
osslsigncode sign -certs "$scratch/cert.pem" -key "$scratch/key.pem" -in "$stub" -out "$scratch/signed-stub.exe" >/dev/null
"$native" exe "$top/quizzes/fruits/fruits.toml" --stub "$scratch/signed-stub.exe" --out "$scratch/unsigned.exe" >/dev/null 2>"$scratch/said"
expect "a signed stub: quizpack says its signature goes" 1 \
  "$(grep -c "la signature du lecteur est retirée : signez le .exe du quiz" "$scratch/said")"
same "  and makes the bytes of the unsigned stub's quiz" "$scratch/unsigned.exe" "$scratch/fruits-native.exe"
osslsigncode sign -certs "$scratch/cert.pem" -key "$scratch/key.pem" -in "$scratch/unsigned.exe" -out "$scratch/signed.exe" >/dev/null
verified=0
osslsigncode verify -CAfile "$scratch/cert.pem" -in "$scratch/signed.exe" >"$scratch/verify" 2>&1 || verified=$?
expect "  the quiz's .exe, signed, verifies" 0 "$verified"
played=0
wine "$driver" e2e "$scratch/signed.exe" >"$scratch/e2e" 2>&1 || played=$?
expect "  and plays end to end" 0 "$played"
grep FAIL "$scratch/e2e" || true

# The atelier quizpack.exe writes is the native quizpack's, byte for byte.
( cd "$scratch" && wine "$quizpack_exe" atelier --out atelier-exe.html >/dev/null )
"$native" atelier --stub "$stub" --out "$scratch/atelier-native.html" >/dev/null
same "quizpack.exe writes the atelier the native quizpack writes" "$scratch/atelier-exe.html" "$scratch/atelier-native.html"

echo "$(( 17 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
