// The canvas: fitted to the window, and whether this browser gives it WebGL to draw the show with.
import { PROFILE, show, elements, program } from './state.js';

const WEBGL_ATTRIBUTES = { alpha: false, antialias: false, depth: true, stencil: false };   // as the program's SDL asks

// Scales the canvas to the window, aspect kept; its pixels match the screen's, so it stays sharp.
export function fitCanvas() {
  const canvas = elements.canvas;
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
    program._quoravint_viewport(width, height);
  }
}

// Whether this browser gives the canvas WebGL. The context is made as the program asks for it, so
// the program takes this one at its start rather than waiting for the GPU process again.
export function webglOffered() {
  // A context's first viewport is its canvas's size then: the profile's, as when the program makes it.
  elements.canvas.width = PROFILE.width;
  elements.canvas.height = PROFILE.height;
  return elements.canvas.getContext('webgl', WEBGL_ATTRIBUTES) !== null;
}

// Resolves to whether this browser can draw the show: not when it blocks the machine's GPU or
// hardware acceleration is off. A worker asks, off the main thread; the page itself only when the
// worker cannot tell.
export function checkWebGL() {
  return new Promise(resolve => {
    let worker = null;
    const ownAnswer = () => { if (worker) worker.terminate(); resolve(webglOffered()); };
    try { worker = new Worker(new URL('webgl-check.js', import.meta.url)); } catch (e) { ownAnswer(); return; }
    worker.onerror = ownAnswer;
    worker.onmessage = event => {
      if (event.data !== 'webgl') { ownAnswer(); return; }
      worker.terminate();
      resolve(true);
    };
  });
}

// Says on the start card that this browser cannot draw the show, and what can be done.
export function sayUnsupported() {
  show.state = 'unsupported';
  elements.prompt.textContent = 'This browser cannot draw the show: hardware acceleration or WebGL is off.';
  elements.remedy.hidden = false;
}
