#!/usr/bin/python3
"""Every file the authors' texts name is in the archive they ship in.
    docs_paths_test.py BUILD_DIR VERSION SOURCE_DIR

A name in backticks or « » that looks like a file (a slash or an extension, no
space) speaks of the archive when its last part is the name of a file of either
archive, or its first part a folder of the source tree, which no archive keeps:
it must then be a path of the archive. Other names are the author's own
(mon-quiz.toml, images/chat.png). A text that ships in both archives may name
a file only one holds in a paragraph that names that one's system; each
LISEZMOI.txt speaks of its own archive alone. Fenced blocks are a file's
contents or commands, not names of the archive."""
import pathlib
import re
import sys
import tarfile
import zipfile

build, version, source = sys.argv[1:4]


def tree_of(names, root):
    """Every file and folder below the archive's top folder, as paths from it."""
    paths = set()
    for name in names:
        parts = name.rstrip('/').split('/')
        if parts[0] == root:
            paths.update('/'.join(parts[1:i]) for i in range(2, len(parts) + 1))
    return paths


windows_root, linux_root = f'quizpack-{version}-windows', f'quizpack-{version}-linux-x86_64'
zipped = zipfile.ZipFile(f'{build}/release/{windows_root}.zip')
tarred = tarfile.open(f'{build}/release/{linux_root}.tar.gz')
archives = {  # by the system each archive is for, as the texts name it
    'Windows': (tree_of(zipped.namelist(), windows_root), lambda p: zipped.read(f'{windows_root}/{p}')),
    'Linux': (tree_of(tarred.getnames(), linux_root), lambda p: tarred.extractfile(f'{linux_root}/{p}').read()),
}
shipped = set().union(*(paths for paths, _ in archives.values()))
shipped_names = {p.rsplit('/', 1)[-1] for p in shipped}
source_folders = {p.name for p in pathlib.Path(source).iterdir()} - shipped


def units(text):
    """Paragraphs, each list item, table row and heading on its own."""
    text = re.sub(r'```.*?```', '', text, flags=re.S)
    unit = []
    for line in text.splitlines() + ['']:
        if (not line.strip() or re.match(r'\s*([-*|#]|\d+\.)\s', line)) and unit:
            yield ' '.join(unit)
            unit = []
        if line.strip():
            unit.append(line.strip())


def named_files(unit):
    for m in re.finditer(r'`([^`]+)`|«\s*([^»]+?)\s*»', unit):
        name = (m.group(1) or m.group(2)).replace('\\', '/')
        if name.startswith('./'):
            name = name[2:]
        if re.search(r'\s', name) or not ('/' in name or re.search(r'[^./]\.[A-Za-z0-9]+$', name)):
            continue
        if name.rsplit('/', 1)[-1] in shipped_names or name.split('/')[0] in source_folders:
            yield name


failures, checked = [], 0
for system, (paths, read) in archives.items():
    texts = sorted(p for p in paths if '/' not in p and p.endswith(('.md', '.txt')))
    for text in texts:
        found = 0
        for unit in units(read(text).decode('utf-8-sig')):
            for name in named_files(unit):
                found += 1
                if name in paths:
                    continue
                elsewhere = [s for s, (p, _) in archives.items() if s != system and name in p]
                if text != 'LISEZMOI.txt' and elsewhere and all(s in unit for s in elsewhere):
                    continue
                own = text == 'LISEZMOI.txt'
                failures.append(f'{system} archive, {text}: « {name} » is not in it'
                                + (f' (only in the {", ".join(elsewhere)} one'
                                   + ('' if own else ', and the paragraph does not say so') + ')'
                                   if elsewhere else ''))
        # A text that names no file of the archive at all means the names were not read.
        if found == 0:
            failures.append(f'{system} archive, {text}: names no file of the archives')
        checked += found
    print(f'{system} archive: {len(texts)} texts read')
for failure in failures:
    print('FAIL', failure)
print(f'{checked} names checked, {len(failures)} wrong')
sys.exit(1 if failures else 0)
