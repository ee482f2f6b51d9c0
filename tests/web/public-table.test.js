// The page served by a real korvex-scores: a game played, sent, found in the Scores view and watched to
// its end; a duplicate and a refusal; installable, offline play and saves, a kept game sent later; a
// static host without a service; the phone's layout (screens land in the artefacts for a look).
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const net = require('node:net');
const path = require('node:path');
const { spawn, spawnSync } = require('node:child_process');
const { test, before, after, afterEach } = require('node:test');
const lib = require('./lib');

const SCORES = process.env.KORVEX_SCORES || path.join(lib.ROOT, 'build/korvex-scores');
const REPLAYS = path.join(lib.ROOT, 'tests/replays');
const SPOT = { newGame: [60, 45], options: [50, 74], hard: [10, 136], easy: [10, 70], ok: [110, 294] };
let service, data, profile, browser, url;
const openPages = [];

before(async () => {
  const probe = net.createServer().listen(0, '127.0.0.1');
  const port = await new Promise((resolve) => probe.once('listening', () => {
    const { port: free } = probe.address();
    probe.close(() => resolve(free));
  }));
  data = lib.newProfile();
  service = spawn(SCORES, ['serve', '--listen', `127.0.0.1:${port}`, '--data', data, '--site', lib.SITE, '--workers', '1'],
                  { env: { ...process.env, SDL_AUDIODRIVER: 'dummy' }, stdio: ['ignore', 'pipe', 'inherit'] });
  await new Promise((resolve) => service.stdout.once('data', resolve));
  url = `http://127.0.0.1:${port}/`;
  profile = lib.newProfile();
  browser = await lib.launch(profile);
});
// A page left open by a failed test would hold the game's lock against the next one.
afterEach(() => Promise.all(openPages.splice(0).map((page) => page.close())));
after(async () => {
  await browser.close();
  service.kill();
  lib.removeProfile(profile);
  lib.removeProfile(data);
});

// A page at `address` that gathers its policy violations, at a phone's or a desktop's size.
async function open(address, view = { width: 600, height: 760 }) {
  const page = await browser.newPage();
  openPages.push(page);
  await page.setViewport({ deviceScaleFactor: 1, ...view });
  await page.evaluateOnNewDocument(() => {
    window.violations = [];
    document.addEventListener('securitypolicyviolation', (e) => window.violations.push(e.violatedDirective));
  });
  await page.goto(address);
  return page;
}
async function close(page) {
  assert.deepEqual(await page.evaluate(() => window.violations), [], 'the page broke its policy');
  openPages.splice(openPages.indexOf(page), 1);
  await page.close();
}
async function taps(page, spots) {
  for (const spot of spots) await lib.tap(page, ...spot).then(() => lib.waitForIdle(page));
}
const answerOf = (page) => page.waitForFunction(() => !/^(|Sending…)$/.test($('send-answer').textContent))
  .then(() => page.$eval('#send-answer', (e) => e.textContent));
function native(bytes) {  // the line korvex --verify prints for these bytes
  fs.writeFileSync(path.join(data, 'sent.kvr'), bytes);
  return spawnSync(process.env.KORVEX_NATIVE, ['--verify', path.join(data, 'sent.kvr')], { encoding: 'utf8' }).stdout.trim();
}

test('a game played on the page and sent is in the Scores view, marked, and Watch plays it to its end', async () => {
  const page = await open(url);
  await lib.waitForIdle(page);
  await taps(page, [SPOT.options, SPOT.hard, SPOT.ok]);
  await lib.tap(page, ...SPOT.newGame);
  await page.waitForSelector('#touch:not(.idle)');
  await page.keyboard.down('ArrowUp');  // fire without moving until the swarm ends the game
  await page.waitForSelector('#touch.idle', { timeout: 120000 });
  await page.keyboard.up('ArrowUp');
  await new Promise((resolve) => setTimeout(resolve, 3600));  // the game-over picture
  await page.keyboard.type('Web');
  await page.keyboard.press('Enter');
  await lib.waitForIdle(page);
  await page.click('#send-last');
  assert.equal(await page.$eval('#send-name', (e) => e.value), 'Web', 'the high score\'s name is proposed');
  await page.click('#send-go');
  assert.equal(await answerOf(page), 'Entered at #1 on Hard');
  const line = native(Buffer.from(await page.evaluate(() => Array.from(sending.lastGame))));
  const again = await page.evaluate(() => sendGame('Twice', sending.lastGame));
  assert.equal(again.text, 'Already in the table (#1)');
  await page.click('#send-close');
  await (await page.$('#send-pick')).uploadFile(path.join(REPLAYS, 'menu-resume-quit.kvr'));
  await page.waitForSelector('#send[open]');
  await page.click('#send-go');
  assert.match(await answerOf(page), /^Not entered: .*before its end/);
  await close(page);

  const scores = await open(`${url}index.html?scores`, { width: 1024, height: 768 });
  await scores.waitForSelector('#tables table');
  const mine = await scores.$$eval('tr.mine', (rows) => rows.map((r) => [...r.cells].slice(0, 3).map((c) => c.textContent)));
  assert.deepEqual(mine, [['1', 'Web', line.split(' ')[1]]], 'the verified score, marked as the page\'s own');
  await scores.screenshot({ path: path.join(lib.ARTEFACTS, 'scores-1024.png') });
  await scores.click('#watch-fast');
  await Promise.all([scores.waitForNavigation(), scores.click('tr.mine button')]);
  assert.match(scores.url(), /\?replay=api%2Fv1%2Fgames%2F\d+%2Frecording&speed=4$/);
  await scores.waitForSelector('#end:not([hidden])', { timeout: 240000 });
  assert.equal(await scores.$eval('#end-line', (e) => e.textContent), line, 'watched to its recorded end');
  await Promise.all([scores.waitForNavigation(), scores.click('#again')]);
  assert.match(scores.url(), /\?scores$/);
  await close(scores);
});

test('offline: installable, a reload without the network plays and saves, a kept game goes later', async () => {
  const page = await open(url);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const cdp = await page.target().createCDPSession();
  assert.deepEqual((await cdp.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  await page.setOfflineMode(true);
  const started = Date.now();
  await page.reload();
  await lib.waitForIdle(page);
  console.log(`offline start to the first menu: ${Date.now() - started} ms`);
  await taps(page, [SPOT.options, SPOT.easy, SPOT.ok]);
  const bytes = Array.from(fs.readFileSync(path.join(REPLAYS, 'easy-long-wrap.kvr')));
  const told = await page.evaluate((b) => sendGame('Later', Uint8Array.from(b)), bytes);
  assert.deepEqual([told.keep, told.text], [true, 'The table cannot be reached now: the game is kept, to send later.']);
  await page.evaluate((b) => keepGame('Later', Uint8Array.from(b)), bytes);
  await page.reload();
  await lib.waitForIdle(page);
  assert.equal(await page.evaluate(() => Module.FS.readFile('/save/korvex/korvex.set')[2]), 0, 'Easy was saved offline');
  await page.setOfflineMode(false);
  await page.click('#send-kept');
  await page.waitForFunction(() => $('status').textContent.startsWith('Sent.'));
  assert.equal(await page.$eval('#status', (e) => e.textContent), 'Sent. Entered at #1 on Easy');
  await close(page);
});

test('a phone in portrait and a tablet on its side: no scrolling, controls of a finger\'s size', async () => {
  for (const [name, view, beside] of [['phone', { width: 390, height: 844, deviceScaleFactor: 3 }, false],
                                      ['tablet', { width: 1024, height: 768 }, true]]) {
    const page = await open(url, { ...view, isMobile: true, hasTouch: true });
    await lib.waitForIdle(page);
    const layout = await page.evaluate(() => [
      document.documentElement.scrollHeight > innerHeight || document.documentElement.scrollWidth > innerWidth,
      [...document.querySelectorAll('button')].every((b) => !b.offsetWidth || Math.min(b.offsetWidth, b.offsetHeight) >= 48),
      getComputedStyle($('game')).flexDirection === 'row']);
    assert.deepEqual(layout, [false, true, beside], `${name}: scrolls, controls of 48 px, buttons beside`);
    await page.screenshot({ path: path.join(lib.ARTEFACTS, `layout-${name}.png`) });
    await page.evaluate(() => openSendDialog(new Uint8Array(4), 'Send this game to the public table?'));
    await page.screenshot({ path: path.join(lib.ARTEFACTS, `send-${name}.png`) });
    await close(page);
  }
});

test('served without a score service, the public parts say the table is not available here', async () => {
  const site = await lib.serve();
  const page = await open(`${site.url}index.html?scores`);
  await page.waitForFunction(() => $('scores-note').textContent !== 'Loading…');
  assert.equal(await page.$eval('#scores-note', (e) => e.textContent), 'The public score table is not available here.');
  const told = await page.evaluate(() => sendGame('Ace', new Uint8Array(4)));
  assert.deepEqual([told.keep, told.text], [false, 'The public score table is not available here.']);
  await close(page);
  await site.close();
});
