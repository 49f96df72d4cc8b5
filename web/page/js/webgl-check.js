'use strict';
// Tells the page whether this browser gives a canvas WebGL, off the page's main thread: making a
// context waits for the browser's GPU process, which can keep a phone's page from answering for a
// second. 'webgl' when it does; 'unknown' when a worker's canvas cannot say (the page then asks itself).
let answer = 'unknown';
try {
  if (typeof OffscreenCanvas === 'function' && new OffscreenCanvas(1, 1).getContext('webgl')) answer = 'webgl';
} catch (e) { /* no WebGL for a worker's canvas here: the page's own canvas may still have it */ }
postMessage(answer);
