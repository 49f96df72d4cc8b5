// Figures of the show's web build in Debian's headless Chromium (WebGL by SwiftShader): what a
// visitor downloads, how long the page takes to the first frame, and the frames per second of the
// running show at both profiles. Prints numbers; judges nothing.
//
//   node web_figures.mjs SITE [SECONDS]     SECONDS of show per profile, default 20
import fs from 'node:fs';
import path from 'node:path';
import zlib from 'node:zlib';
import { startBrowser, serveFolders, openShow, sleep } from './browser_support.mjs';

const [site, secondsArgument] = process.argv.slice(2);
if (!site) {
  console.error('usage: node web_figures.mjs SITE [SECONDS]');
  process.exit(2);
}
const SECONDS = Number(secondsArgument) || 20;
const LOADS = 3;   // page loads timed per profile; the median is printed
const LINK_TICK = 43000;   // a shared moment deep in the show, whose ticks run before its first frame

// Bytes of the file as served and gzip-compressed at the strongest level.
function sizes(file) {
  const bytes = fs.readFileSync(file);
  return { raw: bytes.length, gzip: zlib.gzipSync(bytes, { level: 9 }).length };
}

// The build's list of its files (build-web.sh's site-files.HASH.json): its name and its contents.
function siteList() {
  const name = fs.readdirSync(site).find(file => /^site-files\.[0-9a-f]{16}\.json$/.test(file));
  if (!name) throw new Error('no list of files (site-files.HASH.json) in ' + site + ': build it with scripts/build-web.sh');
  return { name, ...JSON.parse(fs.readFileSync(path.join(site, name), 'utf8')) };
}

// The files one visit at `program`'s profile fetches: the page, its style, list and modules, the
// program and the assets.
function visitFiles(program) {
  const list = siteList();
  const stamped = name => list.names[name] || name;
  const assets = fs.readFileSync(path.join(site, stamped('assets.txt')), 'utf8').split('\n').filter(Boolean);
  const modules = list.files.filter(file => file.startsWith(stamped('js/')));
  return ['index.html', list.name, ...modules, ...['page.css', 'assets.txt', program + '.js', program + '.wasm'].map(stamped)]
    .concat(assets.map(a => stamped('assets/') + a));
}

// Prints the download of one visit, by kind of file.
function printDownload(program) {
  const groups = { page: 0, program: 0, assets: 0 };
  const gzip = { page: 0, program: 0, assets: 0 };
  const assetsFolder = siteList().names['assets/'];
  for (const file of visitFiles(program)) {
    const kind = file.startsWith(assetsFolder) ? 'assets' : file.startsWith(program) ? 'program' : 'page';
    const size = sizes(path.join(site, file));
    groups[kind] += size.raw;
    gzip[kind] += size.gzip;
  }
  const kb = n => (n / 1024).toFixed(0) + ' KiB';
  const total = Object.values(groups).reduce((a, b) => a + b);
  const totalGzip = Object.values(gzip).reduce((a, b) => a + b);
  console.log(`download ${program}: ${kb(total)} as served, ${kb(totalGzip)} gzip-compressed `
              + `(page ${kb(gzip.page)}, program ${kb(gzip.program)}, assets ${kb(gzip.assets)} compressed)`);
}

// The median of numbers.
function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// Loads the page LOADS times and prints the median times to ready and to the first frame.
async function printLoadTimes(browser, base, query, label) {
  const ready = [], firstFrame = [], clickToFrame = [];
  for (let i = 0; i < LOADS; i++) {
    const show = await openShow(browser, base, query);
    const times = await show.page.evaluate(() => ({ ...quoravint }));
    ready.push(times.loadedAt);
    firstFrame.push(times.firstFrameAt - times.startedAt + times.loadedAt);
    clickToFrame.push(times.firstFrameAt - times.startedAt);
    await show.close();
  }
  console.log(`load ${label}: ready to start ${median(ready).toFixed(0)} ms after navigation; first frame `
              + `${median(clickToFrame).toFixed(0)} ms after the click, ${median(firstFrame).toFixed(0)} ms after `
              + `navigation with an immediate click (median of ${LOADS})`);
}

// Runs the show from its start for SECONDS and prints its frames, ticks and passes per second.
async function printFrameRate(browser, base, query, label) {
  const show = await openShow(browser, base, query);
  const before = await show.page.evaluate(() => ({ frames: quoravint.frames, passes: quoravint.passes,
                                                     tick: quoravint.tick(), at: performance.now() }));
  await sleep(SECONDS * 1000);
  const after = await show.page.evaluate(() => ({ frames: quoravint.frames, passes: quoravint.passes,
                                                    tick: quoravint.tick(), at: performance.now() }));
  const seconds = (after.at - before.at) / 1000;
  const rate = key => ((after[key] - before[key]) / seconds).toFixed(1);
  console.log(`show ${label}: ${rate('frames')} frames/s, ${rate('tick')} ticks/s, ${rate('passes')} passes/s `
              + `over ${seconds.toFixed(1)} s from the show's start`);
  await show.close();
}

// Opens a link to tick LINK_TICK and prints how long its first frame takes after the click.
async function printLinkTime(browser, base) {
  const show = await openShow(browser, base, `?start=${LINK_TICK}&seed=1`);
  const took = await show.page.evaluate(() => quoravint.firstFrameAt - quoravint.startedAt);
  console.log(`link to tick ${LINK_TICK}: first frame ${took.toFixed(0)} ms after the click`);
  await show.close();
}

const server = await serveFolders({ '/': site });
const browser = await startBrowser();
try {
  for (const [query, program, label] of [['', 'quoravint', 'sd'], ['?hd', 'quoravint-hd', 'hd']]) {
    printDownload(program);
    await printLoadTimes(browser, server.base, query, label);
    await printFrameRate(browser, server.base, query, label);
  }
  await printLinkTime(browser, server.base);
} finally {
  await browser.close();
  server.close();
}
