// What the browser checks and figures share: a small static file server, Debian's Chromium started
// headless through puppeteer-core, the page opened and started like a visitor would, and pixel
// statistics computed inside the page (where the frame and the reference PNG are decoded).
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const CHROMIUM = process.env.QUORAVINT_CHROMIUM || '/usr/bin/chromium';   // Debian's; never a downloaded one
const LOAD_TIMEOUT = 60000;     // ms for the page to fetch and compile everything on a busy machine
const FRAME_TIMEOUT = 30000;    // ms from the click to the first frame
const VIEWPORTS = {             // the window a visitor would watch each profile in, at one pixel per pixel
  sd: { width: 1024, height: 768, deviceScaleFactor: 1 },
  hd: { width: 1920, height: 1080, deviceScaleFactor: 1 },
};
const STAMP = /\.[0-9a-f]{16}(?=[./])/;   // the content hash build-web.sh puts in a file's name
const CONTENT_TYPES = {
  '.html': 'text/html', '.js': 'text/javascript', '.mjs': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.txt': 'text/plain', '.ogg': 'audio/ogg',
  '.xm': 'application/octet-stream', '.json': 'application/json',
};
const DAMAGE = Buffer.from('\x89PNG\r\n\x1a\n and then nothing a decoder could use');   // a file's start, then junk

// Waits `ms` milliseconds.
export function sleep(ms) {
  return new Promise(resolve => setTimeout(resolve, ms));
}

// Serves each folder under its prefix ({'/': site, '/reference/': dir}) on a free local port.
export function serveFolders(folders) {
  const prefixes = Object.keys(folders).sort((a, b) => b.length - a.length);
  const server = http.createServer((request, response) => {
    const url = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
    const prefix = prefixes.find(p => url.startsWith(p));
    const relative = url.slice(prefix.length) || 'index.html';
    const file = path.join(folders[prefix], relative);
    if (relative.split('/').includes('..') || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': CONTENT_TYPES[path.extname(file)] || 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => {
    resolve({
      base: `http://127.0.0.1:${server.address().port}`,
      close: () => { server.close(); server.closeAllConnections(); },
    });
  }));
}

// Starts headless Chromium with SwiftShader's WebGL and a fresh profile folder of its own.
export async function startBrowser() {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quoravint-chromium-'));
  const browser = await puppeteer.launch({
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--no-first-run', '--disable-sync',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding'],
  });
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Opens the page with `query` in a window of the profile's size (or `viewport`), waits until it can
// start, clicks it (taps it on a touch screen) as a visitor would and (unless told not to) waits for
// the first frame. Requests for `missing` paths fail; `damaged` ones get junk (paths named without
// their content hash; the service worker is bypassed, so that it cannot answer for them). The page
// notes its long tasks (over 50 ms) in `longTasks`: when each began and how long it took, and
// reports a content policy violation as a page error.
// Returns the page, its console lines and page errors, and close().
export async function openShow(browser, base, query,
                               { missing = [], damaged = [], waitForFrame = true, viewport = null } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport || (query.includes('hd') ? VIEWPORTS.hd : VIEWPORTS.sd));
  await page.evaluateOnNewDocument(() => {
    window.longTasks = [];
    new PerformanceObserver(list => {
      for (const task of list.getEntries()) window.longTasks.push({ start: task.startTime, duration: task.duration });
    }).observe({ type: 'longtask' });
    // A content policy violation is a page error: the page does not work as served.
    addEventListener('securitypolicyviolation', event => setTimeout(() => {
      throw new Error(`content policy violation: ${event.effectiveDirective} blocked ${event.blockedURI || 'inline code'}`);
    }));
  });
  const show = { page, console: [], errors: [], close: () => page.close() };
  page.on('console', message => show.console.push(message.text()));
  page.on('pageerror', error => show.errors.push(error.message));
  if (missing.length || damaged.length) {
    await page.setBypassServiceWorker(true);
    await page.setRequestInterception(true);
    page.on('request', request => {
      const file = new URL(request.url()).pathname.slice(1).replace(STAMP, '');
      if (missing.includes(file)) request.respond({ status: 404, body: '' });
      else if (damaged.includes(file)) request.respond({ status: 200, body: DAMAGE });
      else request.continue();
    });
  }
  await page.goto(base + '/' + query, { timeout: LOAD_TIMEOUT });
  await startLoaded(page, waitForFrame);
  return show;
}

// Waits until the loaded page can start, clicks it (taps it on a touch screen) and, when asked,
// waits for the first frame.
export async function startLoaded(page, waitForFrame = true) {
  await page.waitForFunction(() => window.quoravint && quoravint.state === 'ready', { timeout: LOAD_TIMEOUT });
  const window = page.viewport();
  if (window.hasTouch) await page.touchscreen.tap(window.width / 2, window.height / 2);
  else await page.mouse.click(window.width / 2, window.height / 2);
  if (waitForFrame)
    await page.waitForFunction(() => quoravint.firstFrameAt !== null || quoravint.ended, { timeout: FRAME_TIMEOUT });
}

// Inside the page: decodes the PNG at `url` into RGBA rows.
async function decodeInPage(page, url) {
  return page.evaluateHandle(async src => {
    const image = new Image();
    image.src = src;
    await image.decode();
    const canvas = new OffscreenCanvas(image.width, image.height);
    const context = canvas.getContext('2d');
    context.drawImage(image, 0, 0);
    return context.getImageData(0, 0, image.width, image.height);
  }, url);
}

// The show's current frame against the native frame at `referenceUrl`: how many colours it has, its
// dominant colour, the native frame's dominant colour (the sky) and how much of the frame lies within
// `tolerance` of that in every channel.
export async function frameStats(page, referenceUrl, tolerance) {
  const reference = await decodeInPage(page, referenceUrl);
  return page.evaluate((native, tolerance) => {
    const frame = quoravint.grabFrame();
    // The most common colour of RGBA rows.
    const dominant = rows => {
      const counts = new Map();
      let best = 0, bestCount = 0;
      for (let i = 0; i < rows.length; i += 4) {
        const colour = (rows[i] << 16) | (rows[i + 1] << 8) | rows[i + 2];
        const count = (counts.get(colour) || 0) + 1;
        counts.set(colour, count);
        if (count > bestCount) { best = colour; bestCount = count; }
      }
      return { colour: [best >> 16, (best >> 8) & 255, best & 255], colours: counts.size };
    };
    const own = dominant(frame.rows);
    const sky = dominant(native.data).colour;
    const near = (rows, i) => Math.max(Math.abs(rows[i] - sky[0]), Math.abs(rows[i + 1] - sky[1]),
                                       Math.abs(rows[i + 2] - sky[2])) <= tolerance;
    let skyPixels = 0;
    for (let i = 0; i < frame.rows.length; i += 4) if (near(frame.rows, i)) skyPixels += 1;
    return {
      width: frame.width, colours: own.colours, dominant: own.colour.join(','), sky: sky.join(','),
      skyShare: skyPixels / (frame.width * frame.height),
      skyDistance: Math.max(...own.colour.map((c, k) => Math.abs(c - sky[k]))),
    };
  }, reference, tolerance);
}

// The show's current frame against the native frame at `referenceUrl`, pixel by pixel: the mean
// absolute difference per colour channel and the share of pixels off by more than 32 in any channel.
export async function compareWithReference(page, referenceUrl) {
  const reference = await decodeInPage(page, referenceUrl);
  return page.evaluate(native => {
    const frame = quoravint.grabFrame();
    const result = { size: frame.width + 'x' + frame.height, referenceSize: native.width + 'x' + native.height };
    result.sameSize = frame.width === native.width && frame.height === native.height;
    if (!result.sameSize) return { ...result, mean: Infinity, differing: 1 };
    let sum = 0, differing = 0;
    for (let i = 0; i < frame.rows.length; i += 4) {
      let worst = 0;
      for (let c = 0; c < 3; c++) {
        const d = Math.abs(frame.rows[i + c] - native.data[i + c]);
        sum += d;
        worst = Math.max(worst, d);
      }
      if (worst > 32) differing += 1;
    }
    const pixels = frame.width * frame.height;
    return { ...result, mean: sum / (3 * pixels), differing: differing / pixels };
  }, reference);
}
