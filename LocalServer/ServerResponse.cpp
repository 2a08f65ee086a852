#include "ServerResponse.h"

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

ServerResponse ServerResponse::empty(int status) {
    ServerResponse response;
    response.status = status;
    return response;
}

ServerResponse ServerResponse::apiError(int status, const QString& message) {
    return json(QJsonObject{{"detail", message}}, status);
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

QByteArray ServerResponse::serialize(bool keepAlive) const {
    QByteArray out = "HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n";
    for (const auto& header : headers)
        out += header.first + ": " + header.second + "\r\n";
    out += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    out += keepAlive ? "Connection: keep-alive\r\n" : "Connection: close\r\n";
    out += "\r\n";
    out += body;
    return out;
}

QByteArray ServerResponse::reasonPhrase(int status) {
    switch (status) {
    case 100:
        return "Continue";
    case 200:
        return "OK";
    case 201:
        return "Created";
    case 202:
        return "Accepted";
    case 204:
        return "No Content";
    case 302:
        return "Found";
    case 400:
        return "Bad Request";
    case 401:
        return "Unauthorized";
    case 403:
        return "Forbidden";
    case 404:
        return "Not Found";
    case 405:
        return "Method Not Allowed";
    case 408:
        return "Request Timeout";
    case 409:
        return "Conflict";
    case 410:
        return "Gone";
    case 413:
        return "Payload Too Large";
    case 415:
        return "Unsupported Media Type";
    case 422:
        return "Unprocessable Entity";
    case 429:
        return "Too Many Requests";
    case 500:
        return "Internal Server Error";
    case 501:
        return "Not Implemented";
    case 502:
        return "Bad Gateway";
    case 503:
        return "Service Unavailable";
    case 504:
        return "Gateway Timeout";
    default:
        return "Status";
    }
}
