// The page's state: the address's options, the profile, the seed, the page's elements, what the page
// knows of the show, and the program's Module object that they all call into.
//
// Address options: ?hd (1920 x 1080), ?trace (the running trace on the console), ?start=TICK and
// ?seed=N (a shared moment, read by the program itself) and, for stills and tests, ?pause. Without
// a seed the page chooses one and hands it to the program, so every moment can be shared.

const params = new URLSearchParams(location.search);
export const HD = params.has('hd');
export const TRACE = params.has('trace');
export const PROFILE = HD ? { program: 'quoravint-hd', width: 1920, height: 1080 }
                          : { program: 'quoravint', width: 1024, height: 768 };
export const LARGEST_SEED = 0xffffffff;   // the program's seeds are unsigned 32-bit numbers
export const SEED = chooseSeed();

// The page's elements by their ids, camel-cased (end-message is endMessage): module scripts run
// once the page is parsed, so every one is there.
export const elements = elementsById(['stage', 'canvas', 'start', 'prompt', 'remedy', 'progress', 'profile-link',
  'end', 'end-message', 'end-detail', 'restart', 'notice', 'shared', 'share', 'pause', 'mute', 'fullscreen']);

// What the page knows of the show; the browser checks read it through hooks.js.
export const show = {
  loadedAt: null,        // ms from navigation until the show could start
  startedAt: null,       // ms from navigation when the visitor started it
  firstFrameAt: null,    // ms from navigation of the first main loop pass
  passes: 0,             // main loop passes so far
  frames: 0,             // passes that drew a frame (a tick ran)
  problems: [],          // the show's own messages about what went wrong
  lastLine: '',          // the last trace line seen
  ended: false,
  exitStatus: null,
  state: 'loading',      // loading, ready, running, ended, unsupported
  seed: SEED,            // the seed the show runs with
  paused: params.has('pause'),
  muted: false,
  steered: false,        // the visitor steered the view: a shared moment may look otherwise
  sharedLink: null,      // the address "Link to this moment" made last
  wakeLock: 'none',      // none, held, released, refused or unsupported
};

// The program as Emscripten's script finds it, a global named Module: the page gives it its handlers
// (loading.js), the program adds its exported functions (_quoravint_*) once loaded.
export const program = window.Module = {};

// The seed of the address when it is a valid one, else one chosen at random.
function chooseSeed() {
  const given = params.get('seed');
  if (given !== null && /^\d{1,10}$/.test(given) && Number(given) <= LARGEST_SEED) return Number(given);
  return crypto.getRandomValues(new Uint32Array(1))[0];
}

// The elements of `ids`, by their camel-cased ids.
function elementsById(ids) {
  return Object.fromEntries(ids.map(id => [id.replace(/-(\w)/g, (_, letter) => letter.toUpperCase()),
                                           document.getElementById(id)]));
}
