'use strict';
// The page around the show: it fetches the assets into the program's file system, waits for a
// click or a key (browsers start sound only after a gesture), starts the show, keeps the canvas
// fitted to the window, and shows what the show reports: problems with assets, and its end.
//
// Address options: ?hd (1920 x 1080), ?trace (the running trace on the console), and for stills
// and tests ?start=TICK, ?seed=N and ?pause, read by the program itself.

const params = new URLSearchParams(location.search);
const HD = params.has('hd');
const TRACE = params.has('trace');
const PROFILE = HD ? { program: 'quoravint-hd', width: 1920, height: 1080 }
                   : { program: 'quoravint', width: 1024, height: 768 };
const PROBLEM_LINE = /error|fail|invalid|out of range/i;   // the show's trace words for what went wrong

const canvas = document.getElementById('canvas');
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
};
window.quoravint = show;

// The show's trace lines: on the console with ?trace; problems collected for the notice either way.
function traceLine(line) {
  if (TRACE) console.log(line);
  show.lastLine = line;
  if (PROBLEM_LINE.test(line)) {
    show.problems.push(line);
    showNotice();
  }
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
  const list = await fetch('assets.txt').then(r => (r.ok ? r.text() : ''));
  const paths = list.split('\n').map(p => p.trim()).filter(p => p && !p.includes('..'));
  await Promise.all(paths.map(async path => {
    const response = await fetch('assets/' + path).catch(() => null);
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
  show.state = 'running';
  show.startedAt = performance.now();
  startCard.hidden = true;
  canvas.focus();
  Module.callMain([]);
  if (!show.ended) fitCanvas();
}

// The show ended (Escape, or a failure that ends it natively): its end card, with a restart.
function endShow(status) {
  if (show.ended) return;
  show.ended = true;
  show.exitStatus = status;
  show.state = 'ended';
  if (Module.pauseMainLoop) Module.pauseMainLoop();
  if (Module._quoravint_stop_sound) Module._quoravint_stop_sound();
  document.getElementById('end-message').textContent =
    status === 0 ? 'The show has ended.' : 'The show stopped (status ' + status + ').';
  document.getElementById('end-detail').textContent =
    status === 0 ? '' : (show.problems[show.problems.length - 1] || show.lastLine);
  startCard.hidden = true;
  document.getElementById('end').hidden = false;
}

// Counts the main loop's passes and the frames they drew.
function afterPass() {
  const tick = Module._quoravint_show_tick();
  if (show.firstFrameAt === null) show.firstFrameAt = performance.now();
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
  printErr: line => console.warn(line),
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
  postMainLoop: afterPass,
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
addEventListener('keydown', startShow);
document.getElementById('restart').addEventListener('click', () => location.reload());
document.getElementById('fullscreen').addEventListener('click', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(() => {});
});
addEventListener('resize', fitCanvas);
fitCanvas();

const program = document.createElement('script');
program.src = PROFILE.program + '.js';
program.onerror = () => { prompt.textContent = 'The show could not be loaded.'; };
document.body.appendChild(program);
