// Figures of the browser build in headless Chromium on 127.0.0.1 (benchmarks, nothing asserted):
// bytes of a first visit (gzip), load to the splash and to the first menu, the page's main-thread time
// and timer wake-ups over 10 s at a waiting menu, in play and paused, and ?verify= of the longest
// golden replay. Run after scripts/test-web.sh (which installs puppeteer-core):
//   node bench/web_measure.js
'use strict';
const path = require('node:path');
const lib = require('../tests/web/lib');

const SECONDS = 10;
const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Main-thread busy time (Chromium's TaskDuration) and timers the page set, over SECONDS.
async function busy(page, cdp) {
  const taskTime = async () => (await cdp.send('Performance.getMetrics')).metrics
    .find((m) => m.name === 'TaskDuration').value;
  const [t0, n0] = [await taskTime(), await page.evaluate(() => window.timersSet)];
  await sleep(SECONDS * 1000);
  const [t1, n1] = [await taskTime(), await page.evaluate(() => window.timersSet)];
  return `${((t1 - t0) / SECONDS * 100).toFixed(2)} % of a core, ${((n1 - n0) / SECONDS).toFixed(1)} timers/s`;
}

async function main() {
  const replays = path.join(lib.ROOT, 'tests/replays');
  const server = await lib.serve({ '/': lib.SITE, '/replays/': replays });
  const profile = lib.newProfile();
  const browser = await lib.launch(profile);
  try {
    const page = await browser.newPage();
    await page.setViewport({ width: 600, height: 760, deviceScaleFactor: 1 });
    await page.evaluateOnNewDocument(() => {
      window.timersSet = 0;
      const setTimer = window.setTimeout;
      window.setTimeout = (...args) => { window.timersSet += 1; return setTimer(...args); };
      // The first picture drawn: the splash.
      const put = CanvasRenderingContext2D.prototype.putImageData;
      CanvasRenderingContext2D.prototype.putImageData = function (...args) {
        if (window.firstPicture === undefined) window.firstPicture = performance.now();
        return put.apply(this, args);
      };
    });
    const cdp = await page.createCDPSession();
    await cdp.send('Performance.enable');
    await page.goto(server.url);
    await lib.waitForIdle(page);
    const menuAt = await page.evaluate(() => performance.now());
    const splashAt = await page.evaluate(() => window.firstPicture);
    console.log(`first visit: ${server.bytes} bytes gzip-compressed in ${server.requests.length} requests`);
    console.log(`load to the splash: ${splashAt.toFixed(0)} ms; to the first menu: ${menuAt.toFixed(0)} ms` +
                ' (the splash stays 1000 ms)');
    console.log(`waiting menu: ${await busy(page, cdp)}`);
    await lib.tap(page, 60, 45);
    await sleep(1500);
    console.log(`in play: ${await busy(page, cdp)}`);
    await page.keyboard.press('KeyP');
    await sleep(500);
    console.log(`paused: ${await busy(page, cdp)}`);
    await page.close();

    for (const name of ['hard-careless.kvr', 'easy-long-wrap.kvr']) {
      const verify = await browser.newPage();
      const started = Date.now();
      await verify.goto(`${server.url}?verify=/replays/${name}`);
      await verify.waitForSelector('#result:not([hidden])', { timeout: 120000 });
      console.log(`?verify=${name}: ${Date.now() - started} ms from navigation to the line ` +
                  `(${await verify.$eval('#result', (e) => e.textContent)})`);
      await verify.close();
    }
  } finally {
    await browser.close();
    await server.close();
    lib.removeProfile(profile);
  }
}

main().catch((error) => {
  console.error(error);
  process.exit(1);
});
