// Lighthouse's audit of the page, served as a web server would (compressed copies where the browser
// takes them), in Debian's Chromium: the mobile preset (a mid-range phone on a slow 4G line, both
// simulated) and the desktop one, each a few times. Prints each audit's scores and the figures
// behind performance; fails when a category's median score is under MIN_SCORE or any audit sees the
// layout shift by MAX_LAYOUT_SHIFT or more. The median, as Lighthouse's own advice on its variance
// says: it scales the tasks it saw by its phone's slowness, so one run's performance moves by ten
// from run to run on a busy machine.
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
const MAX_LAYOUT_SHIFT = 0.1;   // Lighthouse's own bound for a page that keeps still
const FIGURES = ['first-contentful-paint', 'largest-contentful-paint', 'total-blocking-time', 'cumulative-layout-shift',
                 'speed-index'];
// Each preset's switches and how many audits its median is taken over: the phone's scores move by ten
// from run to run on a busy machine and the median of five holds; the desktop's by one or two.
const PRESETS = {
  mobile: { switches: [], audits: 5 },
  desktop: { switches: ['--preset=desktop'], audits: 3 },
};
const AUDIT_TIMEOUT = 150000;   // ms for one audit on a busy machine (15 s on a quiet one)

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

// The middle value of `values`.
function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

// The audits that count towards `category`'s score in the report `report` and fall short of full marks.
function auditsMissed(report, category) {
  return report.categories[category].auditRefs.filter(ref => ref.weight > 0).map(ref => report.audits[ref.id])
    .filter(result => result.score !== null && result.score < 0.9).map(result => result.id).slice(0, 8);
}

const server = await serveFolders({ '/': site }, { compressed: true });
let failed = false;
try {
  for (const [preset, { switches, audits }] of Object.entries(PRESETS)) {
    const reports = [];
    for (let run = 0; run < audits; run++) {
      const report = await audit(server.base + '/', switches);
      reports.push(report);
      const scores = CATEGORIES.map(name => name + ' ' + Math.round(100 * report.categories[name].score));
      const figures = FIGURES.map(name => `${name} ${report.audits[name].displayValue}`);
      console.log(`lighthouse ${preset} ${run + 1}: ${scores.join(', ')}`);
      console.log(`lighthouse ${preset} ${run + 1}: ${figures.join(', ')}`);
      const shift = report.audits['cumulative-layout-shift'].numericValue;
      if (shift >= MAX_LAYOUT_SHIFT) {
        failed = true;
        console.log(`FAIL lighthouse ${preset}: the layout shifts by ${shift.toFixed(3)}`);
      }
    }
    for (const name of CATEGORIES) {
      const score = median(reports.map(report => Math.round(100 * report.categories[name].score)));
      console.log(`lighthouse ${preset}: ${name} ${score} (median of ${audits})`);
      if (score < MIN_SCORE) {
        failed = true;
        const worst = reports.reduce((a, b) => (a.categories[name].score <= b.categories[name].score ? a : b));
        console.log(`FAIL lighthouse ${preset}: ${name} scores ${score}, under ${MIN_SCORE}; audits short of full marks: ${auditsMissed(worst, name).join(', ')}`);
      }
    }
  }
} finally {
  server.close();
}
process.exit(failed ? 1 : 0);
