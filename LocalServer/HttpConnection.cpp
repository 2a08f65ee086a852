#include "HttpConnection.h"

#include <QTimer>
#include <QUrl>

namespace {
constexpr qsizetype maxHeaderBytes = 64 * 1024;
}

HttpConnection::HttpConnection(QSslSocket* socket, qint64 maxBodyBytes, QObject* parent)
    : QObject(parent), socket_(socket), maxBodyBytes_(maxBodyBytes) {
    socket_->setParent(this);
    connect(socket_, &QSslSocket::readyRead, this, &HttpConnection::readAvailable);
    connect(socket_, &QSslSocket::disconnected, this, &QObject::deleteLater);
    connect(socket_, &QSslSocket::errorOccurred, this, [this](QAbstractSocket::SocketError error) {
        if (error != QAbstractSocket::RemoteHostClosedError)
            socket_->abort();
        deleteLater();
    });
}

void HttpConnection::readAvailable() {
    buffer_ += socket_->readAll();
    parseBuffered();
}

void HttpConnection::parseBuffered() {
    if (awaitingResponse_)
        return;
    const qsizetype headerEnd = buffer_.indexOf("\r\n\r\n");
    if (headerEnd < 0) {
        if (buffer_.size() > maxHeaderBytes)
            fail(431);
        return;
    }
    const QList<QByteArray> lines = buffer_.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    if (requestLine.size() != 3 || !requestLine[2].startsWith("HTTP/1.")) {
        fail(400);
        return;
    }
    ServerRequest request;
    request.method = requestLine[0];
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const qsizetype colon = lines[i].indexOf(':');
        if (colon > 0)
            request.headers.insert(lines[i].left(colon).trimmed().toLower(),
                                   lines[i].mid(colon + 1).trimmed());
    }
    if (!request.header("transfer-encoding").isEmpty()) {
        fail(501);
        return;
    }
    bool lengthOk = true;
    const QByteArray lengthText = request.header("content-length");
    const qint64 length = lengthText.isEmpty() ? 0 : lengthText.toLongLong(&lengthOk);
    if (!lengthOk || length < 0) {
        fail(400);
        return;
    }
    if (length > maxBodyBytes_) {
        fail(413);
        return;
    }
    const qsizetype bodyStart = headerEnd + 4;
    if (buffer_.size() - bodyStart < length) {
        if (!continueSent_ && request.header("expect").toLower() == "100-continue") {
            continueSent_ = true;
            socket_->write("HTTP/1.1 100 Continue\r\n\r\n");
        }
        return;
    }
    request.body = buffer_.mid(bodyStart, length);
    buffer_.remove(0, bodyStart + length);
    continueSent_ = false;

    const QUrl target(QString::fromUtf8(requestLine[1]));
    request.path = target.path();
    request.query = QUrlQuery(target.query(QUrl::FullyEncoded));
    request.peer = socket_->peerAddress();
    keepAlive_ = requestLine[2] == "HTTP/1.1" && request.header("connection").toLower() != "close";
    awaitingResponse_ = true;
    emit requestReceived(request);
}

void HttpConnection::respond(const ServerResponse& response) {
    if (response.drop) {
        socket_->abort();
        deleteLater();
        return;
    }
    socket_->write(response.serialize(keepAlive_));
    awaitingResponse_ = false;
    if (!keepAlive_) {
        socket_->disconnectFromHost();
        return;
    }
    // A pipelined request may already be buffered; read it after this call returns.
    QTimer::singleShot(0, this, &HttpConnection::parseBuffered);
}

void HttpConnection::fail(int status) {
    keepAlive_ = false;
    awaitingResponse_ = true;
    ServerResponse response = ServerResponse::empty(status);
    socket_->write(response.serialize(false));
    socket_->disconnectFromHost();
}
