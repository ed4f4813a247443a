// The page's script: it draws what the core says and passes on what the
// player does. Every rule of play (verdicts, finds, reveals, the score, the
// code, the progress file) is the player's own core, in WebAssembly.
'use strict';
(function () {
  const data = JSON.parse(document.getElementById('quiz-data').textContent);
  const byId = (id) => document.getElementById(id);
  let core = null;
  let view = null;
  let lastField = 1;

  function bytesOf(base64) {
    const text = atob(base64);
    const out = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) out[i] = text.charCodeAt(i);
    return out;
  }

  // Bytes into the core's memory for one call, freed after it.
  function withBytes(parts, call) {
    const pointers = parts.map((part) => {
      const at = core._malloc(Math.max(part.length, 1));
      core.HEAPU8.set(part, at);
      return at;
    });
    try {
      return call(pointers.flatMap((at, i) => [at, parts[i].length]));
    } finally {
      pointers.forEach((at) => core._free(at));
    }
  }

  function withText(text, call) {
    const size = core.lengthBytesUTF8(text) + 1;
    const at = core._malloc(size);
    core.stringToUTF8(text, at, size);
    try { return call(at); } finally { core._free(at); }
  }

  const answerOf = (pointer) => JSON.parse(core.UTF8ToString(pointer));

  function start(progress) {
    const parts = data.records.map(bytesOf).concat(data.tables.map(bytesOf), [progress]);
    view = answerOf(withBytes(parts, (args) => core._quiz_start(...args)));
  }

  function progressBytes() {
    const size = core._malloc(4);
    try {
      const at = core._quiz_progress(size);
      const length = core.HEAP32[size >> 2];
      return core.HEAPU8.slice(at, at + length);
    } finally { core._free(size); }
  }

  function say(text) { byId('message').textContent = text; }

  // Kept in the browser as soon as it is judged, under this quiz's own key.
  function keep() {
    try {
      localStorage.setItem(data.key, String.fromCharCode(...progressBytes()));
    } catch (e) {
      say('Le navigateur ne garde pas vos réponses (stockage plein ou refusé) : pensez à « Sauver ». Le jeu continue.');
    }
  }

  function kept() {
    try {
      const text = localStorage.getItem(data.key);
      if (text === null) return new Uint8Array(0);
      return Uint8Array.from(text, (c) => c.charCodeAt(0));
    } catch (e) {
      say('Le navigateur refuse de relire vos réponses : « Reprendre » les recharge depuis un fichier.');
      return new Uint8Array(0);
    }
  }

  function colour(value) {
    return value < 0 ? '' : '#' + value.toString(16).padStart(6, '0');
  }

  function element(tag, attributes, text) {
    const node = document.createElement(tag);
    Object.entries(attributes || {}).forEach(([key, value]) => node.setAttribute(key, value));
    if (text !== undefined) node.textContent = text;
    return node;
  }

  function buildQuestion(k) {
    const question = view.questions[k - 1];
    const block = element('section', { id: 'question-' + k, class: 'question', 'aria-label': 'Question ' + k });
    const picture = element('div', { id: 'picture-' + k, class: 'picture' });
    picture.style.setProperty('--w', data.puzzle.width);
    picture.style.setProperty('--h', data.puzzle.height);
    picture.appendChild(element('img', { src: data.puzzle.uri, alt: 'La grille de la question ' + k,
                                         width: data.puzzle.width, height: data.puzzle.height }));
    if (data.overlays[k - 1] && question.place) {
      const [left, top, width] = question.place;
      const mark = element('img', { class: 'mark', src: data.overlays[k - 1], alt: 'La réponse ' + k + ' marquée', hidden: '' });
      mark.style.left = (100 * left / data.puzzle.width) + '%';
      mark.style.top = (100 * top / data.puzzle.height) + '%';
      mark.style.width = (100 * width / data.puzzle.width) + '%';
      picture.appendChild(mark);
    }
    picture.appendChild(element('p', { class: 'count' }, question.letters + ' lettres'));
    block.appendChild(picture);
    const answers = element('div', { class: 'answers' });
    for (let j = 1; j <= view.perQuestion; ++j) {
      const a = view.perQuestion * (k - 1) + j;
      const caption = view.perQuestion === 2 ? [view.caption1, view.caption2][j - 1] : '';
      const label = element('label', { for: 'answer-' + a, class: j === 1 ? 'number' : 'number second' },
                            j === 1 ? k + '.' : '');
      label.appendChild(element('span', { class: 'visually-hidden' },
                                ' Réponse' + (caption ? ' (' + caption + ')' : '') + ' de la question ' + k));
      const input = element('input', { id: 'answer-' + a, type: 'text', maxlength: '85', autocomplete: 'off',
                                       spellcheck: 'false', autocapitalize: 'characters' });
      input.addEventListener('focus', () => { lastField = a; });
      input.addEventListener('keydown', (event) => { if (event.key === 'Enter') judge(a); });
      input.addEventListener('blur', () => judge(a));
      const verdict = element('output', { id: 'verdict-' + a, class: 'verdict', for: 'answer-' + a });
      answers.append(label, input, verdict);
    }
    block.appendChild(answers);
    block.appendChild(element('p', { id: 'hint-' + k, class: 'hint', hidden: '' }));
    return block;
  }

  function build() {
    byId('title').textContent = view.title;
    byId('subtitle').textContent = view.subtitle;
    byId('author').textContent = view.author;
    byId('status').textContent = view.status;
    const link = byId('link');
    link.textContent = view.link;
    link.href = view.link;
    byId('hide-found-box').hidden = view.quizKind !== 1;
    const grid = byId('grid');
    document.body.style.background = colour(view.background);
    grid.style.setProperty('--ink', colour(view.ink));
    for (let k = 1; k <= view.questions.length; ++k) grid.appendChild(buildQuestion(k));
    if (view.alert) say(view.alert);
  }

  function render() {
    byId('score').textContent = view.score;
    byId('code').value = view.code;
    view.fields.forEach((field, i) => {
      const a = i + 1;
      const input = byId('answer-' + a);
      if (input.value !== field.text) input.value = field.text;
      input.hidden = !!field.hidden;
      const verdict = byId('verdict-' + a);
      verdict.textContent = field.verdict;
      verdict.hidden = !!field.hidden;
      verdict.style.background = colour(field.colour);
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
      if (mark) mark.hidden = !question.marked;
    });
  }

  function act(next) {
    view = next;
    render();
    keep();
  }

  function judge(a) {
    const text = byId('answer-' + a).value;
    act(answerOf(withText(text, (at) => core._quiz_type(a, at))));
  }

  function save() {
    const blob = new Blob([progressBytes()], { type: 'text/plain' });
    const link = element('a', { href: URL.createObjectURL(blob), download: data.exe + '.txt' });
    document.body.appendChild(link);
    link.click();
    link.remove();
    say('Les réponses sont enregistrées dans ' + data.exe + '.txt, parmi vos téléchargements.');
  }

  function resume(file) {
    const reader = new FileReader();
    reader.onload = () => {
      start(new Uint8Array(reader.result));
      render();
      keep();
      say('Les réponses de ' + file.name + ' sont reprises.');
    };
    reader.onerror = () => say('Le fichier ' + file.name + ' ne se lit pas.');
    reader.readAsArrayBuffer(file);
  }

  function wire() {
    byId('fill').addEventListener('click', () => act(answerOf(core._quiz_fill(lastField))));
    byId('hide-found').addEventListener('change', (event) => act(answerOf(core._quiz_hide(event.target.checked ? 1 : 0))));
    byId('save').addEventListener('click', save);
    byId('resume').addEventListener('click', () => byId('resume-file').click());
    byId('resume-file').addEventListener('change', (event) => {
      if (event.target.files.length) resume(event.target.files[0]);
      event.target.value = '';
    });
  }

  QuizCore().then((module) => {
    core = module;
    start(kept());
    build();
    render();
    wire();
    window.quizReady = performance.now();
    document.body.dataset.ready = '1';
  });
})();
