#pragma once

#include <QByteArray>
#include <QList>
#include <QSslSocket>
#include <functional>

// One TLS connection driven byte by byte, for tests of the HTTP engine itself: what a client
// sends, what comes back and whether the server closed the connection.
struct RawExchange {
    // Whether to stop: `received` so far; it may also write more on `socket`.
    using Until = std::function<bool(const QByteArray& received, QSslSocket& socket)>;

    QByteArray received;
    bool closedByServer = false;

    // Connects to 127.0.0.1:`port` trusting `certificatePath`, sends `writes` once encrypted and
    // collects the answer until `done` holds, the server closes, or `timeoutMs` passes. The
    // event loop runs meanwhile, so an in-process server answers.
    // `clear`: sent unencrypted before the TLS handshake, as a balancer's PROXY line is.
    static RawExchange run(quint16 port, const QString& certificatePath, const QList<QByteArray>& writes,
                           const Until& done, int timeoutMs = 10'000, const QByteArray& clear = {});
    // Stops at the first complete status line.
    static bool anyAnswer(const QByteArray& received, QSslSocket&);
};
