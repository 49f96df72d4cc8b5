// The show's run: its start at the visitor's click or key, the progress to a far shared moment,
// the main loop's passes and frames counted, and its end card.
import { show, elements, program } from './state.js';
import { fitCanvas, webglOffered, sayUnsupported } from './canvas.js';
import { showPaused, keepAwake } from './controls.js';

let lastTick = null;   // the show's tick at the last main loop pass

// Starts the show once, on the visitor's click or key.
export function startShow(event) {
  if (show.state !== 'ready') return;
  event.preventDefault();
  if (!webglOffered()) {   // a worker was given WebGL, the page is not: the program could not draw
    sayUnsupported();
    return;
  }
  show.state = 'running';
  show.startedAt = performance.now();
  elements.start.hidden = true;
  elements.canvas.focus();
  program._quoravint_mute(show.muted ? 1 : 0);
  program.callMain([]);
  if (show.ended) return;
  fitCanvas();
  showProgress();
  elements.pause.hidden = false;
  showPaused();
}

// While the ticks before a shared moment run: the start card with a progress bar; after: neither.
// Returns the ticks still to run before the first frame.
function showProgress() {
  const remaining = program._quoravint_ticks_to_first_frame();
  const progress = elements.progress;
  if (remaining > 1 && progress.hidden) {   // more than the first frame's own tick: a far start
    progress.max = remaining;
    progress.hidden = false;
    elements.prompt.textContent = 'Going to the moment\u2026';
    elements.start.hidden = false;
  }
  progress.value = progress.max - remaining;
  if (remaining === 0 && !progress.hidden) {
    progress.hidden = true;
    elements.start.hidden = true;
  }
  return remaining;
}

// Counts the main loop's passes and the frames they drew; before the first frame, shows the progress.
export function afterPass() {
  if (show.firstFrameAt === null && showProgress() > 0) return;
  const tick = program._quoravint_show_tick();
  if (show.firstFrameAt === null) {
    show.firstFrameAt = performance.now();
    // Only a moment on the screen can be linked to: not one of the ticks run undrawn before it.
    elements.share.hidden = false;
  }
  show.passes += 1;
  if (tick !== lastTick) show.frames += 1;
  lastTick = tick;
}

// The show ended (Escape, or a failure that ends it natively): its end card, with a restart.
export function endShow(status) {
  if (show.ended) return;
  show.ended = true;
  show.exitStatus = status;
  show.state = 'ended';
  if (program.pauseMainLoop) program.pauseMainLoop();
  if (program._quoravint_stop_sound) program._quoravint_stop_sound();
  keepAwake();
  elements.share.hidden = true;
  elements.pause.hidden = true;
  elements.endMessage.textContent = status === 0 ? 'The show has ended.' : 'The show stopped (status ' + status + ').';
  elements.endDetail.textContent = status === 0 ? '' : (show.problems[show.problems.length - 1] || show.lastLine);
  elements.start.hidden = true;
  elements.end.hidden = false;
}
