// Sharing a moment: an address that opens the show at the frame on the screen, copied where the
// browser lets the page write the clipboard, and shown either way.
import { HD, SEED, show, elements, program } from './state.js';

const SHOWN_FOR = 8000;   // ms the address stays on the page: long enough to read it
let hideTimer = null;     // hides the address shown last

// Copies an address that opens the show at the frame on the screen, with its seed, and says so.
export async function shareMoment() {
  // A start of T shows the frame after tick T + 1 first: the frame on the screen is one tick on.
  const start = Math.max(0, program._quoravint_show_tick() - 1);
  const address = location.origin + location.pathname + '?' + (HD ? 'hd&' : '') + 'start=' + start + '&seed=' + SEED;
  show.sharedLink = address;
  let copied = true;
  try { await navigator.clipboard.writeText(address); } catch (e) { copied = false; }
  const caveat = show.steered ? ' You steered the view: the link opens this moment as the show itself '
                                + 'would have steered it, so the picture may differ.' : '';
  elements.shared.textContent = (copied ? 'Link copied: ' : 'Copy this link: ') + address + caveat;
  elements.shared.hidden = false;
  clearTimeout(hideTimer);
  hideTimer = setTimeout(() => { elements.shared.hidden = true; }, SHOWN_FOR);
}
