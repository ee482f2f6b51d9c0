// A player's evening in one browser profile: an option changed, the browser closed right after the
// save; a game played with keys and taps, then one on Hard to a new high score, the browser closed
// right after that save; both still there when the browser starts again. The last game, downloaded,
// verifies natively, and dropped on the page it plays back to the same end.
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { test, before, after } = require('node:test');
const lib = require('./lib');

const SPOT = { newGame: [60, 45], options: [50, 74], scores: [40, 135], easy: [10, 70], hard: [10, 136], ok: [110, 294] };
const SETTINGS = '/save/korvex/korvex.set';

let server, profile, downloads;
before(async () => {
  server = await lib.serve();
  profile = lib.newProfile();
  downloads = lib.newProfile();
});
after(async () => {
  await server.close();
  assert.deepEqual(server.violations, [], 'the page broke its Content-Security-Policy');
  lib.removeProfile(profile);
  lib.removeProfile(downloads);
});

// A browser on the shared profile for `steps`, ended the moment they are done: closed, or killed, so
// that nothing it would still do on a graceful close (a write left on a timer) can save the day.
async function session(steps, end = 'close') {
  const browser = await lib.launch(profile);
  try {
    const page = await lib.openPage(browser, server.url);
    await lib.waitForIdle(page);
    return await steps(page);
  } finally {
    if (end === 'kill') {
      await lib.killBrowser(browser, profile);
    } else {
      await browser.close();
    }
  }
}

async function tapAndSettle(page, [x, y]) {
  await lib.tap(page, x, y);
  await lib.waitForIdle(page);
}

const savedFile = (page, file) => page.evaluate((file) => {
  const fs = Module.FS;
  return fs.analyzePath(file).exists ? Array.from(fs.readFile(file)) : null;
}, file);
const settingsFile = (page) => savedFile(page, SETTINGS);
const LAST_GAME = '/save/korvex/last.kvr';

// A file dropped on the page, made there of `bytes` (a list), or of that many zero bytes (a number).
const drop = (page, name, bytes) => page.evaluate((name, bytes) => {
  const transfer = new DataTransfer();
  transfer.items.add(new File([new Uint8Array(bytes)], name));
  window.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, cancelable: true }));
}, name, bytes);

// Options, Hard, OK: a save of the settings.
async function chooseHard(page) {
  for (const spot of [SPOT.options, SPOT.hard]) await tapAndSettle(page, spot);
  await lib.tap(page, ...SPOT.ok);
}

test('an option survives closing the browser right after it is saved, and killing it', async () => {
  // The option shown before it is saved, and as the next browser shows it.
  const choose = async (page, spot, name) => {
    await tapAndSettle(page, SPOT.options);
    await tapAndSettle(page, spot);
    const shown = await lib.shot(page, name);
    await tapAndSettle(page, SPOT.ok);  // saved on the way out; the browser ends at once
    return shown;
  };
  const shownAgain = async (page, name) => {
    assert.equal((await settingsFile(page)).length, 211);
    await tapAndSettle(page, SPOT.options);
    const shown = await lib.shot(page, name);
    await tapAndSettle(page, SPOT.ok);
    return shown;
  };
  const easy = await session(async (page) => {
    assert.equal(await settingsFile(page), null);
    return choose(page, SPOT.easy, 'play-options-easy');
  });
  const hard = await session(async (page) => {
    assert.equal(lib.differingPixels(await shownAgain(page, 'play-options-easy-again'), easy), 0);
    return choose(page, SPOT.hard, 'play-options-hard');
  }, 'kill');
  await session(async (page) => {
    assert.equal(lib.differingPixels(await shownAgain(page, 'play-options-hard-again'), hard), 0);
    await choose(page, SPOT.easy, 'play-options-easy');
  });
});

test('a game played with taps and keys; its high score survives the browser killed right after', async () => {
  await session(async (page) => {
    const emptyTable = (await settingsFile(page)).slice();
    await lib.tap(page, ...SPOT.newGame);
    await page.waitForSelector('#touch:not(.idle)');
    await new Promise((resolve) => setTimeout(resolve, 1500));  // the level's banner
    const start = await lib.shot(page, 'play-level-start');
    for (let k = 0; k < 3; ++k) {
      await page.keyboard.down('ArrowUp');
      await new Promise((resolve) => setTimeout(resolve, 250));
      await page.keyboard.up('ArrowUp');
    }
    const fired = await lib.shot(page, 'play-level-shots');
    assert.ok(Math.abs(lib.shipX(fired) - lib.shipX(start)) < 2, 'firing moved the ship');
    await page.keyboard.down('ArrowLeft');
    await new Promise((resolve) => setTimeout(resolve, 500));
    await page.keyboard.up('ArrowLeft');
    const playing = await lib.shot(page, 'play-level-moved');
    assert.ok(lib.shipX(playing) < lib.shipX(fired) - 10, 'Left did not move the ship left');
    await page.keyboard.press('Escape');
    await lib.waitForIdle(page);
    assert.ok(lib.differingPixels(playing, await lib.shot(page, 'play-menu-in-game')) > 5000, 'no menu');
    // A new game on Hard: the ship fires without moving until the swarm has ended the game.
    for (const spot of [SPOT.options, SPOT.hard, SPOT.ok]) await tapAndSettle(page, spot);
    await lib.tap(page, ...SPOT.newGame);
    await page.waitForSelector('#touch:not(.idle)');
    await page.keyboard.down('ArrowUp');
    await page.waitForSelector('#touch.idle', { timeout: 120000 });
    await page.keyboard.up('ArrowUp');
    await new Promise((resolve) => setTimeout(resolve, 3600));  // the game-over picture
    await lib.shot(page, 'play-name-entry');
    await page.keyboard.type('Web');
    await page.keyboard.press('Enter');
    await lib.waitForIdle(page);  // saved; the browser is killed at once
    assert.notDeepEqual(await settingsFile(page), emptyTable);
  }, 'kill');
  await session(async (page) => {
    const kept = Buffer.from(await settingsFile(page));
    assert.ok(kept.includes(Buffer.from('Web\0')), 'the name is not in the settings file');
    await tapAndSettle(page, SPOT.scores);
    await lib.shot(page, 'play-scores-kept');
  });
});

test('the last game downloads as a file that verifies natively and plays back when dropped', async () => {
  const browser = await lib.launch(profile);
  try {
    const page = await lib.openPage(browser, `${server.url}?scale=2`);
    await lib.waitForIdle(page);
    const cdp = await page.createCDPSession();
    await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
    await page.click('#download');
    const file = path.join(downloads, 'last.kvr');
    for (let k = 0; k < 100 && !fs.existsSync(file); ++k) await new Promise((resolve) => setTimeout(resolve, 50));
    const native = spawnSync(process.env.KORVEX_NATIVE, ['--verify', file], { encoding: 'utf8' });
    assert.equal(native.status, 0, native.stdout + native.stderr);
    // The swarm reaching the ship's row ends a game on Hard with lives to spare, as it may here.
    assert.match(native.stdout, /^score [1-9]\d* level 1 lives \d+ frames \d+ ok\n$/);

    const bytes = Array.from(fs.readFileSync(file));
    // Refused before it is read, the game left as it was: what is no recording, or larger than any.
    for (const [name, made, said] of [['picture.png', [0x89, 0x50, 0x4e, 0x47], 'no recorded game'],
                                      ['huge.kvr', (8 << 20) + 1, 'too large to be a recorded game']]) {
      await drop(page, name, made);
      await page.waitForFunction((text) => $('status').textContent.includes(text), { timeout: 5000 }, said);
    }
    // In a game the page asks first; no is no, and yes watches it, the address's options kept.
    await lib.tap(page, ...SPOT.newGame);
    await page.waitForSelector('#touch:not(.idle)');
    await Promise.all([new Promise((resolve) => page.once('dialog', (d) => resolve(d.dismiss()))), drop(page, 'last.kvr', bytes)]);
    assert.equal(await page.evaluate(() => playState), 1);
    page.on('dialog', (dialog) => dialog.accept());
    await Promise.all([page.waitForNavigation(), drop(page, 'last.kvr', bytes)]);
    assert.equal(new URL(page.url()).search, '?scale=2');
    await page.waitForSelector('#end:not([hidden])', { timeout: 120000 });
    assert.equal(await page.$eval('#end-text', (e) => e.textContent), 'The recorded game has ended.');
    assert.equal(await page.$eval('#end-line', (e) => e.textContent), native.stdout.trim());
    // A recording that cannot be played back does not say it ended.
    await Promise.all([page.waitForNavigation(), drop(page, 'cut.kvr', bytes.slice(0, -9))]);
    await page.waitForSelector('#end:not([hidden])', { timeout: 60000 });
    assert.equal(await page.$eval('#end-text', (e) => e.textContent), 'The recorded game could not be played.');
  } finally {
    await browser.close();
  }
});

// Saves the browser refuses or cannot read: said, the game goes on, and what was saved before is
// still there afterwards, byte for byte.
// Site data blocked (indexedDB.open throws) for good, or the first time only; the quota full.
const openFailing = (failures) => {
  const open = indexedDB.open.bind(indexedDB);
  indexedDB.open = (...args) => { if (failures-- > 0) throw new DOMException('blocked', 'SecurityError'); return open(...args); };
};
const STORAGE = [{ failures: 99, unread: true }, { failures: 1, unread: false, saves: true }, { quota: 1, unread: false }];

test('saves the browser refuses fail as on a full disk, and a failed read deletes nothing', async () => {
  const kept = await session(async (page) => [await settingsFile(page), await savedFile(page, LAST_GAME)]);
  assert.ok(kept[0] && kept[1], 'nothing saved to keep');
  const browser = await lib.launch(profile);
  try {
    for (const [k, storage] of STORAGE.entries()) {
      const page = await lib.openPage(browser, 'about:blank', openFailing, storage.failures || 0);
      await (await page.createCDPSession()).send('Storage.overrideQuotaForOrigin',  // no quota: none overridden
                                                 { origin: server.url.slice(0, -1), quotaSize: storage.quota });
      await page.goto(server.url);
      await lib.waitForIdle(page);
      assert.equal((await page.$eval('#status', (e) => e.textContent)).includes('cannot be read'), storage.unread, k);
      assert.deepEqual(await settingsFile(page), storage.unread ? null : kept[0], k);
      if (!storage.saves) {
        await chooseHard(page);
        await lib.waitForIdle(page);
        await page.keyboard.press('Enter');  // the message's OK, and the game goes on
        await page.waitForFunction(() => $('status').textContent === 'error in settings file' && wakeGame);
      }
      await page.close();
    }
  } finally {
    await browser.close();
  }
  await session(async (page) => assert.deepEqual([await settingsFile(page), await savedFile(page, LAST_GAME)], kept));
});

test('two tabs without Web Locks: neither deletes what the other saved', async () => {
  const own = lib.newProfile();
  const browser = await lib.launch(own);
  try {
    const noLocks = () => { delete Navigator.prototype.locks; };
    const [one, other] = [await lib.openPage(browser, server.url, noLocks), await lib.openPage(browser, server.url, noLocks)];
    for (const page of [one, other]) await lib.waitForIdle(page);
    await lib.tap(other, ...SPOT.newGame);  // a game, quit: its recording is saved
    await other.waitForSelector('#touch:not(.idle)');
    await other.keyboard.press('Escape');
    await lib.waitForIdle(other);
    await lib.tap(other, 30, 193);  // Quit
    await other.waitForSelector('#end:not([hidden])');
    await chooseHard(one);  // saved by a tab that never saw that recording
    const third = await lib.openPage(browser, server.url);
    for (const page of [one, third]) await lib.waitForIdle(page);
    assert.ok(await savedFile(third, LAST_GAME), 'the other tab\'s recording is gone');
    assert.deepEqual(await settingsFile(third), await settingsFile(one));
  } finally {
    await browser.close();
    lib.removeProfile(own);
  }
});
