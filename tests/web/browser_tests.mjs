// The show's web build in a real browser: Debian's Chromium, headless, drawing WebGL with
// SwiftShader, driven through puppeteer-core. Each check loads the page afresh, starts the show
// as a visitor would (a click), and looks at what the page, the canvas and the sound show.
//
//   node browser_tests.mjs SITE REFERENCE [CHECK...]
//
// SITE is the folder scripts/build-web.sh wrote; REFERENCE holds demo-capture's frames of the
// same tick and seed (sd/frame-000000.png, hd/frame-000000.png: make_reference.sh). Without
// CHECK names every check runs. Exits non-zero when any check fails. With QUORAVINT_WEB_SCREENSHOTS
// set to a folder, the picture check leaves the page as it saw it there (browser-sd.png, browser-hd.png).
import { startBrowser, serveFolders, openShow, frameStats, compareWithReference, sleep } from './browser_support.mjs';

const [site, reference, ...only] = process.argv.slice(2);
const SCREENSHOTS = process.env.QUORAVINT_WEB_SCREENSHOTS;
if (!site || !reference) {
  console.error('usage: node browser_tests.mjs SITE REFERENCE [CHECK...]');
  process.exit(2);
}

const RUN_TIME = 1500;            // ms the show runs before its picture is judged: past the first frames
const MIN_COLOURS = 200;          // a frame of the show has hundreds of colours; a blank or broken one a few
const MIN_SKY_SHARE = 0.3;        // the sky covers most of the picture in both scenes' first minutes
const COLOUR_TOLERANCE = 8;       // per channel, between the browser's and the native sky colour
const MAX_MEAN_DIFFERENCE = 1.0;  // mean absolute difference per channel (0-255) from the native frame:
                                  // the same picture, rasterised by another renderer, measures about 0.05
const MIN_AUDIO_LEVEL = 0.005;    // RMS share of full scale: the song is far louder; silence is 0
const STEP_TICKS = 30;            // ticks run with and without an arrow held, from the same start
const WIDE_HIDPI = { width: 1280, height: 600, deviceScaleFactor: 2 };   // wider than 4:3, two pixels a point
const STILL = '?start=600&seed=1&pause';   // demo-capture's first frame of --start 600 --seed 1
const OPENING = '?seed=1&pause';            // the show's first tick: the camera follows no sock yet

// The start-up trace, in the order the show writes it, up to the end of init().
const STARTUP_ORDER = ['gfx/sockwalk.png', 'gfx/table.png', 'LOADED SOUND: sfx/future.ogg',
  'LOADED SOUND: sfx/VLERVELER.ogg', 'LOADED SONG', 'PLAYING SONG', 'TEXT GO: ', 'Init complete.'];

// Inside the page: resolves after two animation frames, so the main loop has passed at least once.
function nextFrames() {
  return new Promise(resolve => requestAnimationFrame(() => requestAnimationFrame(resolve)));
}

// Fails the running check with `message` unless `condition` holds.
function expect(condition, message) {
  if (!condition) throw new Error(message);
}

// The checks, by name; each gets the browser and the server's address.
const checks = {
  // The start-up trace with ?trace, in order, and no page errors.
  async startup(browser, base) {
    const show = await openShow(browser, base, '?trace');
    let at = 0;
    for (const line of show.console) {
      if (at < STARTUP_ORDER.length && line.endsWith(STARTUP_ORDER[at])) at += 1;   // items run on without line ends
    }
    expect(at === STARTUP_ORDER.length, 'start-up trace stops before "' + STARTUP_ORDER[at] + '"');
    await sleep(RUN_TIME);
    expect(show.console.some(line => line.startsWith('CT: ')), 'no main loop trace after start-up');
    expect(show.errors.length === 0, 'page errors: ' + show.errors.join('; '));
    await show.close();
  },

  // The picture at both profiles: the show's colours, the sky dominant, as natively.
  async picture(browser, base) {
    for (const [query, profile, width] of [['', 'sd', 1024], ['?hd', 'hd', 1920]]) {
      const show = await openShow(browser, base, query);
      await sleep(RUN_TIME);
      const stats = await frameStats(show.page, '/reference/' + profile + '/frame-000000.png', COLOUR_TOLERANCE);
      expect(stats.width === width, profile + ': canvas is ' + stats.width + ' pixels wide, not ' + width);
      expect(stats.colours >= MIN_COLOURS, profile + ': only ' + stats.colours + ' colours');
      expect(stats.skyShare >= MIN_SKY_SHARE, profile + ': the sky colour ' + stats.sky + ' covers only '
             + (100 * stats.skyShare).toFixed(1) + '% (dominant ' + stats.dominant + ')');
      expect(stats.skyDistance <= COLOUR_TOLERANCE, profile + ': dominant colour ' + stats.dominant
             + ' is not the native sky ' + stats.sky);
      expect(show.errors.length === 0, profile + ': page errors: ' + show.errors.join('; '));
      if (SCREENSHOTS) await show.page.screenshot({ path: `${SCREENSHOTS}/browser-${profile}.png` });
      await show.close();
    }
  },

  // In a window of another shape on a high-density screen: the picture keeps its aspect, fills the
  // window's height, stands centred with black beside it, and has a pixel for each screen pixel.
  async fit(browser, base) {
    const show = await openShow(browser, base, '', { viewport: WIDE_HIDPI });
    await sleep(RUN_TIME / 2);
    const layout = await show.page.evaluate(() => {
      const box = document.getElementById('canvas').getBoundingClientRect();
      const canvas = document.getElementById('canvas');
      return { left: box.left, width: box.width, height: box.height, pixels: [canvas.width, canvas.height] };
    });
    const expectedWidth = Math.floor(WIDE_HIDPI.height * 1024 / 768);
    expect(layout.height === WIDE_HIDPI.height && layout.width === expectedWidth,
           `canvas shown ${layout.width} x ${layout.height}, not ${expectedWidth} x ${WIDE_HIDPI.height}`);
    expect(Math.abs(layout.left - (WIDE_HIDPI.width - expectedWidth) / 2) <= 1, 'canvas not centred: left ' + layout.left);
    const scale = WIDE_HIDPI.deviceScaleFactor;
    expect(layout.pixels[0] === expectedWidth * scale && layout.pixels[1] === WIDE_HIDPI.height * scale,
           'canvas has ' + layout.pixels.join(' x ') + ' pixels');
    const stats = await frameStats(show.page, '/reference/sd/frame-000000.png', COLOUR_TOLERANCE);
    expect(stats.colours >= MIN_COLOURS && stats.skyShare >= MIN_SKY_SHARE,
           `the enlarged picture has ${stats.colours} colours, sky ${(100 * stats.skyShare).toFixed(1)}%`);
    expect(show.errors.length === 0, 'page errors: ' + show.errors.join('; '));
    await show.close();
  },

  // The frame of a start tick and seed against demo-capture's frame of the same tick and seed, both
  // without the song (make_reference.sh says why).
  async native_frame(browser, base) {
    for (const [query, profile] of [[STILL, 'sd'], [STILL + '&hd', 'hd']]) {
      const show = await openShow(browser, base, query, { missing: ['assets/sfx/towers.xm'] });
      const result = await compareWithReference(show.page, '/reference/' + profile + '/frame-000000.png');
      console.log(`native_frame ${profile}: mean absolute difference ${result.mean.toFixed(3)} per channel, `
                  + `${(100 * result.differing).toFixed(2)}% of pixels differ by more than 32`);
      expect(result.sameSize, profile + ': browser frame ' + result.size + ' against native ' + result.referenceSize);
      expect(result.mean <= MAX_MEAN_DIFFERENCE, profile + ': mean difference ' + result.mean.toFixed(3));
      await show.close();
    }
  },

  // The sound plays once the visitor has started the show.
  async sound(browser, base) {
    const show = await openShow(browser, base, '');
    await sleep(RUN_TIME);
    const level = await show.page.evaluate(() => quoravint.audioLevel());
    console.log('sound: level ' + level.toFixed(4) + ' of full scale');
    expect(level >= MIN_AUDIO_LEVEL, 'the sound is silent: level ' + level);
    await show.close();
  },

  // Holding the arrows turns and raises the view, against the same ticks without them.
  async arrows(browser, base) {
    const cameraAfter = async keys => {
      const show = await openShow(browser, base, OPENING);
      for (const key of keys) await show.page.keyboard.down(key);
      await show.page.evaluate(nextFrames);   // the show reads key presses when it drains its events
      const camera = await show.page.evaluate(ticks => { quoravint.step(ticks); return quoravint.camera(); }, STEP_TICKS);
      for (const key of keys) await show.page.keyboard.up(key);
      await show.close();
      return camera;
    };
    const still = await cameraAfter([]);
    const up = await cameraAfter(['ArrowUp']);
    const upLeft = await cameraAfter(['ArrowUp', 'ArrowLeft']);
    const upRight = await cameraAfter(['ArrowUp', 'ArrowRight']);
    expect(up.height > still.height, `up arrow: camera height ${up.height} not above ${still.height}`);
    expect(upLeft.angle < up.angle, `left arrow: camera angle ${upLeft.angle} not below ${up.angle}`);
    expect(upRight.angle > up.angle, `right arrow: camera angle ${upRight.angle} not above ${up.angle}`);
  },

  // Escape ends the show: the end card, status 0, the loop stopped.
  async escape(browser, base) {
    const show = await openShow(browser, base, '');
    await sleep(RUN_TIME / 2);
    await show.page.keyboard.press('Escape');
    await show.page.waitForFunction(() => quoravint.ended, { timeout: 5000 });
    const passes = await show.page.evaluate(() => quoravint.passes);
    await sleep(300);
    const state = await show.page.evaluate(() => ({
      status: quoravint.exitStatus, passes: quoravint.passes,
      card: !document.getElementById('end').hidden, restart: !!document.getElementById('restart'),
    }));
    expect(state.card && state.restart, 'no end card with a restart button');
    expect(state.status === 0, 'exit status ' + state.status);
    expect(state.passes === passes, 'the main loop goes on after the end');
    expect(show.errors.length === 0, 'page errors: ' + show.errors.join('; '));
    await show.close();
  },

  // A missing names file: the show's own message on the page, as natively it ends with status 1.
  async names_missing(browser, base) {
    const show = await openShow(browser, base, '', { missing: ['assets/names.txt'], waitForFrame: false });
    await show.page.waitForFunction(() => quoravint.ended, { timeout: 10000 });
    const state = await show.page.evaluate(() => ({
      status: quoravint.exitStatus, card: !document.getElementById('end').hidden,
      detail: document.getElementById('end-detail').textContent,
    }));
    expect(state.card, 'no end card');
    expect(state.status === 1, 'exit status ' + state.status);
    expect(state.detail === 'Error opening names.txt.', 'end card says "' + state.detail + '"');
    expect(show.errors.length === 0, 'page errors: ' + show.errors.join('; '));
    await show.close();
  },

  // A damaged sprite and a missing effect: the native messages on the page, and the show goes on.
  async damaged_assets(browser, base) {
    const show = await openShow(browser, base, '', {
      missing: ['assets/sfx/VLERVELER.ogg'], damaged: ['assets/gfx/cloud0.png', 'assets/sfx/towers.xm'],
    });
    await sleep(RUN_TIME);
    const state = await show.page.evaluate(() => ({
      notice: document.getElementById('notice').textContent, frames: quoravint.frames, ended: quoravint.ended,
    }));
    for (const message of ['Error loading gfx/cloud0.png', 'ERROR LOADING SOUND: sfx/VLERVELER.ogg',
      'SONG LOAD FAIL', 'MUSIC ERROR: ']) {
      expect(state.notice.includes(message), 'the notice lacks "' + message + '": ' + state.notice);
    }
    expect(!state.ended && state.frames > 10, 'the show did not go on: ' + state.frames + ' frames');
    expect(show.errors.length === 0, 'page errors: ' + show.errors.join('; '));
    await show.close();
  },
};

const names = only.length ? only : Object.keys(checks);
const unknown = names.filter(name => !checks[name]);
if (unknown.length) {
  console.error('unknown checks: ' + unknown.join(', ') + '; known: ' + Object.keys(checks).join(', '));
  process.exit(2);
}
const server = await serveFolders({ '/': site, '/reference/': reference });
const browser = await startBrowser();
let failed = 0;
try {
  for (const name of names) {
    try {
      await checks[name](browser, server.base);
      console.log('PASS ' + name);
    } catch (error) {
      failed += 1;
      console.log('FAIL ' + name + ': ' + error.message);
    }
  }
} finally {
  await browser.close();
  server.close();
}
process.exit(failed ? 1 : 0);
