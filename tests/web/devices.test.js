// One game at a time, and the other ways in: a second tab is refused while the first plays and gets
// its turn once that one quits; on a touch screen taps are the stylus and the buttons below the
// picture move and fire.
'use strict';
const assert = require('node:assert/strict');
const { test } = require('node:test');
const lib = require('./lib');

const session = lib.useBrowser();

test('a second tab says the game is open elsewhere, and plays once the first has quit', async () => {
  const first = await lib.openPage(session.browser, session.server.url);
  const second = await session.browser.newPage();
  try {
    await lib.waitForIdle(first);
    await second.goto(session.server.url);
    await second.waitForSelector('#end:not([hidden])', { timeout: 10000 });
    assert.equal(await second.$eval('#end-text', (e) => e.textContent),
                 'Korvex is already open in another tab or window.');
    await second.screenshot({ path: `${lib.ARTEFACTS}/devices-second-tab.png` });
    await first.bringToFront();
    await lib.tap(first, 30, 193);  // Quit
    await first.waitForSelector('#end:not([hidden])', { timeout: 5000 });
    await second.bringToFront();
    await Promise.all([second.waitForNavigation(), second.click('#again')]);
    await lib.waitForIdle(second);
  } finally {
    await first.close();
    await second.close();
  }
});

test('on a touch screen a tap starts a game and the buttons below move and fire', async () => {
  const page = await session.browser.newPage();
  try {
    await page.emulate({ viewport: { width: 400, height: 720, deviceScaleFactor: 1, isMobile: true, hasTouch: true },
                         userAgent: '' });
    await page.goto(session.server.url);
    await lib.waitForIdle(page);
    assert.equal(await page.$eval('#touch', (e) => e.hidden), false);
    const box = await (await page.$('#screen')).boundingBox();
    assert.ok(box.y + box.height <= (await (await page.$('#touch')).boundingBox()).y, 'the buttons cover the picture');
    const scale = box.width / 240;
    await page.touchscreen.tap(box.x + 60 * scale, box.y + 45 * scale);  // New game
    await page.waitForSelector('#touch:not(.idle)');
    await new Promise((resolve) => setTimeout(resolve, 1500));
    const still = await lib.shot(page, 'devices-touch-start');
    for (const [button, ms] of [['Fire', 300], ['Move left', 600]]) {
      const at = await (await page.$(`#touch button[aria-label="${button}"]`)).boundingBox();
      await page.touchscreen.touchStart(at.x + at.width / 2, at.y + at.height / 2);
      await new Promise((resolve) => setTimeout(resolve, ms));
      await page.touchscreen.touchEnd();
    }
    const moved = await lib.shot(page, 'devices-touch-moved');
    assert.ok(lib.shipX(moved) < lib.shipX(still) - 10, 'the ship did not move left');
    // No browser gesture anywhere on the page while the game is up (pull-to-refresh would lose it).
    assert.deepEqual(await page.evaluate(() => [document.body, document.documentElement].map((e) =>
      `${getComputedStyle(e).touchAction} ${getComputedStyle(e).overscrollBehaviorY}`)), ['none none', 'none none']);
    // A pause (the page lost the focus) says how to play on, and a button plays on as a tap would.
    await page.evaluate(() => ['blur', 'focus'].forEach((type) => dispatchEvent(new Event(type))));
    await page.waitForFunction(() => $('status').textContent === 'Paused: tap the picture or a button to play on.');
    const at = await (await page.$('#touch button[aria-label="Move right"]')).boundingBox();
    await page.touchscreen.touchStart(at.x + at.width / 2, at.y + at.height / 2);
    await new Promise((resolve) => setTimeout(resolve, 600));
    await page.touchscreen.touchEnd();
    assert.ok(lib.shipX(await lib.shot(page, 'devices-touch-played-on')) > lib.shipX(moved) + 10, 'not played on');
  } finally {
    await page.close();
  }
});

test('sounds play through Web Audio once a tap has started it, and not with the sound off', async () => {
  const page = await session.browser.newPage();
  try {
    await page.evaluateOnNewDocument(() => {
      window.soundsStarted = 0;
      const start = AudioBufferSourceNode.prototype.start;
      AudioBufferSourceNode.prototype.start = function (...args) {
        window.soundsStarted += 1;
        return start.apply(this, args);
      };
    });
    await page.setViewport({ width: 600, height: 760, deviceScaleFactor: 1 });
    await page.goto(session.server.url);
    await lib.waitForIdle(page);
    const firing = async () => {
      await page.waitForSelector('#touch:not(.idle)');
      const before = await page.evaluate(() => window.soundsStarted);
      await page.keyboard.down('ArrowUp');
      await new Promise((resolve) => setTimeout(resolve, 1500));
      await page.keyboard.up('ArrowUp');
      return (await page.evaluate(() => window.soundsStarted)) - before;
    };
    await lib.tap(page, 60, 45);  // New game: the tap starts the sound
    assert.ok((await firing()) > 0, 'no sound with the sound on');
    await page.keyboard.press('Escape');
    for (const [x, y] of [[50, 74], [10, 252], [110, 294]]) {  // Options, Sound off, OK
      await lib.waitForIdle(page);
      await lib.tap(page, x, y);
    }
    await lib.waitForIdle(page);
    await page.keyboard.press('Escape');  // back into the game
    assert.equal(await firing(), 0, 'sounds with the sound off');
  } finally {
    await page.close();
  }
});

test('a gamepad moves the ship with its stick, lets go when unplugged and opens the menu with Start', async () => {
  const page = await session.browser.newPage();
  try {
    // A standard-layout pad that the test moves by hand.
    await page.evaluateOnNewDocument(() => {
      window.fakePad = { connected: true, axes: [0, 0, 0, 0], buttons: Array.from({ length: 17 }, () => ({ pressed: false })) };
      navigator.getGamepads = () => [window.fakePad];
    });
    await page.setViewport({ width: 600, height: 760, deviceScaleFactor: 1 });
    await page.goto(session.server.url);
    await lib.waitForIdle(page);
    await page.evaluate(() => window.dispatchEvent(new Event('gamepadconnected')));
    await lib.tap(page, 60, 45);  // New game
    await page.waitForSelector('#touch:not(.idle)');
    await new Promise((resolve) => setTimeout(resolve, 1500));
    const still = await lib.shot(page, 'devices-pad-start');
    await page.evaluate(() => { window.fakePad.axes[0] = -1; });
    await new Promise((resolve) => setTimeout(resolve, 600));
    await page.evaluate(() => { window.fakePad.axes[0] = 0; });
    const moved = await lib.shot(page, 'devices-pad-moved');
    assert.ok(lib.shipX(moved) < lib.shipX(still) - 10, 'the ship did not move left');
    // Unplugged with the stick held right: nothing stays held, the ship stops.
    await page.evaluate(() => { window.fakePad.axes[0] = 1; });
    await new Promise((resolve) => setTimeout(resolve, 200));
    await page.evaluate(() => { window.fakePad.connected = false; });
    await new Promise((resolve) => setTimeout(resolve, 200));
    const unplugged = lib.shipX(await lib.shot(page, 'devices-pad-unplugged'));
    await new Promise((resolve) => setTimeout(resolve, 500));
    assert.equal(lib.shipX(await lib.shot(page, 'devices-pad-later')), unplugged, 'the ship went on moving');
    await page.evaluate(() => {
      window.fakePad = { ...window.fakePad, connected: true, axes: [0, 0, 0, 0] };
      window.dispatchEvent(new Event('gamepadconnected'));
    });
    await page.evaluate(() => { window.fakePad.buttons[9].pressed = true; });  // Start
    await lib.waitForIdle(page);
    await page.evaluate(() => { window.fakePad.buttons[9].pressed = false; });
    assert.equal(await page.$eval('#touch', (e) => e.classList.contains('idle')), true);
  } finally {
    await page.close();
  }
});
