#!/bin/sh
# The release archives hold what an author needs, and work unpacked: the
# Linux quizpack finds the stub beside it, the Windows ZIP's quizpack.exe
# runs alone, and both make the sample's .exe of the build, byte for byte.
#   release_test.sh BUILD_DIR VERSION
set -eu
build=$(realpath "$1")
version=$2
export WINEPREFIX="${QUIZ_WINEPREFIX:-$build/wineprefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
failures=0
expect() {  # expect WHAT EXPECTED ACTUAL
  if [ "$2" = "$3" ]; then echo "ok   $1"; else echo "FAIL $1: expected '$2', got '$3'"; failures=$((failures + 1)); fi
}
cd "$scratch"
unzip -q "$build/release/quizpack-$version-windows.zip"
tar xzf "$build/release/quizpack-$version-linux-x86_64.tar.gz"
listing() { (cd "$1" && LC_ALL=C ls | tr '\n' ' ' | sed 's/ $//'); }
expect "the ZIP" "LISEZMOI.txt atelier.html dans-le-exe.md ecrire-un-quiz.md fruits.toml mosaique quizpack.exe" \
  "$(listing "quizpack-$version-windows")"
expect "the Linux archive" "LISEZMOI.txt atelier.html atelier_lib.js atelier_lib.wasm dans-le-exe.md ecrire-un-quiz.md fruits.toml mosaique player-stub.exe quiz_core.js quiz_core.wasm quizpack" \
  "$(listing "quizpack-$version-linux-x86_64")"
expect "the mosaic example, beside its pictures" \
  "ancre.png avion.png flocon.png mosaique.toml nuage.png parapluie.png soleil.png" \
  "$(listing "quizpack-$version-windows/mosaique")"
# LISEZMOI.txt opens right in the Notepad of any Windows: UTF-8 with a BOM,
# CRLF line ends, the three steps naming the three roads.
readme="quizpack-$version-windows/LISEZMOI.txt"
expect "LISEZMOI.txt starts with the UTF-8 BOM" "efbbbf" "$(head -c 3 "$readme" | od -An -tx1 | tr -d ' \n')"
lines=$(tr -cd '\n' < "$readme" | wc -c)
expect "  every line ends with CR LF" "$lines" "$(grep -c "$(printf '\r')\$" "$readme")"
roads=$(grep -c -e "dans l'atelier" -e "un dossier d'images" -e "un fichier .toml" "$readme")
expect "  it names the three roads" 3 "$roads"
# The Linux archive's is plain UTF-8 with LF line ends, and speaks of Linux:
# nothing to unzip, nothing to drag onto a quizpack.exe it does not hold.
readme="quizpack-$version-linux-x86_64/LISEZMOI.txt"
expect "the Linux LISEZMOI.txt has neither BOM nor CR" "0 0" \
  "$(head -c 3 "$readme" | grep -c "$(printf '\357\273\277')") $(tr -cd '\r' < "$readme" | wc -c)"
expect "  it names the three roads" 3 "$(grep -c -e "dans l'atelier" -e "un dossier d'images" -e "un fichier .toml" "$readme")"
expect "  it says neither to unzip nor to drag" 0 "$(grep -c -i -e "zip" -e "glisser" "$readme")"
( cd "quizpack-$version-linux-x86_64" && ./quizpack exe fruits.toml >/dev/null )
( cd "quizpack-$version-windows" && wine ./quizpack.exe exe fruits.toml >/dev/null )
expect "the Linux quizpack, unpacked, makes the build's sample" same \
  "$(cmp -s "quizpack-$version-linux-x86_64/fruits.exe" "$build/fruits.exe" && echo same || echo different)"
expect "the ZIP's quizpack.exe, alone, makes the same" same \
  "$(cmp -s "quizpack-$version-windows/fruits.exe" "$build/fruits.exe" && echo same || echo different)"
( cd "quizpack-$version-windows/mosaique" && wine ../quizpack.exe exe mosaique.toml >/dev/null )
expect "  and the mosaic example's, from its PNG pictures" same \
  "$(cmp -s "quizpack-$version-windows/mosaique/mosaique.exe" "$build/mosaique.exe" && echo same || echo different)"
# Both make the same web page of the sample.
( cd "quizpack-$version-linux-x86_64" && ./quizpack web fruits.toml >/dev/null )
( cd "quizpack-$version-windows" && wine ./quizpack.exe web fruits.toml >/dev/null )
expect "the Linux quizpack and the ZIP's make the same web page" same \
  "$(cmp -s "quizpack-$version-linux-x86_64/fruits.html" "quizpack-$version-windows/fruits.html" && echo same || echo different)"
# The unpacked Linux quizpack writes the atelier both archives carry.
( cd "quizpack-$version-linux-x86_64" && ./quizpack atelier --out again.html >/dev/null )
expect "the unpacked Linux quizpack writes the atelier the archives carry" same \
  "$(cmp -s "quizpack-$version-linux-x86_64/again.html" "quizpack-$version-windows/atelier.html" && echo same || echo different)"
echo "$(( 14 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
