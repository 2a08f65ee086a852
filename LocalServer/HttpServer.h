#pragma once

#include "ServerRequest.h"
#include "ServerResponse.h"

#include <QPointer>
#include <QSslConfiguration>
#include <QTcpServer>
#include <functional>

class HttpConnection;

// HTTPS listener. Each request goes to the handler together with a Responder that may answer
// at once or later (for latency and queued work).
class HttpServer : public QTcpServer {
    Q_OBJECT
public:
    class Responder {
    public:
        explicit Responder(HttpConnection* connection);
        // Answers after `delayMs` milliseconds; nothing happens if the client has gone away.
        void send(const ServerResponse& response, int delayMs = 0) const;

    private:
        QPointer<HttpConnection> connection_;
    };

    using Handler = std::function<void(const ServerRequest&, const Responder&)>;

    HttpServer(const QSslConfiguration& tls, Handler handler, QObject* parent = nullptr);

protected:
    void incomingConnection(qintptr descriptor) override;

private:
    QSslConfiguration tls_;
    Handler handler_;
};
