#include "Http/ServerResponse.h"

#include "HttpStatus.h"

#include <QJsonDocument>

ServerResponse ServerResponse::json(const QJsonObject& object, int status) {
    return bytes(QJsonDocument(object).toJson(QJsonDocument::Compact), "application/json", status);
}

ServerResponse ServerResponse::json(const QJsonArray& array, int status) {
    return bytes(QJsonDocument(array).toJson(QJsonDocument::Compact), "application/json", status);
}

ServerResponse ServerResponse::bytes(const QByteArray& body, const QByteArray& contentType, int status) {
    ServerResponse response;
    response.status = status;
    response.body = body;
    response.setHeader("Content-Type", contentType);
    return response;
}

ServerResponse ServerResponse::file(FileBody body, const QByteArray& contentType, int status) {
    ServerResponse response;
    response.status = status;
    response.fileBody = std::move(body);
    response.setHeader("Content-Type", contentType);
    return response;
}

ServerResponse ServerResponse::empty(int status) {
    ServerResponse response;
    response.status = status;
    return response;
}

ServerResponse ServerResponse::apiError(int status, const QString& message) {
    return json(QJsonObject{{"detail", message}}, status);
}

ServerResponse ServerResponse::webSocket(Upgrade upgrade) {
    ServerResponse response = empty(101);
    response.upgrade = std::move(upgrade);
    return response;
}

void ServerResponse::setHeader(const QByteArray& name, const QByteArray& value) {
    for (auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0) {
            header.second = value;
            return;
        }
    }
    headers.append({name, value});
}

QByteArray ServerResponse::headerValue(const QByteArray& name) const {
    for (const auto& header : headers) {
        if (header.first.compare(name, Qt::CaseInsensitive) == 0)
            return header.second;
    }
    return {};
}

QByteArray ServerResponse::serialize(bool keepAlive, bool withBody) const {
    QByteArray out =
        "HTTP/1.1 " + QByteArray::number(status) + ' ' + HttpStatus::reasonPhrase(status) + "\r\n";
    for (const auto& header : headers)
        out += header.first + ": " + header.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(contentLength()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    if (withBody)
        out += body;
    return out;
}
