// The page around the game. It fits the canvas to the window, turns the browser's keys, pointer, touch
// buttons and gamepads into the game's events, plays its sounds through Web Audio, keeps the player's
// folder in IndexedDB, and says what happened when the game ends. The game reaches it as Module.web
// (src/platform/web/); what the address asks for decides how the game is started:
//   index.html               play (one tab at a time)
//   index.html?scale=N       play, every game pixel N x N screen pixels
//   index.html?verify=URL    verify the recorded game at URL; its line goes to #result and the title
//   a .kvr dropped on the page: watch it (the page starts again with it)
'use strict';

const GAME_W = 240, GAME_H = 320;
const SAVES = '/save';  // the game's player folder lies below it (web.cpp)
const DROPPED = 'korvex-dropped-recording';  // sessionStorage: a recording to watch after the reload
// SDL's event types and focus bits, as the game reads them.
const SDL = { ACTIVE: 1, KEYDOWN: 2, KEYUP: 3, MOTION: 4, BUTTONDOWN: 5, BUTTONUP: 6, JOYAXIS: 7,
              JOYHAT: 9, JOYBUTTONDOWN: 10, JOYBUTTONUP: 11, INPUTFOCUS: 2, APPACTIVE: 4 };
const $ = (id) => document.getElementById(id);
const address = new URLSearchParams(location.search);
const canvas = $('screen');
const printed = [];  // the lines the game printed; the last one is its verdict or refusal

// --- Events, queued until the game takes them --------------------------------------------------

const events = [];
let wakeGame = null;

function post(type, a = 0, b = 0, c = 0, code = '', key = '') {
  // A drag sends many moves; the game needs only the latest between two of its reads.
  const last = events[events.length - 1];
  if (type === SDL.MOTION && last && last.type === SDL.MOTION) events.pop();
  events.push({ type, a, b, c, code, key });
  if (wakeGame) {
    const wake = wakeGame;
    wakeGame = null;
    wake();
  }
}

function modifiers(e) {
  return (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0) | (e.metaKey ? 8 : 0) |
         (e.getModifierState && e.getModifierState('CapsLock') ? 16 : 0);
}

// --- Keys: the key's text at its press is kept, so that its release names the same key ----------

const heldKeys = new Map();

function keyDown(code, key, mods) {
  if (heldKeys.has(code)) return;  // the browser's repeats: SDL sends none
  heldKeys.set(code, key);
  post(SDL.KEYDOWN, mods, 0, 0, code, key);
}

function keyUp(code, mods) {
  if (!heldKeys.has(code)) return;
  post(SDL.KEYUP, mods, 0, 0, code, heldKeys.get(code));
  heldKeys.delete(code);
}

function isFullScreenKey(e) {
  return e.code === 'F11' || (e.altKey && (e.code === 'Enter' || e.code === 'NumpadEnter'));
}

// The browser keeps its own shortcuts (Ctrl+R, F5, F12 and the like); everything else is the game's.
function browsersKey(e) {
  return ((e.ctrlKey || e.metaKey) && !/^(Control|Shift|Alt|Meta|Arrow)/.test(e.code)) ||
         /^F([1-9]|1[02])$/.test(e.code);
}

addEventListener('keydown', (e) => {
  startSound();
  if (isFullScreenKey(e)) {
    e.preventDefault();
    if (!e.repeat) toggleFullScreen();
    return;
  }
  if (browsersKey(e)) return;
  e.preventDefault();
  keyDown(e.code, e.key, modifiers(e));
});
addEventListener('keyup', (e) => {
  if (browsersKey(e) && !heldKeys.has(e.code)) return;
  e.preventDefault();
  keyUp(e.code, modifiers(e));
});

// Keys held when the page loses the focus are let go, as the desktop's window does; a level pauses.
function focusChanged(gained, state) {
  if (!gained) for (const code of [...heldKeys.keys()]) keyUp(code, 0);
  post(SDL.ACTIVE, gained ? 1 : 0, state);
}
addEventListener('blur', () => focusChanged(false, SDL.INPUTFOCUS));
addEventListener('focus', () => focusChanged(true, SDL.INPUTFOCUS));
document.addEventListener('visibilitychange', () => focusChanged(!document.hidden, SDL.APPACTIVE));

// --- Pointer: the stylus. Mouse, pen and a finger on the canvas all tap -------------------------

function gamePoint(e) {
  const box = canvas.getBoundingClientRect();
  const x = Math.floor((e.clientX - box.left) * GAME_W / box.width);
  const y = Math.floor((e.clientY - box.top) * GAME_H / box.height);
  return [Math.min(Math.max(x, 0), GAME_W - 1), Math.min(Math.max(y, 0), GAME_H - 1)];
}

let stylus = null;  // the pointer that is down, and its button
canvas.addEventListener('pointerdown', (e) => {
  startSound();
  if (stylus || !e.isPrimary) return;
  e.preventDefault();
  canvas.focus();
  canvas.setPointerCapture(e.pointerId);
  stylus = { id: e.pointerId, button: [1, 2, 3][e.button] || 1 };
  post(SDL.BUTTONDOWN, stylus.button, ...gamePoint(e));
});
canvas.addEventListener('pointermove', (e) => {
  if (stylus && e.pointerId === stylus.id) post(SDL.MOTION, 1, ...gamePoint(e));
});
function lift(e) {
  if (!stylus || e.pointerId !== stylus.id) return;
  post(SDL.BUTTONUP, stylus.button, ...gamePoint(e));
  stylus = null;
}
canvas.addEventListener('pointerup', lift);
canvas.addEventListener('pointercancel', lift);
canvas.addEventListener('contextmenu', (e) => e.preventDefault());

// --- Touch buttons below the picture: left, fire, right, held as keys ---------------------------

for (const button of $('touch').querySelectorAll('button')) {
  const press = (e) => {
    e.preventDefault();
    startSound();
    button.setPointerCapture(e.pointerId);
    keyDown(button.dataset.code, button.dataset.key, 0);
  };
  const release = (e) => {
    e.preventDefault();
    keyUp(button.dataset.code, 0);
  };
  button.addEventListener('pointerdown', press);
  button.addEventListener('pointerup', release);
  button.addEventListener('pointercancel', release);
  button.addEventListener('contextmenu', (e) => e.preventDefault());
}
if (matchMedia('(pointer: coarse)').matches) $('touch').hidden = false;

// --- Gamepads: read while one is connected, as the desktop's first joystick ---------------------

const pad = { axes: [0, 0], hat: 0, buttons: new Map() };
// The standard layout as the desktop numbers an ordinary pad: faces 0 to 3, Back 6, Start 7.
const PAD_BUTTONS = [[0, 0], [1, 1], [2, 2], [3, 3], [8, 6], [9, 7]];
const PAD_HAT = [[12, 1], [15, 2], [13, 4], [14, 8]];  // up, right, down, left
const AXIS_DEAD = 0.37;  // of full travel, as the desktop's dead zone
let padPolling = false;

function firstPad() {
  return [...(navigator.getGamepads ? navigator.getGamepads() : [])].find((p) => p && p.connected);
}

function readPad() {
  const p = firstPad();
  if (!p) {
    padPolling = false;
    return;
  }
  for (const axis of [0, 1]) {
    const v = p.axes[axis] || 0;
    const level = v < -AXIS_DEAD ? -32767 : v > AXIS_DEAD ? 32767 : 0;
    if (level !== pad.axes[axis]) post(SDL.JOYAXIS, axis, (pad.axes[axis] = level));
  }
  const hat = PAD_HAT.reduce((bits, [i, bit]) => bits | (p.buttons[i] && p.buttons[i].pressed ? bit : 0), 0);
  if (hat !== pad.hat) post(SDL.JOYHAT, (pad.hat = hat));
  for (const [i, sdl] of PAD_BUTTONS) {
    const down = !!(p.buttons[i] && p.buttons[i].pressed);
    if (down !== !!pad.buttons.get(sdl)) {
      pad.buttons.set(sdl, down);
      post(down ? SDL.JOYBUTTONDOWN : SDL.JOYBUTTONUP, sdl);
    }
  }
  requestAnimationFrame(readPad);
}
addEventListener('gamepadconnected', () => {
  if (!padPolling) requestAnimationFrame(readPad);
  padPolling = true;
});

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

// Writes the folder through; the game waits for it after each save.
function keepSaves() {
  return new Promise((resolve) => Module.FS.syncfs(false, (error) => resolve(!error)));
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
    alert('No game has been played here yet.');
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
    keepSaves,
    inPlay: (playing) => $('touch').classList.toggle('idle', !playing),
  },
};
