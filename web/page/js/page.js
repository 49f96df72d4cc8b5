// The page's entry module (index.html loads it): what the start card's first paint needs, at once,
// and the rest of the page (wiring.js and what it imports) only once the card is on the screen, so
// that no script nor its download delays the card.
import { HD } from './state.js';

const FIRST_PAINT_WAIT = 3000;   // ms the rest of the page waits at most for the start card's first paint

// Runs `then` once the start card is on the screen: at the browser's first paint where it reports
// paints, else after the first frame; at most FIRST_PAINT_WAIT later (a page opened behind others
// paints nothing until shown).
function afterFirstPaint(then) {
  let done = false;
  const once = () => { if (!done) { done = true; then(); } };
  setTimeout(once, FIRST_PAINT_WAIT);
  if ((PerformanceObserver.supportedEntryTypes || []).includes('paint')) {
    new PerformanceObserver((list, observer) => { observer.disconnect(); once(); }).observe({ type: 'paint', buffered: true });
  } else {
    requestAnimationFrame(() => setTimeout(once));
  }
}

document.documentElement.classList.add(HD ? 'hd' : 'sd');   // the canvas's box takes the profile's aspect, and is shown (page.css)
afterFirstPaint(() => import('./wiring.js'));
