// The page's service worker: keeps the files of one build so that the game
// starts again without a network. The build writes its files' fingerprint
// below (KZWebOffline.cmake), so every new build is a new worker, which the
// browser installs the next time the page is opened while online: it fetches
// the new files afresh, takes over at once and drops the old build's files.
"use strict";
const BUILD = "@KZ_SW_BUILD@";
const CACHE = "@KZ_SW_CACHE@-" + BUILD;
const FILES = [@KZ_SW_FILES@];

self.addEventListener("install", (event) => {
  event.waitUntil((async () => {
    const cache = await caches.open(CACHE);
    // Past the browser's HTTP cache, which may still hold the old build.
    await cache.addAll(FILES.map((name) => new Request(name, { cache: "no-cache" })));
    await self.skipWaiting();
  })());
});

self.addEventListener("activate", (event) => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith("@KZ_SW_CACHE@-") && name !== CACHE) {
        await caches.delete(name);
      }
    }
    await self.clients.claim();
  })());
});

// This build's files from its cache; anything else (or a file the cache
// lost) from the network.
self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") {
    return;
  }
  event.respondWith((async () => {
    const cache = await caches.open(CACHE);
    const hit = await cache.match(event.request, { ignoreSearch: true });
    return hit || fetch(event.request);
  })());
});
