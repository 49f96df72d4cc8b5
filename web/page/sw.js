'use strict';
// The page's service worker: on the first visit it keeps every file of the site in a cache of this
// build, so the show starts with no network on the next. The files' names carry their content's
// hash, so the cache answers for them first; the page itself is asked of the network first, so a
// new build is seen as soon as there is one. The page registers the worker with the name of its
// build's list of files (sw.js?site=site-files.HASH.json, written by build-web.sh), whose hash
// changes with every file of the build: a new build is a new worker, which replaces the cache.

const SITE_FILES = new URL(location.href).searchParams.get('site');
const CACHE = 'quoravint-' + SITE_FILES;   // one cache a build, named after the build's list

// Keeps the whole site before this worker takes over.
self.addEventListener('install', event => {
  event.waitUntil(keepSite().then(() => self.skipWaiting()));
});

// Keeps the page, the build's list of files and every file it lists in this build's cache.
async function keepSite() {
  if (!SITE_FILES) throw new Error('registered without its build\'s list of files (sw.js?site=...)');
  const response = await fetch(SITE_FILES);
  if (!response.ok) throw new Error(SITE_FILES + ': ' + response.status);
  const site = await response.json();
  const cache = await caches.open(CACHE);
  await cache.addAll(['./', SITE_FILES, ...site.files]);
}

// Drops the caches of earlier builds and serves open pages from now on.
self.addEventListener('activate', event => {
  event.waitUntil(caches.keys()
    .then(names => Promise.all(names.filter(name => name !== CACHE).map(name => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The page (whatever its options) from the network, else from the cache; every other file of the
// site from the cache, else from the network.
self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  if (request.mode === 'navigate') {
    event.respondWith(fetch(request).catch(() => caches.match('./', { cacheName: CACHE })));
  } else {
    event.respondWith(caches.match(request, { cacheName: CACHE }).then(kept => kept || fetch(request)));
  }
});
