// The atelier's script: it hands the author's files to the authors' library
// (WebAssembly, the very code quizpack runs) and shows what it answers.
// Every rule of a quiz (its checks, the .toml a folder of pictures makes, the
// .exe, the page, the key) is the library's; this script reads files, draws
// the answers and offers the downloads.
//
// Ids: open, open-folder (file inputs), drop, message, problems (one li per
// problem or warning, its text the line quizpack check prints),
// download-exe, download-page, download-key. The writer (quizpack atelier)
// fills library-wasm (base64), carried ({NAME: base64}: StubFile, CoreFile,
// CoreWasmFile, PageHtml, PageCss, PageScript, FontFile) and the library's
// script. window.atelierReady is set once the library is ready;
// window.atelierFields() gives the judge's table of fields.
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
  let library = null;
  let source = '';

  // JPEG pictures go to the browser's decoder, which works in the background:
  // a call that meets one not yet decoded answers {decode: 1}; each is then
  // decoded, one at a time and at the size the library asked, and kept small
  // under its key; the call is made again.
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
  // fraction of its size (a 12-megapixel photo in half the time); its frame
  // carries the EXIF turn, which the bitmap applies.
  async function bitmapOf(w) {
    const size = { resizeWidth: w.width, resizeHeight: w.height, resizeQuality: 'high' };
    if (!window.ImageDecoder) return createImageBitmap(w.blob, size);
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
      say('Lecture des photos : ' + (i + 1) + ' sur ' + waiting.length + '…');
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

  // How long each step took (ms), and the library's memory, for the speed
  // benchmark: window.atelierStats().
  const timings = [];
  window.atelierStats = () => ({ memory: library ? library.HEAPU8.length : 0, timings });
  async function timed(what, step) {
    const start = performance.now();
    const result = await step();
    timings.push({ what, ms: performance.now() - start });
    return result;
  }

  // A call of the library, made again while it has photos to decode.
  async function ask(call) {
    let said = call();
    for (let round = 0; said.decode && round < 3; ++round) {
      await decodeWaiting();
      said = call();
    }
    return said.decode ? { ok: false, problems: [], message: 'Les photos de ce quiz ne se lisent pas dans ce navigateur.' } : said;
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

  function withBytes(bytes, use) {
    const at = library._malloc(Math.max(bytes.length, 1));
    if (!at) throw new Error('memory');
    try {
      library.HEAPU8.set(bytes, at);
      return use(at, bytes.length);
    } finally { library._free(at); }
  }

  const answer = (at) => JSON.parse(library.UTF8ToString(at));

  function madeBytes() {
    const size = library._malloc(4);
    try {
      const at = library._atelier_made(size);
      return library.HEAPU8.slice(at, at + library.HEAP32[size >> 2]);
    } finally { library._free(size); }
  }

  function showProblems(said) {
    const list = byId('problems');
    list.replaceChildren();
    for (const problem of said.problems) {
      const item = document.createElement('li');
      item.textContent = problem.text;
      if (problem.warning) item.className = 'warning';
      list.append(item);
    }
    if (said.ok && !said.problems.length) {
      const item = document.createElement('li');
      item.className = 'sound';
      item.textContent = said.message;
      list.append(item);
    }
    for (const id of ['download-exe', 'download-page', 'download-key']) byId(id).disabled = !said.ok;
    say(said.message);
  }

  // A file's path in the quiz's folder: under a chosen folder, from it.
  function pathOf(file) {
    const relative = file.webkitRelativePath || '';
    const slash = relative.indexOf('/');
    return slash >= 0 ? relative.slice(slash + 1) : file.name;
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

  // Every file into the library, under its path; false once one is refused (said).
  async function handOver(files, sources) {
    for (const file of files) {
      const path = pathOf(file);
      let bytes;
      try {
        bytes = new Uint8Array(await file.arrayBuffer());
      } catch (e) {
        say('« ' + file.name + ' » ne se lit pas : ' + e.message);
        return false;
      }
      if (!fileInto(path, bytes)) {
        say('« ' + file.name + ' » est trop grand pour la mémoire de l\'atelier.');
        return false;
      }
      if (/\.toml$/i.test(path)) sources.push(path);
    }
    return true;
  }

  async function open(files) {
    if (!library) return;
    files = Array.from(files);
    if (!files.length) return;
    showProblems({ ok: false, problems: [], message: '' });
    say('Lecture de ' + files.length + (files.length > 1 ? ' fichiers…' : ' fichier…'));
    library._atelier_forget_files();
    decoded.clear();
    const sources = [];
    if (!await timed('read', () => handOver(files, sources))) return;
    if (sources.length > 1) {
      say('Plusieurs fichiers .toml : ouvrez un quiz à la fois (' + sources.join(', ') + ').');
      return;
    }
    if (sources.length === 1) {
      source = sources[0];
    } else {
      // Pictures alone: the mosaic quizpack new makes of them.
      const folder = (files[0].webkitRelativePath || '').split('/')[0] || 'Mon quiz';
      const made = withText(folder, (f) => withText(files.map(pathOf).join('\n'), (n) => answer(library._atelier_new(f, n))));
      if (!made.ok) {
        showProblems({ ok: false, problems: [], message: made.message });
        return;
      }
      source = 'quiz.toml';
      fileInto(source, madeBytes());
    }
    showProblems(await timed('check', () => ask(() => withText(source, (name) => answer(library._atelier_check(name))))));
  }

  async function download(what) {
    const made = await timed('make', () => ask(() => withText(source, (name) => answer(library._atelier_make(name, what)))));
    if (!made.ok) {
      showProblems(made);
      return;
    }
    const types = ['application/vnd.microsoft.portable-executable', 'text/html', 'image/png'];
    const url = URL.createObjectURL(new Blob([madeBytes()], { type: types[what] }));
    const link = document.createElement('a');
    link.href = url;
    link.download = made.name;
    document.body.append(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(url), 60000);
    say(made.message);
  }

  function wire() {
    for (const id of ['open', 'open-folder'])
      byId(id).addEventListener('change', (event) => {
        const chosen = Array.from(event.target.files);
        event.target.value = '';  // the same files chosen again are read again
        open(chosen);
      });
    const drop = byId('drop');
    drop.addEventListener('dragover', (event) => { event.preventDefault(); drop.classList.add('over'); });
    drop.addEventListener('dragleave', () => drop.classList.remove('over'));
    drop.addEventListener('drop', (event) => {
      event.preventDefault();
      drop.classList.remove('over');
      open(event.dataTransfer.files);
    });
    byId('download-exe').addEventListener('click', () => download(0));
    byId('download-page').addEventListener('click', () => download(1));
    byId('download-key').addEventListener('click', () => download(2));
  }

  const carried = JSON.parse(byId('carried').textContent);
  AtelierLibrary({ wasmBinary: decode(byId('library-wasm').textContent), atelierJpeg }).then((module) => {
    library = module;
    for (const name of Object.keys(carried))
      withText(name, (n) => withBytes(decode(carried[name]), (at, size) => library._atelier_hand_over(n, at, size)));
    wire();
    say('Prêt : ouvrez un quiz.');
    // The judge's own table of fields (name, kind, limits, default, help).
    window.atelierFields = () => answer(library._atelier_fields());
    window.atelierReady = performance.now();
  }, () => say('Ce navigateur ne sait pas faire tourner l\'atelier (il lui faut WebAssembly) : ouvrez-le dans un navigateur récent.'));
})();
