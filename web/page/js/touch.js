// Steering by touch: a finger (or button) dragged on the picture holds the arrow keys of its
// direction, as the keyboard would, for the show reads SDL's key state.
import { show, elements } from './state.js';

export const ARROW_CODES = { ArrowLeft: 37, ArrowUp: 38, ArrowRight: 39, ArrowDown: 40 };   // DOM key codes SDL reads
const DRAG_DEAD_ZONE = 16;   // CSS px a finger moves before it steers: a tap does not

const held = new Set();      // the arrows the finger holds
const drag = { pointer: null, x: 0, y: 0 };   // the pointer that steers, and where it went down

// Presses or releases an arrow key for the show, as the keyboard would.
function setArrow(key, down) {
  if (held.has(key) === down) return;
  if (down) held.add(key);
  else held.delete(key);
  const event = new KeyboardEvent(down ? 'keydown' : 'keyup', { key, code: key, bubbles: true });
  Object.defineProperty(event, 'keyCode', { value: ARROW_CODES[key] });
  document.dispatchEvent(event);
}

// Where a drag begins.
export function startDrag(event) {
  if (show.state !== 'running') return;
  drag.pointer = event.pointerId;
  drag.x = event.clientX;
  drag.y = event.clientY;
  elements.canvas.setPointerCapture(event.pointerId);
}

// The dragging finger holds the arrows of its direction from where it went down.
export function steerByDrag(event) {
  if (show.state !== 'running' || event.pointerId !== drag.pointer) return;
  const dx = event.clientX - drag.x;
  const dy = event.clientY - drag.y;
  setArrow('ArrowRight', dx > DRAG_DEAD_ZONE);
  setArrow('ArrowLeft', dx < -DRAG_DEAD_ZONE);
  setArrow('ArrowUp', dy < -DRAG_DEAD_ZONE);
  setArrow('ArrowDown', dy > DRAG_DEAD_ZONE);
  if (held.size) show.steered = true;
}

// The finger lifted: the arrows it held are released.
export function endDrag(event) {
  if (event.pointerId !== drag.pointer) return;
  drag.pointer = null;
  for (const key of [...held]) setArrow(key, false);
}
