// The public score table, where the site has one (korvex-scores serving it): the Scores view with
// its three tables and Watch, and sending a game. Nothing is sent unless the player asks. The page
// remembers only the ids of the entries it sent (to mark them) and the games it could not send yet.
'use strict';

const API = 'api/v1';
const SENT_IDS = 'korvex-sent-ids';  // localStorage: ids of entries this page sent
const KEPT = 'korvex-kept-games';    // localStorage: [{name, bytes (base64)}] to send when it can
const DIFFICULTIES = ['easy', 'medium', 'hard'];
const WATCH_FAST = 4;  // the speed of Watch faster
const NOT_HERE = 'The public score table is not available here.';

const capital = (word) => word.charAt(0).toUpperCase() + word.slice(1);

function remembered(key) {
  try {
    const value = JSON.parse(localStorage.getItem(key) || '[]');
    return Array.isArray(value) ? value : [];
  } catch (error) {
    return [];
  }
}
function remember(key, list) {
  try {
    localStorage.setItem(key, JSON.stringify(list));
    return true;
  } catch (error) {
    return false;  // storage blocked or full
  }
}

function toBase64(bytes) {
  let text = '';
  for (let at = 0; at < bytes.length; at += 8192) text += String.fromCharCode(...bytes.subarray(at, at + 8192));
  return btoa(text);
}
const fromBase64 = (text) => Uint8Array.from(atob(text), (c) => c.charCodeAt(0));

// The service's JSON, or a reason: 'offline' (no answer at all) or 'absent' (no score service here).
async function askService(path, options) {
  let answer;
  try {
    answer = await fetch(path, { credentials: 'same-origin', redirect: 'error', ...options });
  } catch (error) {
    return { reason: 'offline' };
  }
  if (!(answer.headers.get('Content-Type') || '').startsWith('application/json')) return { reason: 'absent' };
  try {
    return { status: answer.status, body: await answer.json() };
  } catch (error) {
    return { reason: 'absent' };
  }
}

// --- Sending ------------------------------------------------------------------------------------

// What the player reads of an answer, and whether the game is worth keeping to send later.
function sendAnswerText(answer) {
  const { status, body, reason } = answer;
  if (reason === 'offline') return { text: 'The table cannot be reached now: the game is kept, to send later.', keep: true };
  if (reason === 'absent') return { text: NOT_HERE, keep: false };
  if (status === 201) return { text: `Entered at #${body.rank} on ${capital(body.difficulty)}`, done: true };
  if (status === 200) {
    return { text: body.rank === null ? 'Already sent, and not shown in the table' : `Already in the table (#${body.rank})`,
             done: true };
  }
  if (status === 429 || status === 503) return { text: `${body.error}: the game is kept, to send later.`, keep: true };
  return { text: `Not entered: ${body.error || `the table answered ${status}`}` };
}

async function sendGame(name, bytes) {
  const answer = await askService(`${API}/games?name=${encodeURIComponent(name)}`, {
    method: 'POST', headers: { 'Content-Type': 'application/octet-stream' }, body: bytes });
  const told = sendAnswerText(answer);
  if (told.done) remember(SENT_IDS, [...new Set([...remembered(SENT_IDS), answer.body.id])]);
  return told;
}

// The high-score name typed for the last game: the one row of the new table that the old lacks.
function typedName(before, after) {
  const NAMES = 6, FIELD = 30, SCORES = 156;
  if (!before || !after || after.length < SCORES + 20) return '';
  const rows = (bytes) => Array.from({ length: 5 }, (_, k) => {
    const field = bytes.subarray(NAMES + k * FIELD, NAMES + (k + 1) * FIELD);
    const end = field.indexOf(0);
    const score = new DataView(bytes.buffer, bytes.byteOffset + SCORES + 4 * k, 4).getInt32(0, true);
    return `${String.fromCharCode(...field.subarray(0, end < 0 ? FIELD : end))}\n${score}`;
  });
  const old = before.length >= SCORES + 20 ? rows(before) : [];
  const fresh = rows(after).find((row) => !old.includes(row) && !row.endsWith('\n0'));
  return fresh ? fresh.split('\n')[0].slice(0, 10) : '';
}

const sending = { bytes: null, name: '', settings: null, lastGame: null };

// saves.js's writes pass here: a game just ended (last.kvr) or a name typed into the table (korvex.set).
function noteSave(path, bytes) {
  if (path.endsWith('/korvex/last.kvr')) {
    sending.lastGame = bytes.slice();
    $('send-last').hidden = false;
  } else if (path.endsWith('/korvex/korvex.set')) {
    sending.name = typedName(sending.settings, bytes) || sending.name;
    sending.settings = bytes.slice();
  }
}

function openSendDialog(bytes, what) {
  sending.bytes = bytes;
  $('send-what').textContent = what;
  $('send-name').value = sending.name;
  $('send-answer').textContent = '';
  $('send-go').hidden = false;
  $('send').showModal();
}

$('send-go').addEventListener('click', async () => {
  const name = $('send-name').value;
  if (!name) return void ($('send-answer').textContent = 'A name first, please: 1 to 10 characters.');
  $('send-go').disabled = true;
  $('send-answer').textContent = 'Sending…';
  const told = await sendGame(name, sending.bytes);
  if (told.keep) keepGame(name, sending.bytes);
  $('send-answer').textContent = told.text;
  $('send-go').disabled = false;
  $('send-go').hidden = true;
  if (sending.bytes === sending.lastGame) $('send-last').hidden = true;
});
$('send-close').addEventListener('click', () => $('send').close());
$('send').addEventListener('close', () => { canvas.focus(); });

function keepGame(name, bytes) {
  remember(KEPT, [...remembered(KEPT), { name, bytes: toBase64(bytes) }]);
  $('send-kept').hidden = false;
}

$('send-last').addEventListener('click', (e) => {
  e.currentTarget.blur();
  openSendDialog(sending.lastGame, 'Send this game to the public table?');
});
$('send-file').addEventListener('click', () => $('send-pick').click());
$('send-pick').addEventListener('change', async (e) => {
  const file = e.currentTarget.files[0];
  e.currentTarget.value = '';
  if (!file) return;
  const refusal = await recordingRefusal(file);
  if (refusal) return say(refusal);
  openSendDialog(new Uint8Array(await file.arrayBuffer()), `Send ${file.name} to the public table?`);
});
$('send-kept').addEventListener('click', async (e) => {
  e.currentTarget.blur();
  const left = [];
  let last = '';
  for (const game of remembered(KEPT)) {
    const told = await sendGame(game.name, fromBase64(game.bytes));
    if (told.keep) left.push(game);
    last = told.text;
  }
  remember(KEPT, left);
  $('send-kept').hidden = left.length === 0;
  say(left.length ? last : `Sent. ${last}`);
});
$('send-kept').hidden = remembered(KEPT).length === 0;

// --- The Scores view ----------------------------------------------------------------------------

function watchAddress(id) {
  const speed = $('watch-fast').checked ? `&speed=${WATCH_FAST}` : '';
  return `${location.pathname}?replay=${encodeURIComponent(`${API}/games/${id}/recording`)}${speed}`;
}

function scoresTable(difficulty, page, mine) {
  const table = document.createElement('table');
  table.createCaption().textContent = `${capital(difficulty)} (${page.total})`;
  const head = table.createTHead().insertRow();
  for (const title of ['#', 'Name', 'Score', 'Level', '']) head.append(Object.assign(document.createElement('th'), { textContent: title }));
  const rows = table.createTBody();
  for (const entry of page.entries) {
    const row = rows.insertRow();
    if (mine.has(entry.id)) row.className = 'mine';
    for (const text of [entry.rank, entry.name, entry.score, entry.level]) row.insertCell().textContent = text;
    const watch = Object.assign(document.createElement('button'), { type: 'button', textContent: 'Watch' });
    watch.addEventListener('click', () => { location.href = watchAddress(entry.id); });
    row.insertCell().append(watch);
  }
  if (!page.entries.length) Object.assign(rows.insertRow().insertCell(), { colSpan: 5, textContent: 'No games yet.' });
  return table;
}

async function showScores() {
  $('scores').hidden = false;
  $('scores-note').textContent = 'Loading…';
  const mine = new Set(remembered(SENT_IDS));
  const pages = await Promise.all(DIFFICULTIES.map((d) => askService(`${API}/scores?difficulty=${d}&limit=100`)));
  const failed = pages.find((p) => p.reason || p.status !== 200);
  if (failed) {
    $('scores-note').textContent = failed.reason === 'offline' ? 'The table cannot be reached now.'
                                 : failed.reason === 'absent' ? NOT_HERE : failed.body.error;
    return;
  }
  $('scores-note').textContent = mine.size ? 'Your own entries are marked.' : '';
  $('tables').replaceChildren(...pages.map((p, k) => scoresTable(DIFFICULTIES[k], p.body, mine)));
}

$('scores-open').addEventListener('click', () => {
  if (played && !confirm('End the game in progress to see the public scores?')) return;
  location.href = `${location.pathname}?scores`;
});
$('scores-back').addEventListener('click', () => { location.href = location.pathname; });
