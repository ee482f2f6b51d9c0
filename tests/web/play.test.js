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

const settingsFile = (page) => page.evaluate((file) => {
  const fs = Module.FS;
  return fs.analyzePath(file).exists ? Array.from(fs.readFile(file)) : null;
}, SETTINGS);

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
    const page = await lib.openPage(browser, server.url);
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
    await Promise.all([page.waitForNavigation(), page.evaluate((data) => {
      const transfer = new DataTransfer();
      transfer.items.add(new File([new Uint8Array(data)], 'last.kvr'));
      window.dispatchEvent(new DragEvent('drop', { dataTransfer: transfer, cancelable: true }));
    }, bytes)]);
    await page.waitForSelector('#end:not([hidden])', { timeout: 120000 });
    assert.equal(await page.$eval('#end-text', (e) => e.textContent), 'The recorded game has ended.');
    assert.equal(await page.$eval('#end-line', (e) => e.textContent), native.stdout.trim());
  } finally {
    await browser.close();
  }
});
