// The page around the game. It loads the game, fits the canvas to the window, plays the game's sounds
// through Web Audio and says what happened when the game ends; saves.js keeps the player's folder in
// IndexedDB and input.js turns what the player does into the game's events. The game reaches all three
// as Module.web (src/platform/web/); what the address asks for decides how the game is started:
//   index.html               play (one tab at a time)
//   index.html?scale=N       play, every game pixel N x N screen pixels
//   index.html?verify=PATH   verify the recorded game at PATH on this site; its line goes to #result
//                            and the title
//   index.html?replay=PATH   watch the recorded game at PATH on this site (&speed=N: N times faster),
//                            then back to the public scores
//   index.html?scores        the public scores (scores.js), without starting the game
//   a .kvr dropped on the page: watch it (the page starts again with it, keeping the address's options)
'use strict';

const DROPPED = 'korvex-dropped-recording';  // sessionStorage: a recording to watch after the reload
const address = new URLSearchParams(location.search);
const printed = [];  // the lines the game printed; the last one is its verdict or refusal

// --- Sound: Web Audio, which the browser starts only after a tap or key -------------------------

let audio = null;
let voice = null;  // one voice: a new sound replaces the one playing
const sounds = [];

function startSound() {
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!audio && Context) audio = new Context();
  if (audio && audio.state === 'suspended') audio.resume();
}

function loadSound(samples, rate) {
  sounds.push({ data: Float32Array.from(samples, (v) => v / 32768), rate, buffer: null });
  return sounds.length - 1;
}

function playSound(id) {
  if (!audio || audio.state !== 'running') return;
  const sound = sounds[id];
  if (!sound.buffer) {
    sound.buffer = audio.createBuffer(1, sound.data.length, sound.rate);
    sound.buffer.copyToChannel(sound.data, 0);
  }
  if (voice) voice.stop();
  voice = audio.createBufferSource();
  voice.buffer = sound.buffer;
  voice.connect(audio.destination);
  voice.start();
}

// --- The picture: the largest whole number of screen pixels a game pixel that fits --------------

const context = canvas.getContext('2d', { alpha: false });

// In landscape on a phone the buttons stand beside the picture (page.css); either way the picture
// starts on a whole device pixel, so that every game pixel covers the same device pixels.
function fitCanvas() {
  const ratio = devicePixelRatio || 1;
  const touch = $('touch').hidden ? null : $('touch');
  const beside = touch && getComputedStyle($('game')).flexDirection === 'row';
  const bar = document.fullscreenElement ? 0 : $('bar').offsetHeight;
  const width = innerWidth - (beside ? touch.offsetWidth : 0);
  const height = innerHeight - bar - (touch && !beside ? touch.offsetHeight : 0);
  const forced = parseInt(address.get('scale'), 10);
  const fits = Math.floor(Math.min(width * ratio / GAME_W, height * ratio / GAME_H));
  const scale = forced > 0 ? forced : Math.max(1, fits);
  canvas.style.width = `${GAME_W * scale / ratio}px`;
  canvas.style.height = `${GAME_H * scale / ratio}px`;
  canvas.style.left = canvas.style.top = '0px';
  const box = canvas.getBoundingClientRect();
  const snap = (v) => `${Math.round(v * ratio) / ratio - v}px`;
  canvas.style.left = snap(box.left);
  canvas.style.top = snap(box.top);
}
addEventListener('resize', fitCanvas);
document.addEventListener('fullscreenchange', fitCanvas);

function draw(rgba, width, height, x, y, w, h) {
  const picture = new ImageData(new Uint8ClampedArray(rgba.buffer, rgba.byteOffset, rgba.length), width, height);
  context.putImageData(picture, 0, 0, x, y, w, h);
}

function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else if ($('game').requestFullscreen) $('game').requestFullscreen().catch(() => {});
}
$('fullscreen').addEventListener('click', (e) => {
  e.currentTarget.blur();
  toggleFullScreen();
});
$('fullscreen').hidden = !(document.fullscreenEnabled && $('game').requestFullscreen);  // not on an iPhone

// --- The player's folder in IndexedDB (saves.js), read before the game starts --------------------

function mountSaves() {
  const put = saves.put;
  saves.put = (path, bytes) => {
    noteSave(path, bytes);  // a game that ended, a name typed: the send dialog's to offer
    return put(path, bytes);
  };
  Module.addRunDependency('saves');
  loadSaves(Module.FS, say).then(() => Module.removeRunDependency('saves'));
  keepSaves();
}

function say(text) {
  $('status').textContent = text;
}

// The lock that keeps a second tab out, held until the game ends or the tab closes. Without Web
// Locks (a page served insecurely), a second copy is better than none.
let releaseLock = null;
function lock(name) {
  if (!navigator.locks) return Promise.resolve(true);
  return new Promise((resolve) => {
    navigator.locks.request(name, { ifAvailable: true }, (held) => {
      resolve(!!held);
      return held ? new Promise((release) => { releaseLock = release; }) : undefined;
    });
  });
}

$('download').addEventListener('click', (e) => {
  e.currentTarget.blur();
  const path = `${SAVES}/korvex/last.kvr`;
  if (!saves.readable) return say('Saved games cannot be read in this browser now.');
  if (!Module.FS.analyzePath(path).exists) {
    say('No game has been played here yet.');
    return;
  }
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([Module.FS.readFile(path)], { type: 'application/octet-stream' }));
  link.download = 'last.kvr';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
});

// A dropped recording is watched in a fresh start of the page, which the running game gives way to,
// once the file looks like one and the player agrees to end a game in progress. The recordings reader
// takes no file above 8 MB (kMaxFileSize in the replay reader): neither does the page.
const MAX_RECORDING = 8 << 20;
const RECORDING_MAGIC = [0x4b, 0x56, 0x52, 0x1a];  // "KVR" and Ctrl+Z, as every recording starts
let playState = 0;  // what the game last told: 0 no level, 1 a level in play, 2 one paused
let played = false;  // a level has been played: a game may be in progress, also at its menu

async function recordingRefusal(file) {
  if (file.size > MAX_RECORDING) return `${file.name} is too large to be a recorded game.`;
  const start = new Uint8Array(await file.slice(0, RECORDING_MAGIC.length).arrayBuffer());
  if (!RECORDING_MAGIC.every((byte, k) => start[k] === byte)) return `${file.name} is no recorded game (.kvr).`;
  return '';
}

// The address to start again at: its options kept, a recording to verify left out.
function restartAddress() {
  const kept = new URLSearchParams(location.search);
  for (const one of ['verify', 'replay', 'speed', 'scores']) kept.delete(one);
  return `${location.pathname}${kept.toString() ? `?${kept}` : ''}`;
}

addEventListener('dragover', (e) => {
  e.preventDefault();
  document.body.classList.add('dropping');
});
addEventListener('dragleave', () => document.body.classList.remove('dropping'));
addEventListener('drop', async (e) => {
  e.preventDefault();
  document.body.classList.remove('dropping');
  const file = e.dataTransfer.files[0];
  if (!file) return;
  const refusal = await recordingRefusal(file);
  if (refusal) return say(refusal);
  if (played && !confirm(`End the game in progress to watch ${file.name}?`)) return;
  const bytes = new Uint8Array(await file.arrayBuffer());
  let text = '';
  for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  try {
    sessionStorage.setItem(DROPPED, JSON.stringify({ name: file.name, bytes: btoa(text) }));
  } catch (error) {
    return say(`${file.name} is too large for this browser to hand over.`);
  }
  location.href = restartAddress();
});

// --- Start and end ------------------------------------------------------------------------------

// A recording for the game to read, in a folder of its own that the game starts in, so that the game
// names it as the desktop names a file given by its bare name.
const RECORDINGS = '/recordings';
function recordingName(name) {
  const safe = name.replace(/[\\/]/g, '_');
  return /^\.*$/.test(safe) ? 'recording.kvr' : safe;
}
function putFile(name, bytes) {
  Module.FS.writeFile(`${RECORDINGS}/${recordingName(name)}`, bytes);
  return recordingName(name);
}

// A recording to verify, fetched from this site alone and never more of it than the reader takes (a
// longer one is cut there, and the game refuses it as it would natively); null for an address that
// is not a path on this site.
async function fetchRecording(verify) {
  let url, name;
  try {
    url = new URL(verify, location.href);
    name = decodeURIComponent(url.pathname.split('/').pop());
  } catch (error) {
    return null;  // a malformed address, or a malformed % in it
  }
  if (url.origin !== location.origin || url.protocol !== location.protocol) return null;  // blob: has our origin too
  try {
    const answer = await fetch(url, { credentials: 'same-origin', redirect: 'error' });
    if (!answer.ok || !answer.body) return { name };
    const reader = answer.body.getReader();
    const parts = [];
    let size = 0;
    while (size <= MAX_RECORDING) {
      const { done, value } = await reader.read();
      if (done) break;
      parts.push(value);
      size += value.length;
    }
    reader.cancel().catch(() => {});
    const bytes = new Uint8Array(Math.min(size, MAX_RECORDING + 1));
    let at = 0;
    for (const part of parts) {
      bytes.set(part.subarray(0, bytes.length - at), at);
      at += Math.min(part.length, bytes.length - at);
    }
    return { name, bytes };
  } catch (error) {
    return { name };  // unreachable: the game says that it cannot open the file, as it would natively
  }
}

// What the address or a dropped file asks for: the game's arguments and how the end is shown.
async function chooseRun() {
  const verify = address.get('verify');
  const replay = address.get('replay');
  if (verify !== null || replay !== null) {
    const recording = await fetchRecording(verify !== null ? verify : replay);
    if (!recording) {
      printed.push(`korvex: ${verify !== null ? verify : replay}: not a recording on this site; give its path, such as replays/game.kvr`);
      return { args: null, end: verify !== null ? showVerdict : watched };  // said without starting the game
    }
    if (recording.bytes) putFile(recording.name, recording.bytes);
    if (verify !== null) return { args: ['--verify', recordingName(recording.name)], end: showVerdict };
    const speed = /^([1-9]|1[0-6])$/.test(address.get('speed')) ? ['--speed', address.get('speed')] : [];
    return { args: ['--replay', recordingName(recording.name), ...speed], end: watched };
  }
  const dropped = sessionStorage.getItem(DROPPED);
  if (dropped) {
    sessionStorage.removeItem(DROPPED);
    const { name, bytes } = JSON.parse(dropped);
    const file = putFile(name, Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0)));
    return { args: ['--replay', file], end: (code) => showEnd(code === 0 ? 'The recorded game has ended.'
                                                                         : 'The recorded game could not be played.',
                                                              'Play') };
  }
  return { args: [], end: () => showEnd(releaseLock || !navigator.locks ? 'The game has ended.'
                                                  : 'Korvex is already open in another tab or window.',
                                        releaseLock || !navigator.locks ? 'Play again' : 'Try again') };
}

// A game watched from the public scores: its end leads back to them.
function watched(code) {
  showEnd(code === 0 ? 'The recorded game has ended.' : 'The recorded game could not be played.', 'Back to the scores');
  againAddress = `${location.pathname}?scores`;
}

function showVerdict(code) {
  const line = printed[printed.length - 1] || '';
  $('result').textContent = line;
  $('result').dataset.exit = code;
  $('result').hidden = false;
  document.title = line;
}

function showEnd(text, again) {
  $('loading').hidden = $('game').hidden = $('bar').hidden = true;
  document.documentElement.classList.remove('playing');
  $('end-text').textContent = text;
  $('end-line').textContent = printed.length ? printed[printed.length - 1] : '';
  $('again').textContent = again;
  $('end').hidden = false;
  if (releaseLock) releaseLock();
  releaseLock = null;
}
let againAddress = null;  // where the end's button leads, when not to a new start
$('again').addEventListener('click', () => { location.href = againAddress || restartAddress(); });

function cStrings(list) {
  const pointers = list.map((text) => {
    const bytes = new TextEncoder().encode(`${text}\0`);
    const at = Module._malloc(bytes.length);
    Module.HEAPU8.set(bytes, at);
    return at;
  });
  const argv = Module._malloc(4 * (pointers.length + 1));
  Module.HEAPU32.set([...pointers, 0], argv >> 2);
  return argv;
}

let started = false;
async function start() {
  started = true;
  $('loading').hidden = true;
  Module.FS.mkdir(RECORDINGS);
  Module.FS.chdir(RECORDINGS);
  const run = await chooseRun();
  if (!run.args) return run.end(BAD_ADDRESS);
  if (address.get('verify') === null) {
    $('game').hidden = $('bar').hidden = false;
    document.documentElement.classList.add('playing');  // no browser gestures around the controls
    fitCanvas();
    canvas.focus();
  }
  const args = ['korvex', ...run.args];
  const code = await Module.ccall('main', 'number', ['number', 'number'], [args.length, cStrings(args)],
                                  { async: true });
  run.end(code);
}
const BAD_ADDRESS = 2;  // as for a bad command line

// A browser without WebAssembly, a download that failed, or a game that failed: said in the page
// rather than left blank.
function failed(why) {
  printed.push(String(why && why.message ? why.message : why));
  showEnd(started ? 'Korvex could not run in this browser.'
                  : 'Korvex could not be loaded. Check the connection, then try again.', 'Try again');
}
// What the loader throws from its own handlers (korvex.data not found, or cut off) or leaves
// unhandled (korvex.wasm not found) comes here.
addEventListener('error', (e) => { if (!started) failed(e.message); });
addEventListener('unhandledrejection', (e) => { if (!started) failed(e.reason); });

// The loader's progress ("Downloading data... (1234/5678)"), as a share of the bytes.
function showProgress(text) {
  const counts = /\((\d+)\/(\d+)\)/.exec(text || '');
  if (counts && Number(counts[2]) > 0) $('progress').value = Number(counts[1]) / Number(counts[2]);
}

// A paused level says how to play on; the touch buttons do it too, as a tap on the picture does.
const PAUSE_HINT = { touch: 'Paused: tap the picture or a button to play on.',
                     keys: 'Paused: press P or Space, or click the picture, to play on.' };
function tellPlay(state) {
  playState = state;
  played = played || state !== 0;
  $('touch').classList.toggle('idle', state === 0);
  const hint = $('touch').hidden ? PAUSE_HINT.keys : PAUSE_HINT.touch;
  if (state === 2) say(hint);
  else if ($('status').textContent === hint) say('');
}

var Module = {
  preRun: [mountSaves],
  onRuntimeInitialized: () => { start().catch(failed); },
  onAbort: failed,
  setStatus: showProgress,
  print: (line) => { printed.push(line); console.log(line); },
  printErr: (line) => { printed.push(line); console.warn(line); },
  web: {
    takeEvent: () => events.shift() || null,
    nextEvent: () => new Promise((resolve) => { wakeGame = resolve; }),
    showsPictures: () => address.get('verify') === null,
    draw,
    loadSound,
    playSound,
    lock,
    saves,
    inPlay: tellPlay,
    noted: say,
  },
};

// The site's files kept for offline play, where the browser can (a secure origin); not for a check.
if (navigator.serviceWorker && address.get('verify') === null) {
  navigator.serviceWorker.register('sw.js').catch((error) => console.warn('korvex: no offline copy:', error));
}

// The game's loader comes last, so that a failed download of it is said too; the scores need none.
if (address.has('scores')) {
  $('loading').hidden = true;
  showScores();
} else {
  const loader = document.createElement('script');
  loader.src = 'korvex.js';
  loader.onerror = () => failed('korvex.js could not be downloaded');
  document.body.append(loader);
}
