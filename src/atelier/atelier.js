// The atelier's script: it hands the author's files to the authors' library
// (WebAssembly, the very code quizpack runs), draws what it answers, and says
// what the author types or drags. Every rule of a quiz (its fields, their
// kinds and limits, what a typed text becomes in the source, its checks, the
// .toml a folder of pictures makes, the .exe, the page, the key, the ZIP) is
// the library's: this script reads files, draws the form from the library's
// table of fields and its draft, and keeps the work in the browser.
//
// Ids: kind-mosaique, kind-motsmeles, kind-image (a new quiz of that kind);
// open, open-folder (file inputs), drop, message, storage, problems (one li
// per problem or warning, its text the line quizpack check prints, with
// data-field and data-question of the field it names); undo, redo, try,
// save-zip, download-exe, download-page, download-key, download-scorm (the
// SCORM package for a learning platform); the form: every field
// carries data-field with the source's key, a question's inside question-K
// (and its buttons data-action remove, up, down), add-question; words (the
// word search's words and clues) and reseed; puzzle-editor (the big picture,
// in its own pixels scaled to the screen) with place-K for question K; trial
// (the quiz at a try) and key-view. The writer (quizpack atelier) fills
// library-wasm (base64), carried ({NAME: base64}: StubFile, CoreFile,
// CoreWasmFile, PageHtml, PageCss, PageScript, FontFile) and the library's
// script. window.atelierReady is set once the library is ready and the work
// kept is back; window.atelierFields() gives the judge's table of fields,
// window.atelierStats() the steps' timings and the library's memory,
// window.atelierIdle() a promise kept when no check or save is pending.
'use strict';
(function () {
  const byId = (id) => document.getElementById(id);
  const say = (text) => { byId('message').textContent = text; };
  const decode = (base64) => {
    if (Uint8Array.fromBase64) return Uint8Array.fromBase64(base64);
    const text = atob(base64);
    const out = new Uint8Array(text.length);
    for (let i = 0; i < text.length; ++i) out[i] = text.charCodeAt(i);
    return out;
  };
  let ready = false;
  let source = '';            // the source's path among the files
  let draft = null;           // the library's draft, as DraftJson gives it
  let table = null;           // the judge's table of fields
  let current = 1;            // the question whose block last had the focus
  let dirty = false;          // changed since it was opened or saved as a ZIP
  let checkedOk = false;
  let lastProblems = [];
  const files = new Map();    // path -> bytes, as the library has them
  const sizes = new Map();    // path -> a picture's size, as the library reads it
  const urls = new Map();     // path -> object URL, for the pictures shown

  // The library works in a worker of its own, so that the form answers the
  // author while a mosaic of photos is made. Its side of the talk: each
  // message names a call of the library and its arguments (texts, numbers);
  // the answer is the call's JSON, the bytes it made, and the library's
  // memory.
  function libraryWorker() {
    let library = null;
    // JPEG pictures go to the browser's decoder, which works in the
    // background: a call that meets one not yet decoded answers {decode: 1};
    // each is then decoded, one at a time and at the size the library asked,
    // and kept small under its key; the call is made again.
    const decoded = new Map();  // key:WxH -> RGBA, or null when refused
    let toDecode = [];

    function atelierJpeg(bytes, key, width, height, storedWidth, storedHeight, out) {
      const k = key + ':' + width + 'x' + height;
      if (decoded.has(k)) {
        const pixels = decoded.get(k);
        if (!pixels) return -1;
        library.HEAPU8.set(pixels, out);
        return 1;
      }
      if (!toDecode.some((w) => w.k === k))
        toDecode.push({ k, blob: new Blob([bytes], { type: 'image/jpeg' }), width, height, storedWidth, storedHeight });
      return 0;
    }

    // A JPEG at the size asked. WebCodecs' decoder reads it straight at a
    // fraction of its size (a 12-megapixel photo in half the time); its
    // frame carries the EXIF turn, which the bitmap applies.
    async function bitmapOf(w) {
      const size = { resizeWidth: w.width, resizeHeight: w.height, resizeQuality: 'high' };
      if (!self.ImageDecoder) return createImageBitmap(w.blob, size);
      const decoder = new ImageDecoder({ data: w.blob.stream(), type: 'image/jpeg',
                                         desiredWidth: w.storedWidth, desiredHeight: w.storedHeight });
      try {
        const { image } = await decoder.decode();
        try {
          return await createImageBitmap(image, size);
        } finally { image.close(); }
      } finally { decoder.close(); }
    }

    async function decodeWaiting() {
      const waiting = toDecode;
      toDecode = [];
      for (const [i, w] of waiting.entries()) {
        postMessage({ progress: 'Lecture des photos : ' + (i + 1) + ' sur ' + waiting.length + '…' });
        let pixels = null;
        try {
          // Turned upright by its EXIF orientation, as the browser shows it.
          const bitmap = await bitmapOf(w);
          const canvas = new OffscreenCanvas(w.width, w.height);
          const context = canvas.getContext('2d');
          context.drawImage(bitmap, 0, 0);
          bitmap.close();
          pixels = context.getImageData(0, 0, w.width, w.height).data;
        } catch (e) {
          pixels = null;
        }
        decoded.set(w.k, pixels);
      }
    }

    function withText(text, use) {
      const size = library.lengthBytesUTF8(text) + 1;
      const at = library._malloc(size);
      if (!at) throw new Error('memory');
      try {
        library.stringToUTF8(text, at, size);
        return use(at);
      } finally { library._free(at); }
    }

    function withArguments(args, use, done = []) {
      if (done.length === args.length) return use(done);
      const next = args[done.length];
      if (typeof next === 'number') return withArguments(args, use, done.concat([next]));
      return withText(next, (at) => withArguments(args, use, done.concat([at])));
    }

    function madeBytes() {
      const size = library._malloc(4);
      try {
        const at = library._atelier_made(size);
        return library.HEAPU8.slice(at, at + library.HEAP32[size >> 2]);
      } finally { library._free(size); }
    }

    // One file into the library's own room for it; false when the memory is full.
    function fileInto(path, bytes) {
      let at = 0;
      try {
        at = withText(path, (name) => library._atelier_file(name, bytes.length));
      } catch (e) {
        at = 0;
      }
      if (!at) return false;
      if (bytes.length) library.HEAPU8.set(bytes, at);
      return true;
    }

    // A call of the library, made again while it has photos to decode.
    async function ask(fn, args) {
      const once = () => withArguments(args, (at) => {
        const answered = library['_' + fn](...at);
        return typeof answered === 'number' && answered ? JSON.parse(library.UTF8ToString(answered)) : {};
      });
      let said = once();
      for (let round = 0; said.decode && round < 3; ++round) {
        await decodeWaiting();
        said = once();
      }
      if (said.decode) return { ok: false, problems: [], message: 'Les photos de ce quiz ne se lisent pas dans ce navigateur.' };
      return said;
    }

    const making = new Set(['atelier_make', 'atelier_zip', 'atelier_read_file', 'atelier_new']);

    // A picture at the height of its thumbnail, for the page to show.
    async function thumbnail(m) {
      try {
        const bitmap = await createImageBitmap(m.blob, { resizeHeight: m.height, resizeQuality: 'medium' });
        const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
        canvas.getContext('2d').drawImage(bitmap, 0, 0);
        bitmap.close();
        return { ok: 1, blob: await canvas.convertToBlob() };
      } catch (e) {
        return { ok: 0 };
      }
    }

    async function handle(m) {
      try {
        await answer(m);
      } catch (e) {
        postMessage({ id: m.id, said: { ok: 0, message: 'L\'atelier a rencontré une erreur : ' + e.message }, bytes: null,
                      memory: library ? library.HEAPU8.length : 0 });
      }
    }

    async function answer(m) {
      let said = {}, bytes = null;
      if (m.op === 'start') {
        library = await AtelierLibrary({ wasmBinary: m.wasm, atelierJpeg });
        for (const [name, data] of Object.entries(m.carried))
          withText(name, (n) => {
            const at = library._malloc(Math.max(data.length, 1));
            library.HEAPU8.set(data, at);
            library._atelier_hand_over(n, at, data.length);
            library._free(at);
          });
        said = { ok: 1 };
      } else if (m.op === 'file') {
        said = { ok: fileInto(m.path, m.bytes) };
      } else if (m.op === 'forget') {
        library._atelier_forget_files();
        decoded.clear();
      } else if (m.op === 'thumb') {
        said = await thumbnail(m);
      } else {
        said = await ask(m.fn, m.args);
        if (making.has(m.fn) && said.ok) bytes = madeBytes();
      }
      postMessage({ id: m.id, said, bytes, memory: library ? library.HEAPU8.length : 0 }, bytes ? [bytes.buffer] : []);
    }

    // One call after the other: a change typed waits for the check before
    // it. Thumbnails wait until no call does.
    let queue = Promise.resolve();
    let calls = 0;
    const thumbs = [];
    function nextThumb() {
      queue = queue.then(async () => {
        if (calls || !thumbs.length) return;
        await handle(thumbs.shift());
        nextThumb();
      });
    }
    onmessage = (event) => {
      if (event.data.op === 'thumb') {
        thumbs.push(event.data);
        return nextThumb();
      }
      ++calls;
      queue = queue.then(() => handle(event.data)).finally(() => {
        --calls;
        nextThumb();
      });
    };
  }

  let worker = null;
  let memory = 0;
  let nextId = 0;
  const answers = new Map();
  // A call of the library: {said: its JSON, bytes: what it made, or null}.
  function talk(message, transfer = []) {
    return new Promise((resolve) => {
      message.id = ++nextId;
      answers.set(message.id, resolve);
      worker.postMessage(message, transfer);
    });
  }
  const call = (fn, ...args) => talk({ op: 'call', fn, args });
  const ask = async (fn, ...args) => (await call(fn, ...args)).said;

  function startWorker(wasm, carried) {
    const script = byId('library-script').textContent + '\n(' + libraryWorker.toString() + ')();';
    worker = new Worker(URL.createObjectURL(new Blob([script], { type: 'text/javascript' })));
    worker.onmessage = (event) => {
      const m = event.data;
      if (m.progress) return say(m.progress);
      memory = m.memory || memory;
      const resolve = answers.get(m.id);
      answers.delete(m.id);
      if (resolve) resolve(m);
    };
    return talk({ op: 'start', wasm, carried }, [wasm.buffer]);
  }

  // How long each step took (ms), and the library's memory, for the speed
  // benchmark: window.atelierStats().
  const timings = [];
  window.atelierStats = () => ({ memory, timings });
  async function timed(what, step) {
    const start = performance.now();
    const result = await step();
    timings.push({ what, ms: performance.now() - start, at: performance.now() });
    return result;
  }

  // ---- The files ------------------------------------------------------

  // A file's path in the quiz's folder: under a chosen folder, from it.
  function pathOf(file) {
    const relative = file.webkitRelativePath || '';
    const slash = relative.indexOf('/');
    return slash >= 0 ? relative.slice(slash + 1) : file.name;
  }

  // One file into the library (a copy: the page keeps its own, for the
  // pictures it shows and the work it keeps); false when the memory is full.
  // The bytes go to the worker, moved, not copied; the page keeps the file
  // as a blob, which the browser holds away from the page's memory.
  async function fileInto(path, bytes, blob = null) {
    const kept = blob || new Blob([bytes]);
    if (!(await talk({ op: 'file', path, bytes }, [bytes.buffer])).said.ok) return false;
    files.set(path, kept);
    sizes.delete(path);
    thumbs.delete(path);
    if (urls.has(path)) URL.revokeObjectURL(urls.get(path));
    urls.delete(path);
    return true;
  }

  function forgetFiles() {
    talk({ op: 'forget' });
    files.clear();
    sizes.clear();
    for (const made of thumbs.values()) made.then((url) => url.startsWith('blob:') && URL.revokeObjectURL(url));
    thumbs.clear();
    for (const url of urls.values()) URL.revokeObjectURL(url);
    urls.clear();
  }

  // A picture's thumbnail: a phone's photo decoded by the worker at the size
  // shown, not at its twelve megapixels on the page.
  const thumbs = new Map();  // path -> promise of an object URL
  function thumbOf(path) {
    if (!thumbs.has(path)) {
      thumbs.set(path, (async () => {
        if (!files.has(path)) return '';
        // In the worker, after the calls already asked for.
        const { said } = await talk({ op: 'thumb', blob: files.get(path), height: 96 });
        return said.ok ? URL.createObjectURL(said.blob) : urlOf(path);
      })());
    }
    return thumbs.get(path);
  }

  function urlOf(path) {
    if (!urls.has(path) && files.has(path)) urls.set(path, URL.createObjectURL(files.get(path)));
    return urls.get(path) || '';
  }

  // Every file read, in the order given; null once one is refused (said).
  async function readAll(chosen) {
    const read = [];
    for (const file of chosen) {
      try {
        read.push({ path: pathOf(file), name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), blob: file });
      } catch (e) {
        say('« ' + file.name + ' » ne se lit pas : ' + e.message);
        return null;
      }
    }
    return read;
  }

  async function handOver(read) {
    for (const file of read)
      if (!await fileInto(file.path, file.bytes, file.blob)) {
        say('« ' + file.name + ' » est trop grand pour la mémoire de l\'atelier.');
        return false;
      }
    return true;
  }

  // ---- The draft ------------------------------------------------------

  function took(said) {
    if (!said.ok) return false;
    draft = said.draft;
    source = said.source;
    byId('undo').disabled = !said.canUndo;
    byId('redo').disabled = !said.canRedo;
    return true;
  }

  // A change of the draft (atelier_draft_edit's operations), then the form
  // drawn again where its shape changed, the check and the save.
  const Op = { set: 0, add: 1, remove: 2, move: 3, words: 4, reseed: 5, pictures: 6, undo: 7, redo: 8 };
  // The changes go to the library in order; while some are on their way the
  // form keeps what it shows (a place being moved, a word being typed), and
  // the draft is taken from the last answer.
  let inFlight = 0;
  let redrawOwed = false;
  async function edit(op, where = 0, key = '', text = '', index = 0, redraw = op !== Op.set) {
    const start = performance.now();
    ++inFlight;
    const said = await ask('atelier_draft_edit', op, where, key, text, index);
    --inFlight;
    if (said.said) say(said.said);
    dirty = true;
    redrawOwed = redrawOwed || redraw;
    if (inFlight > 0) return;
    took(said);
    if (redrawOwed) {
      redrawOwed = false;
      render();
    }
    timings.push({ what: 'edit', ms: performance.now() - start, at: performance.now() });
    check();
    keep();
  }

  async function openDraft(path) {
    const said = await ask('atelier_draft_open', path);
    if (!took(said)) {
      draft = null;
      source = path;
    }
    dirty = false;
    current = 1;
    render();
  }

  // ---- The check ------------------------------------------------------

  let checking = null;
  let checkAgain = false;
  function check() {
    if (checking) {
      checkAgain = true;
      return checking;
    }
    checking = (async () => {
      do {
        checkAgain = false;
        showProblems(await timed('check', () => ask('atelier_check', source)));
      } while (checkAgain);
    })().finally(() => { checking = null; });
    return checking;
  }

  function fieldElement(where, key, index = 0) {
    const within = where > 0 ? byId('question-' + where) : byId(where < 0 ? 'section-fields' : 'header-fields');
    if (!within) return null;
    return within.querySelector('[data-field="' + key + '"][data-index="' + index + '"]') ||
           within.querySelector('[data-field="' + key + '"]');
  }

  function showProblems(said) {
    const list = byId('problems');
    list.replaceChildren();
    for (const slot of document.querySelectorAll('.said')) slot.replaceChildren();
    lastProblems = said.problems || [];
    for (const problem of lastProblems) {
      const item = document.createElement('li');
      item.textContent = problem.text;
      if (problem.warning) item.className = 'warning';
      if (problem.key !== undefined) {
        item.dataset.field = problem.key;
        if (problem.question > 0) item.dataset.question = problem.question;
        if (problem.question < 0) item.dataset.section = '1';
        item.tabIndex = 0;
      }
      list.append(item);
      // Beside its field too, as the author types.
      const field = problem.key !== undefined && fieldElement(problem.question, problem.key);
      const slot = field && field.closest('.field') && field.closest('.field').querySelector('.said');
      if (slot) {
        const line = document.createElement('div');
        line.textContent = problem.text.replace(/^[^:]*:\d+: /, '');
        if (problem.warning) line.className = 'warning';
        slot.append(line);
      }
    }
    if (said.ok && !lastProblems.length) {
      const item = document.createElement('li');
      item.className = 'sound';
      item.textContent = said.message;
      list.append(item);
    }
    checkedOk = !!said.ok;
    for (const id of ['download-exe', 'download-page', 'download-key', 'download-scorm', 'try']) byId(id).disabled = !said.ok;
    byId('save-zip').disabled = !source;
    if (said.message) say(said.message);
    showKey();
  }

  function goToProblem(item) {
    const where = item.dataset.question ? Number(item.dataset.question) : item.dataset.section ? -1 : 0;
    const field = item.dataset.field !== undefined && fieldElement(where, item.dataset.field);
    if (field) {
      const details = field.closest('details');
      if (details) details.open = true;
      field.focus();
      field.scrollIntoView({ block: 'center' });
    }
  }

  // ---- The form ------------------------------------------------------

  // The fields kept out of the way: most quizzes leave them as they are.
  const lessUsed = new Set(['version', 'linkText', 'statusText', 'quizKind', 'scrambled', 'scorm', 'spare', 'text2', 'overlay',
                            'directions', 'cellSize', 'lines', 'ground', 'ink', 'tint']);

  const hex = (rgb) => '#' + rgb.map((v) => Number(v).toString(16).padStart(2, '0')).join('');

  // The value a field shows: the draft's, else its default.
  function shown(row, values) {
    const value = values[row.name];
    if (value !== undefined && value !== null) return value;
    if (row.name === 'layoutType' && values === draft.header) return draft.layout;  // a section may have its own
    if (row.default === null) return '';
    if (row.kind === 'colour') return hex(JSON.parse(row.default));
    if (row.kind === 'boolean') return row.default === 'true';
    return row.default.replace(/^"|"$/g, '');
  }

  function sectionRow() {
    return draft && table.sections.find((s) => s.key === draft.kind);
  }
  const perQuestion = () => Number(draft.header.answersPerQuestion || 1);

  let fieldCount = 0;
  // One field of the form: its label, its input, its help, its problems.
  function fieldOf(row, where, values) {
    const box = document.createElement('div');
    box.className = 'field';
    const id = 'f' + (++fieldCount);
    const label = document.createElement('label');
    label.htmlFor = id;
    label.textContent = (row.label || row.name) + (row.required ? ' *' : '');
    const value = shown(row, values);
    let input;
    if (row.choices.length) {
      input = document.createElement('select');
      for (const choice of row.choices) {
        const option = document.createElement('option');
        option.value = String(choice.value);
        option.textContent = choice.value + ' : ' + choice.says;
        input.append(option);
      }
      input.value = String(value);
    } else if (row.kind === 'boolean') {
      box.classList.add('flag');
      input = document.createElement('input');
      input.type = 'checkbox';
      input.checked = value === true;
    } else if (row.kind === 'colour') {
      input = document.createElement('input');
      input.type = 'color';
      input.value = typeof value === 'string' && /^#[0-9a-f]{6}$/i.test(value) ? value : '#000000';
    } else {
      input = document.createElement('input');
      input.type = 'text';
      if (row.kind === 'integer') input.inputMode = 'numeric';
      input.value = Array.isArray(value) ? value.join(', ') : String(value);
      if (row.default !== null && values[row.name] === undefined) {
        input.placeholder = input.value;
        input.value = '';
      }
    }
    input.id = id;
    input.dataset.field = row.name;
    input.dataset.index = '0';
    input.dataset.where = String(where);
    const help = document.createElement('span');
    help.className = 'help';
    help.id = id + '-help';
    help.textContent = row.help;
    input.setAttribute('aria-describedby', help.id);
    const said = document.createElement('div');
    said.className = 'said';
    said.setAttribute('aria-live', 'polite');
    if (row.kind === 'boolean') box.append(input, label, help, said);
    else box.append(label, input, help, said);
    return box;
  }

  // What a field sends: the typed text, "true"/"false", "#rrggbb", a choice.
  function typedOf(input) {
    return input.type === 'checkbox' ? String(input.checked) : input.value;
  }

  function answersOf(where, values) {
    const box = document.createElement('fieldset');
    box.className = 'field';
    const legend = document.createElement('legend');
    legend.textContent = 'Réponses';
    box.append(legend);
    const given = Array.isArray(values.answers) ? values.answers : [values.answer || '', ''];
    for (const index of [0, 1]) {
      const id = 'f' + (++fieldCount);
      const label = document.createElement('label');
      label.htmlFor = id;
      label.textContent = (draft.header['answerCaption' + (index + 1)] || (index ? 'Seconde réponse' : 'Première réponse'));
      const input = document.createElement('input');
      input.type = 'text';
      input.id = id;
      input.value = given[index] || '';
      input.dataset.field = 'answers';
      input.dataset.index = String(index);
      input.dataset.where = String(where);
      box.append(label, input);
    }
    const said = document.createElement('div');
    said.className = 'said';
    box.append(said);
    return box;
  }

  function lessUsedBox(children) {
    if (!children.length) return [];
    const details = document.createElement('details');
    const summary = document.createElement('summary');
    summary.textContent = 'Plus de réglages';
    details.append(summary, ...children);
    return [details];
  }

  function questionBlock(k, values, made, own) {
    const block = document.createElement('div');
    block.className = 'question' + (k === current ? ' current' : '');
    block.id = 'question-' + k;
    block.dataset.question = String(k);
    const heading = document.createElement('h3');
    heading.draggable = true;
    heading.textContent = 'Question ' + k + ' ';
    if (values.image) {
      const thumb = document.createElement('img');
      thumb.className = 'thumb';
      thumbOf(values.image).then((url) => { thumb.src = url; });
      thumb.alt = 'l\'image ' + values.image;
      heading.append(thumb);
    }
    const actions = document.createElement('span');
    actions.className = 'actions';
    for (const [action, text, label] of [['up', '↑', 'Monter'], ['down', '↓', 'Descendre'], ['remove', '✕', 'Retirer']]) {
      const button = document.createElement('button');
      button.type = 'button';
      button.dataset.action = action;
      button.textContent = text;
      button.setAttribute('aria-label', label + ' la question ' + k);
      button.title = label;
      actions.append(button);
    }
    heading.append(actions);
    block.append(heading);
    if (draft.kind === 'image' && !Array.isArray(values.place)) {
      // From the keyboard alone: a place to move and size with the arrows.
      const place = document.createElement('button');
      place.type = 'button';
      place.dataset.action = 'place';
      place.textContent = 'Placer sur l\'image';
      place.setAttribute('aria-label', 'Placer la réponse de la question ' + k + ' sur l\'image');
      block.append(place);
    }
    const main = [], more = [];
    if (perQuestion() === 2) main.push(answersOf(k, values));
    for (const row of table.question) {
      if (made.includes(row.name) && !(row.name === 'place' && draft.kind === 'image')) continue;
      if (row.name === 'answers' || (row.name === 'answer' && perQuestion() === 2)) continue;
      if (row.name === 'overlay' && values.overlay === undefined) continue;
      (lessUsed.has(row.name) ? more : main).push(fieldOf(row, k, values));
    }
    block.append(...main, ...lessUsedBox(more));
    for (const name of own)
      if (name !== 'image' && values[name] !== undefined)
        block.append(fieldOf({ name, label: name, kind: 'text', default: null, choices: [], help: '' }, k, values));
    return block;
  }

  // Where the focus was, to put it back once the form is drawn again.
  function focusPlace() {
    const at = document.activeElement;
    if (!at || !at.dataset) return null;
    return { id: at.id, field: at.dataset.field, index: at.dataset.index, where: at.dataset.where,
             action: at.dataset.action, question: at.closest && at.closest('.question') && at.closest('.question').id,
             start: at.selectionStart, end: at.selectionEnd };
  }

  function restoreFocus(place) {
    if (!place) return;
    let element = null;
    if (place.id && /^(place-|words$|add-question$)/.test(place.id)) element = byId(place.id);
    else if (place.action && place.question) element = byId(place.question) && byId(place.question).querySelector('[data-action="' + place.action + '"]');
    else if (place.field !== undefined) element = fieldElement(Number(place.where), place.field, place.index);
    if (!element) return;
    element.focus({ preventScroll: true });
    if (place.start !== null && place.start !== undefined && element.setSelectionRange) {
      try { element.setSelectionRange(place.start, place.end); } catch (e) { /* not a text */ }
    }
  }

  function render() {
    const begun = performance.now();
    try {
      drawForm();
    } finally {
      timings.push({ what: 'render', ms: performance.now() - begun, at: performance.now() });
    }
  }

  function drawForm() {
    const form = byId('form');
    form.hidden = !draft;
    if (!draft) return;
    const place = focusPlace();
    const header = byId('header-fields');
    const main = [], more = [];
    for (const row of table.header) {
      if (row.kind === 'questions' || row.kind === 'picture') continue;
      if ((row.name === 'answerCaption1' || row.name === 'answerCaption2') && perQuestion() !== 2) continue;
      (lessUsed.has(row.name) ? more : main).push(fieldOf(row, 0, draft.header));
    }
    header.replaceChildren(...main, ...lessUsedBox(more));
    const section = sectionRow();
    const sectionBox = byId('section-fields');
    const rows = section ? section.fields.filter((r) => !(draft.kind === 'motsmeles' && r.name === 'seed')) : [];
    sectionBox.replaceChildren(...rows.filter((r) => !lessUsed.has(r.name)).map((r) => fieldOf(r, -1, draft.section)),
                               ...lessUsedBox(rows.filter((r) => lessUsed.has(r.name)).map((r) => fieldOf(r, -1, draft.section))));
    // The word search: its words and clues in one text.
    byId('words-box').hidden = draft.kind !== 'motsmeles';
    if (draft.kind === 'motsmeles' && document.activeElement !== byId('words'))
      byId('words').value = draft.questions.map((q) => (q.answer || '') + (q.text ? ' : ' + q.text : '')).join('\n');
    const made = section ? section.made : [];
    const own = section ? section.own : [];
    if (current > draft.questions.length) current = Math.max(1, draft.questions.length);
    byId('questions').replaceChildren(...draft.questions.map((q, i) => questionBlock(i + 1, q, made, own)));
    drawPuzzle();
    restoreFocus(place);
  }

  function setCurrent(k) {
    if (k === current) return;
    current = k;
    for (const block of document.querySelectorAll('.question')) block.classList.toggle('current', Number(block.dataset.question) === k);
    for (const box of document.querySelectorAll('.place')) box.classList.toggle('current', Number(box.dataset.question) === k);
  }

  // ---- The big picture and its places ---------------------------------

  let puzzleSize = null;  // {width, height}: the picture standing upright, in its own pixels

  function puzzlePath() {
    const name = draft && typeof draft.header.puzzle === 'string' ? draft.header.puzzle : '';
    const folder = source.includes('/') ? source.slice(0, source.lastIndexOf('/') + 1) : '';
    return name ? folder + name : '';
  }

  function drawPuzzle() {
    const path = puzzlePath();
    const box = byId('puzzle-box');
    box.hidden = !draft || (draft.kind !== 'image' && !path);
    const editor = byId('puzzle-editor');
    if (box.hidden) return;
    if (!path || !files.has(path)) {
      editor.replaceChildren();
      byId('puzzle-help').textContent = 'Ouvrez la grande image (le bouton des fichiers, ou déposez-la ici) : '
        + 'chaque réponse y aura sa place.';
      puzzleSize = null;
      return;
    }
    byId('puzzle-help').textContent = 'Choisissez la question, puis tracez sa place sur l\'image : à la souris, au doigt, '
      + 'ou au clavier sur un rectangle (flèches : déplacer d\'un pixel ; Maj et flèches : agrandir ou réduire).';
    puzzleSize = sizes.get(path);
    if (!puzzleSize) {
      // Read once by the library, then drawn again.
      ask('atelier_picture_size', path).then((size) => {
        sizes.set(path, size);
        drawPuzzle();
      });
      return;
    }
    let picture = editor.querySelector('img:not(.key)');
    const key = picture && picture.dataset.path === path ? editor.querySelector('img.key') : null;
    if (!picture || picture.dataset.path !== path) {
      picture = document.createElement('img');
      picture.alt = 'la grande image du quiz';
      picture.dataset.path = path;
      picture.src = urlOf(path);
    }
    const boxes = draft.questions.map((q, i) => placeBox(i + 1, q.place));
    editor.replaceChildren(picture, ...(key ? [key] : []), ...boxes.filter(Boolean));
  }

  function placeBox(k, place) {
    if (!Array.isArray(place) || place.length !== 4 || !puzzleSize || !puzzleSize.ok) return null;
    const box = document.createElement('div');
    box.className = 'place' + (k === current ? ' current' : '');
    box.id = 'place-' + k;
    box.dataset.question = String(k);
    box.tabIndex = 0;
    box.setAttribute('role', 'group');
    box.setAttribute('aria-label', 'La place de la question ' + k + ' : ' + place.join(', '));
    const number = document.createElement('span');
    number.textContent = String(k);
    const handle = document.createElement('div');
    handle.className = 'handle';
    box.append(number, handle);
    positionBox(box, place);
    return box;
  }

  function positionBox(box, [x, y, w, h]) {
    box.style.left = (100 * x / puzzleSize.width) + '%';
    box.style.top = (100 * y / puzzleSize.height) + '%';
    box.style.width = (100 * w / puzzleSize.width) + '%';
    box.style.height = (100 * h / puzzleSize.height) + '%';
  }

  // A point of the screen in the picture's own pixels, inside it.
  function pixelAt(event) {
    const bounds = byId('puzzle-editor').querySelector('img:not(.key)').getBoundingClientRect();
    const clamp = (v, most) => Math.max(0, Math.min(most, v));
    return [clamp(Math.round((event.clientX - bounds.left) * puzzleSize.width / bounds.width), puzzleSize.width),
            clamp(Math.round((event.clientY - bounds.top) * puzzleSize.height / bounds.height), puzzleSize.height)];
  }

  function setPlace(k, place) {
    draft.questions[k - 1].place = place;  // the library's answer says the same
    edit(Op.set, k, 'place', place.join(', '), 0, false);
    const box = byId('place-' + k);
    if (box) {
      positionBox(box, place);
      box.setAttribute('aria-label', 'La place de la question ' + k + ' : ' + place.join(', '));
    } else {
      drawPuzzle();
    }
    const field = fieldElement(k, 'place');
    if (field && document.activeElement !== field) field.value = place.join(', ');
  }

  let dragging = null;  // {k, mode: 'draw' | 'move' | 'resize', from, place}
  function wirePuzzle() {
    const editor = byId('puzzle-editor');
    editor.addEventListener('pointerdown', (event) => {
      if (!puzzleSize || !puzzleSize.ok || event.button > 0) return;
      const box = event.target.closest('.place');
      const from = pixelAt(event);
      if (box) {
        const k = Number(box.dataset.question);
        setCurrent(k);
        dragging = { k, mode: event.target.classList.contains('handle') ? 'resize' : 'move', from,
                     place: draft.questions[k - 1].place.slice() };
      } else {
        if (!draft.questions.length) return edit(Op.add, 1);
        dragging = { k: current, mode: 'draw', from, place: [from[0], from[1], 0, 0] };
      }
      editor.setPointerCapture(event.pointerId);
      event.preventDefault();
    });
    editor.addEventListener('pointermove', (event) => {
      if (!dragging) return;
      const [x, y] = pixelAt(event);
      const [fx, fy] = dragging.from;
      const p = dragging.place;
      let place;
      if (dragging.mode === 'draw') place = [Math.min(x, fx), Math.min(y, fy), Math.abs(x - fx), Math.abs(y - fy)];
      else if (dragging.mode === 'move')
        place = [Math.max(0, Math.min(puzzleSize.width - p[2], p[0] + x - fx)),
                 Math.max(0, Math.min(puzzleSize.height - p[3], p[1] + y - fy)), p[2], p[3]];
      else place = [p[0], p[1], Math.max(1, p[2] + x - fx), Math.max(1, p[3] + y - fy)];
      dragging.now = place;
      let box = byId('place-' + dragging.k);
      if (!box) {
        box = placeBox(dragging.k, place);
        if (box) editor.append(box);
      }
      if (box) positionBox(box, place);
    });
    const end = () => {
      if (!dragging) return;
      const { k, now } = dragging;
      dragging = null;
      if (now && now[2] >= 1 && now[3] >= 1) setPlace(k, now);
      else drawPuzzle();
    };
    editor.addEventListener('pointerup', end);
    editor.addEventListener('pointercancel', end);
    // A pixel at a time from the keyboard: arrows move, Maj and arrows resize.
    editor.addEventListener('keydown', (event) => {
      const box = event.target.closest && event.target.closest('.place');
      const moves = { ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1] };
      if (!box || !moves[event.key]) return;
      event.preventDefault();
      const k = Number(box.dataset.question);
      const [dx, dy] = moves[event.key];
      const p = draft.questions[k - 1].place.slice();
      if (event.shiftKey) {
        p[2] = Math.max(1, Math.min(puzzleSize.width - p[0], p[2] + dx));
        p[3] = Math.max(1, Math.min(puzzleSize.height - p[1], p[3] + dy));
      } else {
        p[0] = Math.max(0, Math.min(puzzleSize.width - p[2], p[0] + dx));
        p[1] = Math.max(0, Math.min(puzzleSize.height - p[3], p[1] + dy));
      }
      setCurrent(k);
      setPlace(k, p);
    });
    editor.addEventListener('focusin', (event) => {
      const box = event.target.closest && event.target.closest('.place');
      if (box) setCurrent(Number(box.dataset.question));
    });
  }

  // The key, as the player shows the marks: over the big picture, beside
  // the word search, once the quiz is sound.
  let keyShown = 0;
  function showKey() {
    const stamp = ++keyShown;
    if (!checkedOk || !draft || (draft.kind !== 'image' && draft.kind !== 'motsmeles')) return;
    setTimeout(async () => {
      if (stamp !== keyShown || checking) return;
      const { said: made, bytes } = await call('atelier_make', source, 2);
      if (!made.ok || stamp !== keyShown) return;
      const url = URL.createObjectURL(new Blob([bytes], { type: 'image/png' }));
      let target = byId('grid-view');
      if (draft.kind === 'image') {
        // Over the big picture, at its size: the places keep their scale.
        const editor = byId('puzzle-editor');
        target = editor.querySelector('img.key');
        if (!target && editor.querySelector('img')) {
          target = document.createElement('img');
          target.className = 'key';
          target.alt = '';
          editor.querySelector('img').after(target);
        }
      }
      if (!target) return URL.revokeObjectURL(url);
      if (target.src.startsWith('blob:')) URL.revokeObjectURL(target.src);
      target.src = url;
      target.hidden = false;
    }, 250);
  }

  // ---- Keeping the work in the browser --------------------------------

  const kept = { db: null, refused: false, pending: null };
  function storageSays(text) { byId('storage').textContent = text; }
  function refused(e) {
    kept.refused = true;
    storageSays('Ce navigateur ne garde pas le travail (' + (e && e.name === 'QuotaExceededError' ? 'son stockage est plein'
      : 'il refuse de le stocker') + ') : il reste dans cette page tant qu\'elle est ouverte ; enregistrez le quiz (.zip) '
      + 'pour le retrouver.');
  }

  function openStore() {
    return new Promise((resolve) => {
      let request;
      try {
        request = indexedDB.open('atelier-des-quiz', 1);
      } catch (e) {
        refused(e);
        return resolve(null);
      }
      request.onupgradeneeded = () => {
        request.result.createObjectStore('travail');
        request.result.createObjectStore('fichiers');
      };
      request.onsuccess = () => resolve(request.result);
      request.onerror = () => { refused(request.error); resolve(null); };
      request.onblocked = () => { refused(null); resolve(null); };
    });
  }

  function stored(db, names, work) {
    return new Promise((resolve) => {
      let transaction;
      try {
        transaction = db.transaction(names, 'readwrite');
        work(transaction);
      } catch (e) {
        refused(e);
        return resolve(false);
      }
      transaction.oncomplete = () => resolve(true);
      transaction.onabort = transaction.onerror = () => { refused(transaction.error); resolve(false); };
    });
  }

  // The work as it is: the source, the files' paths, each file once.
  let keptFiles = new Set();
  function keep() {
    if (kept.pending) clearTimeout(kept.pending);
    kept.pending = setTimeout(saveNow, 200);
  }
  async function saveNow() {
    kept.pending = null;
    if (!kept.db || !source) return;
    // The source as the library last wrote it; each picture is kept once.
    files.set(source, new Blob([await madeFileBytes(source)]));
    keptFiles.delete(source);
    const paths = [...files.keys()];
    const fresh = paths.filter((p) => !keptFiles.has(p));
    // One file a transaction, as a blob the browser keeps away from the
    // page: 24 photos never hold the form up.
    let ok = true;
    for (const path of fresh) {
      if (!files.has(path)) continue;
      ok = ok && await stored(kept.db, ['fichiers'], (t) => t.objectStore('fichiers').put(files.get(path), path));
      if (ok) keptFiles.add(path);
    }
    ok = ok && await stored(kept.db, ['travail'], (t) => t.objectStore('travail').put({ source, paths, dirty, at: Date.now() }, 'courant'));
    if (ok && kept.refused) {
      kept.refused = false;
      storageSays('');
    }
  }

  function forgetKept() {
    keptFiles = new Set();
    if (!kept.db) return Promise.resolve();
    return stored(kept.db, ['travail', 'fichiers'], (t) => { t.objectStore('fichiers').clear(); t.objectStore('travail').clear(); });
  }

  function read(db, store, key) {
    return new Promise((resolve) => {
      try {
        const request = db.transaction(store).objectStore(store).get(key);
        request.onsuccess = () => resolve(request.result);
        request.onerror = () => resolve(undefined);
      } catch (e) {
        resolve(undefined);
      }
    });
  }

  async function restore() {
    kept.db = await openStore();
    if (!kept.db) return;
    const work = await read(kept.db, 'travail', 'courant');
    if (!work || !work.source) return;
    forgetFiles();
    for (const path of work.paths) {
      const blob = await read(kept.db, 'fichiers', path);
      if (blob && await fileInto(path, new Uint8Array(await blob.arrayBuffer()), blob)) keptFiles.add(path);
    }
    await openDraft(work.source);
    dirty = !!work.dirty;
    say('Le travail gardé dans ce navigateur est revenu.');
    await check();
  }

  // ---- Starting and opening -------------------------------------------

  // Unsaved work is replaced only when the author says so.
  function mayReplace() {
    return !dirty || window.confirm('Le quiz en cours n\'est pas enregistré : le remplacer quand même ?');
  }

  // Starting and opening replace the draft: one after the other, in the order
  // asked, so that a picture opened just after «Nouveau» goes into the new quiz.
  let replacing = Promise.resolve();
  let turns = 0;
  function inTurn(work) {
    ++turns;
    const turn = replacing.then(work).finally(() => { --turns; });
    replacing = turn.catch(() => {});
    return turn;
  }

  function start(kind) {
    if (!ready || !mayReplace()) return;
    return inTurn(() => startNow(kind));
  }

  async function startNow(kind) {
    forgetFiles();
    await forgetKept();
    took(await ask('atelier_draft_new', kind));
    files.set(source, new Blob([await madeFileBytes(source)]));
    dirty = false;
    current = 1;
    render();
    say(['Une mosaïque : déposez ses images (ou ouvrez-les), une question par image.',
         'Des mots mêlés : tapez les mots et leurs indices.',
         'Un quiz sur une image : ouvrez la grande image, puis tracez la place de chaque réponse.'][kind]);
    check();
    keep();
  }

  async function madeFileBytes(path) {
    const { said, bytes } = await call('atelier_read_file', path);
    return said.ok ? bytes : new Uint8Array();
  }

  const isPicture = (path) => /\.(png|gif|bmp|jpe?g)$/i.test(path);

  async function open(chosen, asFolder) {
    if (!ready) return;
    chosen = Array.from(chosen);
    if (!chosen.length) return;
    say('Lecture de ' + chosen.length + (chosen.length > 1 ? ' fichiers…' : ' fichier…'));
    const read = await timed('read', () => readAll(chosen));
    if (!read) return;
    const sources = read.filter((f) => /\.toml$/i.test(f.path));
    const zips = read.filter((f) => /\.zip$/i.test(f.path));
    const pictures = read.filter((f) => isPicture(f.path));
    // Pictures alone go into the quiz being made: a mosaic's questions, or
    // the big picture of a quiz on one's own picture.
    if (!asFolder && !sources.length && !zips.length && draft && (draft.kind === 'mosaique' || draft.kind === 'image')) {
      if (!await handOver(pictures)) return;
      if (draft.kind === 'image') {
        await edit(Op.set, 0, 'puzzle', pictures[0].path, 0, true);
        say('La grande image : ' + pictures[0].path + '. Tracez la place de chaque réponse.');
      } else {
        await edit(Op.pictures, 0, '', pictures.map((f) => f.path).join('\n'));
      }
      return;
    }
    if (sources.length + zips.length > 1) {
      say('Plusieurs quiz : ouvrez-en un à la fois (' + sources.concat(zips).map((f) => f.path).join(', ') + ').');
      return;
    }
    if (!mayReplace()) return;
    showProblems({ ok: false, problems: [], message: '' });
    forgetFiles();
    await forgetKept();
    if (!await handOver(read)) return;
    if (zips.length) {
      const opened = await ask('atelier_open_zip', zips[0].path);
      if (!opened.ok) {
        say(opened.message);
        return;
      }
      files.clear();
      for (const path of opened.files) files.set(path, new Blob([await madeFileBytes(path)]));
      const inside = opened.files.filter((p) => /\.toml$/i.test(p));
      if (inside.length !== 1) {
        say('« ' + zips[0].path + ' » ne tient pas un quiz : il y faut un fichier .toml, et un seul.');
        return;
      }
      await openDraft(inside[0]);
    } else if (sources.length) {
      await openDraft(sources[0].path);
    } else {
      // Pictures alone: the mosaic quizpack new makes of them.
      const folder = (chosen[0].webkitRelativePath || '').split('/')[0] || 'Mon quiz';
      const { said: made, bytes } = await call('atelier_new', folder, read.map((file) => file.path).join('\n'));
      if (!made.ok) {
        draft = null;
        render();
        showProblems({ ok: false, problems: [], message: made.message });
        return;
      }
      await fileInto('quiz.toml', bytes);
      await openDraft('quiz.toml');
    }
    keep();
    await check();
  }

  // ---- Trying, downloading --------------------------------------------

  function hand(bytes, name, type) {
    const url = URL.createObjectURL(new Blob([bytes], { type }));
    const link = document.createElement('a');
    link.href = url;
    link.download = name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
  }

  async function download(what) {
    await check();
    const { said: made, bytes } = await timed('make', () => call('atelier_make', source, what));
    if (!made.ok) {
      showProblems(made);
      return;
    }
    hand(bytes, made.name, ['application/vnd.microsoft.portable-executable', 'text/html', 'image/png', 'application/zip'][what]);
    say(made.message);
  }

  async function saveZip() {
    const { said: made, bytes } = await call('atelier_zip');
    if (made.ok) {
      hand(bytes, made.name, 'application/zip');
      dirty = false;
      keep();
    }
    say(made.message);
  }

  let trialUrl = null;
  async function tryQuiz() {
    await check();
    const { said: made, bytes } = await call('atelier_make', source, 1);
    if (!made.ok) {
      showProblems(made);
      return;
    }
    if (trialUrl) URL.revokeObjectURL(trialUrl);
    trialUrl = URL.createObjectURL(new Blob([bytes], { type: 'text/html' }));
    byId('trial-box').hidden = false;
    byId('key-view').hidden = true;
    byId('trial').src = trialUrl;
    byId('trial').focus();
    say('À l\'essai : jouez le quiz comme le joueur le jouera.');
  }

  async function showTrialKey() {
    const { said: made, bytes } = await call('atelier_make', source, 2);
    if (!made.ok) return showProblems(made);
    const view = byId('key-view');
    if (view.src) URL.revokeObjectURL(view.src);
    view.src = URL.createObjectURL(new Blob([bytes], { type: 'image/png' }));
    view.hidden = false;
  }

  // ---- Listening ------------------------------------------------------

  function wire() {
    for (const [id, kind] of [['kind-mosaique', 0], ['kind-motsmeles', 1], ['kind-image', 2]])
      byId(id).addEventListener('click', () => start(kind));
    for (const id of ['open', 'open-folder'])
      byId(id).addEventListener('change', (event) => {
        const chosen = Array.from(event.target.files);
        event.target.value = '';  // the same files chosen again are read again
        inTurn(() => open(chosen, id === 'open-folder'));
      });
    const drop = byId('drop');
    for (const target of [drop, byId('puzzle-box'), byId('questions')]) {
      target.addEventListener('dragover', (event) => {
        if (!event.dataTransfer.types.includes('Files')) return;
        event.preventDefault();
        drop.classList.add('over');
      });
      target.addEventListener('dragleave', () => drop.classList.remove('over'));
      target.addEventListener('drop', (event) => {
        if (!event.dataTransfer.files.length) return;
        event.preventDefault();
        drop.classList.remove('over');
        const dropped = Array.from(event.dataTransfer.files);  // the list empties once the event is over
        inTurn(() => open(dropped, false));
      });
    }
    byId('download-exe').addEventListener('click', () => download(0));
    byId('download-page').addEventListener('click', () => download(1));
    byId('download-key').addEventListener('click', () => download(2));
    byId('download-scorm').addEventListener('click', () => download(3));
    byId('save-zip').addEventListener('click', saveZip);
    byId('try').addEventListener('click', tryQuiz);
    byId('close-trial').addEventListener('click', () => { byId('trial-box').hidden = true; });
    byId('show-key').addEventListener('click', showTrialKey);
    byId('undo').addEventListener('click', () => edit(Op.undo));
    byId('redo').addEventListener('click', () => edit(Op.redo));
    document.addEventListener('keydown', (event) => {
      if (!(event.ctrlKey || event.metaKey) || !draft) return;
      const key = event.key.toLowerCase();
      if (key === 'z' && !event.shiftKey && !byId('undo').disabled) { event.preventDefault(); edit(Op.undo); }
      if ((key === 'y' || (key === 'z' && event.shiftKey)) && !byId('redo').disabled) { event.preventDefault(); edit(Op.redo); }
    });
    byId('add-question').addEventListener('click', async () => {
      await edit(Op.add, draft.questions.length + 1);
      current = draft.questions.length;
      render();
      const field = byId('question-' + current).querySelector('input');
      if (field) field.focus();
    });
    byId('reseed').addEventListener('click', () => edit(Op.reseed));
    let wordsWait = null;
    byId('words').addEventListener('input', () => {
      clearTimeout(wordsWait);
      wordsWait = setTimeout(() => edit(Op.words, 0, '', byId('words').value), 150);
    });
    byId('problems').addEventListener('click', (event) => {
      const item = event.target.closest('li');
      if (item) goToProblem(item);
    });
    byId('problems').addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && event.target.closest('li')) goToProblem(event.target.closest('li'));
    });
    // The form's fields: a text as it is typed, a choice once made.
    const form = byId('form');
    const typedIn = (event, redraw) => {
      const input = event.target;
      if (!input.dataset || input.dataset.field === undefined || input.dataset.where === undefined) return;
      edit(Op.set, Number(input.dataset.where), input.dataset.field, typedOf(input), Number(input.dataset.index), redraw);
    };
    form.addEventListener('input', (event) => {
      if (event.target.type === 'text') typedIn(event, false);
    });
    form.addEventListener('change', (event) => {
      if (event.target.type !== 'text' && event.target.id !== 'words') typedIn(event, true);
    });
    form.addEventListener('focusin', (event) => {
      const block = event.target.closest('.question');
      if (block) setCurrent(Number(block.dataset.question));
    });
    form.addEventListener('click', async (event) => {
      const block = event.target.closest('.question');
      if (block) setCurrent(Number(block.dataset.question));
      const button = event.target.closest('[data-action]');
      if (!button || !block) return;
      const k = Number(block.dataset.question);
      if (button.dataset.action === 'place') {
        if (!puzzleSize || !puzzleSize.ok) return say('Ouvrez d\'abord la grande image.');
        const w = Math.max(1, Math.round(puzzleSize.width / 5)), h = Math.max(1, Math.round(puzzleSize.height / 5));
        await edit(Op.set, k, 'place', [Math.round((puzzleSize.width - w) / 2), Math.round((puzzleSize.height - h) / 2), w, h].join(', '), 0, true);
        const box = byId('place-' + k);
        if (box) box.focus();
      } else if (button.dataset.action === 'remove') {
        await edit(Op.remove, k);
        const next = byId('question-' + Math.min(k, draft.questions.length));
        if (next) next.querySelector('[data-action="remove"]').focus();
        else byId('add-question').focus();
      } else {
        const to = button.dataset.action === 'up' ? k - 1 : k + 1;
        if (to < 1 || to > draft.questions.length) return;
        current = to;
        await edit(Op.move, k, '', '', to);
        byId('question-' + to).querySelector('[data-action="' + button.dataset.action + '"]').focus();
      }
    });
    // A question dragged by its heading onto another takes its place.
    const questions = byId('questions');
    questions.addEventListener('dragstart', (event) => {
      const block = event.target.closest('.question');
      if (block) event.dataTransfer.setData('text/x-question', block.dataset.question);
    });
    questions.addEventListener('dragover', (event) => {
      if (event.dataTransfer.types.includes('text/x-question')) event.preventDefault();
    });
    questions.addEventListener('drop', (event) => {
      const from = Number(event.dataTransfer.getData('text/x-question'));
      const block = event.target.closest('.question');
      if (!from || !block) return;
      event.preventDefault();
      const to = Number(block.dataset.question);
      if (to !== from) {
        current = to;
        edit(Op.move, from, '', '', to);
      }
    });
    wirePuzzle();
  }

  window.atelierIdle = async () => {
    for (;;) {
      if (inFlight > 0) await new Promise((resolve) => setTimeout(resolve, 10));
      else if (turns > 0) await replacing;
      else if (checking) await checking;
      else if (kept.pending) { clearTimeout(kept.pending); await saveNow(); }
      else return;
    }
  };

  const carried = JSON.parse(byId('carried').textContent);
  for (const name of Object.keys(carried)) carried[name] = decode(carried[name]);
  let started;
  try {
    started = startWorker(decode(byId('library-wasm').textContent), carried);
  } catch (e) {
    started = Promise.reject(e);
  }
  started.then(async () => {
    ready = true;
    // The judge's own table of fields (name, label, kind, limits, default, help).
    table = await ask('atelier_fields');
    window.atelierFields = () => table;
    wire();
    say('Prêt : commencez un quiz, ou ouvrez-en un.');
    await restore();
    window.atelierReady = performance.now();
  }, () => say('Ce navigateur ne sait pas faire tourner l\'atelier (il lui faut WebAssembly) : ouvrez-le dans un navigateur récent.'));
})();
