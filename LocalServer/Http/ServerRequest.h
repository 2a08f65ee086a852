#pragma once

#include <QByteArray>
#include <QHash>
#include <QHostAddress>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUrlQuery>

// One parsed HTTP/1.1 request. Header names are stored in lower case.
struct ServerRequest {
    QByteArray method;
    QString path;
    QUrlQuery query;
    QHash<QByteArray, QByteArray> headers;
    QByteArray body;
    // A body that went to disk as it arrived (uploads) is this file instead of `body`. The handler
    // may move it away; otherwise it is deleted once the request has been answered.
    QString bodyFile;
    QHostAddress peer;
    QStringList pathParams;
    // The client asks to turn the connection into a WebSocket (Upgrade: websocket).
    bool upgrade = false;

    QByteArray header(const QByteArray& name) const { return headers.value(name.toLower()); }
    QString param(int index) const { return pathParams.value(index); }
    // The body as a JSON object; an empty object when it is not one.
    QJsonObject jsonBody() const;
    // The body as an application/x-www-form-urlencoded map.
    QUrlQuery formBody() const;
};
