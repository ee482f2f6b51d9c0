// The page as a player first meets it: the first menu exactly as the desktop draws it, the picture at
// the largest whole scale that fits (or the one the address asks for), and a quit that leaves a page
// to play again from.
'use strict';
const assert = require('node:assert/strict');
const { test } = require('node:test');
const lib = require('./lib');

const session = lib.useBrowser();

test('the first menu at scale 1 is the Linux build\'s picture, pixel for pixel', async () => {
  await lib.withPage(session.browser, `${session.server.url}?scale=1`, async (page) => {
    await lib.waitForIdle(page);
    const shown = await lib.shot(page, 'page-menu-scale1');
    assert.equal(lib.differingPixels(shown, process.env.KORVEX_LINUX_MENU), 0);
  });
});

test('the page loads its own files and nothing else, from its own site', async () => {
  await lib.withPage(session.browser, 'about:blank', async (page) => {
    const asked = new Set();
    page.on('request', (request) => asked.add(request.url().replace(session.server.url, '/')));
    await page.goto(session.server.url);
    await lib.waitForIdle(page);
    await lib.tap(page, 30, 105);  // Help: its pictures come with the data too
    await lib.waitForIdle(page);
    const needed = ['/', '/page.css', '/input.js', '/saves.js', '/scores.js', '/page.js', '/korvex.js', '/korvex.wasm',
                    '/korvex.data', '/manifest.webmanifest'];
    assert.deepEqual([...asked].filter((url) => !/^\/korvex[-a-z0-9]*\.png$/.test(url)).sort(), needed.sort());  // and the icons
  });
});

test('F11 and Alt+Enter use the browser\'s full screen, and leave the game no key', async () => {
  await lib.withPage(session.browser, session.server.url, async (page) => {
    await lib.waitForIdle(page);
    await page.evaluate(() => {  // every key the page hands the game, but Alt itself
      window.keysHanded = [];
      const handOn = post;
      post = (...event) => {
        if (event[4] && event[4] !== 'AltLeft' && event[0] === SDL.KEYDOWN) window.keysHanded.push(event[5]);
        handOn(...event);
      };
    });
    // Escape while Ctrl fires opens the menu; AltGr's characters come as Ctrl+Alt; Ctrl+O stays the browser's.
    for (const [keys, shown] of [[['F11'], 'game'], [['F11'], ''], [['Alt', 'Enter'], 'game'], [['Alt', 'Enter'], ''],
                                 [['Control', 'Escape'], ''], [['Control', 'Alt', '@'], ''], [['Control', 'KeyO'], '']]) {
      for (const key of keys) await page.keyboard.down(key);
      for (const key of [...keys].reverse()) await page.keyboard.up(key);
      await page.waitForFunction((id) => ((document.fullscreenElement || {}).id || '') === id, { timeout: 5000 }, shown);
    }
    assert.equal(await page.$eval('#fullscreen', (e) => e.hidden), false);
    await page.keyboard.press('KeyN');  // the check's own check: an ordinary key is handed on
    assert.deepEqual(await page.evaluate(() => window.keysHanded), ['Control', 'Escape', 'Control', '@', 'Control', 'n']);
  });
});

// The canvas's size in CSS pixels for a window, device pixel ratio and touch (buttons beside it?); ?scale= wins.
const FITS = [
  { width: 600, height: 760, ratio: 1, query: '', size: [480, 640] },
  { width: 600, height: 1200, ratio: 1, query: '', size: [480, 640] },  // the width limits it
  { width: 260, height: 300, ratio: 1, query: '', size: [240, 320] },   // never below scale 1
  { width: 600, height: 760, ratio: 2, query: '', size: [480, 640] },   // 4 device pixels a game pixel
  { width: 400, height: 600, ratio: 1.5, query: '', size: [320, 426.6667] },  // 2 device pixels
  { width: 600, height: 760, ratio: 1, query: '?scale=1', size: [240, 320] },
  { width: 600, height: 760, ratio: 1, query: '?scale=3', size: [720, 960] },
  { width: 1024, height: 768, ratio: 1, query: '', size: [480, 640], shot: 'page-1024x768' },
  { width: 390, height: 844, ratio: 3, touch: true, query: '', size: [320, 426.6667], shot: 'page-phone' },
  { width: 844, height: 390, ratio: 3, touch: true, query: '', size: [240, 320], beside: true, shot: 'page-landscape' },
];

test('the canvas takes the largest whole scale of device pixels that fits, on whole device pixels', async () => {
  const page = await session.browser.newPage();
  try {
    for (const fit of FITS) {
      await page.setViewport({ width: fit.width, height: fit.height, deviceScaleFactor: fit.ratio,
                               isMobile: !!fit.touch, hasTouch: !!fit.touch });
      await page.goto(`${session.server.url}${fit.query}`);
      await lib.waitForIdle(page);
      const size = await page.$eval('#screen', (c) => [parseFloat(c.style.width), parseFloat(c.style.height)]);
      const rounded = (pair) => pair.map((v) => Math.round(v * 100) / 100);
      assert.deepEqual(rounded(size), rounded(fit.size), JSON.stringify(fit));
      const [picture, buttons] = await page.$$eval('#screen, #touch', (e) => e.map((x) => x.getBoundingClientRect().toJSON()));
      const onPixel = (v) => Math.abs(v * fit.ratio - Math.round(v * fit.ratio)) < 0.1;  // layout: 64ths of a pixel
      const beside = buttons.x >= picture.right - 1;  // less a snap
      assert.ok(onPixel(picture.left) && onPixel(picture.top) && (!fit.touch || beside === !!fit.beside), JSON.stringify(fit));
      if (fit.shot) await page.screenshot({ path: `${lib.ARTEFACTS}/${fit.shot}.png` });
    }
  } finally {
    await page.close();
  }
});

test('the canvas fits again when the window changes size', async () => {
  await lib.withPage(session.browser, session.server.url, async (page) => {
    await lib.waitForIdle(page);
    await page.setViewport({ width: 1000, height: 1100, deviceScaleFactor: 1 });
    await page.waitForFunction(() => document.getElementById('screen').style.width === '720px', { timeout: 5000 });
  });
});

test('Quit leaves a page that says so, and Play again starts the game anew', async () => {
  await lib.withPage(session.browser, session.server.url, async (page) => {
    await lib.waitForIdle(page);
    await lib.tap(page, 30, 193);  // Quit
    await page.waitForSelector('#end:not([hidden])', { timeout: 5000 });
    assert.equal(await page.$eval('#end-text', (e) => e.textContent), 'The game has ended.');
    assert.equal(await page.$eval('#game', (e) => e.hidden), true);
    await page.screenshot({ path: `${lib.ARTEFACTS}/page-quit.png` });
    await Promise.all([page.waitForNavigation(), page.click('#again')]);
    await lib.waitForIdle(page);
    assert.equal(await page.$eval('#end', (e) => e.hidden), true);
  });
});

// The page's own word where a download fails, with Try again; no Full screen button where the browser
// has no full screen.
test('a failed download says so, with Try again', async () => {
  for (const name of ['korvex.js', 'korvex.wasm', 'korvex.data']) {
    await lib.withPage(session.browser, 'about:blank', async (page) => {
      await page.setBypassServiceWorker(true);  // a first visit: no offline copy yet
      await page.setRequestInterception(true);
      page.on('request', (request) => (request.url().endsWith(`/${name}`) ? request.abort() : request.continue()));
      await page.evaluateOnNewDocument(() => Object.defineProperty(Document.prototype, 'fullscreenEnabled', { get: () => false }));
      await page.goto(session.server.url);
      await page.waitForSelector('#end:not([hidden])', { timeout: 15000 });
      assert.deepEqual(await page.$$eval('#fullscreen, #end-text, #again', (e) => e.map((x) => x.hidden || x.textContent)),
                       [true, 'Korvex could not be loaded. Check the connection, then try again.', 'Try again'], name);
    });
  }
});
