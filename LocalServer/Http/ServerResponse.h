#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QPair>

// A response under construction. `drop` closes the connection without answering.
struct ServerResponse {
    int status = 200;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    bool drop = false;

    static ServerResponse json(const QJsonObject& object, int status = 200);
    static ServerResponse json(const QJsonArray& array, int status = 200);
    static ServerResponse bytes(const QByteArray& body, const QByteArray& contentType, int status = 200);
    static ServerResponse empty(int status);
    // The Orbelo API's error body: {"detail": message}.
    static ServerResponse apiError(int status, const QString& message);

    void setHeader(const QByteArray& name, const QByteArray& value);
    QByteArray headerValue(const QByteArray& name) const;
    // The wire form: status line, headers, blank line, body. Without the body (the answer to a
    // HEAD), Content-Length still gives the body's size.
    QByteArray serialize(bool keepAlive, bool withBody = true) const;
};
