// The browser checks' hooks, all in one place: window.quoravint, the page's state to read as it
// changes, beside calls into the program that only the checks make.
import { show, elements, program } from './state.js';

// The calls: the sound's level, the show's tick, the running scene's camera, ticks run on demand
// (for a held show) and the show's frame as RGBA rows, top row first.
const calls = {
  audioLevel: () => program._quoravint_audio_level(),
  tick: () => program._quoravint_show_tick(),
  camera: () => ({ angle: program._quoravint_camera_angle(), height: program._quoravint_camera_height() }),
  step: ticks => program._quoravint_step(ticks),
  grabFrame,
};

// The show's frame as RGBA rows, top row first (WebGL reads it bottom row first).
function grabFrame() {
  const { width, height } = elements.canvas;
  const at = program._quoravint_grab_frame(width, height);
  const rows = new Uint8Array(width * height * 4);
  const rowBytes = width * 4;
  for (let y = 0; y < height; y++) {
    const from = at + (height - 1 - y) * rowBytes;
    rows.set(program.HEAPU8.subarray(from, from + rowBytes), y * rowBytes);
  }
  return { width, height, rows };
}

// The checks' object: the calls, and every field of the page's state, read-only and always current.
function checksView() {
  const view = { ...calls };
  for (const name of Object.keys(show)) Object.defineProperty(view, name, { get: () => show[name], enumerable: true });
  return view;
}

window.quoravint = checksView();
