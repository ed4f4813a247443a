#!/usr/bin/env bash
# Runs quizpack as a user would and checks what it prints, writes and exits with.
# Usage: quizpack_cli_test.sh QUIZPACK WORKDIR
set -u
QP=$(realpath "$1")
HERE=$(dirname "$(realpath "$0")")
WORK=$2
rm -rf "$WORK" && mkdir -p "$WORK" && cd "$WORK" || exit 2
PY=/usr/bin/python3

passed=0
failed=0
check() {  # check NAME EXPECTED ACTUAL
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    printf 'FAIL %s\n  expected: %q\n  got:      %q\n' "$1" "$2" "$3"
  fi
}
contains() {  # contains NAME NEEDLE HAYSTACK
  case "$3" in
    *"$2"*) passed=$((passed + 1)) ;;
    *) failed=$((failed + 1)); printf 'FAIL %s\n  %q not in %q\n' "$1" "$2" "$3" ;;
  esac
}

# ---- verdict ----
check "verdict bravo trims and folds case" "BRAVO" "$("$QP" verdict PARIS '  paris  ')"
check "verdict accent counts" "Quasiment" "$("$QP" verdict PARIS 'París')"
check "verdict idee in UTF-8" "y a de l'idée" "$("$QP" verdict AAABCDEFGHIJKLXY AABCDEFGHIJKL)"
check "verdict anagram" "Anagramme" "$("$QP" verdict AMOR ROMA)"
check "verdict only spaces" "?" "$("$QP" verdict PARIS '   ')"
check "verdict trop court" "Trop court" "$("$QP" verdict ABCDEFGHIJKLMNOPQRST ABCDEFGHIJKLMNOPQ)"
check "verdict euro sign is CP1252" "BRAVO" "$("$QP" verdict '€uro' '€URO')"
out=$("$QP" verdict 'Ωmega' x 2>"$WORK/err"); rc=$?
check "verdict unrepresentable exit" "2" "$rc"
check "verdict unrepresentable prints nothing" "" "$out"
contains "verdict unrepresentable message" "U+03A9" "$(cat "$WORK/err")"
"$QP" verdict onlyone >/dev/null 2>&1; check "verdict one argument" "2" "$?"
"$QP" verdict "$(printf 'x%.0s' {1..260})" x >/dev/null 2>&1; check "verdict 260 bytes" "2" "$?"
"$QP" verdict --help >/dev/null; check "verdict --help" "0" "$?"

batch=$(printf '5041524953\t7061726973\n\t\n414d4f52\t524f4d41\r\n41414142434445464748494a4b4c5859\t414142434445464748494a4b4c\nc9\t45\ne9\tC9\n' | "$QP" verdict --batch)
check "batch verdicts in order" $'BRAVO\n?\nAnagramme\ny a de l\'idée\nFAUX\nBRAVO' "$batch"
out=$(printf '5041\t50\nzz\t50\n' | "$QP" verdict --batch 2>"$WORK/err"); rc=$?
check "batch bad hex exit" "2" "$rc"
check "batch prints nothing on error" "" "$out"
contains "batch names the line" "ligne 2" "$(cat "$WORK/err")"
printf '5041\n' | "$QP" verdict --batch 2>"$WORK/err"; check "batch without tab" "2" "$?"
contains "batch names line 1" "ligne 1" "$(cat "$WORK/err")"
printf '50\t50\t50\n' | "$QP" verdict --batch >/dev/null 2>&1; check "batch two tabs" "2" "$?"
printf '5000\t50\n' | "$QP" verdict --batch >/dev/null 2>&1; check "batch NUL byte" "2" "$?"
printf '' | "$QP" verdict --batch >/dev/null; check "batch empty input" "0" "$?"
"$QP" verdict --batch A B </dev/null >/dev/null 2>&1; check "batch with answers" "2" "$?"

# ---- lzw ----
printf 'Le ch\xe2teau de Versailles, le ch\xe2teau de Chambord, le ch\xe2teau.' > plain.bin
"$QP" lzw encode plain.bin stream.bin; check "lzw encode exit" "0" "$?"
"$QP" lzw decode stream.bin back.bin; check "lzw decode exit" "0" "$?"
cmp -s plain.bin back.bin; check "lzw round trip" "0" "$?"
printf 'a' > a.bin && "$QP" lzw encode a.bin a.lzw
check "lzw one byte stream" "30c000" "$(od -An -tx1 a.lzw | tr -d ' \n')"
# 'a', 'b', then code 262 (above the next free code 260), then the end code.
printf '\x30\x98\xa0\xd0\x00' > bad.lzw
"$QP" lzw decode bad.lzw partial.bin 2>"$WORK/err"; rc=$?
check "lzw bad stream exit" "1" "$rc"
check "lzw bad stream message" "LzwDecode : résultat -7 après 1 octet" "$(cat "$WORK/err")"
check "lzw bad stream bytes so far (b still pending)" "a" "$(cat partial.bin)"
: > empty.bin
"$QP" lzw decode empty.bin out.bin 2>"$WORK/err"; check "lzw empty exit" "1" "$?"
check "lzw empty message" "LzwDecode : résultat -5 après 0 octet" "$(cat "$WORK/err")"
"$QP" lzw encode empty.bin out.bin 2>/dev/null; check "lzw encode empty" "1" "$?"
"$QP" lzw decode missing.bin out.bin 2>/dev/null; check "lzw unreadable" "2" "$?"
"$QP" lzw frobnicate a b 2>/dev/null; check "lzw unknown verb" "2" "$?"

# ---- inspect ----
printf '\0\0https://x.example|Le statut \xe9t\xe9|' > builtin.plain
printf '\0\x02\x02\x02Titre \xe0 voir|Auteur|Sous-titre|Nom|Ville|paris|lyon|s1|roma|nice|s2|\x03hint one|skip|hint two|skip|\x0a\x14\x1e' > r104.plain
printf 'premier code\r\nsecond \x80\r\n' > r105.plain
for r in builtin r104 r105; do "$QP" lzw encode $r.plain $r.lzw || exit 2; done
"$QP" inspect --json builtin.lzw r104.lzw r105.lzw > report.json; check "inspect exit" "0" "$?"
summary=$($PY - report.json <<'PYEOF'
import json, sys
r = json.load(open(sys.argv[1], encoding="utf-8"))
print(list(r.keys()))
print(r["alerts"], r["linkText"], r["statusText"], r["quizKind"], r["title"], r["author"])
print(r["subtitle"], r["answerCaption1"], r["answerCaption2"], r["questionCount"], r["answersPerQuestion"], r["layoutType"], r["background"])
for q in r["questions"]: print(q["answer1Hex"], q["answer2Hex"], q["spareText"], q["extraText"])
print(r["questionLines"])
PYEOF
)
check "inspect json" "['alerts', 'linkText', 'statusText', 'quizKind', 'title', 'author', 'subtitle', 'answerCaption1', 'answerCaption2', 'questionCount', 'answersPerQuestion', 'layoutType', 'background', 'questions', 'questionLines']
[] https://x.example Le statut été 1 Titre à voir Auteur
Sous-titre Nom Ville 2 2 3 [10, 20, 30]
0514259435 c495f4e4 s1 hint one
25f4d414 e4943454 s2 hint two
['premier code', 'second €']" "$summary"

: > none.bin
"$QP" inspect --json builtin.lzw r104.lzw none.bin > missing.json; check "inspect missing record exit" "0" "$?"
summary=$($PY -c 'import json,sys; r=json.load(open(sys.argv[1])); print(r["alerts"], r["questionCount"], r["title"], len(r["questions"]), r["questionLines"])' missing.json)
check "inspect missing record 105" "[{'text': 'Erreur dans le déchiffrage', 'caption': 'Zarlo'}] 0 Titre à voir 2 []" "$summary"
human=$("$QP" inspect builtin.lzw r104.lzw r105.lzw)
contains "inspect for people shows the answer" "réponse 1 :     PARIS" "$human"
contains "inspect for people shows the title" "Titre à voir" "$human"
head -c 71 /dev/zero > big.bin
"$QP" inspect big.bin r104.lzw r105.lzw >/dev/null 2>&1; check "inspect built-in over 70 bytes" "2" "$?"
"$QP" inspect builtin.lzw nothing-here r105.lzw >/dev/null 2>&1; check "inspect unreadable" "2" "$?"
"$QP" inspect builtin.lzw >/dev/null 2>&1; check "inspect missing arguments" "2" "$?"
"$QP" >/dev/null 2>&1; check "no verb" "2" "$?"

# ---- png2bmp ----
PICS=$HERE/../windows/pictures
"$QP" png2bmp "$PICS/rgba.png" rgba.bmp; check "png2bmp exit" "0" "$?"
summary=$($PY - rgba.bmp <<'PYEOF'
import struct, sys
b = open(sys.argv[1], "rb").read()
magic, size, r1, r2, offset = struct.unpack("<2sIHHI", b[:14])
hs, w, h, planes, bpp, comp, simg, xp, yp, used, imp = struct.unpack("<IiiHHIIiiII", b[14:54])
print(magic.decode(), size, len(b), offset, hs, w, h, planes, bpp, comp, used)
print(list(b[offset:offset + 12]))
PYEOF
)
check "png2bmp RGBA file" "BM 78 78 54 40 3 -2 1 32 0 0
[0, 0, 255, 200, 0, 255, 0, 200, 255, 0, 0, 200]" "$summary"
"$QP" png2bmp "$PICS/grey2.png" grey.bmp
summary=$($PY -c 'import struct,sys; b=open(sys.argv[1],"rb").read(); o=struct.unpack("<I",b[10:14])[0]; print(o, struct.unpack("<H",b[28:30])[0], struct.unpack("<I",b[46:50])[0], list(b[54:70]), list(b[o:]))' grey.bmp)
check "png2bmp 2-bit grey: 4-bit DIB, four-entry ramp" "70 4 4 [0, 0, 0, 0, 85, 85, 85, 0, 170, 170, 170, 0, 255, 255, 255, 0] [1, 35, 0, 0]" "$summary"
"$QP" png2bmp "$PICS/palette4.png" palette.bmp
summary=$($PY -c 'import struct,sys; b=open(sys.argv[1],"rb").read(); print(struct.unpack("<I",b[10:14])[0], struct.unpack("<I",b[46:50])[0], list(b[54:58]))' palette.bmp)
check "png2bmp palette: its six entries, biClrUsed 0" "78 0 [0, 0, 255, 0]" "$summary"
"$QP" png2bmp "$PICS/garbage.bin" none.bmp 2>"$WORK/err"; check "png2bmp not a PNG exit" "1" "$?"
check "png2bmp not a PNG code" "0x2000" "$(head -n 1 "$WORK/err")"
[ -e none.bmp ]; check "png2bmp writes nothing on failure" "1" "$?"
"$QP" png2bmp "$PICS/badzlib.png" none.bmp 2>"$WORK/err"; check "png2bmp bad zlib code" "0x2000" "$(head -n 1 "$WORK/err")"
printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\x01\0\0\0\x01\x08\x05\0\0\0\0\0\0\0' > type5.png
"$QP" png2bmp type5.png none.bmp 2>"$WORK/err"; check "png2bmp colour type 5 code" "0x2001" "$(head -n 1 "$WORK/err")"
"$QP" png2bmp "$PICS/badfilter.png" none.bmp 2>/dev/null; check "png2bmp filter type 5" "1" "$?"
[ -e none.bmp ]; check "png2bmp still nothing written" "1" "$?"
"$QP" png2bmp missing.png none.bmp 2>/dev/null; check "png2bmp unreadable" "2" "$?"

# ---- French for authors ----
out=$("$QP" --help); check "help exit" "0" "$?"
contains "help in French" "Utilisation : quizpack [OPTIONS] COMMANDE" "$out"
contains "help names the commands" "Vérifie la source d'un quiz" "$out"
contains "help of a command" "dossier où écrire" "$("$QP" build --help)"
"$QP" frob 2>"$WORK/err"; check "unknown command exit" "2" "$?"
check "unknown command in French" "quizpack : « frob » n'est pas une commande (new, check, exe, web, scorm, atelier, preview, build, inspect, lzw, verdict, png2bmp)
L'aide : quizpack --help" "$(cat "$WORK/err")"
"$QP" build x.toml 2>"$WORK/err"; check "missing option exit" "2" "$?"
contains "missing option in French" "quizpack build : il manque l'option --out" "$(cat "$WORK/err")"
mkdir -p broken
printf 'executable = "essai"\ntitle = "Essai"\nlayoutType = 12\nlinkText = "%s"\n\n[[question]]\nanswr = "x"\n' \
  "https://$(printf 'l%.0s' {1..22})" > broken/quiz.toml
"$QP" check broken/quiz.toml 2>"$WORK/err"; check "broken source exit" "1" "$?"
check "broken source, every problem in French" "broken/quiz.toml:1: puzzle: manquant
broken/quiz.toml:3: layoutType: 12 sort de l'intervalle 0 à 9
broken/quiz.toml:4: linkText: 30 octets dans la page de codes 1252, 24 au plus
broken/quiz.toml:7: question[1].answr: champ inconnu : vouliez-vous écrire « answer » ?
4 problèmes dans broken/quiz.toml" "$(cat "$WORK/err")"
printf 'title = "Essai\n' > broken/syntax.toml
"$QP" check broken/syntax.toml 2>"$WORK/err"
contains "TOML syntax in French" "broken/syntax.toml:1: toml: syntaxe incorrecte dans un texte" "$(cat "$WORK/err")"

# ---- a large quiz comes back whole ----
# 96 questions with 250-byte texts and code lines over a few letters (record
# 104 near its 30,000 bytes): the records reach several dictionary resets,
# and inspect must give back every text.
mkdir -p big
$PY - big/quiz.toml <<'PYEOF'
import random, sys
rng = random.Random(96)
letters = "abcdefgh éèàçœ€"
def text(n):
    return "".join(rng.choice(letters) for _ in range(n))
out = ['executable = "grand"', 'title = "Grand quiz"', 'author = "Zoé"', 'layoutType = 2',
       'answersPerQuestion = 2', 'puzzle = "grille.png"']
for k in range(96):
    out += ["", "[[question]]", f'answers = ["{text(18).strip() or "a"}", "Réponse {k}"]',
            f'text = "{text(250)}"', f'code = "{text(250)}"']
open(sys.argv[1], "w", encoding="utf-8").write("\n".join(out) + "\n")
PYEOF
cp "$HERE/../windows/pictures/rgba.png" big/grille.png
"$QP" build big/quiz.toml --out big/out >"$WORK/out" 2>"$WORK/err"
check "large quiz builds" "0" "$?"
contains "large quiz build says so" "96 questions ; 8 fichiers écrits" "$(cat "$WORK/out")"
"$HERE/quiz_records_test.sh" "$QP" big/quiz.toml big/out >"$WORK/out"
check "large quiz read back whole" "0" "$?"
[ "$(wc -c < big/out/record104.bin)" -gt 10000 ]; check "large quiz record 104 is large" "0" "$?"

# ---- the answer key ----
mkdir -p ws
printf 'executable = "mots"\ntitle = "Mots"\n\n[motsmeles]\ncolumns = 8\nrows = 8\nseed = 3\n\n[[question]]\nanswer = "Pêche"\n\n[[question]]\nanswer = "kiwi"\n' > ws/mots.toml
"$QP" preview ws/mots.toml ws/key.png >"$WORK/out"; check "preview exit" "0" "$?"
check "preview says what it wrote" "ws/key.png : la grille, 2 réponses marquées" "$(head -1 "$WORK/out")"
check "preview lists each word" "2" "$(grep -cE '^  [12]\. (PECHE|KIWI) : colonne [1-8], rangée [1-8], (vers|en) ' "$WORK/out")"
"$QP" build ws/mots.toml --out ws/out >/dev/null
summary=$($PY - ws/key.png ws/out/img_400.png <<'PYEOF'
import struct, sys, zlib
def rgb(path):  # 8-bit RGB or palette
    b = open(path, "rb").read()
    w, h = struct.unpack(">II", b[16:24])
    n = 1 if b[25] == 3 else 3
    data, palette, at = b"", b"", 8
    while at < len(b):
        size, = struct.unpack(">I", b[at:at + 4]); kind = b[at + 4:at + 8]
        if kind == b"IDAT": data += b[at + 8:at + 8 + size]
        if kind == b"PLTE": palette = b[at + 8:at + 8 + size]
        at += 12 + size
    raw, rows, prev = zlib.decompress(data), [], bytearray(w * n)
    for y in range(h):
        f, line = raw[y * (w * n + 1)], bytearray(raw[y * (w * n + 1) + 1:(y + 1) * (w * n + 1)])
        for i in range(len(line)):
            a = line[i - n] if i >= n else 0; up = prev[i]; c = prev[i - n] if i >= n else 0
            p = a + up - c; pa, pb, pc = abs(p - a), abs(p - up), abs(p - c)
            pred = [0, a, up, (a + up) // 2, a if pa <= pb and pa <= pc else up if pb <= pc else c][f]
            line[i] = (line[i] + pred) & 255
        prev = line
        rows.append(bytes(line) if n == 3 else b"".join(palette[3 * i:3 * i + 3] for i in line))
    return w, h, rows
kw, kh, key = rgb(sys.argv[1]); pw, ph, puzzle = rgb(sys.argv[2])
def count(rows, colour):
    return sum(r[i:i + 3] == colour for r in rows for i in range(0, len(r), 3))
# Each word outlined in its own colour (red, then blue), nothing tinted.
first, second = count(key, b"\xdc\x1e\x28"), count(key, b"\x14\x78\xdc")
print(kw, kh, (pw, ph) == (kw, kh), first > 150, second > 150, count(key, b"\xff\xaa\xcd"), count(puzzle, b"\xdc\x1e\x28"))
PYEOF
)
check "preview: the puzzle's size, both answers outlined, no tint, the puzzle itself plain" "300 505 True True True 0 0" "$summary"
"$QP" preview "$HERE/../windows/fixtures/fruits/quiz96.toml" ws/hand.png >"$WORK/out"
check "preview of hand-made GIF pictures" "ws/hand.png : la grille, 21 réponses marquées" "$(head -1 "$WORK/out")"
check "preview lists each marked answer and its place" "  1. ABRICOT : à (43, 186), 31 x 242 pixels" "$(sed -n 2p "$WORK/out")"
check "  all 21 of them" "21" "$(grep -c ' pixels$' "$WORK/out")"
# A picture must decode, be what its name says and fit the player.
printf '\377\330\377\340\000\004JF\377\300\000\013\010\001\371\001\313\003' > ws/broken.jpg
cp "$HERE/../windows/pictures/small.jpg" ws/grille.jpg
cp "$HERE/../windows/pictures/small.gif" ws/gif.png
head -c 60 "$HERE/../windows/pictures/rgb.png" > ws/cut.png
photo() { printf 'executable = "photo"\ntitle = "Photo"\npuzzle = "%s"\n\n[[question]]\nanswer = "x"\n' "$1" > ws/photo.toml; }
photo grille.jpg
"$QP" check ws/photo.toml >/dev/null; check "a JPEG puzzle is a fine quiz" "0" "$?"
"$QP" preview ws/photo.toml ws/photo.png >"$WORK/out"; check "preview of a JPEG puzzle" "ws/photo.png : la grille, 0 réponse marquée" "$(cat "$WORK/out")"
while IFS='|' read -r file says; do
  photo "$file"
  "$QP" build ws/photo.toml --out ws/photo-out 2>"$WORK/err" >/dev/null
  check "refused picture $file exit" "1" "$?"
  check "refused picture $file says why" "ws/photo.toml:3: puzzle: $says" "$(head -1 "$WORK/err")"
  [ ! -e ws/photo-out ]; check "refused picture $file writes nothing" "0" "$?"
done <<'EOF2'
broken.jpg|broken.jpg ne se décode pas : cette image JPEG ne se décode pas (le décodeur dit : Bogus marker length)
gif.png|gif.png est une image GIF sous un nom d'image PNG : donnez-lui l'extension de son format, ou enregistrez-la en PNG
cut.png|cut.png ne se décode pas : le décodeur PNG du lecteur ne lit pas cette image (fichier tronqué ou abîmé ?)
EOF2
photo grille.jpg
"$QP" preview ws/photo.toml ws/photo.bmp 2>"$WORK/err"; check "preview to a .bmp name exit" "2" "$?"
check "preview to a .bmp name says why" "quizpack preview : le corrigé s'écrit en PNG ; donnez un nom en .png (pas ws/photo.bmp)" "$(cat "$WORK/err")"
[ ! -e ws/photo.bmp ]; check "preview to a .bmp name writes nothing" "0" "$?"

# ---- the web page ----
"$QP" web "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/q96.html >"$WORK/out"; check "web exit" "0" "$?"
contains "web says what it wrote" "ws/q96.html écrit : 96 questions, une page de" "$(cat "$WORK/out")"
contains "web: a French page" '<html lang="fr">' "$(head -c 200 ws/q96.html)"
# The page's files from a folder, as one restyling the page tries them: its style in the page.
mkdir -p restyle && cp "$HERE/../../src/web/page/"page.* restyle/ && echo '.verdict { outline: 3px dotted #123456; }' >>restyle/page.css
"$QP" web "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/restyled.html --page-dir restyle >/dev/null; check "web --page-dir exit" "0" "$?"
contains "web --page-dir: the folder's style" "outline: 3px dotted #123456" "$(cat ws/restyled.html)"
rm restyle/page.html
"$QP" web "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/unstyled.html --page-dir restyle 2>"$WORK/err"; check "web --page-dir without page.html exit" "2" "$?"
contains "web --page-dir without page.html says so" "quizpack web : impossible de lire restyle/page.html" "$(cat "$WORK/err")"
[ ! -e ws/unstyled.html ]; check "web --page-dir without page.html writes nothing" "0" "$?"
# A quizpack without its core beside it says so, and writes nothing.
mkdir -p alone && cp "$QP" alone/quizpack
alone/quizpack web "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/alone.html 2>"$WORK/err"; check "web without its core exit" "2" "$?"
contains "web without its core says so" "impossible de trouver le cœur du jeu" "$(cat "$WORK/err")"
[ ! -e ws/alone.html ]; check "web without its core writes nothing" "0" "$?"

# ---- the SCORM package ----
# Python's zipfile and ElementTree read it as a platform would: the manifest,
# its one SCO, and the very page quizpack web writes.
"$QP" scorm "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/q96.zip >"$WORK/out"; check "scorm exit" "0" "$?"
contains "scorm says what it wrote" "ws/q96.zip écrit : 96 questions, un paquetage SCORM 1.2 de" "$(cat "$WORK/out")"
check "scorm: the manifest, its SCO and the page web writes" "imsmanifest.xml quiz96.html|1.2|sco|quiz96.html|same page" "$($PY - ws/q96.zip ws/q96.html <<'PYEOF'
import sys, zipfile, xml.etree.ElementTree as ET
z = zipfile.ZipFile(sys.argv[1])
assert z.testzip() is None
ns = {"m": "http://www.imsproject.org/xsd/imscp_rootv1p1p2", "a": "http://www.adlnet.org/xsd/adlcp_rootv1p2"}
root = ET.fromstring(z.read("imsmanifest.xml"))
res = root.find("m:resources/m:resource", ns)
page = "same page" if z.read(res.get("href")) == open(sys.argv[2], "rb").read() else "another page"
print(" ".join(z.namelist()), root.find("m:metadata/m:schemaversion", ns).text,
      res.get("{%s}scormtype" % ns["a"]), res.get("href"), page, sep="|")
PYEOF
)"
cp -r "$HERE/../windows/fixtures/fruits" scormsrc
"$QP" scorm scormsrc/quiz96.toml >/dev/null; check "scorm beside the source by default" "0" "$?"
[ -s scormsrc/quiz96.zip ]; check "scorm: NAME.zip beside the source" "0" "$?"
alone/quizpack scorm "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/alone.zip 2>"$WORK/err"; check "scorm without its core exit" "2" "$?"
contains "scorm without its core says so" "quizpack scorm : impossible de trouver le cœur du jeu" "$(cat "$WORK/err")"
[ ! -e ws/alone.zip ]; check "scorm without its core writes nothing" "0" "$?"
"$QP" scorm ws/absent.toml --out ws/absent.zip 2>"$WORK/err"; check "scorm of no source exit" "2" "$?"
check "scorm of no source says so" "quizpack scorm : impossible de lire ws/absent.toml" "$(cat "$WORK/err")"
"$QP" scorm "$HERE/../windows/fixtures/fruits/quiz96.toml" --out ws/nofolder/q.zip 2>"$WORK/err"; check "scorm into no folder exit" "2" "$?"
contains "scorm into no folder writes nothing and says so" "rien n'est écrit" "$(cat "$WORK/err")"

# ---- the atelier ----
# Its library lies beside quizpack, as the core does: without it, quizpack says so and writes nothing.
QPDIR=$(dirname "$QP")
mkdir -p nolib && cp "$QP" "$QPDIR/quiz_core.js" "$QPDIR/quiz_core.wasm" nolib/
nolib/quizpack atelier --stub "$QP" --out ws/nolib.html 2>"$WORK/err"; check "atelier without its library exit" "2" "$?"
contains "atelier without its library says so" "quizpack atelier : impossible de trouver la bibliothèque de l'atelier" "$(cat "$WORK/err")"
[ ! -e ws/nolib.html ]; check "atelier without its library writes nothing" "0" "$?"
"$QP" atelier --stub ws/absent.exe --out ws/nostub.html 2>"$WORK/err"; check "atelier without its stub exit" "2" "$?"
check "atelier without its stub says so" "quizpack atelier : impossible de lire le lecteur vide ws/absent.exe ; donnez-le avec --stub" "$(cat "$WORK/err")"
[ ! -e ws/nostub.html ]; check "atelier without its stub writes nothing" "0" "$?"

# ---- help and version ----
check "version" "quizpack 0.1.0" "$("$QP" --version)"
while IFS='|' read -r verb example; do
  help=$("$QP" $verb --help)
  contains "$verb help gives an example" "Exemple : quizpack $verb $example" "$help"
  contains "$verb help: French colon" "Options :" "$help"
  case "$help" in *"Options:"*|*TEXTE*) failed=$((failed + 1)); echo "FAIL $verb help: English colon or TEXTE for a file" ;; *) passed=$((passed + 1)) ;; esac
  # A placeholder once, and no blank line but between parts.
  check "$verb help: no doubled placeholder, no stray blank line" "" \
    "$(printf '%s\n' "$help" | grep -nE '\b([A-Z]{3,}) \1\b' ; "$QP" $verb --help | $PY -c 'import sys; t=sys.stdin.read(); print("blank lines" if "\n\n\n" in t or t.endswith("\n\n") else "", end="")')"
done <<'EOF2'
new|mes-images
check|mon-quiz.toml
build|mon-quiz.toml --out construction
preview|mon-quiz.toml corrige.png
web|mon-quiz.toml --out mon-quiz.html
scorm|mon-quiz.toml --out mon-quiz.zip
png2bmp|grille.png grille.bmp
inspect|quiz/builtin.bin
lzw encode|record104.txt
lzw decode|record104.bin
EOF2
contains "verdict help gives an example" 'Exemple : quizpack verdict "Crème brûlée"' "$("$QP" verdict --help)"
# An author's verbs first, the builders' after, under a line that says what quizpack is for.
check "help: an author's verbs, then the builders'" \
  "Pour faire un quiz : new check exe web scorm atelier preview Pour qui construit ou vérifie les .exe : build inspect lzw verdict png2bmp" \
  "$("$QP" --help | grep -E '^(Pour .* :$|  [a-z0-9]+ )' | sed 's/^  \([a-z0-9]*\) .*/\1/' | paste -sd ' ')"
contains "help: what quizpack is for" "quizpack fait un quiz en images" "$("$QP" --help | head -n 1)"

# ---- new: a file's name gives the answer ----
# The stub is no player: quiz.toml is written or not before the .exe fails.
mkdir -p noms/Ferme
for f in '01-vache.png' '10 - Loup.png' '2_chat.png' 'oie (2).png' '._2_chat.png' '.cache.png'; do
  cp "$PICS/rgba.png" "noms/Ferme/$f"
done
"$QP" new noms/Ferme --stub "$QP" >"$WORK/out" 2>"$WORK/err"; check "new with a stub that is no player" "2" "$?"
check "new: numbers ordered as numbers, order numbers and copies left out, hidden files no pictures" \
  'image = "01-vache.png"|answer = "Vache"|image = "2_chat.png"|answer = "Chat"|image = "10 - Loup.png"|answer = "Loup"|image = "oie (2).png"|answer = "Oie"' \
  "$(grep -E '^(image|answer) = ' noms/Ferme/quiz.toml | paste -sd '|')"
mkdir -p noms/Refus
for f in 'vache.png' 'vache - Copie.png' '猫.png' '1789.png'; do cp "$PICS/rgba.png" "noms/Refus/$f"; done
"$QP" new noms/Refus --stub "$QP" >"$WORK/out" 2>"$WORK/err"; check "new refuses names that give no answer" "1" "$?"
check "new says each name and what to do" "quizpack new : noms/Refus : rien n'est écrit, ces noms ne donnent pas les réponses voulues ; renommez, puis recommencez :
  1789.png : ce nom ne donne aucune lettre à taper (ni un numéro qui range les images, ni une marque de copie ne sont gardés), et une réponse en demande au moins une ; renommez l'image du mot à trouver, par exemple 01-vache.jpg pour « Vache »
  vache.png et vache - Copie.png donnent la même réponse, « Vache » ; gardez une seule de ces images, ou renommez l'une des deux
  猫.png : le caractère « 猫 » (U+732B) n'existe pas dans la page de codes 1252, où le quiz écrit ses textes ; renommez l'image en lettres latines (les accents du français vont)" "$(cat "$WORK/err")"
[ -e noms/Refus/quiz.toml ]; check "new writes no quiz.toml for refused names" "1" "$?"

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
