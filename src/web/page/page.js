// The page's script: it draws what the core says and passes on what the
// player does. Every rule of play (verdicts, finds, reveals, the score, the
// code, the progress file) is the player's own core, in WebAssembly.
//
// What the page, its writer (quizpack's web_page.cpp) and the core
// (web_game.cpp) agree on, written down here once:
//
// The view: the JSON every call of the core answers (quiz_start, quiz_type,
// quiz_fill, quiz_hide, quiz_restore, quiz_resume(..., 1)); texts in UTF-8.
//   title, subtitle, author, status, caption1, caption2, score, code: texts
//   link, href     the link's text and its address ("" href: no link at all)
//   alert, notice  what the loader said; the quiz changed since the answers
//                  were kept ("": nothing to say)
//   fingerprint    of the records the answers are judged against
//   quizKind, perQuestion, layout   as the quiz says them
//   background     the author's colour, 0xRRGGBB
//   hideFound      0 or 1: "Cacher" is ticked
//   ink            "dark" or "light": the labels' ink on that background
//                  (page.css colours it, main[data-ink])
//   questions[k - 1]  {found, marked, hidden: 0 or 1; letters: the count on
//                  the picture; place: [left, top, width, height] of its mark
//                  in the puzzle's pixels, or null; hint: -1 none, 0 hidden,
//                  1 shown; hintText: "" until the hint shows}
//   fields[a - 1]  {text; verdict: the result label's text; kind: "right",
//                  "wrong", "anagram", "hint" or "unjudged" (page.css colours
//                  it, .verdict[data-verdict]); hidden: 0 or 1, the second
//                  field of a one-answer question}
// quiz_resume(..., 0) only reads a picked file: {ok, replaces, message}.
// quiz_suspend(limit) gives the answers for a learning platform: {data: the
// text it keeps (its form is written down in web/suspend_data.h), whole,
// kept: the fields it holds, message: what only the browser keeps};
// quiz_platform(data) restores them and answers with the view.
//
// A learning platform (SCORM 1.2): when a parent frame or the opener has
// the run-time's API object, the page opens a session, reports the score
// and the answers after each judged answer, takes the answers the platform
// kept on a return before the browser's, and closes the session on leaving.
// Without one, the page never speaks of a platform.
//
// The page's ids: score, code, title, subtitle, link, by, author, message,
// status, hide-found-box, hide-found, save, resume, resume-file, undo-resume,
// fill; grid holds, per question k, question-k with picture-k (its .puzzle,
// its .mark when it has an overlay, its .count) and hint-k, and per answer
// field a (from 1 over the whole quiz) its label, answer-a (data-field="a")
// and verdict-a. The writer reads back core-wasm, quiz-data ({exe, key,
// records: 3 base64, tables: 2 base64, puzzle: {width, height}}),
// puzzle-picture (the puzzle in the style) and quiz-marks (each question's
// overlay as a data address, or null). body[data-ready="1"] and
// window.quizReady say the first field is ready (the tests and the speed
// benchmark wait on them).
//
// The template's marks (page.html), filled in one pass, so that nothing an
// author wrote is searched for marks: {{TITLE}}, {{STYLE}} (page.css),
// {{PUZZLE}}, {{SIZE}}, {{CORE_WASM}}, {{CORE}}, {{DATA}}, {{MARKS}},
// {{SCRIPT}} (this file). A block {{begin NAME}} ... {{end NAME}} is cut out
// and filled once per thing it shows, its line ends and the indentation
// after them left out: QUESTION once per question ({{N}}); inside it MARK
// for a question with an overlay (MARK_PICTURE, {{PICTURE}}, only in the
// speed benchmark's page without scripts) and FIELD once per answer field
// ({{A}}, {{NUMBER}}: "k." on a question's first field, {{ANSWER_LIMIT}}:
// the characters a field accepts, as in the player), holding CAPTIONED
// ({{CAPTION}}: the field's caption, for two answers) or else UNCAPTIONED.
// A template without one of these blocks is refused. The fields' attributes
// keep a phone from correcting, completing or capitalizing an answer.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('quiz-data').textContent);
  const byId = (id) => document.getElementById(id);
  let core = null;
  let view = null;
  let lastTyped = 0;  // the field last typed in: "Essayer partout" spreads its text
  let marks = null;  // the marked pictures, read once the page is whole
  let before = null;  // the answers the last "Reprendre" replaced (one step back)
  let undone = false; // that step was taken: the button takes it forward again

  const bytesOf = window.quizBytes;

  // Bytes into the core's memory for one call, freed after it; null, and
  // nothing called, when the core's memory cannot take them.
  function withBytes(parts, call) {
    const pointers = [];
    try {
      for (const part of parts) {
        const at = core._malloc(Math.max(part.length, 1));
        if (!at) return null;
        pointers.push(at);
        core.HEAPU8.set(part, at);
      }
      return call(pointers.flatMap((at, i) => [at, parts[i].length]));
    } finally {
      pointers.forEach((at) => core._free(at));
    }
  }

  function withText(text, call) {
    const size = core.lengthBytesUTF8(text) + 1;
    const at = core._malloc(size);
    if (!at) return null;
    core.stringToUTF8(text, at, size);
    try { return call(at); } finally { core._free(at); }
  }

  const answerOf = (pointer) => (pointer ? JSON.parse(core.UTF8ToString(pointer)) : null);
  const noMemory = 'La mémoire du navigateur ne suffit pas au jeu pour cela : rien n\'a changé.';

  function start(progress, fingerprint) {
    const parts = data.records.map(bytesOf).concat(data.tables.map(bytesOf), [progress]);
    const next = answerOf(withText(fingerprint, (print) => withBytes(parts, (args) => core._quiz_start(...args, print))));
    if (next) view = next;
    return next !== null;
  }

  // The progress file's bytes; null when the core's memory is full.
  function progressBytes() {
    const size = core._malloc(4);
    if (!size) return null;
    try {
      const at = core._quiz_progress(size);
      const length = core.HEAP32[size >> 2];
      return core.HEAPU8.slice(at, at + length);
    } finally { core._free(size); }
  }

  function say(text) { byId('message').textContent = text; }

  const textOf = (bytes) => String.fromCharCode(...bytes);
  const bytesOfText = (text) => Uint8Array.from(text, (c) => c.charCodeAt(0) & 0xFF);

  // Kept in the browser as soon as it is judged, under the quiz's name as
  // the .exe keeps its file, so that an author's fix finds them again;
  // beside them, the quiz they were judged against and what the last
  // "Reprendre" replaced.
  function keep() {
    // Without fields (a quiz of another kind) the answers kept are left as they are.
    const answers = view.fields.length ? progressBytes() : null;
    if (!answers) return;
    try {
      localStorage.setItem(data.key, JSON.stringify({
        fingerprint: view.fingerprint, answers: textOf(answers), before: before && textOf(before), undone }));
    } catch (e) {
      say('Le navigateur ne garde pas vos réponses (stockage plein ou refusé) : pensez à « Sauver ». Le jeu continue.');
    }
  }

  function kept() {
    const none = { answers: new Uint8Array(0), fingerprint: '', before: null, undone: false };
    let text = null;
    let earlier = null;
    try {
      text = localStorage.getItem(data.key);
      // Pages made before kept the bare answers under the name and a hash of the quiz.
      const old = text === null && Object.keys(localStorage).find((key) => key.startsWith(data.key + ':'));
      if (old) earlier = localStorage.getItem(old);
    } catch (e) {
      say('Le navigateur refuse de relire vos réponses : « Reprendre » les recharge depuis un fichier.');
    }
    if (earlier !== null) return Object.assign(none, { answers: bytesOfText(earlier) });
    if (text === null) return none;
    try {
      const value = JSON.parse(text);
      return { answers: bytesOfText(String(value.answers || '')), fingerprint: String(value.fingerprint || ''),
               before: value.before ? bytesOfText(String(value.before)) : null, undone: !!value.undone };
    } catch (e) {
      return none;  // not kept by this page
    }
  }

  function colour(value) {
    return value < 0 ? '' : '#' + value.toString(16).padStart(6, '0');
  }

  function element(tag, attributes) {
    const node = document.createElement(tag);
    Object.entries(attributes).forEach(([key, value]) => node.setAttribute(key, value));
    return node;
  }

  // The blocks are in the page already: the core's texts go into them, and
  // the fields listen through the grid (Enter and leaving a field judge it).
  function build() {
    byId('title').textContent = view.title;
    byId('subtitle').textContent = view.subtitle;
    byId('author').textContent = view.author;
    // Without an author the page says nothing of one.
    byId('by').hidden = !view.author;
    byId('status').textContent = view.status;
    // The core gives an address only for a web or mail link; else no link at all.
    if (view.href) {
      const link = byId('link');
      link.textContent = view.link;
      link.href = view.href;
      link.hidden = false;
    }
    byId('hide-found-box').hidden = view.quizKind !== 1;
    const grid = byId('grid');
    document.body.style.background = colour(view.background);
    grid.dataset.ink = view.ink;
    view.questions.forEach((question, i) => {
      byId('picture-' + (i + 1)).querySelector('.count').textContent = question.letters + ' lettres';
    });
    // "Essayer partout" waits for a field typed in (Ctrl+Enter does the same in a field).
    const fill = byId('fill');
    fill.disabled = true;
    fill.title = 'Le texte du dernier champ tapé, essayé dans tous les champs ouverts (Ctrl+Entrée dans un champ)';
    grid.addEventListener('input', (event) => {
      if (!event.target.dataset.field) return;
      lastTyped = +event.target.dataset.field;
      fill.disabled = false;
    });
    grid.addEventListener('focusout', (event) => { if (event.target.dataset.field) judge(+event.target.dataset.field); });
    // Enter judges the field; Ctrl+Enter, or F1 where the browser lets it
    // through, is the player's F1: the field's text tried everywhere.
    grid.addEventListener('keydown', (event) => {
      const a = +event.target.dataset.field;
      if (!a) return;
      if (event.key === 'F1' || (event.key === 'Enter' && (event.ctrlKey || event.metaKey))) {
        event.preventDefault();
        tryEverywhere(a);
      } else if (event.key === 'Enter') {
        judge(a);
      }
    });
    if (view.alert) say(view.alert);
  }

  // A mark's picture and place, at its first reveal.
  function showMark(mark, place, uri) {
    const [left, top, width] = place;
    mark.style.left = (100 * left / data.puzzle.width) + '%';
    mark.style.top = (100 * top / data.puzzle.height) + '%';
    mark.style.width = (100 * width / data.puzzle.width) + '%';
    mark.src = uri;
  }

  function render() {
    byId('score').textContent = view.score;
    byId('hide-found').checked = !!view.hideFound;  // the box shows what the game does
    byId('code').value = view.code;
    view.fields.forEach((field, i) => {
      const a = i + 1;
      const input = byId('answer-' + a);
      if (input.value !== field.text) input.value = field.text;
      input.hidden = !!field.hidden;
      const verdict = byId('verdict-' + a);
      verdict.textContent = field.verdict;
      verdict.hidden = !!field.hidden;
      verdict.dataset.verdict = field.kind;
      input.previousElementSibling.hidden = !!field.hidden;  // a hidden field is a second one
    });
    view.questions.forEach((question, i) => {
      const k = i + 1;
      const hint = byId('hint-' + k);
      hint.textContent = question.hintText;
      hint.hidden = question.hint !== 1 || !!question.hidden;
      const picture = byId('picture-' + k);
      picture.hidden = !!question.hidden;
      const mark = picture.querySelector('.mark');
      if (mark && question.marked && !mark.src && marks) showMark(mark, question.place, marks[i]);
      if (mark) mark.hidden = !question.marked;
    });
  }

  function act(next) {
    view = next;
    render();
    keep();
    report();
  }

  function judge(a) {
    const text = byId('answer-' + a).value;
    const next = answerOf(withText(text, (at) => core._quiz_type(a, at)));
    if (next) act(next);
    else say(noMemory);
  }

  // The field is judged first: the core spreads the text it holds.
  function tryEverywhere(a) {
    judge(a);
    act(answerOf(core._quiz_fill(a)));
  }

  function save() {
    if (!view.fields.length) return say('Ce quiz n\'a pas de champ de réponse : il n\'y a rien à sauver.');
    const bytes = progressBytes();
    if (!bytes) return say(noMemory);
    const blob = new Blob([bytes], { type: 'text/plain' });
    const link = element('a', { href: URL.createObjectURL(blob), download: data.exe + '.txt' });
    document.body.appendChild(link);
    link.click();
    link.remove();
    say('Les réponses sont enregistrées dans ' + data.exe + '.txt, parmi vos téléchargements.');
  }

  function showUndo() {
    const button = byId('undo-resume');
    button.hidden = !before;
    button.textContent = undone ? 'Refaire la reprise' : 'Annuler la reprise';
  }

  // The core reads and judges the file first; the answers change only once
  // it is fit and the player agrees, and those it replaces are kept.
  function resume(file) {
    const reader = new FileReader();
    reader.onload = () => {
      const bytes = new Uint8Array(reader.result);
      const read = answerOf(withBytes([bytes], ([at, size]) => core._quiz_resume(at, size, 0)));
      if (!read) return say('« ' + file.name + ' » : ' + noMemory);
      if (!read.ok) return say('« ' + file.name + ' » : ' + read.message);
      if (read.replaces && !window.confirm('Remplacer les réponses de la page par celles de « ' + file.name +
                                           ' » ? « Annuler la reprise » pourra les remettre.'))
        return say('Rien n\'a changé : vos réponses sont là.');
      const replaced = progressBytes();
      const next = replaced && answerOf(withBytes([bytes], ([at, size]) => core._quiz_resume(at, size, 1)));
      if (!next) return say('« ' + file.name + ' » : ' + noMemory);
      before = replaced;
      undone = false;
      act(next);
      showUndo();
      say('« ' + file.name + ' » : ' + read.message + '. « Annuler la reprise » remet les réponses d\'avant.');
    };
    reader.onerror = () => say('Le fichier ' + file.name + ' ne se lit pas : rien n\'a changé.');
    reader.readAsArrayBuffer(file);
  }

  // One step back, and forward again: the answers it leaves are kept in turn.
  function undoResume() {
    const now = progressBytes();
    const next = now && answerOf(withBytes([before], ([at, size]) => core._quiz_restore(at, size)));
    if (!next) return say(noMemory);
    before = now;
    undone = !undone;
    act(next);
    showUndo();
    say(undone ? 'La reprise est annulée : les réponses d\'avant sont revenues.' : 'La reprise est refaite.');
  }

  function wire() {
    byId('fill').addEventListener('click', () => { if (lastTyped) tryEverywhere(lastTyped); });
    byId('hide-found').addEventListener('change', (event) => act(answerOf(core._quiz_hide(event.target.checked ? 1 : 0))));
    byId('save').addEventListener('click', save);
    byId('resume').addEventListener('click', () => byId('resume-file').click());
    byId('undo-resume').addEventListener('click', undoResume);
    byId('resume-file').addEventListener('change', (event) => {
      if (event.target.files.length) resume(event.target.files[0]);
      event.target.value = '';
    });
  }

  // ---- the learning platform ----
  const platform = { api: null, open: false, startedAt: 0, values: {}, cutSaid: false, closed: false };

  // The run-time's API object, as the platform puts it: in a frame above the
  // page, else in the window that opened it. A frame of another origin
  // cannot be read: the search goes on past it.
  function findPlatform() {
    const search = (from) => {
      let win = from;
      for (let hops = 0; win && hops < 12; hops++) {
        try { if (win.API) return win.API; } catch (e) { /* another origin */ }
        if (win.parent === win) break;
        win = win.parent;
      }
      return null;
    };
    try { return search(window) || (window.opener ? search(window.opener) : null); } catch (e) { return null; }
  }

  function refused(what) {
    let code = '', text = '';
    try {
      code = String(platform.api.LMSGetLastError());
      text = String(platform.api.LMSGetErrorString(code) || '');
    } catch (e) { /* a run-time without its error calls */ }
    say('La plateforme refuse ' + what + ' (erreur ' + code + (text ? ' : ' + text : '') +
        ') : vos réponses restent gardées dans ce navigateur, et le jeu continue.');
  }

  // A value set once it differs from the last one the platform took; true when it took a new one.
  function setValue(name, value) {
    if (platform.values[name] === value) return false;
    if (String(platform.api.LMSSetValue(name, value)) !== 'true') {
      refused('la valeur de ' + name);
      return false;
    }
    platform.values[name] = value;
    return true;
  }

  function report() {
    if (!platform.open || !view.fields.length) return;
    const all = view.questions.length;
    const found = view.questions.filter((question) => question.found).length;
    let changed = setValue('cmi.core.score.min', '0');
    changed = setValue('cmi.core.score.max', String(all)) || changed;
    changed = setValue('cmi.core.score.raw', String(found)) || changed;
    changed = setValue('cmi.core.lesson_status', found === all ? 'completed' : 'incomplete') || changed;
    const kept = answerOf(core._quiz_suspend(4096));
    if (kept) {
      changed = setValue('cmi.suspend_data', kept.data) || changed;
      if (!kept.whole && !platform.cutSaid) say(kept.message);
      platform.cutSaid = !kept.whole;
    }
    if (changed && String(platform.api.LMSCommit('')) !== 'true') refused('d\'enregistrer');
  }

  // "HHHH:MM:SS.SS", the run-time's time span.
  function sessionTime(milliseconds) {
    const hundredths = Math.min(Math.floor(milliseconds / 10), 9999 * 360000 - 1);
    const two = (n) => String(n).padStart(2, '0');
    return two(Math.floor(hundredths / 360000)) + ':' + two(Math.floor(hundredths / 6000) % 60) + ':' +
           two(Math.floor(hundredths / 100) % 60) + '.' + two(hundredths % 100);
  }

  // The session opens; on a return the platform's answers replace the
  // browser's, and are judged again.
  function openPlatform() {
    platform.api = findPlatform();
    if (!platform.api) return;
    try {
      if (String(platform.api.LMSInitialize('')) !== 'true') return refused('d\'ouvrir la session');
      platform.open = true;
      platform.startedAt = performance.now();
      if (String(platform.api.LMSGetValue('cmi.core.entry')) !== 'resume') return;
      const data = String(platform.api.LMSGetValue('cmi.suspend_data') || '');
      const next = data && answerOf(withText(data, (at) => core._quiz_platform(at)));
      if (next) {
        view = next;
        keep();  // this browser holds them from now on, as if typed here
      }
    } catch (e) {
      platform.open = false;
      say('La plateforme ne répond pas comme il faut : vos réponses restent gardées dans ce navigateur.');
    }
  }

  function closePlatform() {
    if (!platform.open || platform.closed) return;
    platform.closed = true;
    report();
    setValue('cmi.core.exit', 'suspend');
    setValue('cmi.core.session_time', sessionTime(performance.now() - platform.startedAt));
    if (String(platform.api.LMSFinish('')) !== 'true') refused('de fermer la session');
  }

  // The browser's storage is read while the core is still compiling.
  const saved = kept();
  window.quizCore.then((module) => {
    core = module;
    if (!start(saved.answers, saved.fingerprint)) {
      say('La mémoire du navigateur ne suffit pas pour lancer le jeu.');
      return;
    }
    before = saved.before;
    undone = saved.undone;
    openPlatform();
    build();
    render();
    wire();
    showUndo();
    if (view.notice) {
      say(view.notice);
      keep();  // said once: the answers are kept against this quiz now
    }
    if (platform.open) {
      report();
      window.addEventListener('pagehide', closePlatform);
    }
    window.quizReady = performance.now();
    document.body.dataset.ready = '1';
    const readMarks = () => {
      marks = JSON.parse(byId('quiz-marks').textContent);
      render();
    };
    if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', readMarks);
    else readMarks();
  }, () => say('Ce navigateur ne sait pas faire tourner le jeu (il lui faut WebAssembly) : ouvrez la page dans un navigateur récent.'));
})();
