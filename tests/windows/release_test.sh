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
expect "the ZIP" "ecrire-un-quiz.md fruits.toml quizpack.exe" \
  "$(ls "quizpack-$version-windows" | tr '\n' ' ' | sed 's/ $//')"
expect "the Linux archive" "ecrire-un-quiz.md fruits.toml player-stub.exe quizpack" \
  "$(ls "quizpack-$version-linux-x86_64" | tr '\n' ' ' | sed 's/ $//')"
( cd "quizpack-$version-linux-x86_64" && ./quizpack exe fruits.toml >/dev/null )
( cd "quizpack-$version-windows" && wine ./quizpack.exe exe fruits.toml >/dev/null )
expect "the Linux quizpack, unpacked, makes the build's sample" same \
  "$(cmp -s "quizpack-$version-linux-x86_64/fruits.exe" "$build/fruits.exe" && echo same || echo different)"
expect "the ZIP's quizpack.exe, alone, makes the same" same \
  "$(cmp -s "quizpack-$version-windows/fruits.exe" "$build/fruits.exe" && echo same || echo different)"
echo "$(( 4 - failures )) passed, $failures failed"
[ "$failures" -eq 0 ]
