'use strict';
// The page around the show: it fetches the assets into the program's file system, waits for a
// click or a key (browsers start sound only after a gesture), starts the show, keeps the canvas
// fitted to the window, and shows what the show reports: problems with assets, and its end.
//
// Address options: ?hd (1920 x 1080), ?trace (the running trace on the console), ?start=TICK and
// ?seed=N (a shared moment, read by the program itself) and, for stills and tests, ?pause. Without
// a seed the page chooses one and hands it to the program, so every moment can be shared.

const params = new URLSearchParams(location.search);
const HD = params.has('hd');
const TRACE = params.has('trace');
const PROFILE = HD ? { program: 'quoravint-hd', width: 1920, height: 1080 }
                   : { program: 'quoravint', width: 1024, height: 768 };
const SITE_FILES = {};   // build-web.sh puts the names that carry their content's hash here, by plain name
const PROBLEM_LINE = /error|fail|invalid|out of range/i;   // the show's trace words for what went wrong
const OWN_MESSAGE = 'quoravint: ';     // how the program's own messages about the page's options begin
const LARGEST_SEED = 0xffffffff;       // the program's seeds are unsigned 32-bit numbers
const SEED = chooseSeed();
const MUTE_KEY = 'quoravint.muted';    // localStorage: the visitor's mute, kept for the next visit
const DRAG_DEAD_ZONE = 16;             // CSS px a finger moves before it steers: a tap does not
const WEBGL_ATTRIBUTES = { alpha: false, antialias: false, depth: true, stencil: false };   // as the program's SDL asks
const FIRST_PAINT_WAIT = 3000;         // ms the program waits at most for the start card's first paint
const ARROW_CODES = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40 };   // DOM key codes SDL reads

const canvas = document.getElementById('canvas');
document.documentElement.classList.add(HD ? 'hd' : 'sd');   // the canvas's box takes the profile's aspect (page.css)
const startCard = document.getElementById('start');
const prompt = document.getElementById('prompt');

// What the page knows of the show; the browser tests read it.
const show = {
  loadedAt: null,        // ms from navigation until the show could start
  startedAt: null,       // ms from navigation when the visitor started it
  firstFrameAt: null,    // ms from navigation of the first main loop pass
  passes: 0,             // main loop passes so far
  frames: 0,             // passes that drew a frame (a tick ran)
  problems: [],          // the show's own messages about what went wrong
  lastLine: '',          // the last trace line seen
  ended: false,
  exitStatus: null,
  state: 'loading',      // loading, ready, running, ended
  seed: SEED,            // the seed the show runs with
  paused: params.has('pause'),
  muted: false,
  steered: false,        // the visitor steered the view: a shared moment may look otherwise
  sharedLink: null,      // the address "Link to this moment" made last
  wakeLock: 'none',      // none, held, released, refused or unsupported
};
window.quoravint = show;

// The name a file of the site is served under.
function siteFile(name) {
  return SITE_FILES[name] || name;
}

// The seed of the address when it is a valid one, else one chosen at random.
function chooseSeed() {
  const given = params.get('seed');
  if (given !== null && /^\d{1,10}$/.test(given) && Number(given) <= LARGEST_SEED) return Number(given);
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

// The query the program reads: the address's, with the seed the show runs with (the page's choice
// when the address gives none, or one that is not a seed, which is said in the notice).
function showQuery() {
  const query = new URLSearchParams(location.search);
  if (query.has('seed') && Number(query.get('seed')) !== SEED) {
    show.problems.push('ignored seed=' + query.get('seed') + ' (expected a whole number up to ' + LARGEST_SEED
                       + '): seed ' + SEED + ' chosen');
    showNotice();
  }
  query.set('seed', SEED);
  return '?' + query.toString();
}

// The show's trace lines: on the console with ?trace; problems collected for the notice either way.
function traceLine(line) {
  if (TRACE) console.log(line);
  show.lastLine = line;
  if (PROBLEM_LINE.test(line)) {
    show.problems.push(line);
    showNotice();
  }
}

// The program's messages on its error stream; its notes about the page's options are shown.
function errorLine(line) {
  console.warn(line);
  if (!line.startsWith(OWN_MESSAGE)) return;
  show.problems.push(line.slice(OWN_MESSAGE.length));
  showNotice();
}

// Shows the problems the show reported in the corner of the page.
function showNotice() {
  const notice = document.getElementById('notice');
  notice.textContent = show.problems.slice(-6).join('\n');
  notice.hidden = show.problems.length === 0;
}

// Fetches every asset of assets.txt into the program's file system; a file that cannot be fetched
// is left out, so the show meets it missing and says so itself.
async function fetchAssets() {
  const list = await fetch(siteFile('assets.txt')).then(r => (r.ok ? r.text() : ''));
  const paths = list.split('\n').map(p => p.trim()).filter(p => p && !p.includes('..'));
  await Promise.all(paths.map(async path => {
    const response = await fetch(siteFile('assets/') + path).catch(() => null);
    if (!response || !response.ok) return;
    const bytes = new Uint8Array(await response.arrayBuffer());
    const folder = path.substring(0, path.lastIndexOf('/'));
    if (folder) Module.FS.mkdirTree(folder);
    Module.FS.writeFile(path, bytes);
  }));
}

// Scales the canvas to the window, aspect kept; its pixels match the screen's, so it stays sharp.
function fitCanvas() {
  const scale = Math.min(innerWidth / PROFILE.width, innerHeight / PROFILE.height);
  const cssWidth = Math.floor(PROFILE.width * scale);
  const cssHeight = Math.floor(PROFILE.height * scale);
  canvas.style.width = cssWidth + 'px';
  canvas.style.height = cssHeight + 'px';
  if (show.state !== 'running') return;   // the program sizes the canvas when it opens its screen
  const width = Math.round(cssWidth * devicePixelRatio);
  const height = Math.round(cssHeight * devicePixelRatio);
  if (canvas.width !== width || canvas.height !== height) {
    canvas.width = width;
    canvas.height = height;
    Module._quoravint_viewport(width, height);
  }
}

// Starts the show once, on the visitor's click or key.
function startShow(event) {
  if (show.state !== 'ready') return;
  event.preventDefault();
  if (!webglOffered()) {   // a worker was given WebGL, the page is not: the program could not draw
    sayUnsupported();
    return;
  }
  show.state = 'running';
  show.startedAt = performance.now();
  startCard.hidden = true;
  canvas.focus();
  Module._quoravint_mute(show.muted ? 1 : 0);
  Module.callMain([]);
  if (show.ended) return;
  fitCanvas();
  showProgress();
  document.getElementById('pause').hidden = false;
  showPaused();
}

// While the ticks before a shared moment run: the start card with a progress bar; after: neither.
function showProgress() {
  const remaining = Module._quoravint_ticks_to_first_frame();
  const progress = document.getElementById('progress');
  if (remaining > 1 && progress.hidden) {   // more than the first frame's own tick: a far start
    progress.max = remaining;
    progress.hidden = false;
    prompt.textContent = 'Going to the moment\u2026';
    startCard.hidden = false;
  }
  progress.value = progress.max - remaining;
  if (remaining === 0 && !progress.hidden) {
    progress.hidden = true;
    startCard.hidden = true;
  }
  return remaining;
}

// Pauses (true) or resumes the running show: its time and sound stop and go on from there.
function setPaused(paused) {
  if (show.state !== 'running') return;
  show.paused = paused;
  Module._quoravint_hold(paused ? 1 : 0);
  showPaused();
}

// The pause button and the wake lock as the show's pause says.
function showPaused() {
  const button = document.getElementById('pause');
  button.textContent = show.paused ? 'Play' : 'Pause';
  button.setAttribute('aria-pressed', String(show.paused));
  keepAwake();
}

// Mutes (true) or unmutes the sound, remembered for the next visit.
function setMuted(muted) {
  show.muted = muted;
  try { localStorage.setItem(MUTE_KEY, muted ? '1' : '0'); } catch (e) { /* storage off: this visit only */ }
  const button = document.getElementById('mute');
  button.textContent = muted ? 'Unmute' : 'Mute';
  button.setAttribute('aria-pressed', String(muted));
  if (show.state === 'running') Module._quoravint_mute(muted ? 1 : 0);
}

// The mute the visitor left on the last visit (off when storage is unavailable).
function storedMute() {
  try { return localStorage.getItem(MUTE_KEY) === '1'; } catch (e) { return false; }
}

// Keeps the screen awake while the show plays in sight; lets it sleep when paused, ended or hidden.
async function keepAwake() {
  const wanted = show.state === 'running' && !show.paused && document.visibilityState === 'visible';
  if (!('wakeLock' in navigator)) {
    show.wakeLock = 'unsupported';
  } else if (wanted && !keepAwake.lock && !keepAwake.asking) {
    keepAwake.asking = true;
    try {
      const lock = await navigator.wakeLock.request('screen');
      keepAwake.lock = lock;
      show.wakeLock = 'held';
      lock.addEventListener('release', () => { keepAwake.lock = null; show.wakeLock = 'released'; });
      if (show.state !== 'running' || show.paused) lock.release();   // paused or ended while asking
    } catch (e) {
      show.wakeLock = 'refused';
    }
    keepAwake.asking = false;
  } else if (!wanted && keepAwake.lock) {
    keepAwake.lock.release();
  }
}

// Copies an address that opens the show at the frame on the screen, with its seed, and says so.
async function shareMoment() {
  // A start of T shows the frame after tick T + 1 first: the frame on the screen is one tick on.
  const start = Math.max(0, Module._quoravint_show_tick() - 1);
  const address = location.origin + location.pathname + '?' + (HD ? 'hd&' : '') + 'start=' + start + '&seed=' + SEED;
  show.sharedLink = address;
  let copied = true;
  try { await navigator.clipboard.writeText(address); } catch (e) { copied = false; }
  const caveat = show.steered ? ' You steered the view: the link opens this moment as the show itself '
                                + 'would have steered it, so the picture may differ.' : '';
  const shared = document.getElementById('shared');
  shared.textContent = (copied ? 'Link copied: ' : 'Copy this link: ') + address + caveat;
  shared.hidden = false;
  clearTimeout(shareMoment.timer);
  shareMoment.timer = setTimeout(() => { shared.hidden = true; }, 8000);   // ms: long enough to read it
}

// Presses or releases an arrow key for the show, as the keyboard would (the show reads SDL's key state).
function setArrow(key, down) {
  if (setArrow.held.has(key) === down) return;
  if (down) setArrow.held.add(key);
  else setArrow.held.delete(key);
  const event = new KeyboardEvent(down ? 'keydown' : 'keyup', { key, code: key, bubbles: true });
  Object.defineProperty(event, 'keyCode', { value: ARROW_CODES[key] });
  document.dispatchEvent(event);
}
setArrow.held = new Set();

// A finger (or button) dragged on the picture holds the arrows of its direction from where it went down.
function steerByDrag(event) {
  if (show.state !== 'running' || event.pointerId !== steerByDrag.pointer) return;
  const dx = event.clientX - steerByDrag.x;
  const dy = event.clientY - steerByDrag.y;
  setArrow('ArrowRight', dx > DRAG_DEAD_ZONE);
  setArrow('ArrowLeft', dx < -DRAG_DEAD_ZONE);
  setArrow('ArrowUp', dy < -DRAG_DEAD_ZONE);
  setArrow('ArrowDown', dy > DRAG_DEAD_ZONE);
  if (setArrow.held.size) show.steered = true;
}

// Where a drag begins.
function startDrag(event) {
  if (show.state !== 'running') return;
  steerByDrag.pointer = event.pointerId;
  steerByDrag.x = event.clientX;
  steerByDrag.y = event.clientY;
  canvas.setPointerCapture(event.pointerId);
}

// The finger lifted: the arrows it held are released.
function endDrag(event) {
  if (event.pointerId !== steerByDrag.pointer) return;
  steerByDrag.pointer = null;
  for (const key of [...setArrow.held]) setArrow(key, false);
}

// Keys: any starts the show; then Space pauses, M mutes, and the arrows mark the view as steered.
function onKey(event) {
  if (show.state === 'ready') {
    startShow(event);
  } else if (show.state === 'running' && !event.repeat) {
    if (event.code === 'Space') setPaused(!show.paused);
    else if (event.code === 'KeyM') setMuted(!show.muted);
    else if (event.isTrusted && ARROW_CODES[event.key]) show.steered = true;
    else return;
    if (event.code === 'Space' || event.code === 'KeyM') event.preventDefault();
  }
}

// The show ended (Escape, or a failure that ends it natively): its end card, with a restart.
function endShow(status) {
  if (show.ended) return;
  show.ended = true;
  show.exitStatus = status;
  show.state = 'ended';
  if (Module.pauseMainLoop) Module.pauseMainLoop();
  if (Module._quoravint_stop_sound) Module._quoravint_stop_sound();
  keepAwake();
  document.getElementById('share').hidden = true;
  document.getElementById('pause').hidden = true;
  document.getElementById('end-message').textContent =
    status === 0 ? 'The show has ended.' : 'The show stopped (status ' + status + ').';
  document.getElementById('end-detail').textContent =
    status === 0 ? '' : (show.problems[show.problems.length - 1] || show.lastLine);
  startCard.hidden = true;
  document.getElementById('end').hidden = false;
}

// Counts the main loop's passes and the frames they drew; before the first frame, shows the progress.
function afterPass() {
  if (show.firstFrameAt === null && showProgress() > 0) return;
  const tick = Module._quoravint_show_tick();
  if (show.firstFrameAt === null) {
    show.firstFrameAt = performance.now();
    // Only a moment on the screen can be linked to: not one of the ticks run undrawn before it.
    document.getElementById('share').hidden = false;
  }
  show.passes += 1;
  if (tick !== afterPass.lastTick) show.frames += 1;
  afterPass.lastTick = tick;
}

// Test hooks: the sound's level, the show's tick, the running scene's camera, ticks run on demand
// (for a held show) and the show's frame as RGBA rows, top row first.
show.audioLevel = () => Module._quoravint_audio_level();
show.tick = () => Module._quoravint_show_tick();
show.camera = () => ({ angle: Module._quoravint_camera_angle(), height: Module._quoravint_camera_height() });
show.step = ticks => Module._quoravint_step(ticks);
show.pause = setPaused;
show.grabFrame = () => {
  const width = canvas.width;
  const height = canvas.height;
  const at = Module._quoravint_grab_frame(width, height);
  const rows = new Uint8Array(width * height * 4);
  const rowBytes = width * 4;
  for (let y = 0; y < height; y++) {
    const from = at + (height - 1 - y) * rowBytes;
    rows.set(Module.HEAPU8.subarray(from, from + rowBytes), y * rowBytes);
  }
  return { width, height, rows };
};

var Module = {
  canvas,
  print: traceLine,
  printErr: errorLine,
  preRun: [() => {
    Module.addRunDependency('assets');
    fetchAssets().catch(e => traceLine('Error fetching the assets: ' + e))
                 .finally(() => Module.removeRunDependency('assets'));
  }],
  onRuntimeInitialized: () => {
    show.state = 'ready';
    show.loadedAt = performance.now();
    prompt.textContent = 'Click or press a key to start';
  },
  showQuery: showQuery(),
  locateFile: siteFile,
  postMainLoop: afterPass,
  onShowEnd: endShow,
  quit: (status, toThrow) => {
    endShow(status);
    throw toThrow;
  },
};

document.getElementById('profile-link').href = HD ? '?' : '?hd';
document.getElementById('profile-link').addEventListener('click', event => event.stopPropagation());
document.getElementById('profile-link').textContent = HD ? 'Watch in 1024 \u00d7 768' : 'Watch in 1920 \u00d7 1080';
startCard.addEventListener('click', startShow);
document.getElementById('stage').addEventListener('click', startShow);
addEventListener('keydown', onKey);
canvas.addEventListener('pointerdown', startDrag);
canvas.addEventListener('pointermove', steerByDrag);
canvas.addEventListener('pointerup', endDrag);
canvas.addEventListener('pointercancel', endDrag);
document.addEventListener('visibilitychange', keepAwake);
document.getElementById('share').addEventListener('click', shareMoment);
document.getElementById('pause').addEventListener('click', () => setPaused(!show.paused));
document.getElementById('mute').addEventListener('click', () => setMuted(!show.muted));
document.getElementById('restart').addEventListener('click', () => location.reload());
document.getElementById('fullscreen').addEventListener('click', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(() => {});
});
addEventListener('resize', fitCanvas);
fitCanvas();
// The start card lists gestures rather than keys on a touch screen.
document.documentElement.classList.toggle('touch-device', navigator.maxTouchPoints > 0 || matchMedia('(pointer: coarse)').matches);
setMuted(storedMute());

// Whether this browser gives the canvas WebGL. The context is made as the program asks for it, so
// the program takes this one at its start rather than waiting for the GPU process again.
function webglOffered() {
  // A context's first viewport is its canvas's size then: the profile's, as when the program makes it.
  canvas.width = PROFILE.width;
  canvas.height = PROFILE.height;
  return canvas.getContext('webgl', WEBGL_ATTRIBUTES) !== null;
}

// Resolves to whether this browser can draw the show: not when it blocks the machine's GPU or
// hardware acceleration is off. A worker asks, off the main thread; the page itself only when the
// worker cannot tell.
function checkWebGL() {
  return new Promise(resolve => {
    let worker = null;
    const ownAnswer = () => { if (worker) worker.terminate(); resolve(webglOffered()); };
    try { worker = new Worker('webgl-check.js'); } catch (e) { ownAnswer(); return; }
    worker.onerror = ownAnswer;
    worker.onmessage = event => {
      if (event.data !== 'webgl') { ownAnswer(); return; }
      worker.terminate();
      resolve(true);
    };
  });
}

// Says on the start card that this browser cannot draw the show, and what can be done.
function sayUnsupported() {
  show.state = 'unsupported';
  prompt.textContent = 'This browser cannot draw the show: hardware acceleration or WebGL is off.';
  document.getElementById('remedy').hidden = false;
}

// Loads the show's program, or says on the start card why this browser cannot show it.
async function loadProgram() {
  if (!(await checkWebGL())) {
    sayUnsupported();
    return;
  }
  const program = document.createElement('script');
  program.src = siteFile(PROFILE.program + '.js');
  program.onerror = () => { prompt.textContent = 'The show could not be loaded.'; };
  document.body.appendChild(program);
}

// Runs `then` once the start card is on the screen, so that the program's download and compiling
// never delay it: at the browser's first paint where it reports paints, else after the first frame;
// at most FIRST_PAINT_WAIT later (a page opened behind others paints nothing until shown).
function afterFirstPaint(then) {
  let done = false;
  const once = () => { if (!done) { done = true; then(); } };
  setTimeout(once, FIRST_PAINT_WAIT);
  if ((PerformanceObserver.supportedEntryTypes || []).includes('paint')) {
    new PerformanceObserver((list, observer) => { observer.disconnect(); once(); }).observe({ type: 'paint', buffered: true });
  } else {
    requestAnimationFrame(() => setTimeout(once));
  }
}
afterFirstPaint(loadProgram);

// The service worker keeps the site for the next visit, which then needs no network.
if ('serviceWorker' in navigator) {
  addEventListener('load', () => navigator.serviceWorker.register('sw.js').catch(() => {}));
}
