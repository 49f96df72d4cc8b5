'use strict';
// The page's service worker: on the first visit it keeps every file of the site in a cache of this
// build, so the show starts with no network on the next. The files' names carry their content's
// hash, so the cache answers for them first; the page itself is asked of the network first, so a
// new build is seen as soon as there is one. A new build brings a new worker, which replaces the cache.

const CACHE = 'quoravint';   // build-web.sh names it after the build
const SITE = ['./'];         // build-web.sh lists every file of the build

// Keeps the whole site before this worker takes over.
self.addEventListener('install', event => {
  event.waitUntil(caches.open(CACHE).then(cache => cache.addAll(SITE)).then(() => self.skipWaiting()));
});

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
