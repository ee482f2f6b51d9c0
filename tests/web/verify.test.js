// index.html?verify=URL: every golden replay verifies in the browser to its expected line, as it does
// natively, and a file that is no good recording gets the very refusal the desktop build gives.
'use strict';
const assert = require('node:assert/strict');
const fs = require('node:fs');
const os = require('node:os');
const path = require('node:path');
const { spawnSync } = require('node:child_process');
const { test } = require('node:test');
const lib = require('./lib');

const REPLAYS = path.join(lib.ROOT, 'tests/replays');
const golden = fs.readdirSync(REPLAYS).filter((name) => name.endsWith('.kvr')).sort();
const sample = fs.readFileSync(path.join(REPLAYS, 'hard-careless.kvr'));

// Broken recordings, made from a good one.
const BROKEN = {
  'cut-short.kvr': sample.subarray(0, sample.length - 9),
  'not-a-recording.kvr': Buffer.from('<html>Not found</html>\n'),
  'flipped.kvr': Buffer.from(sample.map((b, i) => (i === sample.length >> 1 ? b ^ 0x5a : b))),
  'empty.kvr': Buffer.alloc(0),
  'too-large.kvr': Buffer.concat([sample, Buffer.alloc((8 << 20) + 1 - sample.length)]),  // the reader's cap, and one
  '<img src=x onerror=alert(1)>.kvr': Buffer.from('<b>bold</b>'),  // as HTML, its line would lose the tag
};

// The broken files, written as this file loads and removed after its tests.
const scratch = fs.mkdtempSync(path.join(os.tmpdir(), 'korvex-broken-'));
for (const [name, bytes] of Object.entries(BROKEN)) fs.writeFileSync(path.join(scratch, name), bytes);
const session = lib.useBrowser({ '/': lib.SITE, '/replays/': REPLAYS, '/broken/': scratch },
  () => fs.rmSync(scratch, { recursive: true, force: true }));

// The line the page writes for a recording at `url`, its exit code, the title and what it took.
async function verifyInPage(url) {
  const page = await session.browser.newPage();
  try {
    const started = Date.now();
    await page.goto(`${session.server.url}?verify=${encodeURIComponent(url)}`);
    await page.waitForSelector('#result:not([hidden])', { timeout: 60000 });
    const ms = Date.now() - started;
    const [line, exit, title] = await page.evaluate(() => {
      const result = document.getElementById('result');
      return [result.textContent, Number(result.dataset.exit), document.title];
    });
    const drawn = await page.$eval('#game', (game) => !game.hidden);
    return { line, exit, title, ms, drawn };
  } finally {
    await page.close();
  }
}

for (const name of golden) {
  test(`golden replay ${name} verifies in the page`, async () => {
    const expected = fs.readFileSync(path.join(REPLAYS, name.replace(/\.kvr$/, '.expected')), 'utf8').trim();
    const got = await verifyInPage(`/replays/${name}`);
    assert.deepEqual([got.line, got.exit, got.title, got.drawn], [expected, 0, expected, false]);
    console.log(`# verify ${name} in the page: ${got.ms} ms`);
  });
}

test('a file that is no good recording is refused as the desktop build refuses it', async () => {
  const missing = 'missing.kvr';
  for (const name of [...Object.keys(BROKEN), missing]) {
    const native = spawnSync(process.env.KORVEX_NATIVE, ['--verify', name], { cwd: scratch, encoding: 'utf8' });
    const want = native.stderr.trim().split('\n').pop();
    assert.match(want, /^korvex: /, `${name}: native says ${JSON.stringify(native.stderr)}`);
    const got = await verifyInPage(`/broken/${encodeURIComponent(name)}`);
    assert.deepEqual([got.line, got.exit], [want, native.status], name);
  }
});

test('an address that is no path on this site is refused', async () => {
  for (const address of ['http://127.0.0.2:9/x.kvr', '//example.invalid/x.kvr', 'data:,KVR', 'javascript:alert(1)',
                         '/replays/%zz.kvr', '%']) {
    const got = await verifyInPage(address);
    assert.deepEqual([got.line, got.exit, got.title, got.drawn],
                     [`korvex: ${address}: not a recording on this site; give its path, such as replays/game.kvr`,
                      2, got.line, false], address);
  }
});
