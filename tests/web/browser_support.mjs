// What the browser checks and figures share: a small static file server, Debian's Chromium started
// headless through puppeteer-core, the page opened and started like a visitor would, and pixel
// statistics computed inside the page (where the frame and the reference PNG are decoded).
import http from 'node:http';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import net from 'node:net';
import { spawn } from 'node:child_process';
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

// Serves each folder under its prefix ({'/': site, '/reference/': dir}) on a free local port; when
// `compressed`, a file's Brotli or gzip copy (FILE.br, FILE.gz) where the browser takes it, as nginx would.
export function serveFolders(folders, { compressed = false } = {}) {
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
    const headers = { 'Content-Type': CONTENT_TYPES[path.extname(file)] || 'application/octet-stream' };
    const accepted = request.headers['accept-encoding'] || '';
    const copy = compressed && [['br', '.br'], ['gzip', '.gz']].find(([name, ending]) => accepted.includes(name)
                                                                      && fs.existsSync(file + ending));
    if (copy) headers['Content-Encoding'] = copy[0];
    response.writeHead(200, headers);
    fs.createReadStream(copy ? file + copy[1] : file).pipe(response);
  });
  return new Promise(resolve => server.listen(0, '127.0.0.1', () => {
    resolve({
      base: `http://127.0.0.1:${server.address().port}`,
      close: () => { server.close(); server.closeAllConnections(); },
    });
  }));
}

// The browser engines the checks run in.
export const ENGINES = {
  chromium: { interception: true, touch: true },   // what the checks can make each engine do: fail requests
  firefox: { interception: false, touch: false },  // and hand junk (the damaged-asset checks), emulate a
  webkit: { interception: false, touch: false },   // touch screen (W3C WebDriver does neither)
};
const FIREFOX = process.env.QUORAVINT_FIREFOX || '/usr/bin/firefox-esr';   // Debian's ESR
const WEBKIT_DRIVER = process.env.QUORAVINT_WEBKIT_DRIVER || '/usr/bin/WebKitWebDriver';
const MINIBROWSER = process.env.QUORAVINT_MINIBROWSER || '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';
const PULSEAUDIO = '/usr/bin/pulseaudio';
const DRIVER_START_TIMEOUT = 20000;   // ms for WebKitWebDriver or PulseAudio to answer on its socket
const SOUND_IDLE_EXIT = 30;           // s the sound server lives on unused: past a browser's start
const POLL_INTERVAL = 100;            // ms between looks while waiting for a condition in WebKit

// The programs the engine `engine` needs on this machine beyond Chromium, which every check needs.
export function enginePrograms(engine) {
  return { chromium: [], firefox: [FIREFOX, PULSEAUDIO], webkit: [WEBKIT_DRIVER, MINIBROWSER] }[engine] || [];
}

// Starts the browser engine `engine` (chromium, firefox, webkit) with a fresh profile of its own.
// Chromium runs headless with SwiftShader's WebGL; Firefox and WebKit draw in a window of the
// X display in DISPLAY (Xvfb), where their WebGL runs on Mesa; Firefox plays to a PulseAudio of its own. `args` go to Chromium's command line.
export async function startBrowser(engine = 'chromium', { args = [] } = {}) {
  if (!ENGINES[engine]) throw new Error('unknown browser engine ' + engine + '; known: ' + Object.keys(ENGINES).join(', '));
  if (engine !== 'chromium' && !process.env.DISPLAY) throw new Error(engine + ' needs an X display (run under xvfb-run)');
  if (engine === 'webkit') return startWebKit();
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'quoravint-' + engine + '-'));
  const sound = engine === 'firefox' ? await startSoundServer(profile) : null;
  const browser = await puppeteer.launch(engine === 'firefox' ? {
    browser: 'firefox', executablePath: FIREFOX, headless: false, userDataDir: profile,
    env: { ...process.env, PULSE_SERVER: sound.address },
    extraPrefsFirefox: { 'media.autoplay.default': 0, 'dom.screenwakelock.enabled': true },
  } : {
    executablePath: CHROMIUM,
    headless: true,
    userDataDir: profile,
    args: ['--headless=new', '--no-sandbox', '--use-angle=swiftshader', '--enable-unsafe-swiftshader',
           '--disable-background-networking', '--disable-component-update', '--no-first-run', '--disable-sync',
           '--disable-background-timer-throttling', '--disable-renderer-backgrounding', ...args],
  });
  browser.engine = engine;
  const close = browser.close.bind(browser);
  browser.close = async () => {
    await close();
    if (sound) sound.stop();
    fs.rmSync(profile, { recursive: true, force: true });
  };
  return browser;
}

// Starts a PulseAudio of its own with a sink that plays to nothing, its socket in `folder`: Firefox
// keeps Web Audio suspended without a sound server, its clock standing still. It ends with stop(),
// and by itself once no browser has used it for SOUND_IDLE_EXIT seconds, should this process be
// killed first.
async function startSoundServer(folder) {
  const socket = path.join(folder, 'pulse-native');
  const server = spawn(PULSEAUDIO, ['-n', '--daemonize=no', '--use-pid-file=no', '--exit-idle-time=' + SOUND_IDLE_EXIT,
    '-L', `module-native-protocol-unix socket=${socket} auth-anonymous=1`, '-L', 'module-null-sink'],
  { stdio: 'ignore', env: { ...process.env, HOME: folder, PULSE_RUNTIME_PATH: folder } });
  const stop = () => server.kill();
  process.once('exit', stop);
  const until = Date.now() + DRIVER_START_TIMEOUT;
  while (!fs.existsSync(socket)) {
    if (Date.now() > until || server.exitCode !== null) {
      stop();
      throw new Error('PulseAudio did not start for Firefox');
    }
    await sleep(POLL_INTERVAL);
  }
  return { address: 'unix:' + socket, stop };
}

// Starts WebKitWebDriver on a free port and, through it, WebKitGTK's MiniBrowser: a browser whose
// newPage() gives pages with the few calls of puppeteer's the checks use.
async function startWebKit() {
  const { Builder } = await import('selenium-webdriver');
  const port = await freePort();
  const driverProcess = spawn(WEBKIT_DRIVER, ['--port=' + port], { stdio: 'ignore' });
  const server = `http://127.0.0.1:${port}`;
  const until = Date.now() + DRIVER_START_TIMEOUT;
  while (!(await fetch(server + '/status').then(r => r.ok, () => false))) {
    if (Date.now() > until || driverProcess.exitCode !== null) {
      driverProcess.kill();
      throw new Error('WebKitWebDriver did not start on port ' + port);
    }
    await sleep(POLL_INTERVAL);
  }
  const driver = await new Builder().usingServer(server).withCapabilities({
    browserName: 'MiniBrowser',
    'webkitgtk:browserOptions': { binary: MINIBROWSER, args: ['--automation'] },
  }).build();
  return {
    engine: 'webkit',
    newPage: async () => new WebDriverPage(driver),
    close: async () => {
      await driver.quit().catch(() => {});
      driverProcess.kill();
    },
    defaultBrowserContext: () => ({ overridePermissions: async () => {}, setPermission: async () => {} }),
  };
}

// A free local TCP port.
function freePort() {
  return new Promise(resolve => {
    const probe = net.createServer().listen(0, '127.0.0.1', () => {
      const { port } = probe.address();
      probe.close(() => resolve(port));
    });
  });
}

// The keys the checks press, by puppeteer's names, as WebDriver's key codes.
const WEBDRIVER_KEYS = { Escape: '\uE00C', ArrowUp: '\uE013', ArrowLeft: '\uE012', ArrowRight: '\uE014', ArrowDown: '\uE015' };

// A page of a W3C WebDriver session, with the calls of puppeteer's Page the checks use: it
// evaluates functions in the page, waits for conditions, clicks, presses keys and sizes the window.
// Console lines and page errors are collected by the page itself from when the address is opened.
class WebDriverPage {
  constructor(driver) {
    this.driver = driver;
    this.size = null;
    const press = async (key, down) => {
      const actions = driver.actions({ async: true });
      const code = WEBDRIVER_KEYS[key] || key;
      await (down ? actions.keyDown(code) : actions.keyUp(code)).perform();
    };
    this.keyboard = {
      down: key => press(key, true),
      up: key => press(key, false),
      press: async key => { await press(key, true); await press(key, false); },
    };
    this.mouse = {
      click: async (x, y) => {
        await driver.actions({ async: true }).move({ x: Math.round(x), y: Math.round(y), origin: 'viewport' }).click().perform();
      },
    };
  }

  // Sizes the window so that its page area is `viewport` (WebKit takes no device scale from here).
  async setViewport(viewport) {
    this.size = viewport;
    await this.driver.manage().window().setRect({ width: viewport.width, height: viewport.height });
    const inner = await this.evaluate(() => [innerWidth, innerHeight]);
    const rect = await this.driver.manage().window().getRect();
    await this.driver.manage().window().setRect({ width: rect.width + viewport.width - inner[0],
                                                  height: rect.height + viewport.height - inner[1] });
  }

  viewport() {
    return this.size;
  }

  // Opens `address` and starts collecting the page's console lines and errors.
  async goto(address) {
    await this.driver.get(address);
    await this.driver.executeScript(() => {
      window.pageMessages = { console: [], errors: [] };
      for (const level of ['log', 'warn', 'error']) {
        const original = console[level].bind(console);
        console[level] = (...parts) => { window.pageMessages.console.push(parts.join(' ')); original(...parts); };
      }
      addEventListener('error', event => window.pageMessages.errors.push(event.message));
      addEventListener('unhandledrejection', event => window.pageMessages.errors.push(String(event.reason)));
    });
  }

  // The value of `fn(...args)` in the page, awaited there.
  async evaluate(fn, ...args) {
    const result = await this.driver.executeAsyncScript(
      `const done = arguments[arguments.length - 1];
       Promise.resolve().then(() => (${fn.toString()})(...${JSON.stringify(args)}))
         .then(value => done({ value }), error => done({ error: String(error && error.message || error) }));`);
    if (result.error !== undefined) throw new Error(result.error);
    return result.value;
  }

  // Waits until `fn(...args)` is true in the page.
  async waitForFunction(fn, { timeout = 30000 } = {}, ...args) {
    const until = Date.now() + timeout;
    while (!(await this.evaluate(fn, ...args))) {
      if (Date.now() > until) throw new Error('timed out waiting for ' + fn.toString());
      await sleep(POLL_INTERVAL);
    }
  }

  async click(selector) {
    const { By } = await import('selenium-webdriver');
    await (await this.driver.findElement(By.css(selector))).click();
  }

  // The console lines and errors the page collected.
  async messages() {
    return this.evaluate(() => window.pageMessages || { console: [], errors: [] });
  }

  async close() {
    await this.driver.get('about:blank');
  }
}

// Opens the page with `query` in a window of the profile's size (or `viewport`), waits until it can
// start, clicks it (taps it on a touch screen) as a visitor would (unless `start` is false) and
// (unless told not to) waits for the first frame. Requests for `missing` paths fail; `damaged` ones
// get junk (paths named without their content hash; the service worker is bypassed, so that it
// cannot answer for them). Where the engine reports them, the page notes its long tasks (over 50 ms)
// in `longTasks`: when each began and how long it took. Outside WebKit a content policy violation is
// reported as a page error. Returns the page, messages() (its console lines and page errors) and close().
export async function openShow(browser, base, query,
                               { missing = [], damaged = [], waitForFrame = true, viewport = null, start = true } = {}) {
  const page = await browser.newPage();
  await page.setViewport(viewport || (query.includes('hd') ? VIEWPORTS.hd : VIEWPORTS.sd));
  const show = { page, close: () => page.close() };
  if (browser.engine === 'webkit') {
    show.messages = () => page.messages();
  } else {
    await page.evaluateOnNewDocument(() => {
      window.longTasks = [];
      if ((PerformanceObserver.supportedEntryTypes || []).includes('longtask')) {
        new PerformanceObserver(list => {
          for (const task of list.getEntries()) window.longTasks.push({ start: task.startTime, duration: task.duration });
        }).observe({ type: 'longtask' });
      }
      // A content policy violation is a page error: the page does not work as served.
      addEventListener('securitypolicyviolation', event => setTimeout(() => {
        throw new Error(`content policy violation: ${event.effectiveDirective} blocked ${event.blockedURI || 'inline code'}`);
      }));
    });
    const messages = { console: [], errors: [] };
    show.messages = async () => messages;
    page.on('console', message => messages.console.push(message.text()));
    page.on('pageerror', error => messages.errors.push(error.message));
  }
  if (missing.length || damaged.length) {
    if (!ENGINES[browser.engine].interception) throw new Error(browser.engine + ': the checks cannot fail its requests');
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
  if (start) await startLoaded(page, waitForFrame);
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
