#pragma once

#include <QtGlobal>

// What speech made on request may take: synthesiser processes at once, requests waiting for one,
// and the disk kept for read-aloud clips.
struct SpeechLimits {
    int threads = 2;
    // Waiting beyond the running ones; past it a request is answered 503 with Retry-After.
    int maxQueued = 8;
    // How long one synthesis is taken to last until some have been timed.
    int expectedSynthesisMs = 3000;
    // All read-aloud clips together; the least recently asked for go first.
    qint64 clipCacheBytes = 256LL * 1024 * 1024;
};
