// The page around the show, once its start card is painted (page.js loads this): it fetches the
// show's program and assets, waits for a click or a key (browsers start sound only after a
// gesture), starts the show, keeps the canvas fitted to the window, and shows what the show reports:
// problems with assets, and its end. This module connects the visitor's keys, buttons and touches
// to the modules that hold each concern.
import { HD, show, elements } from './state.js';
import { fitCanvas } from './canvas.js';
import { setPaused, setMuted, storedMute, keepAwake, toggleFullscreen } from './controls.js';
import { startShow } from './run.js';
import { ARROW_CODES, startDrag, steerByDrag, endDrag } from './touch.js';
import { shareMoment } from './sharing.js';
import { loadProgram, keepForNextVisit } from './loading.js';
import './hooks.js';

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

// Connects the page's buttons, keys, pointer and window events to what they do.
function listen() {
  elements.profileLink.addEventListener('click', event => event.stopPropagation());   // it leaves; it starts nothing
  elements.start.addEventListener('click', startShow);
  elements.stage.addEventListener('click', startShow);
  addEventListener('keydown', onKey);
  elements.canvas.addEventListener('pointerdown', startDrag);
  elements.canvas.addEventListener('pointermove', steerByDrag);
  elements.canvas.addEventListener('pointerup', endDrag);
  elements.canvas.addEventListener('pointercancel', endDrag);
  document.addEventListener('visibilitychange', keepAwake);
  elements.share.addEventListener('click', shareMoment);
  elements.pause.addEventListener('click', () => setPaused(!show.paused));
  elements.mute.addEventListener('click', () => setMuted(!show.muted));
  elements.restart.addEventListener('click', () => location.reload());
  elements.fullscreen.addEventListener('click', toggleFullscreen);
  addEventListener('resize', fitCanvas);
}

// The start card offers the other profile.
elements.profileLink.href = HD ? '?' : '?hd';
elements.profileLink.textContent = HD ? 'Watch in 1024 \u00d7 768' : 'Watch in 1920 \u00d7 1080';
listen();
fitCanvas();
setMuted(storedMute());
loadProgram();
keepForNextVisit();
