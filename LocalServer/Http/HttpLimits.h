#pragma once

#include <QtGlobal>
#include <cstddef>

// What one connection and the whole server may take. Every wait has a deadline and every buffer
// a size, so that a slow or hostile client costs a bounded amount and never stalls the others.
struct HttpLimits {
    int handshakeTimeoutMs = 5'000;
    // From the first byte of a request to the end of its header block.
    int headerTimeoutMs = 10'000;
    // A kept-alive connection may wait this long for its next request.
    int idleTimeoutMs = 30'000;
    // For the whole body, once the header block has arrived.
    int bodyTimeoutMs = 60'000;
    // For one answer to leave: a client that does not read is cut off after it.
    int writeTimeoutMs = 30'000;

    // A WebSocket is pinged this often; one that has not answered within two intervals is closed.
    // Its connection has no idle timeout of its own.
    int webSocketPingIntervalMs = 30'000;
    // The largest message a WebSocket client may send; a longer one closes the stream (1009).
    std::size_t maxWebSocketMessageBytes = 64 * 1024;

    // The kernel's share of a client's unread answers (it doubles the figure for bookkeeping).
    int socketSendBufferBytes = 256 * 1024;

    std::size_t maxHeaderBytes = 16 * 1024;
    int maxHeaderFields = 100;
    // Uploads to /storage; every other body is form fields or JSON.
    qint64 maxUploadBytes = 64LL * 1024 * 1024;
    qint64 maxBodyBytes = 256 * 1024;

    int maxConnections = 512;
    int maxConnectionsPerPeer = 256;
    // Connections without a request under way: in the TLS handshake, sending a head or idle
    // between requests. Past this many, or when a cap above is reached, a newcomer closes the one
    // that has waited longest, so that such connections never crowd out requests.
    int maxWaitingConnections = 64;
    // Requests under way, from a complete head to the end of their answer: those without a
    // signed-in account share one budget, every account has its own.
    int maxAnonymousRequests = 128;
    int maxRequestsPerAccount = 32;
    // Requests waiting for a worker; past it the server answers 503 at once.
    int maxQueuedRequests = 512;
    int ioThreads = 2;
    int workerThreads = 4;
};
