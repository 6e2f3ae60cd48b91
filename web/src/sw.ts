// The service worker: the page's files from the network when there is one (so a new
// version shows at once), from the cache when there is none, so that the page opens
// offline after its first visit.
/// <reference lib="webworker" />
declare const self: ServiceWorkerGlobalScope;
export {};

const CACHE = 'kelno-site';
const FILES = ['./', 'index.html', 'style.css', 'js/main.js', 'js/commands.js', 'js/icons.js',
  'js/replay.js', 'js/storage.js', 'js/worker.js', 'kelno.js', 'kelno.wasm', 'manifest.webmanifest', 'icon.svg'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(CACHE).then((cache) => cache.addAll(FILES)).then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    fetch(request)
      .then((response) => {
        if (response.ok) {
          const copy = response.clone();
          void caches.open(CACHE).then((cache) => cache.put(request, copy));
        }
        return response;
      })
      .catch(async () => (await caches.match(request, { ignoreSearch: true })) ?? Response.error()),
  );
});
