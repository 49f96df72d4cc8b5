// Lighthouse's audit of the page, served as a web server would (compressed copies where the browser
// takes them), in Debian's Chromium: the mobile preset (a mid-range phone on a slow 4G line, both
// simulated) and the desktop one. Prints each category's score and the figures behind performance;
// fails when accessibility, best practices or SEO score under MIN_SCORE or the layout shifts by
// MAX_LAYOUT_SHIFT or more. The performance score is printed, not judged: Lighthouse scales the tasks
// it saw by its phone's slowness, so on a busy machine it moves by ten from run to run.
//
//   node lighthouse.mjs SITE
import { spawn, spawnSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';
import { serveFolders } from './browser_support.mjs';

const [site] = process.argv.slice(2);
if (!site) {
  console.error('usage: node lighthouse.mjs SITE');
  process.exit(2);
}
const CHROMIUM = process.env.QUORAVINT_CHROMIUM || '/usr/bin/chromium';
const LIGHTHOUSE = path.join(path.dirname(fileURLToPath(import.meta.url)), 'node_modules', '.bin', 'lighthouse');
const MIN_SCORE = 90;   // of 100, in every category: what the page promises a phone's visitor
const CATEGORIES = ['performance', 'accessibility', 'best-practices', 'seo'];
const JUDGED = ['accessibility', 'best-practices', 'seo'];   // the categories that do not hang on the machine's load
const MAX_LAYOUT_SHIFT = 0.1;   // Lighthouse's own bound for a page that keeps still
const FIGURES = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift',
                 'speed-index'];
const PRESETS = { mobile: [], desktop: ['--preset=desktop'] };
const AUDIT_TIMEOUT = 240000;   // ms for one audit on a busy machine

// Runs Lighthouse with `args`, ending it when it runs out of time. Resolves with what it wrote on
// standard error.
function runLighthouse(args, env) {
  return new Promise(resolve => {
    const child = spawn(LIGHTHOUSE, args, { env, stdio: ['ignore', 'ignore', 'pipe'] });
    let stderr = '';
    child.stderr.on('data', chunk => { stderr += chunk; });
    const timer = setTimeout(() => child.kill('SIGKILL'), AUDIT_TIMEOUT);
    child.on('error', error => { clearTimeout(timer); resolve({ stderr: error.message }); });
    child.on('exit', () => { clearTimeout(timer); resolve({ stderr }); });
  });
}

// Ends every Chromium that runs with the profile folder `profile`: Lighthouse starts its browser in a
// process group of its own, which outlives a Lighthouse that was ended.
function endBrowser(profile) {
  spawnSync('pkill', ['-KILL', '-f', '--', 'user-data-dir=' + profile]);
}

// Lighthouse's report of the page at `address` with the preset's switches (run beside this
// process's own server, which must go on answering meanwhile).
async function audit(address, presetSwitches) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'quoravint-lighthouse-'));
  const report = path.join(folder, 'report.json');
  const profile = path.join(folder, 'chromium');   // the browser's profile, by which it is found and ended
  try {
    const run = await runLighthouse([address, ...presetSwitches, '--output=json', '--output-path=' + report, '--quiet',
      '--only-categories=' + CATEGORIES.join(','),
      '--chrome-flags=--headless=new --no-sandbox --use-angle=swiftshader --enable-unsafe-swiftshader --user-data-dir=' + profile],
    { ...process.env, CHROME_PATH: CHROMIUM });
    if (!fs.existsSync(report)) throw new Error('lighthouse wrote no report: ' + run.stderr);
    return JSON.parse(fs.readFileSync(report, 'utf8'));
  } finally {
    endBrowser(profile);
    fs.rmSync(folder, { recursive: true, force: true });
  }
}

const server = await serveFolders({ '/': site }, { compressed: true });
let failed = false;
try {
  for (const [preset, presetSwitches] of Object.entries(PRESETS)) {
    const report = await audit(server.base + '/', presetSwitches);
    const scores = CATEGORIES.map(name => [name, Math.round(100 * report.categories[name].score)]);
    const figures = FIGURES.map(name => `${name} ${report.audits[name].displayValue}`);
    console.log(`lighthouse ${preset}: ${scores.map(([name, score]) => name + ' ' + score).join(', ')}`);
    console.log(`lighthouse ${preset}: ${figures.join(', ')}`);
    const shift = report.audits['cumulative-layout-shift'].numericValue;
    if (shift >= MAX_LAYOUT_SHIFT) {
      failed = true;
      console.log(`FAIL lighthouse ${preset}: the layout shifts by ${shift.toFixed(3)}`);
    }
    for (const [name, score] of scores) {
      if (JUDGED.includes(name) && score < MIN_SCORE) {
        failed = true;
        const missed = Object.values(report.audits).filter(a => a.score !== null && a.score < 0.9 && a.scoreDisplayMode !== 'informative')
          .map(a => a.id).slice(0, 8);
        console.log(`FAIL lighthouse ${preset}: ${name} scores ${score}, under ${MIN_SCORE}; audits short of full marks: ${missed.join(', ')}`);
      }
    }
  }
} finally {
  server.close();
}
process.exit(failed ? 1 : 0);
