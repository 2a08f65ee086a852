#pragma once

#include <QByteArray>
#include <QFile>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <functional>
#include <memory>
#include <optional>

struct WebSocketConnection;

// A response under construction. `drop` closes the connection without answering.
struct ServerResponse {
    // Takes over a connection once its WebSocket handshake is done; runs on its strand.
    using Upgrade = std::function<void(std::shared_ptr<WebSocketConnection>)>;
    // A body that stays on disk: `length` bytes of the open file from `offset`, read in chunks as
    // the client takes them.
    struct FileBody {
        std::shared_ptr<QFile> file;
        qint64 offset = 0;
        qint64 length = 0;
    };

    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // Set: the body, instead of `body`.
    std::optional<FileBody> fileBody;
    bool drop = false;
    // Set: the answer to an upgrade request is the WebSocket handshake, and the connection goes
    // to this function instead of serving further requests.
    Upgrade upgrade;

    static ServerResponse json(const QJsonObject& object, int status = 200);
    static ServerResponse json(const QJsonArray& array, int status = 200);
    static ServerResponse bytes(const QByteArray& body, const QByteArray& contentType, int status = 200);
    static ServerResponse file(FileBody body, const QByteArray& contentType, int status = 200);
    static ServerResponse empty(int status);
    // The Orbelo API's error body: {"detail": message}.
    static ServerResponse apiError(int status, const QString& message);
    static ServerResponse webSocket(Upgrade upgrade);

    void setHeader(const QByteArray& name, const QByteArray& value);
    QByteArray headerValue(const QByteArray& name) const;
    qint64 contentLength() const { return fileBody ? fileBody->length : body.size(); }
    // The wire form: status line, headers, blank line, body. Without the body (the answer to a
    // HEAD), Content-Length still gives the body's size. A file body is not included: it follows.
    QByteArray serialize(bool keepAlive, bool withBody = true) const;
};
