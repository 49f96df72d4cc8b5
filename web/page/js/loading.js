// Loading the show: the build's list of its files (the names that carry their content's hash), the
// program's script and its assets, the program's handlers, and the service worker that keeps every
// file for the next visit.
import { PROFILE, SEED, LARGEST_SEED, show, elements, program } from './state.js';
import { report, traceLine, errorLine } from './reports.js';
import { checkWebGL, sayUnsupported } from './canvas.js';
import { afterPass, endShow } from './run.js';

// The build's list of its files under its own stamped name (index.html names it): its names table
// gives the served name of every file by its plain name; the service worker keeps its files.
const SITE_FILES = document.documentElement.dataset.siteFiles;
const siteNames = fetch(SITE_FILES).then(r => (r.ok ? r.json() : {})).then(list => list.names || {}, () => ({}));
let names = {};   // the table once fetched; plain names until then, and where the list cannot be had

// The name a file of the site is served under.
function siteFile(name) {
  return names[name] || name;
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
    if (folder) program.FS.mkdirTree(folder);
    program.FS.writeFile(path, bytes);
  }));
}

// The query the program reads: the address's, with the seed the show runs with (the page's choice
// when the address gives none, or one that is not a seed, which is said in the notice).
function showQuery() {
  const query = new URLSearchParams(location.search);
  if (query.has('seed') && Number(query.get('seed')) !== SEED) {
    report('ignored seed=' + query.get('seed') + ' (expected a whole number up to ' + LARGEST_SEED
           + '): seed ' + SEED + ' chosen');
  }
  query.set('seed', SEED);
  return '?' + query.toString();
}

Object.assign(program, {
  canvas: elements.canvas,
  print: traceLine,
  printErr: errorLine,
  preRun: [() => {
    program.addRunDependency('assets');
    fetchAssets().catch(e => traceLine('Error fetching the assets: ' + e))
                 .finally(() => program.removeRunDependency('assets'));
  }],
  onRuntimeInitialized: () => {
    show.state = 'ready';
    show.loadedAt = performance.now();
    elements.prompt.textContent = 'Click or press a key to start';
  },
  showQuery: showQuery(),
  locateFile: siteFile,
  postMainLoop: afterPass,
  onShowEnd: endShow,
  quit: (status, toThrow) => {
    endShow(status);
    throw toThrow;
  },
});

// Loads the show's program, or says on the start card why this browser cannot show it.
export async function loadProgram() {
  const [drawable, table] = await Promise.all([checkWebGL(), siteNames]);
  if (!drawable) {
    sayUnsupported();
    return;
  }
  names = table;
  const script = document.createElement('script');
  script.src = siteFile(PROFILE.program + '.js');
  script.onerror = () => { elements.prompt.textContent = 'The show could not be loaded.'; };
  document.body.appendChild(script);
}

// Has the service worker keep the site for the next visit, which then needs no network. It is told
// the build's list of files by name, so a new build is a new worker that keeps the new files.
export function keepForNextVisit() {
  if (!('serviceWorker' in navigator)) return;
  const register = () => navigator.serviceWorker.register('sw.js?' + new URLSearchParams({ site: SITE_FILES })).catch(() => {});
  if (document.readyState === 'complete') register();
  else addEventListener('load', register, { once: true });   // after the page's own loads
}
