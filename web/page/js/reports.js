// What the show reports: its trace lines, its messages about the page's options, and the notice in
// the corner of the page that lists what went wrong.
import { TRACE, show, elements } from './state.js';

const PROBLEM_LINE = /error|fail|invalid|out of range/i;   // the show's trace words for what went wrong
const OWN_MESSAGE = 'quoravint: ';     // how the program's own messages about the page's options begin
const NOTICE_LINES = 6;                // the latest problems the notice shows: the corner stays small

// Adds a problem to those the notice shows.
export function report(problem) {
  show.problems.push(problem);
  elements.notice.textContent = show.problems.slice(-NOTICE_LINES).join('\n');
  elements.notice.hidden = false;
}

// The show's trace lines: on the console with ?trace; problems collected for the notice either way.
export function traceLine(line) {
  if (TRACE) console.log(line);
  show.lastLine = line;
  if (PROBLEM_LINE.test(line)) report(line);
}

// The program's messages on its error stream; its notes about the page's options are shown.
export function errorLine(line) {
  console.warn(line);
  if (line.startsWith(OWN_MESSAGE)) report(line.slice(OWN_MESSAGE.length));
}
