// The page around the game. It fits the canvas to the window, plays the game's sounds through Web
// Audio, keeps the player's folder in IndexedDB, and says what happened when the game ends; input.js
// turns what the player does into the game's events. The game reaches both as Module.web
// (src/platform/web/); what the address asks for decides how the game is started:
//   index.html               play (one tab at a time)
//   index.html?scale=N       play, every game pixel N x N screen pixels
//   index.html?verify=URL    verify the recorded game at URL; its line goes to #result and the title
//   a .kvr dropped on the page: watch it (the page starts again with it)
'use strict';

const SAVES = '/save';  // the game's player folder lies below it (web.cpp)
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

function fitCanvas() {
  const ratio = devicePixelRatio || 1;
  const below = ($('touch').hidden ? 0 : $('touch').offsetHeight) + (document.fullscreenElement ? 0 : $('bar').offsetHeight);
  const forced = parseInt(address.get('scale'), 10);
  const fits = Math.floor(Math.min(innerWidth * ratio / GAME_W, (innerHeight - below) * ratio / GAME_H));
  const scale = forced > 0 ? forced : Math.max(1, fits);
  canvas.style.width = `${GAME_W * scale / ratio}px`;
  canvas.style.height = `${GAME_H * scale / ratio}px`;
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

// --- The player's folder in IndexedDB ----------------------------------------------------------

// Read from IndexedDB before the game starts; every fsync of the game's saves writes it back.
function mountSaves() {
  const FS = Module.FS;
  FS.mkdir(SAVES);
  FS.mount(FS.filesystems.IDBFS, {}, SAVES);
  Module.addRunDependency('saves');
  FS.syncfs(true, (error) => {
    if (error) console.warn('korvex: the saved games could not be read', error);
    Module.removeRunDependency('saves');
  });
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
  if (!Module.FS.analyzePath(path).exists) {
    $('status').textContent = 'No game has been played here yet.';
    return;
  }
  const link = document.createElement('a');
  link.href = URL.createObjectURL(new Blob([Module.FS.readFile(path)], { type: 'application/octet-stream' }));
  link.download = 'last.kvr';
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 1000);
});

// A dropped recording is watched in a fresh start of the page, which the running game gives way to.
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
  const bytes = new Uint8Array(await file.arrayBuffer());
  let text = '';
  for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  sessionStorage.setItem(DROPPED, JSON.stringify({ name: file.name, bytes: btoa(text) }));
  location.href = location.pathname;
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

// What the address or a dropped file asks for: the game's arguments and how the end is shown.
async function chooseRun() {
  const verify = address.get('verify');
  if (verify) {
    const url = new URL(verify, location.href);
    const name = decodeURIComponent(url.pathname.split('/').pop());
    try {
      const answer = await fetch(url);
      if (answer.ok) putFile(name, new Uint8Array(await answer.arrayBuffer()));
    } catch (error) {
      // Unreachable: the game itself says that it cannot open the file, as it would natively.
    }
    return { args: ['--verify', recordingName(name)], end: showVerdict };
  }
  const dropped = sessionStorage.getItem(DROPPED);
  if (dropped) {
    sessionStorage.removeItem(DROPPED);
    const { name, bytes } = JSON.parse(dropped);
    const file = putFile(name, Uint8Array.from(atob(bytes), (c) => c.charCodeAt(0)));
    return { args: ['--replay', file], end: () => showEnd('The recorded game has ended.', 'Play') };
  }
  return { args: [], end: () => showEnd(releaseLock || !navigator.locks ? 'The game has ended.'
                                                  : 'Korvex is already open in another tab or window.',
                                        releaseLock || !navigator.locks ? 'Play again' : 'Try again') };
}

function showVerdict(code) {
  const line = printed[printed.length - 1] || '';
  $('result').textContent = line;
  $('result').dataset.exit = code;
  $('result').hidden = false;
  document.title = line;
}

function showEnd(text, again) {
  $('game').hidden = $('bar').hidden = true;
  $('end-text').textContent = text;
  $('end-line').textContent = printed.length ? printed[printed.length - 1] : '';
  $('again').textContent = again;
  $('end').hidden = false;
  if (releaseLock) releaseLock();
  releaseLock = null;
}
$('again').addEventListener('click', () => { location.href = location.pathname; });

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

async function start() {
  Module.FS.mkdir(RECORDINGS);
  Module.FS.chdir(RECORDINGS);
  const run = await chooseRun();
  if (!address.get('verify')) {
    $('game').hidden = $('bar').hidden = false;
    fitCanvas();
    canvas.focus();
  }
  const args = ['korvex', ...run.args];
  const code = await Module.ccall('main', 'number', ['number', 'number'], [args.length, cStrings(args)],
                                  { async: true });
  run.end(code);
}

// A browser without WebAssembly, or a game that failed: said in the page rather than left blank.
function failed(why) {
  printed.push(String(why));
  showEnd('Korvex could not run in this browser.', 'Try again');
}

var Module = {
  preRun: [mountSaves],
  onRuntimeInitialized: () => { start().catch(failed); },
  onAbort: failed,
  print: (line) => { printed.push(line); console.log(line); },
  printErr: (line) => { printed.push(line); console.warn(line); },
  web: {
    takeEvent: () => events.shift() || null,
    nextEvent: () => new Promise((resolve) => { wakeGame = resolve; }),
    showsPictures: () => !address.get('verify'),
    draw,
    loadSound,
    playSound,
    lock,
    inPlay: (playing) => $('touch').classList.toggle('idle', !playing),
  },
};
