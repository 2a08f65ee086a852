#include "HttpServer.h"

#include "HttpConnection.h"

#include <QTimer>

namespace {
constexpr qint64 maxBodyBytes = 64LL * 1024 * 1024;
}

HttpServer::Responder::Responder(HttpConnection* connection) : connection_(connection) {}

void HttpServer::Responder::send(const ServerResponse& response, int delayMs) const {
    if (!connection_)
        return;
    if (delayMs <= 0) {
        connection_->respond(response);
        return;
    }
    QTimer::singleShot(delayMs, connection_.data(), [connection = connection_, response] {
        if (connection)
            connection->respond(response);
    });
}

HttpServer::HttpServer(const QSslConfiguration& tls, Handler handler, QObject* parent)
    : QTcpServer(parent), tls_(tls), handler_(std::move(handler)) {}

void HttpServer::incomingConnection(qintptr descriptor) {
    auto* socket = new QSslSocket;
    if (!socket->setSocketDescriptor(descriptor)) {
        delete socket;
        return;
    }
    socket->setSslConfiguration(tls_);
    auto* connection = new HttpConnection(socket, maxBodyBytes, this);
    connect(connection, &HttpConnection::requestReceived, this,
            [this, connection](const ServerRequest& request) { handler_(request, Responder(connection)); });
    socket->startServerEncryption();
}
