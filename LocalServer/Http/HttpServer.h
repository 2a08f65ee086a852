#pragma once

#include "Http/HeadVerdict.h"
#include "Http/HttpLimits.h"
#include "Http/ServerRequest.h"
#include "Http/ServerResponse.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class HttpSession;

// HTTPS/1.1 on Boost.Beast: connections are served by a few I/O threads, requests by a bounded
// pool of worker threads, so that one slow request or client never holds up the others.
class HttpServer {
public:
    // Answers one request, at once or later, from any thread; it keeps the connection until
    // then. Copies share the request.
    class Responder {
    public:
        explicit Responder(std::shared_ptr<HttpSession> session);
        // Answers after `delayMs` milliseconds; nothing happens if the client has gone away.
        void send(const ServerResponse& response, int delayMs = 0) const;

    private:
        std::shared_ptr<HttpSession> session_;
    };

    // Runs on a worker thread.
    using Handler = std::function<void(const ServerRequest&, const Responder&)>;
    // Judges a request by its head (no body, no path parameters); runs on an I/O thread, so it
    // must be quick.
    using Screen = std::function<HeadVerdict(const ServerRequest& head)>;

    HttpServer(HttpLimits limits, Handler handler, Screen screen);
    ~HttpServer();
    HttpServer(const HttpServer&) = delete;
    HttpServer& operator=(const HttpServer&) = delete;

    // Binds `address`:`port` (0: any free port) with the PEM certificate and key; false with a
    // message in `error` when that fails. Connections wait in the backlog until serve().
    bool listen(const QString& address, quint16 port, const QByteArray& certificatePem,
                const QByteArray& keyPem, QString* error);
    // Balancers (addresses as QHostAddress spells them) whose connections start with a PROXY line
    // naming the client; that client is then the connection's peer for every cap and check.
    // Nobody else's first bytes are read that way. Before serve().
    void trustProxies(const QStringList& addresses);
    void serve();
    quint16 port() const;
    // Stops accepting (new connections are refused) and closes the connections that wait for a
    // request; the answers of the requests under way close theirs.
    void stopAccepting();
    // Waits up to `timeoutMs` for the answers of the requests under way; true when all have left.
    bool waitForAnswers(int timeoutMs);
    // Stops accepting, closes every connection and waits for the running handlers.
    void close();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};
