#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>
#include <functional>
#include <memory>

struct WebSocketConnection;

// A response under construction. `drop` closes the connection without answering.
struct ServerResponse {
    // Takes over a connection once its WebSocket handshake is done; runs on its strand.
    using Upgrade = std::function<void(std::shared_ptr<WebSocketConnection>)>;

    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool drop = false;
    // Set: the answer to an upgrade request is the WebSocket handshake, and the connection goes
    // to this function instead of serving further requests.
    Upgrade upgrade;

    static ServerResponse json(const QJsonObject& object, int status = 200);
    static ServerResponse json(const QJsonArray& array, int status = 200);
    static ServerResponse bytes(const QByteArray& body, const QByteArray& contentType, int status = 200);
    static ServerResponse empty(int status);
    // The Orbelo API's error body: {"detail": message}.
    static ServerResponse apiError(int status, const QString& message);
    static ServerResponse webSocket(Upgrade upgrade);

    void setHeader(const QByteArray& name, const QByteArray& value);
    QByteArray headerValue(const QByteArray& name) const;
    // The wire form: status line, headers, blank line, body. Without the body (the answer to a
    // HEAD), Content-Length still gives the body's size.
    QByteArray serialize(bool keepAlive, bool withBody = true) const;
};
