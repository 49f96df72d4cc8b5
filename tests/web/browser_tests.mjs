// The show's web build in real browsers: Debian's Chromium, headless, drawing WebGL with
// SwiftShader, and Firefox ESR, both driven through puppeteer-core; WebKitGTK's MiniBrowser through
// its WebDriver. Each check loads the page afresh, starts the show as a visitor would (a click), and
// looks at what the page, the canvas and the sound show.
//
//   [QUORAVINT_BROWSER=chromium|firefox|webkit] node browser_tests.mjs SITE REFERENCE [CHECK...]
//
// Chromium runs every check; the other engines the checks of EVERY_ENGINE, in a window of the X
// display in DISPLAY.
// SITE is the folder scripts/build-web.sh wrote; REFERENCE holds demo-capture's frames of the
// same tick and seed (sd/frame-000000.png, hd/frame-000000.png: make_reference.sh). Without
// CHECK names every check of the engine runs. Exits non-zero when any check fails. With QUORAVINT_WEB_SCREENSHOTS
// set to a folder, the picture check leaves the page as it saw it there (browser-sd.png, browser-hd.png).
// With QUORAVINT_WEB_BASE set to an address, the checks load the site (and REFERENCE under
// /reference/) from the server there instead of serving SITE themselves.
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { ENGINES, enginePrograms, startBrowser, serveFolders, openShow, startLoaded, frameStats, compareWithReference, sleep } from './browser_support.mjs';

const [site, reference, ...only] = process.argv.slice(2);
const SCREENSHOTS = process.env.QUORAVINT_WEB_SCREENSHOTS;
const SERVED_AT = process.env.QUORAVINT_WEB_BASE;
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
const SONG = 'assets/sfx/towers.xm';        // left out where a frame meets the capture's, which has no song
const SHARED_TICK = 600;                    // the tick of STILL, reached from OPENING by stepping
const FAR_START = 43000;                    // deep in the show: seconds of ticks before the first frame
const MAX_TASK = 2000;                      // ms the page may not answer while a far start runs: slices of 40 ms
                                            // take 50 to 60 quiet, spikes to 600 at a load of 12 on two cores;
                                            // the same ticks in one go block for 4.5 s quiet, 15 s loaded
const LOAD_TIMEOUT = 60000;                 // ms for a page load on a busy machine
const WATCH_INTERVAL = 100;                 // ms between looks at a far start's progress
const PAUSE_TIME = 700;                     // ms the show is watched paused, then resumed
const VIEWPORTS_SD = { width: 1024, height: 768 };  // the window openShow gives the 1024 x 768 page
const PHONE = { width: 390, height: 844, deviceScaleFactor: 1, isMobile: true, hasTouch: true };
const SERVICE_WORKER_TIME = 30000;          // ms the service worker may take to keep a whole site on a busy machine
const DRAG = 120;                           // CSS px a finger drags on the picture
const MAX_LOAD_SHIFT = 0.001;               // layout shift while the page loads: none (a 15 px move of the start card
                                            // on a phone counts 0.005, Lighthouse's bound for a still page is 0.1)
const SLOW_LINE = { offline: false, latency: 150, downloadThroughput: 1.6e6 / 8, uploadThroughput: 750e3 / 8 };
                                            // a slow 4G line, as Lighthouse's phone: the scripts arrive after the first paint
const SLOW_CPU = 4;                         // a phone's processor, four times slower than this machine's
const HUGE_START = 99999999999;              // a start tick beyond 32 bits
const LARGEST_START = 216000;               // the page's largest start: an hour of ticks
const LEVEL_INTERVAL = 500;                 // ms between two looks at the sound's level: several buffers
const SOUND_RESUME_TIMEOUT = 5000;         // ms for the sound to be heard again after a pause
const NOT_INSTALLED = 77;                    // exit status for an engine missing here: ctest's SKIP_RETURN_CODE
const RATE_TIME = 3000;                     // ms over which frames and ticks a second are counted
const PATH_ROUNDS = 6;                      // moments at which the fast and the reference frame are compared
const LIST = /site-files\.[0-9a-f]{16}\.json/;   // the build's list of its files, as build-web.sh names it
const PATH_STEP = 97;                       // ticks between them: scenes move on, sprites come and go

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

// Fails the running check when the page threw an error, naming them after `prefix`.
async function expectNoErrors(show, prefix = '') {
  const { errors } = await show.messages();
  expect(errors.length === 0, prefix + 'page errors: ' + errors.join('; '));
}

// Fails the running check unless the show's sound is heard again within SOUND_RESUME_TIMEOUT
// (Firefox takes its audio output back from a pause in half a second or more).
async function soundResumes(show) {
  await show.page.waitForFunction(level => quoravint.audioLevel() >= level, { timeout: SOUND_RESUME_TIMEOUT }, MIN_AUDIO_LEVEL)
    .catch(() => { throw new Error('the sound did not come back after the pause'); });
}

// The page's layout shift from the first paint until it is ready to start, as Chromium measures it,
// on a slow line and processor, where the scripts run well after the start card is painted.
async function layoutShiftOnSlowPhone(browser, url, viewport) {
  const firstVisit = await browser.createBrowserContext();   // no service worker nor cache of earlier loads
  const page = await firstVisit.newPage();
  try {
    await page.setViewport(viewport);
    const devtools = await page.createCDPSession();
    await devtools.send('Network.enable');
    await devtools.send('Network.emulateNetworkConditions', SLOW_LINE);
    await devtools.send('Emulation.setCPUThrottlingRate', { rate: SLOW_CPU });
    await page.evaluateOnNewDocument(() => {
      window.layoutShift = 0;
      new PerformanceObserver(list => { for (const entry of list.getEntries()) window.layoutShift += entry.value; })
        .observe({ type: 'layout-shift', buffered: true });
    });
    await page.goto(url, { timeout: LOAD_TIMEOUT });
    await page.waitForFunction(() => window.quoravint && quoravint.state === 'ready', { timeout: LOAD_TIMEOUT });
    return await page.evaluate(() => window.layoutShift);
  } finally {
    await firstVisit.close();
  }
}

// The checks, by name; each gets the browser and the server's address.
const checks = {
  // The start-up trace with ?trace, in order, and no page errors.
  async startup(browser, base) {
    const show = await openShow(browser, base, '?trace');
    let at = 0;
    const { console: lines } = await show.messages();
    for (const line of lines) {
      if (at < STARTUP_ORDER.length && line.endsWith(STARTUP_ORDER[at])) at += 1;   // items run on without line ends
    }
    expect(at === STARTUP_ORDER.length, 'start-up trace stops before "' + STARTUP_ORDER[at] + '"');
    await sleep(RUN_TIME);
    expect((await show.messages()).console.some(line => line.startsWith('CT: ')), 'no main loop trace after start-up');
    await expectNoErrors(show);
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
      await expectNoErrors(show, profile + ': ');
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
    await expectNoErrors(show);
    await show.close();
  },

  // A held frame is drawn again when the window's resize clears the canvas.
  async held_resize(browser, base) {
    const show = await openShow(browser, base, STILL);
    await show.page.setViewport({ width: 800, height: 600, deviceScaleFactor: 1 });
    await show.page.evaluate(nextFrames);
    const shot = await show.page.screenshot({ encoding: 'base64' });
    const drawn = await show.page.evaluate(async png => {
      const image = new Image();
      image.src = 'data:image/png;base64,' + png;
      await image.decode();
      const context = new OffscreenCanvas(image.width, image.height).getContext('2d');
      context.drawImage(image, 0, 0);
      const rows = context.getImageData(0, 0, image.width, image.height).data;
      let lit = 0;
      for (let i = 0; i < rows.length; i += 4) if (rows[i] || rows[i + 1] || rows[i + 2]) lit += 1;
      return lit / (rows.length / 4);
    }, shot);
    expect(drawn >= MIN_SKY_SHARE, `after the resize ${(100 * drawn).toFixed(1)}% of the window is drawn`);
    await show.close();
  },

  // The fast path draws the reference path's frames byte for byte, its kept backdrop put back by
  // WebGL's copy: at both profiles' own sizes and fitted to a wide high-density window.
  async draw_paths(browser, base) {
    for (const [query, profile, viewport] of [[STILL, 'sd'], [STILL + '&hd', 'hd'], [STILL, 'fitted', WIDE_HIDPI]]) {
      const show = await openShow(browser, base, query, { viewport });
      const result = await show.page.evaluate((rounds, step) => {
        const grab = fast => { Module._quoravint_draw_fast(fast); return quoravint.grabFrame().rows; };
        let differing = 0;
        for (let round = 0; round < rounds; round++) {
          Module._quoravint_draw_fast(1);
          quoravint.step(step);
          const kept = grab(1);   // the same first quad as the step's frame: copied into the backdrop
          const put = grab(1);    // the backdrop put back from the copy
          const reference = grab(0);
          for (let i = 0; i < reference.length; i++) differing += (kept[i] !== reference[i]) + (put[i] !== reference[i]);
        }
        return { differing, put: Module._quoravint_backdrops_put() };
      }, PATH_ROUNDS, PATH_STEP);
      console.log(`draw_paths ${profile}: ${result.differing} bytes differ, ${result.put} backdrops put back`);
      expect(result.differing === 0, profile + ': the fast frames differ from the reference ones in ' + result.differing + ' bytes');
      expect(result.put > 0, profile + ': the fast path never put its backdrop back');
      await show.close();
    }
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

  // The sound plays once the visitor has started the show, and goes on: its level moves with the
  // song (a browser whose audio clock stands still keeps the first buffers' level for ever).
  async sound(browser, base) {
    const show = await openShow(browser, base, '');
    await sleep(RUN_TIME);
    const level = await show.page.evaluate(() => quoravint.audioLevel());
    await sleep(LEVEL_INTERVAL);
    const later = await show.page.evaluate(() => quoravint.audioLevel());
    console.log(`sound: level ${level.toFixed(4)}, then ${later.toFixed(4)} of full scale`);
    expect(level >= MIN_AUDIO_LEVEL && later >= MIN_AUDIO_LEVEL, `the sound is silent: level ${level}, then ${later}`);
    expect(later !== level, 'the sound stands still at level ' + level);
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

  // "Link to this moment" copies the moment's tick and seed (or shows it to copy where the engine
  // keeps the clipboard from the page); opening it shows that moment (in Chromium, the capture's frame
  // of it), and a far moment runs under a progress bar with no link to offer and the page answering.
  async share_link(browser, base) {
    await browser.defaultBrowserContext().overridePermissions(base, ['clipboard-read', 'clipboard-sanitized-write'])
      .catch(() => {});   // an engine that does not take the permission from here keeps the clipboard from the page
    const song = ENGINES[browser.engine].interception ? { missing: [SONG] } : {};
    const show = await openShow(browser, base, OPENING, song);
    await show.page.evaluate(ticks => quoravint.step(ticks), SHARED_TICK);
    await show.page.click('#share');
    await show.page.waitForFunction(() => !document.getElementById('shared').hidden);
    const shared = await show.page.evaluate(async () => ({
      link: quoravint.sharedLink, said: document.getElementById('shared').textContent,
      copied: await navigator.clipboard.readText().catch(() => null),
    }));
    await expectNoErrors(show);
    await show.close();
    expect(shared.link === `${base}/?start=${SHARED_TICK}&seed=1`, 'the link is ' + shared.link);
    expect(shared.said.includes(shared.link), 'the page does not show the link: ' + shared.said);
    if (shared.copied === null) console.log(`share_link: ${browser.engine} lacks clipboard reading by the page; it says "${shared.said}"`);
    else expect(shared.copied === shared.link, 'copied ' + shared.copied);

    const still = await openShow(browser, base, shared.link.slice(base.length + 1) + '&pause', song);
    expect(await still.page.evaluate(() => quoravint.tick()) === SHARED_TICK + 1, 'the link opens another tick');
    if (song.missing) {
      const result = await compareWithReference(still.page, '/reference/sd/frame-000000.png');
      expect(result.mean <= MAX_MEAN_DIFFERENCE, 'the linked frame differs from the capture\'s: ' + result.mean.toFixed(3));
    }
    await still.close();

    const far = await openShow(browser, base, `?start=${FAR_START}&seed=1`, { waitForFrame: false });
    let lastProgress = null, linkOffered = false, state;   // when the progress was last seen under way
    do {
      await sleep(WATCH_INTERVAL);
      state = await far.page.evaluate(() => {
        const progress = document.getElementById('progress');
        return { shown: !progress.hidden && progress.value > 0 && progress.value < progress.max,
                 link: !document.getElementById('share').hidden,
                 at: performance.now(), firstFrame: quoravint.firstFrameAt - quoravint.startedAt };
      });
      if (state.shown) lastProgress = state.at;
      if (state.shown && state.link) linkOffered = true;
    } while (state.firstFrame < 0);
    expect(lastProgress !== null, 'no progress bar while the ticks before a far moment ran');
    expect(!linkOffered, 'a link to the moment was offered while the ticks before the first frame ran');
    expect(await far.page.evaluate(() => !document.getElementById('share').hidden), 'no link offered once the moment is shown');
    if (browser.engine === 'chromium') {   // the only engine that reports long tasks
      // The tasks that began after the click's own (which starts the show) and before the progress was
      // last seen under way: slices of ticks, not the first frame's drawing.
      const longest = await far.page.evaluate(until => Math.max(0, ...longTasks
        .filter(task => task.start > quoravint.startedAt && task.start < until).map(task => task.duration)), lastProgress);
      console.log(`share_link: tick ${FAR_START} first drawn ${state.firstFrame.toFixed(0)} ms after the click; `
                  + `longest task meanwhile ${longest.toFixed(0)} ms`);
      expect(longest <= MAX_TASK, `the page stopped answering for ${longest.toFixed(0)} ms`);
    } else {
      console.log(`share_link: tick ${FAR_START} first drawn ${state.firstFrame.toFixed(0)} ms after the click`);
    }
    await far.close();
  },

  // A start beyond what a 32-bit number holds is brought down to the largest start like any other
  // far start, and said so, rather than ignored.
  async huge_start(browser, base) {
    const show = await openShow(browser, base, '?start=' + HUGE_START, { waitForFrame: false });
    await show.page.waitForFunction(() => !document.getElementById('notice').hidden, { timeout: LOAD_TIMEOUT });
    const state = await show.page.evaluate(() => ({
      notice: document.getElementById('notice').textContent,
      target: Module._quoravint_ticks_to_first_frame() + quoravint.tick() - 1,
    }));
    expect(state.notice.includes(`start=${HUGE_START} is beyond an hour of show`), 'the notice says: ' + state.notice);
    expect(state.target === LARGEST_START, 'the first frame comes at tick ' + state.target + ', not ' + LARGEST_START);
    await show.close();
  },

  // On a phone: the start card lists the gestures, and a finger dragged on the picture steers like the arrows.
  async touch_drag(browser, base) {
    if (!ENGINES[browser.engine].touch) {
      console.log(`touch_drag: ${browser.engine} offers the checks no touch screen to emulate: not checked there`);
      return;
    }
    const cameraAfter = async (dx, dy) => {
      const show = await openShow(browser, base, OPENING, { viewport: PHONE });
      const gestures = await show.page.evaluate(() => getComputedStyle(document.querySelector('.touch')).display !== 'none'
                                                     && getComputedStyle(document.querySelector('.keys')).display === 'none');
      expect(gestures, 'the start card does not list the touch controls');
      const finger = await show.page.touchscreen.touchStart(PHONE.width / 2, PHONE.height / 2);
      await finger.move(PHONE.width / 2 + dx, PHONE.height / 2 + dy);
      await show.page.evaluate(nextFrames);
      const camera = await show.page.evaluate(ticks => { quoravint.step(ticks); return quoravint.camera(); }, STEP_TICKS);
      await finger.end();
      await show.close();
      return camera;
    };
    const still = await cameraAfter(0, 0);
    const upRight = await cameraAfter(DRAG, -DRAG);
    const upLeft = await cameraAfter(-DRAG, -DRAG);
    expect(upRight.height > still.height, `dragging up: camera height ${upRight.height} not above ${still.height}`);
    expect(upRight.angle > upLeft.angle, `dragging right: camera angle ${upRight.angle} not above ${upLeft.angle}`);
  },

  // Space pauses the show's time and sound and lets the screen sleep (where the engine offers a wake
  // lock); Space again goes on from there. M mutes, and the next visit starts muted.
  async pause_mute(browser, base) {
    await browser.defaultBrowserContext().setPermission(base, { permission: { name: 'screen-wake-lock' }, state: 'granted' })
      .catch(() => {});   // an engine that does not take the permission from here asks no one for it
    const show = await openShow(browser, base, '');
    const look = () => show.page.evaluate(() => ({ tick: quoravint.tick(), level: quoravint.audioLevel(), lock: quoravint.wakeLock,
                                                   offered: 'wakeLock' in navigator }));
    await sleep(RUN_TIME);
    const playing = await look();
    await show.page.keyboard.press(' ');
    await sleep(PAUSE_TIME / 2);
    const paused = await look();
    await sleep(PAUSE_TIME);
    const later = await look();
    await show.page.keyboard.press(' ');
    await sleep(PAUSE_TIME);
    const resumed = await look();
    expect(later.tick === paused.tick && later.level === 0, `paused: tick ${paused.tick} to ${later.tick}, level ${later.level}`);
    expect(resumed.tick > later.tick, `resumed: tick ${resumed.tick}`);
    expect(resumed.tick - later.tick <= (PAUSE_TIME * 60) / 1000 + STEP_TICKS, `the paused time was caught up: ${later.tick} to ${resumed.tick}`);
    await soundResumes(show);
    const locks = [playing.lock, paused.lock, resumed.lock].join();
    if (playing.offered) {
      console.log('pause_mute: wake lock ' + locks);
      expect(locks === 'held,released,held', 'wake lock ' + locks);
    } else {
      console.log(`pause_mute: ${browser.engine} lacks the screen wake lock; the page says ${locks}`);
      expect(locks === 'unsupported,unsupported,unsupported', 'without a wake lock the page says ' + locks);
    }
    await show.page.keyboard.press('m');
    await sleep(PAUSE_TIME);
    expect((await look()).level === 0, 'M does not mute');
    await expectNoErrors(show);
    await show.close();
    const next = await openShow(browser, base, '');
    await sleep(RUN_TIME);
    const visit = await next.page.evaluate(() => ({ level: quoravint.audioLevel(), button: document.getElementById('mute').textContent }));
    expect(visit.level === 0 && visit.button === 'Unmute', `the next visit is not muted: level ${visit.level}, button ${visit.button}`);
    await next.page.keyboard.press('m');   // unmuted again, for the checks after this one
    await next.close();
  },

  // ?pause holds the song with the picture: silence and a still tick until the visitor resumes.
  async paused_start(browser, base) {
    const show = await openShow(browser, base, '?pause');
    const look = () => show.page.evaluate(() => ({ tick: quoravint.tick(), level: quoravint.audioLevel(),
                                                   button: document.getElementById('pause').textContent }));
    await sleep(RUN_TIME);
    const held = await look();
    await sleep(PAUSE_TIME);
    const later = await look();
    expect(held.button === 'Play', 'the pause button offers ' + held.button);
    expect(later.tick === held.tick && held.level === 0 && later.level === 0,
           `held: tick ${held.tick} to ${later.tick}, sound level ${held.level} then ${later.level}`);
    await show.page.keyboard.press(' ');
    await sleep(RUN_TIME);
    const resumed = await look();
    expect(resumed.tick > later.tick, `resumed: tick ${resumed.tick}`);
    await soundResumes(show);
    await expectNoErrors(show);
    await show.close();
  },

  // The show's frames and ticks a second in this engine, and both advancing.
  async frames(browser, base) {
    const show = await openShow(browser, base, '');
    await sleep(RUN_TIME);
    const look = () => show.page.evaluate(() => ({ frames: quoravint.frames, tick: quoravint.tick(), at: performance.now() }));
    const from = await look();
    await sleep(RATE_TIME);
    const to = await look();
    const seconds = (to.at - from.at) / 1000;
    const frameRate = (to.frames - from.frames) / seconds, tickRate = (to.tick - from.tick) / seconds;
    console.log(`frames: ${browser.engine} draws ${frameRate.toFixed(1)} frames and runs ${tickRate.toFixed(1)} ticks a second`);
    expect(frameRate > 0 && tickRate > 0, 'the show stands still');
    await expectNoErrors(show);
    await show.close();
  },

  // What the engine offers the page (wake lock, full screen, clipboard, touch), said; the page's
  // buttons that use them work or do nothing there, quietly.
  async features(browser, base) {
    const show = await openShow(browser, base, '');
    const offered = await show.page.evaluate(() => ({
      'the screen wake lock': 'wakeLock' in navigator, 'full screen': !!document.fullscreenEnabled,
      'clipboard writing': !!(navigator.clipboard && navigator.clipboard.writeText), 'touch input': navigator.maxTouchPoints > 0,
    }));
    const lacks = Object.keys(offered).filter(name => !offered[name]);
    console.log(`features: ${browser.engine} offers ${Object.keys(offered).filter(name => offered[name]).join(', ') || 'none of them'}`
                + (lacks.length ? `; lacks ${lacks.join(', ')}` : ''));
    await show.page.click('#fullscreen');
    await show.page.click('#share');
    await sleep(PAUSE_TIME);
    const state = await show.page.evaluate(() => ({ ended: quoravint.ended, shared: document.getElementById('shared').textContent }));
    expect(!state.ended && state.shared.includes(base), 'after the buttons: ' + JSON.stringify(state));
    await expectNoErrors(show);
    await show.close();
  },

  // Before any script runs, the start card is shown and the canvas's box is the one the page then
  // fits it to (the window's width or height, 4:3 kept): nothing moves when the scripts arrive; and at
  // either profile, on a phone's slow line and processor, where the scripts run after the first paint,
  // Chromium sees no layout shift.
  async first_paint(browser, base) {
    for (const viewport of [PHONE, WIDE_HIDPI]) {
      const page = await browser.newPage();
      await page.setViewport(viewport);
      const box = () => page.evaluate(() => {
        const rect = document.getElementById('canvas').getBoundingClientRect();
        return { left: rect.left, top: rect.top, width: rect.width, height: rect.height,
                 card: !document.getElementById('start').hidden && document.getElementById('start').getBoundingClientRect().height > 0 };
      });
      await page.setJavaScriptEnabled(false);
      await page.goto(base + '/', { timeout: LOAD_TIMEOUT });
      const before = await box();
      await page.setJavaScriptEnabled(true);
      await page.goto(base + '/', { timeout: LOAD_TIMEOUT });
      await page.waitForFunction(() => window.quoravint && quoravint.state === 'ready', { timeout: LOAD_TIMEOUT });
      const after = await box();
      await page.close();
      const size = `${viewport.width} x ${viewport.height}`;
      expect(before.card, size + ': no start card before the scripts');
      const moved = Math.max(...['left', 'top', 'width', 'height'].map(side => Math.abs(before[side] - after[side])));
      expect(moved <= 1, `${size}: the canvas moves by ${moved.toFixed(1)} px when the scripts run: `
                         + `${JSON.stringify(before)} then ${JSON.stringify(after)}`);
      for (const query of ['', '?hd']) {
        const shift = await layoutShiftOnSlowPhone(browser, base + '/' + query, viewport);
        console.log(`first_paint: ${size}${query}: layout shift ${shift.toFixed(3)} on a slow line and processor`);
        expect(shift < MAX_LOAD_SHIFT, `${size}${query}: the layout shifts by ${shift.toFixed(3)} while the page loads`);
      }
    }
  },

  // Without WebGL the start card says that this browser cannot draw the show and what can be done;
  // a click then starts nothing, and no script error is thrown. Chromium without a GPU or its
  // software stand-in (as on a machine whose GPU it blocks) is told before any click; with WebGL
  // switched off for pages only (workers keep it), at the click.
  async webgl_off(browser, base) {
    if (browser.engine !== 'chromium') {
      console.log(`webgl_off: checked in Chromium, whose switches take WebGL away; not in ${browser.engine}`);
      return;
    }
    for (const [args, before] of [[['--disable-gpu', '--disable-software-rasterizer'], true], [['--disable-webgl'], false]]) {
      const blind = await startBrowser('chromium', { args });
      try {
        const show = await openShow(blind, base, '', { start: false });
        await show.page.waitForFunction(() => window.quoravint && quoravint.state !== 'loading', { timeout: LOAD_TIMEOUT });
        const early = await show.page.evaluate(() => quoravint.state);
        await show.page.mouse.click(VIEWPORTS_SD.width / 2, VIEWPORTS_SD.height / 2);
        await sleep(RUN_TIME / 2);
        const state = await show.page.evaluate(() => ({
          state: quoravint.state, card: document.getElementById('start').hidden ? '' : document.getElementById('start').textContent,
          ended: !document.getElementById('end').hidden,
        }));
        const switches = args.join(' ');
        expect(!before || early === 'unsupported', `${switches}: before the click the page is ${early}`);
        expect(state.state === 'unsupported', `${switches}: after the click the page is ${state.state}`);
        for (const words of ['cannot draw the show', 'WebGL', 'hardware acceleration'])
          expect(state.card.includes(words), `${switches}: the start card does not say "${words}": ${state.card}`);
        expect(!state.ended, switches + ': the show was started and ended');
        await expectNoErrors(show, switches + ': ');
        await show.close();
      } finally {
        await blind.close();
      }
    }
  },

  // The service worker takes over and keeps the site's files, as the server sends them (its
  // headers, its content policy).
  async service_worker(browser, base) {
    const show = await openShow(browser, base, '');
    const kept = await show.page.evaluate(async wait => {
      const ready = await Promise.race([navigator.serviceWorker.ready, new Promise(done => setTimeout(done, wait))]);
      if (!ready) return -1;
      const names = await caches.keys();
      return names.length ? (await (await caches.open(names[0])).keys()).length : 0;
    }, SERVICE_WORKER_TIME);
    expect(kept >= 0, 'the service worker did not take over within ' + SERVICE_WORKER_TIME + ' ms');
    expect(kept > 1, 'the service worker keeps ' + kept + ' files');
    await expectNoErrors(show);
    await show.close();
  },

  // After one visit the show starts again with its server gone: the service worker kept the site.
  async offline(browser) {
    const server = await serveFolders({ '/': site });   // its own server, to take away
    const show = await openShow(browser, server.base, '');
    await show.page.evaluate(() => navigator.serviceWorker.ready);
    server.close();
    await show.page.reload({ timeout: LOAD_TIMEOUT });
    await startLoaded(show.page);
    await sleep(RUN_TIME / 2);
    const frames = await show.page.evaluate(() => quoravint.frames);
    expect(frames > 1, 'offline, the show drew ' + frames + ' frames');
    await expectNoErrors(show);
    await show.close();
  },

  // A returning visitor after a new build (a copy of the site whose list of files has a new name, as
  // any change to the site gives it): the page reads the new list, and a new service worker keeps the
  // site in a cache of the new build in place of the old one.
  async new_build(browser) {
    const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quoravint-site-'));
    fs.cpSync(site, folder, { recursive: true });
    const server = await serveFolders({ '/': folder });
    const cachesNow = () => navigator.serviceWorker.ready.then(() => caches.keys());
    try {
      const show = await openShow(browser, server.base, '');
      const first = await show.page.evaluate(cachesNow);
      const page = fs.readFileSync(path.join(folder, 'index.html'), 'utf8');
      const [list] = page.match(LIST);
      const next = list.replace(/[0-9a-f]{16}/, '0'.repeat(16));   // another build's (a real hash is this one in 2^64)
      fs.renameSync(path.join(folder, list), path.join(folder, next));
      fs.writeFileSync(path.join(folder, 'index.html'), page.replace(list, next));
      await show.page.reload({ timeout: LOAD_TIMEOUT });
      await startLoaded(show.page);
      const wanted = ['quoravint-' + next];
      await show.page.waitForFunction(async wanted => JSON.stringify(await caches.keys()) === JSON.stringify(wanted),
                                      { timeout: SERVICE_WORKER_TIME }, wanted)
        .catch(async () => { throw new Error(`after the new build the caches are ${await show.page.evaluate(() => caches.keys())}`); });
      expect(first.length === 1 && first[0] === 'quoravint-' + list, 'the first visit keeps the caches ' + first);
      await expectNoErrors(show);
      await show.close();
    } finally {
      server.close();
      fs.rmSync(folder, { recursive: true, force: true });
    }
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
    await expectNoErrors(show);
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
    await expectNoErrors(show);
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
    await expectNoErrors(show);
    await show.close();
  },
};

// The checks every engine runs; the rest need Chromium's own tools (screenshots, request
// interception, device scale, long tasks).
const EVERY_ENGINE = ['startup', 'frames', 'sound', 'escape', 'share_link', 'huge_start', 'pause_mute', 'paused_start',
                      'touch_drag', 'features'];
const engine = (process.env.QUORAVINT_BROWSER || 'chromium');
const names = only.length ? only : Object.keys(checks).filter(name => engine === 'chromium' || EVERY_ENGINE.includes(name));
const unknown = names.filter(name => !checks[name]);
if (unknown.length) {
  console.error('unknown checks: ' + unknown.join(', ') + '; known: ' + Object.keys(checks).join(', '));
  process.exit(2);
}
const missing = enginePrograms(engine).filter(program => !fs.existsSync(program));
if (missing.length) {   // ctest counts this as skipped, not passed
  console.log(`SKIP: ${engine} is not installed (no ${missing.join(', ')}): scripts/install-deps.sh test installs it`);
  process.exit(NOT_INSTALLED);
}
const server = SERVED_AT ? { base: SERVED_AT, close: () => {} } : await serveFolders({ '/': site, '/reference/': reference });
const browser = await startBrowser(engine);
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
