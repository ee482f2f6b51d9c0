// What the player does, as the game's events: keys, the pointer on the canvas (the stylus), the touch
// buttons beside it and the first gamepad, queued until the game takes them (page.js hands them over).
'use strict';

const GAME_W = 240, GAME_H = 320;
// SDL's event types and focus bits, as the game reads them.
const SDL = { ACTIVE: 1, KEYDOWN: 2, KEYUP: 3, MOTION: 4, BUTTONDOWN: 5, BUTTONUP: 6, JOYAXIS: 7,
              JOYHAT: 9, JOYBUTTONDOWN: 10, JOYBUTTONUP: 11, INPUTFOCUS: 2, APPACTIVE: 4 };
const $ = (id) => document.getElementById(id);
const canvas = $('screen');

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

// The browser keeps its own shortcuts (Ctrl+R, F5, F12 and the like); everything else is the game's,
// also the keys of play while Left Ctrl fires (Ctrl+P pauses rather than prints, Ctrl+Escape opens the
// menu) and the characters AltGr types, which arrive as Ctrl+Alt.
function browsersKey(e) {
  const altGr = e.ctrlKey && e.altKey && !e.metaKey && [...e.key].length === 1;
  return ((e.ctrlKey || e.metaKey) && !altGr && !/^(Control|Shift|Alt|Meta|Arrow|Space|Pause|Escape$|KeyP$)/.test(e.code)) ||
         /^F([1-9]|1[02])$/.test(e.code);
}

// Typing into the page's own fields (the name a game is sent under) is no key for the game.
const typingInPage = (e) => e.target instanceof HTMLInputElement;

addEventListener('keydown', (e) => {
  if (typingInPage(e)) return;
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
  if (typingInPage(e) && !heldKeys.has(e.code)) return;
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

// --- Touch buttons beside the picture: left, fire, right, held as keys --------------------------

for (const button of $('touch').querySelectorAll('button')) {
  const press = (e) => {
    e.preventDefault();
    startSound();
    button.setPointerCapture(e.pointerId);
    if (playState === 2) {  // a paused level plays on, as after a tap on the picture
      post(SDL.BUTTONDOWN, 1, GAME_W / 2, GAME_H / 2);
      post(SDL.BUTTONUP, 1, GAME_W / 2, GAME_H / 2);
    }
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

// A pad that went away leaves nothing held.
const NO_PAD = { axes: [0, 0], buttons: [] };

function readPad() {
  const p = firstPad() || NO_PAD;
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
  padPolling = p !== NO_PAD;
  if (padPolling) requestAnimationFrame(readPad);
}
addEventListener('gamepadconnected', () => {
  if (!padPolling) requestAnimationFrame(readPad);
  padPolling = true;
});
