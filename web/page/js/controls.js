// The visitor's controls of the running show: pause (and the screen kept awake while it plays),
// mute (remembered for the next visit) and full screen.
import { show, elements, program } from './state.js';

const MUTE_KEY = 'quoravint.muted';   // localStorage: the visitor's mute, kept for the next visit

let wakeLock = null;                  // the screen wake lock the page holds, if any
let askingForLock = false;            // a request for it is under way

// Pauses (true) or resumes the running show: its time and sound stop and go on from there.
export function setPaused(paused) {
  if (show.state !== 'running') return;
  show.paused = paused;
  program._quoravint_hold(paused ? 1 : 0);
  showPaused();
}

// The pause button and the wake lock as the show's pause says.
export function showPaused() {
  elements.pause.textContent = show.paused ? 'Play' : 'Pause';
  elements.pause.setAttribute('aria-pressed', String(show.paused));
  keepAwake();
}

// Mutes (true) or unmutes the sound, remembered for the next visit.
export function setMuted(muted) {
  show.muted = muted;
  try { localStorage.setItem(MUTE_KEY, muted ? '1' : '0'); } catch (e) { /* storage off: this visit only */ }
  elements.mute.textContent = muted ? 'Unmute' : 'Mute';
  elements.mute.setAttribute('aria-pressed', String(muted));
  if (show.state === 'running') program._quoravint_mute(muted ? 1 : 0);
}

// The mute the visitor left on the last visit (off when storage is unavailable).
export function storedMute() {
  try { return localStorage.getItem(MUTE_KEY) === '1'; } catch (e) { return false; }
}

// Keeps the screen awake while the show plays in sight; lets it sleep when paused, ended or hidden.
export async function keepAwake() {
  const wanted = show.state === 'running' && !show.paused && document.visibilityState === 'visible';
  if (!('wakeLock' in navigator)) {
    show.wakeLock = 'unsupported';
  } else if (wanted && !wakeLock && !askingForLock) {
    askingForLock = true;
    try {
      const lock = await navigator.wakeLock.request('screen');
      wakeLock = lock;
      show.wakeLock = 'held';
      lock.addEventListener('release', () => { wakeLock = null; show.wakeLock = 'released'; });
      if (show.state !== 'running' || show.paused) lock.release();   // paused or ended while asking
    } catch (e) {
      show.wakeLock = 'refused';
    }
    askingForLock = false;
  } else if (!wanted && wakeLock) {
    wakeLock.release();
  }
}

// Enters full screen, or leaves it; quietly nothing where the browser refuses.
export function toggleFullscreen() {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(() => {});
}
