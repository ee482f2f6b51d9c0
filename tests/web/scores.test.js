// The score service serving the site and its /scores page: the game page runs under its content
// policy, the tables show what the golden replays entered, a hostile name is only text, and a
// recording downloaded from its link verifies with the native korvex --verify.
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const net = require('node:net');
const os = require('node:os');
const path = require('node:path');
const { spawn, spawnSync } = require('node:child_process');
const { test, before, after } = require('node:test');
const lib = require('./lib');

const SCORES = process.env.KORVEX_SCORES || path.join(lib.ROOT, 'build/korvex-scores');
const REPLAYS = path.join(lib.ROOT, 'tests/replays');
const HOSTILE = `<s>'&"</s>`;  // ten characters the game's keyboard can type
const session = {};

before(async () => {
  session.data = fs.mkdtempSync(path.join(os.tmpdir(), 'korvex-scores-'));
  const port = await new Promise((resolve) => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const { port: free } = probe.address();
      probe.close(() => resolve(free));
    });
  });
  session.url = `http://127.0.0.1:${port}`;
  session.server = spawn(SCORES, ['serve', '--listen', `127.0.0.1:${port}`, '--data', session.data, '--site', lib.SITE,
                                  '--workers', '2'], { stdio: ['ignore', 'pipe', 'inherit'] });
  await new Promise((resolve) => session.server.stdout.once('data', resolve));
  for (const [name, who] of [['medium', 'Mia'], ['hard', HOSTILE], ['hard-careless', 'Hal'], ['easy-long-wrap', 'Eve']]) {
    const answer = await fetch(`${session.url}/api/v1/games?name=${encodeURIComponent(who)}`,
      { method: 'POST', body: fs.readFileSync(path.join(REPLAYS, `${name}.kvr`)) });
    assert.equal(answer.status, 201, name);
  }
  session.profile = lib.newProfile();
  session.browser = await lib.launch(session.profile);
});

after(async () => {
  await session.browser?.close();
  session.server?.kill();
  lib.removeProfile(session.profile);
  fs.rmSync(session.data, { recursive: true, force: true });
});

test('the game page is served with its types, compressed, and runs under the content policy', async () => {
  const wasm = await fetch(`${session.url}/korvex.wasm`, { headers: { 'Accept-Encoding': 'gzip' } });
  assert.equal(wasm.headers.get('content-type'), 'application/wasm');
  assert.ok(wasm.headers.get('etag') && wasm.headers.get('content-security-policy').includes("default-src 'self'"));
  assert.equal((await fetch(`${session.url}/../../etc/passwd`)).status, 404);
  const page = await session.browser.newPage();
  const refused = [];
  page.on('console', (message) => /Content Security Policy/.test(message.text()) && refused.push(message.text()));
  try {
    await page.goto(`${session.url}/`);
    await lib.waitForIdle(page, 30000);  // the first menu: the game loaded and runs
    assert.deepEqual(refused, []);
  } finally {
    await page.close();
  }
});

test('/scores shows the three tables, names as text, and recordings that verify natively', async () => {
  const page = await session.browser.newPage();
  try {
    await page.setJavaScriptEnabled(false);  // a plain page: it needs none
    await page.setViewport({ width: 600, height: 900 });
    await page.goto(`${session.url}/scores`);
    fs.mkdirSync(lib.ARTEFACTS, { recursive: true });
    await page.screenshot({ path: path.join(lib.ARTEFACTS, 'scores-page.png'), fullPage: true });
    const tables = await page.$$eval('table', (all) => all.map((t) => [t.id, [...t.querySelectorAll('tr')].slice(1)
      .map((row) => [...row.cells].slice(0, 3).map((cell) => cell.textContent))]));
    assert.deepEqual(tables, [['table-easy', [['1', 'Eve', '1787']]],
                              ['table-medium', [['1', 'Mia', '253']]],
                              ['table-hard', [['1', HOSTILE, '218'], ['2', 'Hal', '1']]]]);
    assert.equal(await page.$('td.name s'), null);
    const href = await page.$eval('#table-hard tr:nth-child(2) a', (a) => a.href);
    const bytes = Buffer.from(await (await fetch(href)).arrayBuffer());
    const file = path.join(session.data, 'downloaded.kvr');
    fs.writeFileSync(file, bytes);
    const verify = spawnSync(process.env.KORVEX_NATIVE || path.join(lib.ROOT, 'build/korvex'), ['--verify', file],
      { env: { ...process.env, SDL_AUDIODRIVER: 'dummy' }, encoding: 'utf8' });
    assert.equal(verify.status, 0);
    assert.equal(verify.stdout.trim(), fs.readFileSync(path.join(REPLAYS, 'hard.expected'), 'utf8').trim());
  } finally {
    await page.close();
  }
});
