// Shared steps of the browser tests: the site served on 127.0.0.1, Debian's Chromium headless with a
// profile of the test's own, the game driven like a player, and pictures compared with ImageMagick.
'use strict';
const fs = require('node:fs');
const http = require('node:http');
const os = require('node:os');
const path = require('node:path');
const zlib = require('node:zlib');
const { execFileSync } = require('node:child_process');
const puppeteer = require('puppeteer-core');

const ROOT = path.resolve(__dirname, '../..');
const SITE = process.env.KORVEX_SITE || path.join(ROOT, 'build-web/site');
const ARTEFACTS = process.env.KORVEX_WEB_ARTEFACTS || path.join(ROOT, 'build-web/test-artefacts');
const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

// The policy scripts/serve-web.py serves the site under, its violations reported to serve() below.
const POLICY = fs.readFileSync(path.join(ROOT, 'scripts/serve-web.py'), 'utf8').match(/POLICY = \(([^)]*)\)/)[1]
  .split('\n').map((part) => part.trim().replace(/^"|"$/g, '')).join('') + '; report-uri /policy-violation';

// Serves `folders` ({ '/': SITE, '/replays/': ... }) gzip-compressed as a web server would, counting
// the bytes sent.
async function serve(folders = { '/': SITE }) {
  const served = { bytes: 0, requests: [], violations: [] };
  const server = http.createServer((request, response) => {
    if (request.url === '/policy-violation') {
      return request.on('data', (report) => served.violations.push(String(report))).on('end', () => response.writeHead(204).end());
    }
    const url = decodeURIComponent(new URL(request.url, 'http://x').pathname);
    const prefix = Object.keys(folders).filter((p) => url.startsWith(p)).sort((a, b) => b.length - a.length)[0];
    const file = prefix && path.join(folders[prefix], path.normalize(url.slice(prefix.length) || 'index.html'));
    if (!file || !file.startsWith(folders[prefix]) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const body = zlib.gzipSync(fs.readFileSync(file), { level: 9 });
    served.bytes += body.length;
    served.requests.push(url);
    response.writeHead(200, { 'Content-Type': TYPES[path.extname(file)] || 'application/octet-stream',
                              'Content-Encoding': 'gzip', 'Cache-Control': 'no-store',
                              'Content-Security-Policy': POLICY });
    response.end(body);
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  served.url = `http://127.0.0.1:${server.address().port}/`;
  served.close = () => new Promise((resolve) => server.close(resolve));
  return served;
}

// A fresh browser profile, removed by the caller with removeProfile.
function newProfile() {
  return fs.mkdtempSync(path.join(os.tmpdir(), 'korvex-web-'));
}
function removeProfile(dir) {
  fs.rmSync(dir, { recursive: true, force: true });
}

// Chromium as root needs no sandbox; the rest keeps it off a network that is not there.
async function launch(profile) {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    userDataDir: profile,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}

// Ends `browser` at once, as a crash or a power cut would, and removes the folder it would have
// removed itself on a graceful close (its single-instance socket, below the temporary folder).
async function killBrowser(browser, profile) {
  const socket = fs.readlinkSync(path.join(profile, 'SingletonSocket'));
  const ended = new Promise((resolve) => browser.process().once('exit', resolve));
  browser.process().kill('SIGKILL');
  await ended;
  if (path.basename(path.dirname(socket)).startsWith('org.chromium.')) {
    fs.rmSync(path.dirname(socket), { recursive: true, force: true });
  }
}

// A page at `url`, with `init(arg)` run first in every document it loads.
async function openPage(browser, url, init, arg) {
  const page = await browser.newPage();
  await page.setViewport({ width: 600, height: 760, deviceScaleFactor: 1 });
  if (init) await page.evaluateOnNewDocument(init, arg);
  page.on('pageerror', (error) => console.error('page error:', error.message));
  await page.goto(url);
  return page;
}

// Runs `steps` on a page of its own at `url`, closed however they end (a page left open would hold
// the game's lock against the next test).
async function withPage(browser, url, steps) {
  const page = await openPage(browser, url);
  try {
    return await steps(page);
  } finally {
    await page.close();
  }
}

// True once the game waits for the player with nothing queued (a menu or screen shown).
function waitForIdle(page, timeout = 15000) {
  return page.waitForFunction(() => wakeGame !== null && events.length === 0, { timeout, polling: 50 });
}

// A tap at the game pixel (x, y), whatever the canvas's scale.
async function tap(page, x, y) {
  const box = await (await page.$('#screen')).boundingBox();
  const scale = box.width / 240;
  await page.mouse.click(box.x + (x + 0.5) * scale, box.y + (y + 0.5) * scale);
}

// The canvas as shown on the screen, saved as ARTEFACTS/name.png.
async function shot(page, name) {
  fs.mkdirSync(ARTEFACTS, { recursive: true });
  const file = path.join(ARTEFACTS, `${name}.png`);
  await (await page.$('#screen')).screenshot({ path: file });
  return file;
}

// Pixels that differ at all between two pictures of the same size.
function differingPixels(a, b) {
  try {
    return Number(execFileSync('compare', ['-metric', 'AE', a, b, 'null:'], { stdio: 'pipe' }));
  } catch (failure) {
    const count = parseFloat(String(failure.stderr));
    if (Number.isNaN(count)) throw new Error(`compare ${a} ${b}: ${failure.stderr}`);
    return count;
  }
}

// Where the player's ship is in a picture of the canvas: the mean column, in game pixels, of its
// hull's colour in the row it flies in; NaN when it is not there.
const HULL = [168, 188, 216];
function shipX(picture) {
  const scale = Number(execFileSync('identify', ['-format', '%w', picture])) / 240;
  const row = `[${240 * scale}x${24 * scale}+0+${234 * scale}]`;
  const rgb = execFileSync('convert', [picture + row, '-depth', '8', 'rgb:-'], { maxBuffer: 1 << 24 });
  let sum = 0, count = 0;
  for (let i = 0; i < rgb.length; i += 3) {
    if (rgb[i] !== HULL[0] || rgb[i + 1] !== HULL[1] || rgb[i + 2] !== HULL[2]) continue;
    sum += (i / 3) % (240 * scale);
    count += 1;
  }
  return count ? sum / count / scale : NaN;
}

// The site (or `routes`) served and a browser on a fresh profile for the tests of one file: started
// before them, closed and removed after them, then `cleanUp`. Its fields are set once they start.
function useBrowser(routes, cleanUp) {
  const { before, after } = require('node:test');
  const assert = require('node:assert/strict');
  const session = {};
  before(async () => {
    session.server = await serve(routes);
    session.profile = newProfile();
    session.browser = await launch(session.profile);
  });
  after(async () => {
    await session.browser.close();
    await session.server.close();
    assert.deepEqual(session.server.violations, [], 'the page broke its Content-Security-Policy');
    removeProfile(session.profile);
    if (cleanUp) cleanUp();
  });
  return session;
}

module.exports = { ROOT, SITE, ARTEFACTS, serve, useBrowser, newProfile, removeProfile, launch, killBrowser, openPage, withPage, waitForIdle, tap, shot,
                   differingPixels, shipX };
